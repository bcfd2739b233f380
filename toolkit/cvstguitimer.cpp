#include "cvstguitimer.h"

namespace VSTGUI {

IdStringPtr kMsgTimer = "timer fired";

CVSTGUITimer::CVSTGUITimer(CBaseObject* timerTarget, uint32 period, bool doStart)
    : target(timerTarget), fireTime(period)
{
    if (doStart)
        start();
}

CVSTGUITimer::CVSTGUITimer(const CallbackFunc& timerCallback, uint32 period, bool doStart)
    : callback(timerCallback), fireTime(period)
{
    if (doStart)
        start();
}

CVSTGUITimer::~CVSTGUITimer() { stop(); }

bool CVSTGUITimer::start()
{
    if (running)
        return true;
    X11::IRunLoop* loop = X11::RunLoop::get();
    if (!loop || fireTime == 0 || !loop->registerTimer(fireTime, this))
        return false;
    runLoop = loop;
    running = true;
    return true;
}

bool CVSTGUITimer::stop()
{
    if (!running)
        return false;
    running = false;
    runLoop->unregisterTimer(this);
    runLoop.reset();
    return true;
}

bool CVSTGUITimer::setFireTime(uint32 newFireTime)
{
    if (newFireTime == 0)
        return false;
    fireTime = newFireTime;
    if (running)
    {
        stop();
        return start();
    }
    return true;
}

void CVSTGUITimer::onTimer()
{
    // The target may stop or release the timer from inside its notification.
    SharedPointer<CVSTGUITimer> keepAlive(this);
    if (callback)
        callback(this);
    else if (target)
        target->notify(this, kMsgTimer);
}

} // namespace VSTGUI
