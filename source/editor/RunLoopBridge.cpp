#include "RunLoopBridge.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

namespace {

// Wraps `toolkit` and offers the wrapper to the host; the list keeps it while registered.
template <typename Wrapper, typename ToolkitHandler, typename Offer>
bool addWrapper(std::vector<IPtr<Wrapper>>& list, ToolkitHandler* toolkit, Offer offerToHost)
{
    auto wrapper = owned(new Wrapper(toolkit));
    if (offerToHost(wrapper.get()) != kResultOk)
        return false; // the host took nothing: the wrapper goes with `wrapper`
    list.push_back(wrapper);
    return true;
}

// Takes the first wrapper of `toolkit` back from the host and out of the list.
template <typename Wrapper, typename ToolkitHandler, typename Withdraw>
bool removeWrapper(std::vector<IPtr<Wrapper>>& list, ToolkitHandler* toolkit, Withdraw withdrawFromHost)
{
    auto found = std::find_if(list.begin(), list.end(), [toolkit](const IPtr<Wrapper>& w) { return w->handler == toolkit; });
    if (found == list.end())
        return false;
    IPtr<Wrapper> wrapper = *found;
    list.erase(found);
    wrapper->handler = nullptr; // a host that still calls it reaches nothing
    withdrawFromHost(wrapper.get());
    return true;
}

} // namespace

RunLoop::RunLoop(FUnknown* plugFrame)
{
    Linux::IRunLoop* loop = nullptr;
    if (plugFrame && plugFrame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)) == kResultOk && loop)
        hostRunLoop = owned(loop);
}

RunLoop::~RunLoop()
{
    if (!hostRunLoop)
        return;
    for (auto& wrapper : timerHandlers)
    {
        wrapper->handler = nullptr;
        hostRunLoop->unregisterTimer(wrapper.get());
    }
    for (auto& wrapper : eventHandlers)
    {
        wrapper->handler = nullptr;
        hostRunLoop->unregisterEventHandler(wrapper.get());
    }
}

void RunLoop::forget()
{
    if (referenceCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

bool RunLoop::registerEventHandler(int fd, VSTGUI::X11::IEventHandler* handler)
{
    return hostRunLoop && addWrapper(eventHandlers, handler, [&](EventHandler* wrapper) {
               return hostRunLoop->registerEventHandler(wrapper, fd);
           });
}

bool RunLoop::unregisterEventHandler(VSTGUI::X11::IEventHandler* handler)
{
    return hostRunLoop && removeWrapper(eventHandlers, handler, [&](EventHandler* wrapper) {
               hostRunLoop->unregisterEventHandler(wrapper);
           });
}

bool RunLoop::registerTimer(uint64_t interval, VSTGUI::X11::ITimerHandler* handler)
{
    return hostRunLoop && addWrapper(timerHandlers, handler, [&](TimerHandler* wrapper) {
               return hostRunLoop->registerTimer(wrapper, interval);
           });
}

bool RunLoop::unregisterTimer(VSTGUI::X11::ITimerHandler* handler)
{
    return hostRunLoop && removeWrapper(timerHandlers, handler, [&](TimerHandler* wrapper) {
               hostRunLoop->unregisterTimer(wrapper);
           });
}

} // namespace Vst
} // namespace Steinberg
