// The host side of an editor test: a poll-based Steinberg::Linux::IRunLoop, a plug frame that
// offers it and notes resize requests, and a toolkit run loop that forwards to the host's, as
// an editor hands its frame.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "runloop.h"
#include "toolkit/poll_loop.h"
#include <functional>
#include <map>
#include <vector>

namespace EditorTest {

using namespace Steinberg;

// Lives on the test's stack: its reference count is not used.
class HostRunLoop : public Linux::IRunLoop
{
public:
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) override
    {
        if (!handler)
            return kInvalidArgument;
        held[handler] = handler;
        loop.addDescriptor(handler, fd, [handler, fd] { handler->onFDIsSet(fd); });
        return kResultOk;
    }
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override
    {
        return release(loop.removeDescriptor(handler), handler);
    }
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds) override
    {
        if (!handler || milliseconds == 0)
            return kInvalidArgument;
        held[handler] = handler;
        loop.addTimer(handler, milliseconds, [handler] { handler->onTimer(); });
        return kResultOk;
    }
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override
    {
        return release(loop.removeTimer(handler), handler);
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** object) override
    {
        QUERY_INTERFACE(iid, object, FUnknown::iid, Linux::IRunLoop)
        QUERY_INTERFACE(iid, object, Linux::IRunLoop::iid, Linux::IRunLoop)
        *object = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    TestRunLoop::PollLoop loop;

private:
    tresult release(bool removed, FUnknown* handler)
    {
        if (!removed)
            return kInvalidArgument;
        held.erase(handler);
        return kResultOk;
    }
    std::map<FUnknown*, IPtr<FUnknown>> held; // the host keeps what it calls
};

// A plug frame that offers `runLoop` (when given) and notes each resize request.
class TestPlugFrame : public IPlugFrame
{
public:
    explicit TestPlugFrame(Linux::IRunLoop* loop) : runLoop(loop) {}
    tresult PLUGIN_API resizeView(IPlugView*, ViewRect* newSize) override
    {
        if (!newSize)
            return kInvalidArgument;
        resizeRequests.push_back(*newSize);
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** object) override
    {
        QUERY_INTERFACE(iid, object, FUnknown::iid, IPlugFrame)
        QUERY_INTERFACE(iid, object, IPlugFrame::iid, IPlugFrame)
        if (runLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
        {
            runLoop->addRef();
            *object = runLoop;
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    Linux::IRunLoop* runLoop;
    std::vector<ViewRect> resizeRequests;
};

// The toolkit's run loop on top of a host loop: each toolkit handler gets a host-side wrapper.
class ForwardingRunLoop : public VSTGUI::X11::IRunLoop, public VSTGUI::NonAtomicReferenceCounted
{
public:
    explicit ForwardingRunLoop(Linux::IRunLoop* hostLoop) : host(hostLoop) {}

    bool registerEventHandler(int fd, VSTGUI::X11::IEventHandler* handler) override
    {
        auto wrapper = owned(new Wrapper([handler] { handler->onEvent(); }));
        return keep(handler, wrapper, host && host->registerEventHandler(wrapper, fd) == kResultOk);
    }
    bool unregisterEventHandler(VSTGUI::X11::IEventHandler* handler) override
    {
        auto wrapper = take(handler);
        return wrapper && host->unregisterEventHandler(wrapper) == kResultOk;
    }
    bool registerTimer(uint64_t interval, VSTGUI::X11::ITimerHandler* handler) override
    {
        auto wrapper = owned(new Wrapper([handler] { handler->onTimer(); }));
        return keep(handler, wrapper, host && host->registerTimer(wrapper, interval) == kResultOk);
    }
    bool unregisterTimer(VSTGUI::X11::ITimerHandler* handler) override
    {
        auto wrapper = take(handler);
        return wrapper && host->unregisterTimer(wrapper) == kResultOk;
    }
    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

private:
    class Wrapper : public FObject, public Linux::IEventHandler, public Linux::ITimerHandler
    {
    public:
        explicit Wrapper(std::function<void()> call) : call(std::move(call)) {}
        void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override { call(); }
        void PLUGIN_API onTimer() override { call(); }
        OBJ_METHODS(Wrapper, FObject)
        DEFINE_INTERFACES
            DEF_INTERFACE(Linux::IEventHandler)
            DEF_INTERFACE(Linux::ITimerHandler)
        END_DEFINE_INTERFACES(FObject)
        REFCOUNT_METHODS(FObject)

    private:
        std::function<void()> call;
    };

    bool keep(const void* handler, const IPtr<Wrapper>& wrapper, bool accepted)
    {
        if (accepted)
            wrappers.emplace_back(handler, wrapper);
        return accepted;
    }
    IPtr<Wrapper> take(const void* handler)
    {
        for (auto it = wrappers.begin(); it != wrappers.end(); ++it)
            if (it->first == handler)
            {
                IPtr<Wrapper> wrapper = it->second;
                wrappers.erase(it);
                return wrapper;
            }
        return nullptr;
    }

    IPtr<Linux::IRunLoop> host;
    std::vector<std::pair<const void*, IPtr<Wrapper>>> wrappers;
};

} // namespace EditorTest
