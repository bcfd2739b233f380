// A run loop with a clock that only moves when told to: timers and animations become
// deterministic, for tests and offscreen tools.
#pragma once

#include "runloop.h"
#include <vector>

namespace VSTGUI {

class ManualRunLoop : public X11::IRunLoop, public NonAtomicReferenceCounted
{
public:
    bool registerEventHandler(int fd, X11::IEventHandler* handler) override;
    bool unregisterEventHandler(X11::IEventHandler* handler) override;
    bool registerTimer(uint64_t interval, X11::ITimerHandler* handler) override;
    bool unregisterTimer(X11::ITimerHandler* handler) override;

    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

    uint64_t now() const { return currentTime; }
    // Moves the clock forward, firing every timer that falls due, in time order.
    void advance(uint64_t milliseconds);
    size_t timerCount() const { return timers.size(); }

private:
    struct Timer
    {
        X11::ITimerHandler* handler;
        uint64_t interval;
        uint64_t due;
    };
    uint64_t currentTime = 1000;
    std::vector<Timer> timers;
};

// Installs a manual run loop and its clock for its lifetime, then restores the defaults.
class ScopedManualRunLoop
{
public:
    ScopedManualRunLoop();
    ~ScopedManualRunLoop();
    ScopedManualRunLoop(const ScopedManualRunLoop&) = delete;
    ScopedManualRunLoop& operator=(const ScopedManualRunLoop&) = delete;

    ManualRunLoop& loop() { return *runLoop; }
    void advance(uint64_t milliseconds) { runLoop->advance(milliseconds); }

private:
    SharedPointer<ManualRunLoop> runLoop;
};

} // namespace VSTGUI
