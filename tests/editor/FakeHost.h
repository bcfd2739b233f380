#pragma once
// The host's side of a Linux editor window: a run loop (Steinberg::Linux::IRunLoop) built on
// poll() that keeps each handler only while registered and calls it without a reference of
// its own, and a plug frame that answers resize requests at once, later, or refuses them
// until the view is attached.
#include "controller/ControllerHarness.h"
#include "pluginterfaces/gui/iplugview.h"

#include <algorithm>
#include <chrono>
#include <poll.h>

namespace EditorTest {

using namespace Steinberg;

class FakeHostRunLoop : public ControllerTest::StandIn<Linux::IRunLoop> {
public:
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) override
    {
        return add({handler, nullptr, fd, 0, 0});
    }
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override { return remove(handler, "event"); }
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval ms) override
    {
        return add({nullptr, handler, -1, ms, now() + ms});
    }
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override { return remove(handler, "timer"); }

    // Calls the handlers whose descriptor is ready within `timeoutMs` and the due timers (every
    // timer alone with `allTimers`), each only while it is still registered.
    void runOnce(int timeoutMs, bool allTimers = false)
    {
        std::vector<pollfd> fds;
        for (const Entry& e : entries)
            if (e.event)
                fds.push_back({e.fd, POLLIN, 0});
        poll(fds.data(), fds.size(), timeoutMs);
        std::vector<FUnknown*> ready;
        for (const Entry& e : entries)
            if (e.event ? !allTimers && std::any_of(fds.begin(), fds.end(), [&](auto& p) { return p.fd == e.fd && p.revents; })
                        : allTimers || e.due <= now())
                ready.push_back(e.handler());
        for (FUnknown* handler : ready)
            if (auto it = find(handler); it != entries.end()) { // the host holds no reference while it calls
                it->due = now() + it->interval;
                if (Linux::ITimerHandler* timer = it->timer.get())
                    timer->onTimer();
                else
                    it->event->onFDIsSet(it->fd);
            }
    }
    template <typename Done>
    bool runUntil(Done done, int limitMs = 3000)
    {
        for (const uint64 end = now() + uint64(limitMs); !done() && now() < end;)
            runOnce(5);
        return done();
    }
    void fireTimers() { runOnce(0, true); } // every registered timer once, as a tick would
    size_t count(bool timers) const
    {
        return size_t(std::count_if(entries.begin(), entries.end(), [timers](const Entry& e) { return bool(e.timer) == timers; }));
    }
    bool refuse = false;            // every registration fails
    std::vector<std::string> calls; // "event", "timer" for each unregistration that found its handler

private:
    struct Entry {
        IPtr<Linux::IEventHandler> event; // one of the two, referenced while registered
        IPtr<Linux::ITimerHandler> timer;
        int fd;
        uint64 interval, due; // ms
        FUnknown* handler() const { return event ? static_cast<FUnknown*>(event.get()) : timer.get(); }
    };
    static uint64 now()
    {
        using namespace std::chrono;
        return uint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    tresult add(Entry entry)
    {
        if (refuse || !entry.handler())
            return kResultFalse;
        entries.push_back(std::move(entry));
        return kResultOk;
    }
    std::vector<Entry>::iterator find(FUnknown* handler)
    {
        return std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.handler() == handler; });
    }
    tresult remove(FUnknown* handler, const char* kind)
    {
        auto it = find(handler);
        if (it == entries.end())
            return kInvalidArgument;
        entries.erase(it); // drops the host's reference at once, as a plain host would
        calls.push_back(kind);
        return kResultOk;
    }
    std::vector<Entry> entries;
};

// How the plug frame answers the view's resizeView.
enum class Answer { atOnce, later, refusesWhileAttaching };

class FakePlugFrame : public ControllerTest::StandIn<IPlugFrame> {
public:
    explicit FakePlugFrame(Answer how, FakeHostRunLoop* loop = nullptr) : answer(how), runLoop(loop) {}
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (runLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
            return *obj = static_cast<Linux::IRunLoop*>(runLoop), kResultOk;
        return StandIn<IPlugFrame>::queryInterface(iid, obj);
    }
    tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* size) override
    {
        requests.push_back(*size);
        if (answer == Answer::refusesWhileAttaching && !attached)
            return kResultFalse;
        ViewRect given = *size; // the view's own rectangle stays its own
        if (answer == Answer::later)
            pending.push_back(given);
        else
            view->onSize(&given);
        return kResultOk;
    }
    // After attached returned: a later host delivers what it owes; a refusing one sizes its
    // window to the view's size.
    void settle(IPlugView* view)
    {
        attached = true;
        for (ViewRect size : std::exchange(pending, {}))
            view->onSize(&size);
        if (answer == Answer::refusesWhileAttaching) {
            ViewRect size;
            view->getSize(&size);
            view->onSize(&size);
        }
    }
    Answer answer;
    FakeHostRunLoop* runLoop;
    bool attached = false;
    std::vector<ViewRect> requests, pending;
};

} // namespace EditorTest
