// A periodic timer on the installed run loop; each period it sends kMsgTimer to its target
// (or calls its callback). UI thread only: the run loop calls it there.
#pragma once

#include "runloop.h"
#include <functional>

namespace VSTGUI {

extern IdStringPtr kMsgTimer;

class CVSTGUITimer : public CBaseObject, private X11::ITimerHandler
{
public:
    using CallbackFunc = std::function<void(CVSTGUITimer*)>;

    // `target` is not referenced: its owner stops the timer before it goes. `fireTime` in ms.
    CVSTGUITimer(CBaseObject* target, uint32 fireTime = 100, bool doStart = false);
    CVSTGUITimer(const CallbackFunc& callback, uint32 fireTime = 100, bool doStart = true);
    ~CVSTGUITimer() override;
    CVSTGUITimer(const CVSTGUITimer&) = delete;
    CVSTGUITimer& operator=(const CVSTGUITimer&) = delete;

    // False when no run loop is installed, it refuses, or the period is 0.
    bool start();
    bool stop();
    bool isRunning() const { return running; }
    // Changes the period (ms); a running timer restarts with it.
    bool setFireTime(uint32 newFireTime);
    uint32 getFireTime() const { return fireTime; }

private:
    void onTimer() override;

    CBaseObject* target = nullptr;
    CallbackFunc callback;
    uint32 fireTime; // ms
    bool running = false;
    SharedPointer<X11::IRunLoop> runLoop; // the loop it is registered with
};

} // namespace VSTGUI
