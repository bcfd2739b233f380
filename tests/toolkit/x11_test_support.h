// The host side of the X11 tests: a plain parent window on the test display, synthetic pointer
// events sent to the frame's window, screenshots, and the poll loop as the toolkit's run loop.
#pragma once

#include "poll_loop.h"
#include "toolkit_test_support.h"
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <cstring>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace ToolkitTest {

// The poll loop behind the toolkit's run-loop interface.
class TestX11RunLoop : public X11::IRunLoop, public NonAtomicReferenceCounted
{
public:
    bool registerEventHandler(int fd, X11::IEventHandler* handler) override
    {
        loop.addDescriptor(handler, fd, [handler] { handler->onEvent(); });
        return true;
    }
    bool unregisterEventHandler(X11::IEventHandler* handler) override { return loop.removeDescriptor(handler); }
    bool registerTimer(uint64_t interval, X11::ITimerHandler* handler) override
    {
        loop.addTimer(handler, interval, [handler] { handler->onTimer(); });
        return true;
    }
    bool unregisterTimer(X11::ITimerHandler* handler) override { return loop.removeTimer(handler); }
    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

    TestRunLoop::PollLoop loop;
};

// The test's own connection and a top-level parent window standing in for the host's.
class TestHostWindow
{
public:
    // A top-level window at (`x`, `y`) of the screen.
    explicit TestHostWindow(int16_t x = 0, int16_t y = 0, uint16_t width = 640, uint16_t height = 480)
    {
        if (!std::getenv("DISPLAY"))
            return;
        // A display whose last client just left resets and refuses connections for a moment.
        for (int attempt = 0; attempt < 200; ++attempt)
        {
            connection = xcb_connect(nullptr, nullptr);
            if (!xcb_connection_has_error(connection))
                break;
            xcb_disconnect(connection);
            connection = nullptr;
            usleep(10000);
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
        if (parent != XCB_NONE)
            xcb_destroy_window(connection, parent);
        xcb_disconnect(connection);
    }
    TestHostWindow(const TestHostWindow&) = delete;
    TestHostWindow& operator=(const TestHostWindow&) = delete;

    bool usable() const { return connection && !xcb_connection_has_error(connection) && parent != XCB_NONE; }
    void* parentHandle() const { return reinterpret_cast<void*>(uintptr_t(parent)); }

    // The frame's window: the parent's only child; none while there is none.
    xcb_window_t child() const
    {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
        xcb_window_t found = XCB_NONE;
        if (tree && xcb_query_tree_children_length(tree) > 0)
            found = xcb_query_tree_children(tree)[0];
        std::free(tree);
        return found;
    }
    int childCount() const
    {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
        const int count = tree ? xcb_query_tree_children_length(tree) : -1;
        std::free(tree);
        return count;
    }
    // The size of `window` in pixels.
    std::pair<int, int> sizeOf(xcb_window_t window) const
    {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
        std::pair<int, int> size = g ? std::make_pair(int(g->width), int(g->height)) : std::make_pair(0, 0);
        std::free(g);
        return size;
    }

    // Sends a pointer event of `type` (button press or release, motion, enter, leave) as the
    // server would, to the client that made `window`.
    void sendPointer(xcb_window_t window, uint8_t type, uint8_t detail, int16_t x, int16_t y, uint16_t state = 0)
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
            crossing.mode = XCB_NOTIFY_MODE_NORMAL;
            crossing.same_screen_focus = 1;
        }
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(connection);
    }
    void click(xcb_window_t window, uint8_t button, int16_t x, int16_t y, uint16_t state = 0)
    {
        sendPointer(window, XCB_BUTTON_PRESS, button, x, y, state);
        sendPointer(window, XCB_BUTTON_RELEASE, button, x, y, state);
    }

    // The window's pixels, opaque.
    std::vector<CColor> screenshot(xcb_window_t window, int width, int height) const
    {
        auto cookie = xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, uint16_t(width),
                                    uint16_t(height), ~0u);
        xcb_get_image_reply_t* image = xcb_get_image_reply(connection, cookie, nullptr);
        std::vector<CColor> pixels;
        if (!image || xcb_get_image_data_length(image) < width * height * 4)
        {
            std::free(image);
            return pixels;
        }
        const uint8_t* data = xcb_get_image_data(image);
        for (int i = 0; i < width * height; ++i) // 32 bits a pixel, blue first
            pixels.emplace_back(data[4 * i + 2], data[4 * i + 1], data[4 * i], 255);
        std::free(image);
        return pixels;
    }

    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_window_t parent = XCB_NONE;
};

// Tests run in parallel on one display. Whatever is one per display (the drag selection, the
// visible pixels of a place on the screen) is taken in turn under this lock.
class DisplayLock
{
public:
    DisplayLock()
    {
        const char* display = std::getenv("DISPLAY");
        const std::string path = std::string("/tmp/vextoria-x11-tests") + (display ? display : "") + ".lock";
        fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0666);
        if (fd >= 0)
            flock(fd, LOCK_EX);
    }
    ~DisplayLock()
    {
        if (fd >= 0)
            ::close(fd);
    }
    DisplayLock(const DisplayLock&) = delete;
    DisplayLock& operator=(const DisplayLock&) = delete;

private:
    int fd = -1;
};

} // namespace ToolkitTest
