#include "xdndtarget.h"

#include "cframe.h"
#include "droptargetlookup.h"
#include "urilist.h"
#include <cstdlib>
#include <string_view>

namespace VSTGUI {
namespace X11 {

namespace {
constexpr uint32_t kProtocolVersion = 5;
constexpr uint32_t kMinimumVersion = 3;   // the first with actions and positions as used here
constexpr uint32_t kMaxUriListWords = 1 << 18; // 1 MiB of paths is more than any drop needs

// The reply of a property read, freed with the reply.
struct PropertyReply
{
    explicit PropertyReply(xcb_get_property_reply_t* r) : reply(r) {}
    ~PropertyReply() { std::free(reply); }
    PropertyReply(const PropertyReply&) = delete;
    PropertyReply& operator=(const PropertyReply&) = delete;
    xcb_get_property_reply_t* reply;
};
} // namespace

XdndTarget::XdndTarget(const XcbConnection& xcb, xcb_window_t targetWindow, xcb_window_t rootWindow, CFrame& owner)
    : connection(xcb), window(targetWindow), root(rootWindow), frame(owner)
{
}

XdndTarget::~XdndTarget() { reset(); }

void XdndTarget::announce()
{
    xcb_change_property(connection.get(), XCB_PROP_MODE_REPLACE, window, connection.atoms().xdndAware, XCB_ATOM_ATOM,
                        32, 1, &kProtocolVersion);
}

bool XdndTarget::handleClientMessage(const xcb_client_message_event_t& message)
{
    const Atoms& atoms = connection.atoms();
    if (message.format != 32)
        return false;
    if (message.type == atoms.xdndEnter)
        onEnter(message);
    else if (message.type == atoms.xdndPosition || message.type == atoms.xdndLeave || message.type == atoms.xdndDrop)
    {
        if (source == XCB_NONE || message.data.data32[0] != source)
            return true; // not the drag in progress
        if (message.type == atoms.xdndPosition)
            onPosition(message);
        else if (message.type == atoms.xdndLeave)
            onLeave();
        else
            onDrop();
    }
    else
        return false;
    return true;
}

void XdndTarget::onEnter(const xcb_client_message_event_t& message)
{
    reset();
    const uint32_t version = message.data.data32[1] >> 24;
    if (version < kMinimumVersion)
        return; // too old to speak positions and actions with
    source = message.data.data32[0];
    offersFiles = sourceOffersUriList(message); // without, every position and the drop are refused
}

bool XdndTarget::sourceOffersUriList(const xcb_client_message_event_t& enter) const
{
    const xcb_atom_t uriList = connection.atoms().uriList;
    const bool moreThanThree = enter.data.data32[1] & 1;
    if (!moreThanThree)
        return enter.data.data32[2] == uriList || enter.data.data32[3] == uriList || enter.data.data32[4] == uriList;
    auto cookie = xcb_get_property(connection.get(), 0, enter.data.data32[0], connection.atoms().xdndTypeList,
                                   XCB_ATOM_ATOM, 0, 1024);
    PropertyReply types(xcb_get_property_reply(connection.get(), cookie, nullptr));
    if (!types.reply || types.reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(types.reply));
    const int count = xcb_get_property_value_length(types.reply) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == uriList)
            return true;
    return false;
}

void XdndTarget::onPosition(const xcb_client_message_event_t& message)
{
    const int16_t rootX = int16_t(message.data.data32[2] >> 16);
    const int16_t rootY = int16_t(message.data.data32[2] & 0xffff);
    auto cookie = xcb_translate_coordinates(connection.get(), root, window, rootX, rootY);
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(connection.get(), cookie, nullptr);
    if (!reply)
    {
        sendStatus(false);
        return;
    }
    position = frame.windowToFrame(CPoint(reply->dst_x, reply->dst_y));
    std::free(reply);
    hasPosition = true;
    if (!offersFiles)
    {
        sendStatus(false);
        return;
    }
    if (!dataRequested)
        requestData(message.data.data32[3]);
    sendStatus(package && updateTarget());
}

void XdndTarget::requestData(xcb_timestamp_t time)
{
    const Atoms& atoms = connection.atoms();
    xcb_convert_selection(connection.get(), window, atoms.xdndSelection, atoms.uriList, atoms.xdndSelection, time);
    dataRequested = true;
}

void XdndTarget::handleSelectionNotify(const xcb_selection_notify_event_t& notify)
{
    const Atoms& atoms = connection.atoms();
    if (source == XCB_NONE || package || notify.selection != atoms.xdndSelection || notify.requestor != window)
        return;
    if (notify.property == XCB_NONE || !readDroppedFiles())
    {
        // The source gave nothing usable: refuse the whole drag.
        if (dropPending)
            finishDrop(false);
        else
            sendStatus(false);
        return;
    }
    if (dropPending)
        onDrop();
    else if (hasPosition)
        sendStatus(updateTarget());
}

bool XdndTarget::readDroppedFiles()
{
    const Atoms& atoms = connection.atoms();
    auto cookie = xcb_get_property(connection.get(), 1, window, atoms.xdndSelection, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                   kMaxUriListWords);
    PropertyReply data(xcb_get_property_reply(connection.get(), cookie, nullptr));
    if (!data.reply || data.reply->format != 8 || data.reply->bytes_after != 0)
        return false;
    const std::string_view text(static_cast<const char*>(xcb_get_property_value(data.reply)),
                                size_t(xcb_get_property_value_length(data.reply)));
    auto paths = localPathsFromUriList(text);
    if (paths.empty())
        return false;
    package = SharedPointer<IDataPackage>::adopt(new FilePathDataPackage(std::move(paths)));
    return true;
}

bool XdndTarget::updateTarget()
{
    SharedPointer<IDropTarget> under(findDropTarget(frame, position));
    if (under.get() != target.get())
    {
        leaveTarget();
        target = under;
        if (target)
            operation = target->onDragEnter(eventData());
    }
    else if (target)
        operation = target->onDragMove(eventData());
    return target && operation != DragOperation::None;
}

DragEventData XdndTarget::eventData() const { return DragEventData{package.get(), position, CButtonState()}; }

void XdndTarget::leaveTarget()
{
    if (auto previous = std::move(target))
        previous->onDragLeave(eventData());
    operation = DragOperation::None;
}

void XdndTarget::onLeave()
{
    leaveTarget();
    reset();
}

void XdndTarget::onDrop()
{
    if (!package)
    {
        if (dataRequested)
            dropPending = true; // the data is on its way
        else
            finishDrop(false);
        return;
    }
    const bool accepted = updateTarget() && target->onDrop(eventData());
    target = nullptr;
    finishDrop(accepted);
}

void XdndTarget::sendStatus(bool accepted)
{
    const uint32_t wantsPositions = 2;
    const uint32_t data[5] = {window, (accepted ? 1u : 0u) | wantsPositions, 0, 0,
                              accepted ? connection.atoms().xdndActionCopy : uint32_t(XCB_NONE)};
    connection.sendClientMessage(source, connection.atoms().xdndStatus, data);
}

void XdndTarget::finishDrop(bool accepted)
{
    const uint32_t data[5] = {window, accepted ? 1u : 0u,
                              accepted ? connection.atoms().xdndActionCopy : uint32_t(XCB_NONE), 0, 0};
    connection.sendClientMessage(source, connection.atoms().xdndFinished, data);
    leaveTarget();
    reset();
}

void XdndTarget::reset()
{
    target = nullptr;
    package = nullptr;
    source = XCB_NONE;
    offersFiles = false;
    dataRequested = dropPending = hasPosition = false;
    operation = DragOperation::None;
}

} // namespace X11
} // namespace VSTGUI
