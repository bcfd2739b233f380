// The X window of an open frame: a child of the host's window, painted through cairo and
// fed with the server's events by the run loop. UI thread only.
#pragma once

#include "iplatformframe.h"
#include "runloop.h"
#include "windowpainter.h"
#include "xcbconnection.h"
#include "xdndtarget.h"
#include <memory>

namespace VSTGUI {

class CFrame;

namespace X11 {

class X11Frame : public IPlatformFrame, private IEventHandler
{
public:
    // The window for `frame` inside `parent`, driven by `runLoop`; null when the display or the
    // parent cannot be used.
    static std::unique_ptr<X11Frame> create(CFrame& frame, xcb_window_t parent, IRunLoop* runLoop);
    // Unregisters from the run loop, then destroys the window.
    ~X11Frame() override;

    void invalidRect(const CRect& rect) override;
    void setSize(const CRect& rect) override;
    void showTooltip(const CRect& rect, const std::string& text) override;
    void hideTooltip() override;

private:
    struct Placement
    {
        xcb_window_t root;
        xcb_visualid_t visual;
    };
    X11Frame(CFrame& frame, std::unique_ptr<XcbConnection> connection, xcb_window_t parent, const Placement& placement,
             IRunLoop* runLoop);
    static bool findPlacement(const XcbConnection& connection, xcb_window_t parent, Placement& placement);

    void onEvent() override;
    void dispatch(const xcb_generic_event_t& event);
    void onButtonPress(const xcb_button_press_event_t& press);
    void onButtonRelease(const xcb_button_release_event_t& release);
    void onClientMessage(const xcb_client_message_event_t& message);
    void queueRedraw();

    CFrame& frame;
    std::unique_ptr<XcbConnection> connection;
    xcb_window_t window;
    std::unique_ptr<WindowPainter> painter;
    std::unique_ptr<XdndTarget> dropTarget;
    SharedPointer<IRunLoop> runLoop;
    std::shared_ptr<bool> open = std::make_shared<bool>(true); // false once destroyed
    bool registered = false;   // with the run loop
    bool handlingEvents = false;
    bool redrawQueued = false; // a wake-up message is on its way
};

} // namespace X11
} // namespace VSTGUI
