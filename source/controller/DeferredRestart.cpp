#include "DeferredRestart.h"

#include <utility>

#include "base/source/fobject.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

// The timer handler the host's loop holds while a call waits.
class DeferredRestart::OneShot : public FObject, public Linux::ITimerHandler {
public:
    bool start(IComponentHandler* newHandler, Linux::IRunLoop* newLoop, int32 newFlags)
    {
        if (waiting()) {
            handler = newHandler;
            flags |= newFlags;
            return true;
        }
        if (newLoop->registerTimer(this, kIntervalMs) != kResultOk)
            return false;
        handler = newHandler;
        loop = newLoop;
        flags = newFlags;
        return true;
    }
    // Ends the wait; the handler and flags of the call that waited, null when none did.
    std::pair<IPtr<IComponentHandler>, int32> stop()
    {
        if (waiting())
            loop->unregisterTimer(this);
        loop = nullptr;
        return {std::exchange(handler, nullptr), flags};
    }
    bool waiting() const { return loop != nullptr; }
    bool waitsOn(const Linux::IRunLoop* someLoop) const { return waiting() && loop == someLoop; }

    void PLUGIN_API onTimer() override
    {
        if (!waiting())
            return;
        // Unregistering may drop the loop's reference, and the host may let go of the
        // controller in its answer: this object lives until the call is done.
        const IPtr<OneShot> keepAlive(this);
        const auto [target, pending] = stop();
        target->restartComponent(pending);
    }

    OBJ_METHODS(OneShot, FObject)
    DEFINE_INTERFACES
        DEF_INTERFACE(Linux::ITimerHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    static constexpr Linux::TimerInterval kIntervalMs = 1; // the loop's next turn

    IPtr<IComponentHandler> handler;
    IPtr<Linux::IRunLoop> loop; // set while a call waits
    int32 flags = 0;
};

DeferredRestart::DeferredRestart() : timer(owned(new OneShot)) {}

DeferredRestart::~DeferredRestart()
{
    cancel();
}

void DeferredRestart::request(IComponentHandler* handler, Linux::IRunLoop* loop, int32 flags)
{
    if (handler == nullptr)
        return;
    if (loop == nullptr || !timer->start(handler, loop, flags))
        thread.request(handler, flags);
}

void DeferredRestart::leaveLoop(Linux::IRunLoop* loop)
{
    if (!timer->waitsOn(loop))
        return;
    const auto [handler, flags] = timer->stop();
    thread.request(handler, flags);
}

bool DeferredRestart::cancel()
{
    const bool timerWaited = timer->stop().first != nullptr;
    return thread.cancel() || timerWaited;
}
