// One connection to the X server for one open frame, with the atoms the frame speaks.
#pragma once

#include <memory>
#include <xcb/xcb.h>

namespace VSTGUI {
namespace X11 {

struct Atoms
{
    xcb_atom_t xdndAware, xdndEnter, xdndPosition, xdndStatus, xdndLeave, xdndDrop, xdndFinished;
    xcb_atom_t xdndSelection, xdndTypeList, xdndActionCopy, uriList, redraw;
};

class XcbConnection
{
public:
    // Connects to the display of DISPLAY; null when there is none.
    static std::unique_ptr<XcbConnection> open();
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    xcb_connection_t* get() const { return connection; }
    int fileDescriptor() const { return xcb_get_file_descriptor(connection); }
    bool failed() const { return xcb_connection_has_error(connection) != 0; }
    const Atoms& atoms() const { return atomTable; }
    // The description of `visual` on any screen; null when unknown.
    xcb_visualtype_t* findVisual(xcb_visualid_t visual) const;
    // Sends a 32-bit client message of `type` to the client that made `destination`.
    void sendClientMessage(xcb_window_t destination, xcb_atom_t type, const uint32_t (&data)[5]) const;

private:
    explicit XcbConnection(xcb_connection_t* connection);
    void internAtoms();

    xcb_connection_t* connection;
    Atoms atomTable{};
};

} // namespace X11
} // namespace VSTGUI
