// The run loop that drives timers and file-descriptor callbacks. The toolkit has none of its
// own: whoever hosts the frame installs one (the host's loop, or a manual one in tests).
#pragma once

#include "vstguibase.h"
#include <functional>

namespace VSTGUI {
namespace X11 {

class IEventHandler
{
public:
    virtual ~IEventHandler() = default;
    virtual void onEvent() = 0;
};

class ITimerHandler
{
public:
    virtual ~ITimerHandler() = default;
    virtual void onTimer() = 0;
};

class IRunLoop : public virtual IReference
{
public:
    virtual bool registerEventHandler(int fd, IEventHandler* handler) = 0;
    virtual bool unregisterEventHandler(IEventHandler* handler) = 0;
    // `interval` in milliseconds.
    virtual bool registerTimer(uint64_t interval, ITimerHandler* handler) = 0;
    virtual bool unregisterTimer(ITimerHandler* handler) = 0;
};

// The installed run loop (referenced while installed). UI thread only.
class RunLoop
{
public:
    static void init(IRunLoop* runLoop);
    static void exit();
    static IRunLoop* get();
};

} // namespace X11

// Milliseconds of a monotonic clock; tests install a manual source.
using TimeSource = std::function<uint64_t()>;
uint64_t getPlatformTime();
// An empty function restores the system's monotonic clock.
void setPlatformTimeSource(TimeSource source);

} // namespace VSTGUI
