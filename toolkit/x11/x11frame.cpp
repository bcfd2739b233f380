#include "x11frame.h"

#include "cframe.h"
#include "eventtranslation.h"
#include "installedrunloops.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace VSTGUI {
namespace X11 {

namespace {
constexpr uint32_t kEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
                                | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW
                                | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_FOCUS_CHANGE;

uint16_t windowExtent(CCoord pixels) { return uint16_t(std::clamp<CCoord>(std::ceil(pixels), 1, 32767)); }
} // namespace

std::unique_ptr<X11Frame> X11Frame::create(CFrame& frame, xcb_window_t parent, IRunLoop* runLoop)
{
    if (parent == XCB_NONE || !runLoop)
        return nullptr;
    auto connection = XcbConnection::open();
    Placement placement{};
    if (!connection || !findPlacement(*connection, parent, placement))
        return nullptr;
    return std::unique_ptr<X11Frame>(new X11Frame(frame, std::move(connection), parent, placement, runLoop));
}

bool X11Frame::findPlacement(const XcbConnection& connection, xcb_window_t parent, Placement& placement)
{
    xcb_connection_t* c = connection.get();
    auto geometryCookie = xcb_get_geometry(c, parent);
    auto attributesCookie = xcb_get_window_attributes(c, parent);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, geometryCookie, nullptr);
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(c, attributesCookie, nullptr);
    const bool found = geometry && attributes && connection.findVisual(attributes->visual);
    if (found)
        placement = Placement{geometry->root, attributes->visual};
    std::free(geometry);
    std::free(attributes);
    return found;
}

X11Frame::X11Frame(CFrame& owner, std::unique_ptr<XcbConnection> xcb, xcb_window_t parent, const Placement& placement,
                   IRunLoop* loop)
    : frame(owner), connection(std::move(xcb)), window(xcb_generate_id(connection->get())), runLoop(loop)
{
    xcb_connection_t* c = connection->get();
    const CRect size = frame.getViewSize();
    const uint16_t width = windowExtent(size.getWidth());
    const uint16_t height = windowExtent(size.getHeight());
    const uint32_t values[] = {kEventMask};
    // Same depth and visual as the parent, so any host window can take it as a child.
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, parent, 0, 0, width, height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      placement.visual, XCB_CW_EVENT_MASK, values);
    painter = std::make_unique<WindowPainter>(c, window, connection->findVisual(placement.visual), width, height);
    dropTarget = std::make_unique<XdndTarget>(*connection, window, placement.root, frame);
    dropTarget->announce();
    xcb_map_window(c, window);
    xcb_flush(c);
    InstalledRunLoops::push(runLoop.get());
    registered = runLoop->registerEventHandler(connection->fileDescriptor(), this);
}

