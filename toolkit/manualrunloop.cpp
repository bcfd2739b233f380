#include "manualrunloop.h"

#include <algorithm>

namespace VSTGUI {

bool ManualRunLoop::registerEventHandler(int, X11::IEventHandler*) { return false; }

bool ManualRunLoop::unregisterEventHandler(X11::IEventHandler*) { return false; }

bool ManualRunLoop::registerTimer(uint64_t interval, X11::ITimerHandler* handler)
{
    if (!handler || interval == 0)
        return false;
    timers.push_back({handler, interval, currentTime + interval});
    return true;
}

bool ManualRunLoop::unregisterTimer(X11::ITimerHandler* handler)
{
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; });
    if (it == timers.end())
        return false;
    timers.erase(it);
    return true;
}

void ManualRunLoop::advance(uint64_t milliseconds)
{
    const uint64_t target = currentTime + milliseconds;
    for (;;)
    {
        // Handlers may register or unregister timers while they run, so search afresh each time.
        auto next = std::min_element(timers.begin(), timers.end(),
                                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
        if (next == timers.end() || next->due > target)
            break;
        currentTime = next->due;
        next->due += next->interval;
        next->handler->onTimer();
    }
    currentTime = target;
}

ScopedManualRunLoop::ScopedManualRunLoop() : runLoop(SharedPointer<ManualRunLoop>::adopt(new ManualRunLoop))
{
    X11::RunLoop::init(runLoop.get());
    ManualRunLoop* loopPointer = runLoop.get();
    setPlatformTimeSource([loopPointer] { return loopPointer->now(); });
}

ScopedManualRunLoop::~ScopedManualRunLoop()
{
    setPlatformTimeSource({});
    X11::RunLoop::exit();
}

} // namespace VSTGUI
