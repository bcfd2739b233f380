// The toolkit's run loop carried by the host's (Steinberg::Linux::IRunLoop, which the plug
// frame offers): each toolkit handler is wrapped in a small host-side handler object. The
// editor makes one at each open and hands it to the frame. UI thread only; only the
// reference count is atomic.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"
#include "runloop.h"
#include <atomic>
#include <vector>

namespace Steinberg {
namespace Vst {

class RunLoop : public VSTGUI::X11::IRunLoop
{
public:
    // A host-side handler around one toolkit handler. It keeps itself alive around each call
    // into the toolkit, so a handler that unregisters itself from its own callback is not
    // freed under the host's call; after unregistering it calls nothing.
    template <typename HostInterface, typename ToolkitHandler>
    class Wrapper : public HostInterface, public FObject
    {
    public:
        explicit Wrapper(ToolkitHandler* toolkitHandler) : handler(toolkitHandler) {}
        ToolkitHandler* handler; // not owned; null once unregistered

        OBJ_METHODS(Wrapper, FObject)
        DEFINE_INTERFACES
            DEF_INTERFACE(HostInterface)
        END_DEFINE_INTERFACES(FObject)
        REFCOUNT_METHODS(FObject)

    protected:
        template <typename Call>
        void callToolkit(Call call)
        {
            if (!handler)
                return;
            IPtr<Wrapper> keepAlive(this);
            call(*handler);
        }
    };

    class EventHandler : public Wrapper<Linux::IEventHandler, VSTGUI::X11::IEventHandler>
    {
    public:
        using Wrapper::Wrapper;
        // The host saw the descriptor readable; the toolkit reads it itself.
        void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override
        {
            callToolkit([](VSTGUI::X11::IEventHandler& toolkit) { toolkit.onEvent(); });
        }
    };

    class TimerHandler : public Wrapper<Linux::ITimerHandler, VSTGUI::X11::ITimerHandler>
    {
    public:
        using Wrapper::Wrapper;
        void PLUGIN_API onTimer() override
        {
            callToolkit([](VSTGUI::X11::ITimerHandler& toolkit) { toolkit.onTimer(); });
        }
    };

    // Asks `plugFrame` (may be null) for the host's run loop; without one every registration
    // answers false. Starts with one reference, the creator's.
    explicit RunLoop(FUnknown* plugFrame);
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    bool registerEventHandler(int fd, VSTGUI::X11::IEventHandler* handler) override;
    // Unregisters the first wrapper of `handler`; false when there is none.
    bool unregisterEventHandler(VSTGUI::X11::IEventHandler* handler) override;
    // `interval` in milliseconds.
    bool registerTimer(uint64_t interval, VSTGUI::X11::ITimerHandler* handler) override;
    bool unregisterTimer(VSTGUI::X11::ITimerHandler* handler) override;

    void remember() override { referenceCount.fetch_add(1, std::memory_order_relaxed); }
    void forget() override;

    bool hasHostRunLoop() const { return hostRunLoop != nullptr; }

private:
    // Unregisters from the host every wrapper still registered.
    ~RunLoop() override;

    std::vector<IPtr<EventHandler>> eventHandlers; // registered with the host
    std::vector<IPtr<TimerHandler>> timerHandlers;
    IPtr<Linux::IRunLoop> hostRunLoop;             // null when the host offers none
    std::atomic<int32> referenceCount{1};
};

} // namespace Vst
} // namespace Steinberg
