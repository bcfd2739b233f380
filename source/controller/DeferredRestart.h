#pragma once
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

// Asks the host to re-read the controller (restartComponent) on a one-shot timer of the
// host's run loop when the host offers one, and at once when it does not. Some hosts hold a
// lock around their setParamNormalized call and take the same lock in restartComponent, so
// a call made from inside setParamNormalized would wait for ever. UI thread only.
class DeferredRestart {
public:
    DeferredRestart();
    ~DeferredRestart(); // drops a call still waiting
    DeferredRestart(const DeferredRestart&) = delete;
    DeferredRestart& operator=(const DeferredRestart&) = delete;

    // handler->restartComponent(flags) on the loop's next timer, or now when loop is null or
    // refuses the timer. Flags asked for while a call waits join that call.
    void request(Steinberg::Vst::IComponentHandler* handler, Steinberg::Linux::IRunLoop* loop, Steinberg::int32 flags);
    void cancel(); // drops a waiting call: the host is letting go of the controller

private:
    class OneShot;
    Steinberg::IPtr<OneShot> timer;
};
