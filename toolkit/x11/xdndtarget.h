// Makes a window a drop target of the X drag-and-drop protocol (version 5) for local files:
// it asks the drag source for a text/uri-list, hands the paths to the frame's drop targets
// and answers the source. It always answers copy: a move would let a file manager delete
// the user's file after the drop.
#pragma once

#include "cpoint.h"
#include "idroptarget.h"
#include "xcbconnection.h"

namespace VSTGUI {

class CFrame;

namespace X11 {

class XdndTarget
{
public:
    XdndTarget(const XcbConnection& connection, xcb_window_t window, xcb_window_t root, CFrame& frame);
    ~XdndTarget();
    XdndTarget(const XdndTarget&) = delete;
    XdndTarget& operator=(const XdndTarget&) = delete;

    // Announces the window as drop-aware.
    void announce();
    // True when the message belonged to the protocol.
    bool handleClientMessage(const xcb_client_message_event_t& message);
    void handleSelectionNotify(const xcb_selection_notify_event_t& notify);

private:
    void onEnter(const xcb_client_message_event_t& message);
    void onPosition(const xcb_client_message_event_t& message);
    void onLeave();
    void onDrop();
    bool sourceOffersUriList(const xcb_client_message_event_t& enter) const;
    bool readDroppedFiles();
    // Moves the drag to the target under the last position; true when it takes the drag.
    bool updateTarget();
    void sendStatus(bool accepted);
    void finishDrop(bool accepted);
    void leaveTarget();
    void requestData(xcb_timestamp_t time);
    void reset();
    DragEventData eventData() const;

    const XcbConnection& connection;
    xcb_window_t window;
    xcb_window_t root; // positions come in its coordinates
    CFrame& frame;
    xcb_window_t source = XCB_NONE;            // the drag in progress, none between drags
    bool offersFiles = false;                  // the source has a text/uri-list
    bool dataRequested = false;
    bool dropPending = false;                  // dropped before the data arrived
    bool hasPosition = false;
    CPoint position;                           // frame coordinates
    SharedPointer<IDataPackage> package;       // the dropped files, once read
    SharedPointer<IDropTarget> target;         // the receiver under the pointer
    DragOperation operation = DragOperation::None;
};

} // namespace X11
} // namespace VSTGUI
