// The host side of the X11 tests: parent window, synthetic pointer events, screenshots, a poll loop.
#pragma once

#include "toolkit_test_support.h"
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <utility>
#include <xcb/xcb.h>

namespace ToolkitTest {

// The toolkit's run loop in tests on poll(): descriptor handlers and timers, as a host's loop would.
class TestX11RunLoop : public X11::IRunLoop, public NonAtomicReferenceCounted
{
public:
    bool registerEventHandler(int fd, X11::IEventHandler* handler) override
    {
        return descriptors.emplace(handler, fd).second;
    }
    bool unregisterEventHandler(X11::IEventHandler* handler) override { return descriptors.erase(handler) > 0; }
    bool registerTimer(uint64_t interval, X11::ITimerHandler* handler) override
    {
        return timers.emplace(handler, std::make_pair(interval, now() + interval)).second;
    }
    bool unregisterTimer(X11::ITimerHandler* handler) override { return timers.erase(handler) > 0; }
    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

    size_t descriptorCount() const { return descriptors.size(); }
    size_t timerCount() const { return timers.size(); }

    // Waits up to `timeoutMs`, then calls ready handlers and due timers, not those removed meanwhile.
    void runOnce(int timeoutMs)
    {
        std::vector<pollfd> fds;
        std::vector<X11::IEventHandler*> waiting;
        for (const auto& [handler, fd] : descriptors)
        {
            fds.push_back({fd, POLLIN, 0});
            waiting.push_back(handler);
        }
        poll(fds.data(), fds.size(), timeoutMs);
        std::vector<X11::ITimerHandler*> due;
        for (const auto& [timer, schedule] : timers)
            if (schedule.second <= now())
                due.push_back(timer);
        for (size_t i = 0; i < fds.size(); ++i)
            if (fds[i].revents != 0 && descriptors.count(waiting[i]))
                waiting[i]->onEvent();
        for (X11::ITimerHandler* timer : due)
            if (auto it = timers.find(timer); it != timers.end())
            {
                it->second.second = now() + it->second.first;
                timer->onTimer(); // may unregister itself: `it` is not used after the call
            }
    }
    // Runs passes until `done` or `limitMs` (a generous limit for loaded machines); answers `done`.
    bool runUntil(const std::function<bool()>& done, int limitMs = 30000)
    {
        const uint64_t end = now() + uint64_t(limitMs);
        while (!done() && now() < end)
            runOnce(10);
        return done();
    }

private:
    static uint64_t now()
    {
        using namespace std::chrono;
        return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

    std::map<X11::IEventHandler*, int> descriptors;
    std::map<X11::ITimerHandler*, std::pair<uint64_t, uint64_t>> timers; // interval, next due (ms)
};

// The test's own connection and a top-level parent window standing in for the host's.
class TestHostWindow
{
public:
    // A top-level window at (`x`, `y`) of the screen.
    explicit TestHostWindow(int16_t x = 0, int16_t y = 0, uint16_t width = 640, uint16_t height = 480)
    {
        // A display whose last client just left resets and refuses connections for a moment.
        for (int attempt = 0; std::getenv("DISPLAY") && !connection && attempt < 200; ++attempt)
        {
            connection = xcb_connect(nullptr, nullptr);
            if (xcb_connection_has_error(connection))
            {
                xcb_disconnect(std::exchange(connection, nullptr));
                usleep(10000);
            }
        }
        if (!connection)
            return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        root = screen->root;
        parent = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, parent, root, x, y, width, height, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(connection, parent);
        xcb_flush(connection);
    }
    ~TestHostWindow()
    {
        if (!connection)
            return;
        xcb_destroy_window(connection, parent);
        xcb_disconnect(connection);
    }
    TestHostWindow(const TestHostWindow&) = delete;
    TestHostWindow& operator=(const TestHostWindow&) = delete;

    bool usable() const { return connection && !xcb_connection_has_error(connection) && parent != XCB_NONE; }
    void* parentHandle() const { return reinterpret_cast<void*>(uintptr_t(parent)); }

    // The parent's child windows; the first is the frame's.
    std::vector<xcb_window_t> children() const
    {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
        std::vector<xcb_window_t> found;
        if (tree)
            found.assign(xcb_query_tree_children(tree), xcb_query_tree_children(tree) + xcb_query_tree_children_length(tree));
        std::free(tree);
        return found;
    }
    xcb_window_t child() const { return children().empty() ? XCB_NONE : children()[0]; }
    int childCount() const { return int(children().size()); }
    // The size of `window` in pixels.
    std::pair<int, int> sizeOf(xcb_window_t window) const
    {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
        std::pair<int, int> size = g ? std::make_pair(int(g->width), int(g->height)) : std::make_pair(0, 0);
        std::free(g);
        return size;
    }

    // Sends a pointer event of `type` as the server would, to the client that made `window`.
    void sendPointer(xcb_window_t window, uint8_t type, uint8_t detail, int16_t x, int16_t y, uint16_t state = 0,
                     uint8_t crossingMode = XCB_NOTIFY_MODE_NORMAL)
    {
        xcb_button_press_event_t event{}; // press, release and motion share this layout
        event.response_type = type;
        event.detail = detail;
        event.root = root;
        event.event = window;
        event.event_x = x;
        event.event_y = y;
        event.state = state;
        event.same_screen = 1;
        if (type == XCB_ENTER_NOTIFY || type == XCB_LEAVE_NOTIFY)
        {
            auto& crossing = reinterpret_cast<xcb_enter_notify_event_t&>(event);
            crossing.mode = crossingMode;
            crossing.same_screen_focus = 1;
        }
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(connection);
    }
    // The window loses the input focus.
    void sendFocusOut(xcb_window_t window)
    {
        xcb_focus_out_event_t event{XCB_FOCUS_OUT, XCB_NOTIFY_DETAIL_NONLINEAR, 0, window, XCB_NOTIFY_MODE_NORMAL, {}};
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(connection);
    }
    void click(xcb_window_t window, uint8_t button, int16_t x, int16_t y, uint16_t state = 0)
    {
        sendPointer(window, XCB_BUTTON_PRESS, button, x, y, state);
        sendPointer(window, XCB_BUTTON_RELEASE, button, x, y, state);
    }

    // The window's pixels, opaque; none when they cannot be read.
    std::vector<CColor> screenshot(xcb_window_t window, int width, int height) const
    {
        auto cookie = xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, uint16_t(width),
                                    uint16_t(height), ~0u);
        xcb_get_image_reply_t* image = xcb_get_image_reply(connection, cookie, nullptr);
        std::vector<CColor> pixels;
        const uint8_t* data = image ? xcb_get_image_data(image) : nullptr;
        for (int i = 0; data && xcb_get_image_data_length(image) >= width * height * 4 && i < width * height; ++i)
            pixels.emplace_back(data[4 * i + 2], data[4 * i + 1], data[4 * i], 255); // 32 bits, blue first
        std::free(image);
        return pixels;
    }

    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_window_t parent = XCB_NONE;
};

// Tests share one display: the drag selection and visible screen places are taken in turn under this lock.
class DisplayLock
{
public:
    DisplayLock() { flock(fd, LOCK_EX); }
    ~DisplayLock() { ::close(fd); } // closing a descriptor of -1 does nothing
    DisplayLock(const DisplayLock&) = delete;

private:
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    const int fd = ::open(("/tmp/vextoria-x11-tests" + display + ".lock").c_str(), O_RDWR | O_CREAT, 0666);
};

} // namespace ToolkitTest