X11Frame::~X11Frame()
{
    *open = false;
    if (registered)
        runLoop->unregisterEventHandler(this);
    InstalledRunLoops::remove(runLoop.get());
    dropTarget.reset();
    painter.reset();
    xcb_connection_t* c = connection->get();
    xcb_destroy_window(c, window);
    // A round trip: the window is gone from the host's parent when close returns.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

void X11Frame::onEvent()
{
    xcb_connection_t* c = connection->get();
    // A view may close the frame while it handles an event: then this object is gone
    // when dispatch returns, and nothing of it may be touched.
    const std::shared_ptr<bool> stillOpen = open;
    SharedPointer<CFrame> keepFrame(&frame);
    xcb_generic_event_t* event = xcb_poll_for_event(c);
    do
    {
        handlingEvents = true;
        for (; event; event = xcb_poll_for_event(c))
        {
            dispatch(*event);
            std::free(event);
            if (!*stillOpen)
                return;
        }
        handlingEvents = false;
        redrawQueued = false;
        if (connection->failed())
        {
            // The server is gone: stop listening instead of spinning on a dead descriptor.
            runLoop->unregisterEventHandler(this);
            registered = false;
            return;
        }
        if (painter->needsPaint(frame))
            painter->paint(frame);
        xcb_flush(c);
        // Round trips while painting can read events off the descriptor: they would wait for
        // the next wake-up if not taken here.
        event = xcb_poll_for_queued_event(c);
    } while (event);
}

void X11Frame::dispatch(const xcb_generic_event_t& event)
{
    switch (event.response_type & 0x7f)
    {
    case XCB_EXPOSE:
    {
        const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
        painter->addExposed(CRect(expose.x, expose.y, expose.x + expose.width, expose.y + expose.height));
        break;
    }
    case XCB_BUTTON_PRESS:
        onButtonPress(reinterpret_cast<const xcb_button_press_event_t&>(event));
        break;
    case XCB_BUTTON_RELEASE:
        onButtonRelease(reinterpret_cast<const xcb_button_release_event_t&>(event));
        break;
    case XCB_MOTION_NOTIFY:
    {
        const auto& motion = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
        frame.platformOnMouseMoved(CPoint(motion.event_x, motion.event_y), buttonsFromState(motion.state));
        break;
    }
    case XCB_ENTER_NOTIFY:
    {
        const auto& enter = reinterpret_cast<const xcb_enter_notify_event_t&>(event);
        frame.platformOnMouseMoved(CPoint(enter.event_x, enter.event_y), buttonsFromState(enter.state));
        break;
    }
    case XCB_LEAVE_NOTIFY:
    {
        // Ungrab: a drag ended outside the window, so the pointer left with the release.
        // Grab: another client took the pointer, so the press held here gets no release.
        const uint8_t mode = reinterpret_cast<const xcb_leave_notify_event_t&>(event).mode;
        if (mode == XCB_NOTIFY_MODE_GRAB)
            frame.platformOnMouseCancel();
        if (mode == XCB_NOTIFY_MODE_NORMAL || mode == XCB_NOTIFY_MODE_UNGRAB || mode == XCB_NOTIFY_MODE_GRAB)
            frame.platformOnMouseExited();
        break;
    }
    case XCB_FOCUS_OUT:
        // Losing the focus (not merely ending a keyboard grab) takes the press away too.
        if (reinterpret_cast<const xcb_focus_out_event_t&>(event).mode != XCB_NOTIFY_MODE_UNGRAB)
            frame.platformOnMouseCancel();
        break;
    case XCB_CLIENT_MESSAGE:
        onClientMessage(reinterpret_cast<const xcb_client_message_event_t&>(event));
        break;
    case XCB_SELECTION_NOTIFY:
        dropTarget->handleSelectionNotify(reinterpret_cast<const xcb_selection_notify_event_t&>(event));
        break;
    default:
        break;
    }
}

void X11Frame::onButtonPress(const xcb_button_press_event_t& press)
{
    const CPoint where(press.event_x, press.event_y);
    if (auto wheel = wheelFromDetail(press.detail))
        frame.platformOnMouseWheel(where, wheel->axis, wheel->distance, buttonsFromState(press.state));
    else if (int32 button = buttonFromDetail(press.detail))
        // The state holds the buttons already down; a left press with the right held is no
        // plain left press.
        frame.platformOnMouseDown(where, CButtonState(button | buttonsFromState(press.state)()));
}

void X11Frame::onButtonRelease(const xcb_button_release_event_t& release)
{
    if (int32 button = buttonFromDetail(release.detail))
        frame.platformOnMouseUp(CPoint(release.event_x, release.event_y),
                                CButtonState(button | buttonsFromState(release.state)()));
}

void X11Frame::onClientMessage(const xcb_client_message_event_t& message)
{
    if (message.type != connection->atoms().redraw)
        dropTarget->handleClientMessage(message);
}

void X11Frame::queueRedraw()
{
    if (handlingEvents || redrawQueued)
        return; // painted when the events in hand are done
    // A message to ourselves wakes the run loop, which then paints everything invalidated.
    const uint32_t data[5] = {};
    connection->sendClientMessage(window, connection->atoms().redraw, data);
    xcb_flush(connection->get());
    redrawQueued = true;
}

void X11Frame::invalidRect(const CRect&) { queueRedraw(); }

void X11Frame::setSize(const CRect& rect)
{
    const uint16_t width = windowExtent(rect.getWidth());
    const uint16_t height = windowExtent(rect.getHeight());
    const uint32_t values[] = {width, height};
    xcb_configure_window(connection->get(), window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    painter->resize(width, height);
    queueRedraw();
}

void X11Frame::showTooltip(const CRect& rect, const std::string& text)
{
    painter->showTooltip(rect, text);
    queueRedraw();
}

void X11Frame::hideTooltip()
{
    painter->hideTooltip();
    queueRedraw();
}

} // namespace X11
} // namespace VSTGUI
