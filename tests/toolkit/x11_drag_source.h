// The source side of an XDND drag as a file manager plays it, noting the target's status and finish.
#pragma once

#include "x11_test_support.h"

namespace ToolkitTest {

class DragSource
{
public:
    explicit DragSource(TestHostWindow& host) : host(host), window(xcb_generate_id(host.connection))
    {
        xcb_create_window(host.connection, XCB_COPY_FROM_PARENT, window, host.root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_set_selection_owner(host.connection, window, atom("XdndSelection"), XCB_CURRENT_TIME);
        xcb_flush(host.connection);
    }
    ~DragSource() { xcb_destroy_window(host.connection, window); }

    xcb_atom_t atom(const char* name) const
    {
        auto* reply = xcb_intern_atom_reply(host.connection,
                                            xcb_intern_atom(host.connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_NONE);
        std::free(reply);
        return result;
    }
    void send(xcb_window_t target, const char* type, uint32_t d1, uint32_t d2, uint32_t d3, uint32_t d4)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = target;
        event.type = atom(type);
        const uint32_t data[5] = {window, d1, d2, d3, d4};
        std::memcpy(event.data.data32, data, sizeof(data));
        sendEvent(target, event);
    }
    void enter(xcb_window_t target, const char* type) { send(target, "XdndEnter", 5u << 24, atom(type), 0, 0); }
    // `x`, `y` in the target window's pixels.
    void moveTo(xcb_window_t target, int16_t x, int16_t y)
    {
        auto* reply = xcb_translate_coordinates_reply(
            host.connection, xcb_translate_coordinates(host.connection, target, host.root, x, y), nullptr);
        const uint32_t rootPosition = (uint32_t(uint16_t(reply->dst_x)) << 16) | uint16_t(reply->dst_y);
        std::free(reply);
        send(target, "XdndPosition", 0, rootPosition, XCB_CURRENT_TIME, atom("XdndActionMove"));
    }
    void drop(xcb_window_t target) { send(target, "XdndDrop", 0, XCB_CURRENT_TIME, 0, 0); }

    // Answers the target's data request and notes its status and finish messages.
    void handleEvents()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(host.connection))
        {
            const uint8_t type = event->response_type & 0x7f;
            const auto& message = *reinterpret_cast<xcb_client_message_event_t*>(event);
            if (type == XCB_SELECTION_REQUEST)
                serve(*reinterpret_cast<xcb_selection_request_event_t*>(event));
            else if (type == XCB_CLIENT_MESSAGE && message.type == atom("XdndStatus"))
            {
                statusAccepted = message.data.data32[1] & 1;
                statusAction = message.data.data32[4];
            }
            else if (type == XCB_CLIENT_MESSAGE && message.type == atom("XdndFinished"))
            {
                finished = true;
                finishAccepted = message.data.data32[1] & 1;
                finishAction = message.data.data32[2];
            }
            std::free(event);
        }
    }

    std::string uriList;
    bool statusAccepted = false;
    xcb_atom_t statusAction = XCB_NONE;
    bool finished = false;
    bool finishAccepted = false;
    xcb_atom_t finishAction = XCB_NONE;

private:
    void serve(const xcb_selection_request_event_t& request)
    {
        xcb_change_property(host.connection, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                            request.target, 8, uint32_t(uriList.size()), uriList.data());
        xcb_selection_notify_event_t notify{XCB_SELECTION_NOTIFY, 0, 0, request.time, request.requestor,
                                            request.selection, request.target, request.property};
        sendEvent(request.requestor, notify);
    }
    template <typename Event>
    void sendEvent(xcb_window_t to, const Event& event)
    {
        xcb_send_event(host.connection, 0, to, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(host.connection);
    }

    TestHostWindow& host;
    xcb_window_t window;
};

} // namespace ToolkitTest
