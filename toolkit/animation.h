// Time-based changes of view properties, run by the frame's animator on the run loop.
#pragma once

#include "cview.h"
#include "cvstguitimer.h"
#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {
namespace Animation {

// Maps the time since the start (ms) to a progress 0..1 and says when it is over.
class ITimingFunction
{
public:
    virtual ~ITimingFunction() = default;
    virtual float getPosition(uint32 milliseconds) = 0;
    virtual bool isDone(uint32 milliseconds) = 0;
};

// Applies a progress 0..1 to a view.
class IAnimationTarget
{
public:
    virtual ~IAnimationTarget() = default;
    virtual void animationStart(CView* view, IdStringPtr name) = 0;
    virtual void animationTick(CView* view, IdStringPtr name, float position) = 0;
    virtual void animationFinished(CView* view, IdStringPtr name, bool wasCanceled) = 0;
};

class LinearTimingFunction : public ITimingFunction
{
public:
    explicit LinearTimingFunction(uint32 lengthMs) : length(lengthMs) {}
    float getPosition(uint32 milliseconds) override;
    bool isDone(uint32 milliseconds) override { return milliseconds >= length; }

private:
    uint32 length; // ms
};

// Fades the view's alpha value from where it is to `endValue`.
class AlphaValueAnimation : public IAnimationTarget
{
public:
    // With `forceEndValueOnFinish`, a cancelled fade still lands on the end value.
    explicit AlphaValueAnimation(float endValue, bool forceEndValueOnFinish = false);
    void animationStart(CView* view, IdStringPtr name) override;
    void animationTick(CView* view, IdStringPtr name, float position) override;
    void animationFinished(CView* view, IdStringPtr name, bool wasCanceled) override;

private:
    float startValue = 0;
    float endValue;
    bool forceEndValueOnFinish;
};

// Runs named animations per view. A new animation under a name that the view already runs
// replaces the old one (which finishes as cancelled).
class Animator
{
public:
    Animator();
    ~Animator();
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    // Takes ownership of `target` and `timingFunction`; refused (and both deleted) when any is
    // null. Without a run loop to drive it, the animation jumps to its end at once.
    void addAnimation(CView* view, IdStringPtr name, IAnimationTarget* target, ITimingFunction* timingFunction);
    void removeAnimation(CView* view, IdStringPtr name);
    void removeAnimations(CView* view);
    bool hasAnimations() const { return !animations.empty(); }

    static constexpr uint32 kTickInterval = 16; // ms

private:
    struct Running
    {
        SharedPointer<CView> view;
        std::string name;
        std::unique_ptr<IAnimationTarget> target;
        std::unique_ptr<ITimingFunction> timing;
        uint64_t startTime; // ms
    };
    void tick();
    void finish(const std::shared_ptr<Running>& running);
    void cancelWhere(const std::function<bool(const Running&)>& matches);

    std::vector<std::shared_ptr<Running>> animations;
    SharedPointer<CVSTGUITimer> timer;
};

} // namespace Animation
} // namespace VSTGUI
