#include "xcbconnection.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

namespace VSTGUI {
namespace X11 {

std::unique_ptr<XcbConnection> XcbConnection::open()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
    {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::unique_ptr<XcbConnection> result(new XcbConnection(connection));
    result->internAtoms();
    return result;
}

XcbConnection::XcbConnection(xcb_connection_t* xcbConnection) : connection(xcbConnection) {}

XcbConnection::~XcbConnection() { xcb_disconnect(connection); }

void XcbConnection::internAtoms()
{
    struct Entry
    {
        const char* name;
        xcb_atom_t* atom;
    };
    Atoms& a = atomTable;
    const Entry entries[] = {
        {"XdndAware", &a.xdndAware},         {"XdndEnter", &a.xdndEnter},
        {"XdndPosition", &a.xdndPosition},   {"XdndStatus", &a.xdndStatus},
        {"XdndLeave", &a.xdndLeave},         {"XdndDrop", &a.xdndDrop},
        {"XdndFinished", &a.xdndFinished},   {"XdndSelection", &a.xdndSelection},
        {"XdndTypeList", &a.xdndTypeList},   {"XdndActionCopy", &a.xdndActionCopy},
        {"text/uri-list", &a.uriList},       {"_FRAME_REDRAW", &a.redraw},
    };
    xcb_intern_atom_cookie_t cookies[std::size(entries)];
    for (size_t i = 0; i < std::size(entries); ++i) // all requests first: one round trip
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(std::strlen(entries[i].name)), entries[i].name);
    for (size_t i = 0; i < std::size(entries); ++i)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        *entries[i].atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
    }
}

xcb_visualtype_t* XcbConnection::findVisual(xcb_visualid_t visual) const
{
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem; xcb_screen_next(&screens))
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem; xcb_depth_next(&depths))
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
                if (visuals.data->visual_id == visual)
                    return visuals.data;
    return nullptr;
}

void XcbConnection::sendClientMessage(xcb_window_t destination, xcb_atom_t type, const uint32_t (&data)[5]) const
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = destination;
    event.type = type;
    std::memcpy(event.data.data32, data, sizeof(data));
    xcb_send_event(connection, 0, destination, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
}

} // namespace X11
} // namespace VSTGUI
