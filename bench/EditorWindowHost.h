#pragma once
// A host's side of a plug-in window on the X display: a parent window, a poll() run loop
// offered as Steinberg::Linux::IRunLoop, and a plug frame that grants every size at once.
// One thread; the host keeps a reference to each handler while it is registered.

#include "pluginterfaces/gui/iplugview.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <vector>

class EditorWindowHost : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop {
public:
    EditorWindowHost()
    {
        if (!std::getenv("DISPLAY"))
            return;
        connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection))
            return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        parent = xcb_generate_id(connection);
        const uint32_t black[] = {screen->black_pixel}; // unpainted children show black
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, 1800, 900, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, black);
        xcb_map_window(connection, parent);
        xcb_flush(connection);
    }
    ~EditorWindowHost()
    {
        if (connection)
            xcb_disconnect(connection);
    }
    bool usable() const { return connection && !xcb_connection_has_error(connection) && parent; }
    void* parentHandle() const { return reinterpret_cast<void*>(uintptr_t(parent)); }

    // True once the plug-in's window shows drawn pixels along its middle row.
    bool childPainted() const
    {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
        const xcb_window_t child = tree && xcb_query_tree_children_length(tree) ? xcb_query_tree_children(tree)[0] : 0;
        std::free(tree);
        if (!child)
            return false;
        xcb_get_image_reply_t* row = xcb_get_image_reply(
            connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, child, 0, 200, 400, 1, ~0u), nullptr);
        const bool painted = row && std::any_of(xcb_get_image_data(row), xcb_get_image_data(row) + xcb_get_image_data_length(row),
                                                [](uint8_t byte) { return byte != 0; });
        std::free(row);
        return painted;
    }

    // One pass: waits up to `timeoutMs` for a ready descriptor, then calls ready handlers and
    // due timers.
    void runOnce(int timeoutMs)
    {
        std::vector<pollfd> fds;
        for (const Entry& e : entries)
            if (e.event)
                fds.push_back({e.fd, POLLIN, 0});
        poll(fds.data(), fds.size(), timeoutMs);
        std::vector<Steinberg::FUnknown*> ready;
        for (const Entry& e : entries) {
            const bool readable = e.event && std::any_of(fds.begin(), fds.end(), [&](const pollfd& p) { return p.fd == e.fd && p.revents; });
            if (readable || (e.timer && e.due <= now()))
                ready.push_back(e.key());
        }
        for (Steinberg::FUnknown* key : ready) {
            auto it = std::find_if(entries.begin(), entries.end(), [key](const Entry& e) { return e.key() == key; });
            if (it == entries.end())
                continue;
            it->due = now() + it->interval;
            Steinberg::IPtr<Steinberg::FUnknown> keep(key);
            if (it->timer)
                it->timer->onTimer();
            else
                it->event->onFDIsSet(it->fd);
        }
    }
    template <typename Done>
    bool runUntil(Done done, int limitMs)
    {
        const uint64_t end = now() + uint64_t(limitMs);
        while (!done() && now() < end)
            runOnce(1);
        return done();
    }
    static uint64_t now()
    {
        using namespace std::chrono;
        return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* size) override
    {
        Steinberg::ViewRect granted = *size;
        return view->onSize(&granted);
    }
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler, int fd) override
    {
        entries.push_back({handler, nullptr, fd, 0, 0});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override
    {
        return remove(handler);
    }
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler, Steinberg::Linux::TimerInterval ms) override
    {
        entries.push_back({nullptr, handler, -1, ms, now() + ms});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override { return remove(handler); }

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override
    {
        using namespace Steinberg;
        *obj = nullptr;
        if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
            *obj = static_cast<IPlugFrame*>(this);
        else if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
            *obj = static_cast<Linux::IRunLoop*>(this);
        return *obj ? kResultOk : kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    struct Entry {
        Steinberg::IPtr<Steinberg::Linux::IEventHandler> event;
        Steinberg::IPtr<Steinberg::Linux::ITimerHandler> timer;
        int fd;
        uint64_t interval, due; // ms
        Steinberg::FUnknown* key() const { return event ? static_cast<Steinberg::FUnknown*>(event.get()) : timer.get(); }
    };
    Steinberg::tresult remove(Steinberg::FUnknown* handler)
    {
        auto it = std::find_if(entries.begin(), entries.end(), [handler](const Entry& e) { return e.key() == handler; });
        if (it == entries.end())
            return Steinberg::kInvalidArgument;
        entries.erase(it);
        return Steinberg::kResultOk;
    }

    xcb_connection_t* connection = nullptr;
    xcb_window_t parent = 0;
    std::vector<Entry> entries;
};
