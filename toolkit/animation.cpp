#include "animation.h"

#include <algorithm>

namespace VSTGUI {
namespace Animation {

float LinearTimingFunction::getPosition(uint32 milliseconds)
{
    if (length == 0 || milliseconds >= length)
        return 1.f;
    return float(milliseconds) / float(length);
}

AlphaValueAnimation::AlphaValueAnimation(float end, bool forceEnd) : endValue(end), forceEndValueOnFinish(forceEnd) {}

void AlphaValueAnimation::animationStart(CView* view, IdStringPtr) { startValue = view->getAlphaValue(); }

void AlphaValueAnimation::animationTick(CView* view, IdStringPtr, float position)
{
    view->setAlphaValue(startValue + (endValue - startValue) * position);
}

void AlphaValueAnimation::animationFinished(CView* view, IdStringPtr, bool wasCanceled)
{
    if (!wasCanceled || forceEndValueOnFinish)
        view->setAlphaValue(endValue);
}

Animator::Animator()
    : timer(SharedPointer<CVSTGUITimer>::adopt(new CVSTGUITimer([this](CVSTGUITimer*) { tick(); }, kTickInterval, false)))
{
}

Animator::~Animator()
{
    timer->stop();
    cancelWhere([](const Running&) { return true; });
}

void Animator::addAnimation(CView* view, IdStringPtr name, IAnimationTarget* target, ITimingFunction* timingFunction)
{
    std::unique_ptr<IAnimationTarget> ownedTarget(target);
    std::unique_ptr<ITimingFunction> ownedTiming(timingFunction);
    if (!view || !name || !target || !timingFunction)
        return;
    removeAnimation(view, name);
    auto running = std::make_shared<Running>(
        Running{view, name, std::move(ownedTarget), std::move(ownedTiming), getPlatformTime()});
    animations.push_back(running);
    running->target->animationStart(view, name);
    if (!timer->start())
    {
        running->target->animationTick(view, name, 1.f);
        finish(running);
    }
}

void Animator::finish(const std::shared_ptr<Running>& running)
{
    auto it = std::find(animations.begin(), animations.end(), running);
    if (it == animations.end())
        return;
    animations.erase(it);
    running->target->animationFinished(running->view.get(), running->name.c_str(), false);
}

void Animator::removeAnimation(CView* view, IdStringPtr name)
{
    if (!name)
        return;
    cancelWhere([&](const Running& r) { return r.view == view && r.name == name; });
}

void Animator::removeAnimations(CView* view)
{
    cancelWhere([&](const Running& r) { return r.view == view; });
}

void Animator::cancelWhere(const std::function<bool(const Running&)>& matches)
{
    std::vector<std::shared_ptr<Running>> cancelled;
    for (auto it = animations.begin(); it != animations.end();)
    {
        if (matches(**it))
        {
            cancelled.push_back(*it);
            it = animations.erase(it);
        }
        else
            ++it;
    }
    for (auto& r : cancelled)
        r->target->animationFinished(r->view.get(), r->name.c_str(), true);
    if (animations.empty())
        timer->stop();
}

void Animator::tick()
{
    const uint64_t now = getPlatformTime();
    // Targets may add or remove animations while they run: work on a snapshot.
    auto snapshot = animations;
    for (auto& r : snapshot)
    {
        if (std::find(animations.begin(), animations.end(), r) == animations.end())
            continue;
        uint32 elapsed = uint32(std::min<uint64_t>(now - r->startTime, UINT32_MAX));
        r->target->animationTick(r->view.get(), r->name.c_str(), r->timing->getPosition(elapsed));
        if (r->timing->isDone(elapsed))
            finish(r);
    }
    if (animations.empty())
        timer->stop();
}

} // namespace Animation
} // namespace VSTGUI
