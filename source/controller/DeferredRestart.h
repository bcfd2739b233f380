#pragma once
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include "RestartThread.h"

// Asks the host to re-read the controller (restartComponent) after the host's current call has
// returned: on a one-shot timer of the host's run loop when it offers one, so the call comes
// on the UI thread as hosts expect, and otherwise from the controller's own thread. Some hosts
// hold a lock around their setParamNormalized call and take the same lock in
// restartComponent, so a call made from inside setParamNormalized would wait for ever.
// UI thread only.
class DeferredRestart {
public:
    DeferredRestart();
    ~DeferredRestart(); // drops a call still waiting
    DeferredRestart(const DeferredRestart&) = delete;
    DeferredRestart& operator=(const DeferredRestart&) = delete;

    // handler->restartComponent(flags) on the loop's next timer, or from the own thread when
    // loop is null or refuses the timer. Flags asked for while a call waits join that call.
    void request(Steinberg::Vst::IComponentHandler* handler, Steinberg::Linux::IRunLoop* loop, Steinberg::int32 flags);
    // A call waiting on loop's timer moves to the own thread: the loop may stop with the
    // window that offered it.
    void leaveLoop(Steinberg::Linux::IRunLoop* loop);
    // Drops a waiting call (true when there was one): the host is letting go of the handler.
    bool cancel();

private:
    class OneShot;
    Steinberg::IPtr<OneShot> timer;
    RestartThread thread;
};
