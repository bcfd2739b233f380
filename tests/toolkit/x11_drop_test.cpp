// Files dragged from another client over XDND reach the drop target under the pointer as
// paths, and the source is always told copy.
#include "x11_frame_fixture.h"

#include "x11/urilist.h"

using namespace ToolkitTest;

TEST(X11UriList, LocalFileUrisArePercentDecodedAndEverythingElseLeftOut)
{
    using VSTGUI::X11::localPathsFromUriList;
    const std::string list = "# dragged from a file manager\r\n"
                             "file:///home/u/Presets/Big%20Room.vstpreset\r\n"
                             "file://localhost/tmp/a%2Fb%C3%A9\r\n"
                             "file:/tmp/single-slash\n"
                             "http://example.org/remote.vstpreset\r\n"
                             "file://otherhost/tmp/not-here\r\n"
                             "file:///tmp/broken%2\r\n"
                             "file:///tmp/bad%zzescape\r\n"
                             "file:///tmp/cut%00short\r\n"
                             "file://\r\n"
                             "\r\n"
                             "file:///last";
    const std::vector<std::string> expected = {"/home/u/Presets/Big Room.vstpreset", "/tmp/a/b\xC3\xA9",
                                               "/tmp/single-slash", "/last"};
    EXPECT_EQ(localPathsFromUriList(list), expected);
    EXPECT_TRUE(localPathsFromUriList("").empty());
    EXPECT_TRUE(localPathsFromUriList("file:///%").empty());
}

namespace {

// Records the drag calls and answers like an editor that takes files: copy on enter, move on move.
class RecordingDropTarget : public IDropTarget, public NonAtomicReferenceCounted
{
public:
    DragOperation onDragEnter(DragEventData data) override { return record("enter", data, DragOperation::Copy); }
    DragOperation onDragMove(DragEventData data) override { return record("move", data, DragOperation::Move); }
    void onDragLeave(DragEventData data) override { record("leave", data, DragOperation::None); }
    bool onDrop(DragEventData data) override
    {
        record("drop", data, DragOperation::None);
        for (uint32 i = 0; data.drag && i < data.drag->getCount(); ++i)
        {
            const void* buffer = nullptr;
            IDataPackage::Type type;
            data.drag->getData(i, buffer, type);
            if (type == IDataPackage::kFilePath)
                droppedPaths.emplace_back(static_cast<const char*>(buffer));
        }
        return true;
    }
    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

    std::vector<std::string> calls;
    std::vector<std::string> droppedPaths;
    CPoint lastPosition;

private:
    DragOperation record(const char* call, const DragEventData& data, DragOperation answer)
    {
        calls.emplace_back(call);
        lastPosition = data.pos;
        return answer;
    }
};

// The other side of the protocol: a client that owns the drag selection and serves its list.
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
        xcb_send_event(host.connection, 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(host.connection);
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

    // Answers the target's data request and notes its status and finish messages.
    void handleEvents()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(host.connection))
        {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_SELECTION_REQUEST)
                serve(*reinterpret_cast<xcb_selection_request_event_t*>(event));
            else if (type == XCB_CLIENT_MESSAGE)
            {
                const auto& message = *reinterpret_cast<xcb_client_message_event_t*>(event);
                if (message.type == atom("XdndStatus"))
                {
                    ++statusCount;
                    statusAccepted = message.data.data32[1] & 1;
                    statusAction = message.data.data32[4];
                }
                else if (message.type == atom("XdndFinished"))
                {
                    finished = true;
                    finishAccepted = message.data.data32[1] & 1;
                    finishAction = message.data.data32[2];
                }
            }
            std::free(event);
        }
    }

    std::string uriList;
    int statusCount = 0;
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
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = request.property;
        notify.time = request.time;
        xcb_send_event(host.connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(host.connection);
    }

    TestHostWindow& host;
    xcb_window_t window;
};

// The drag selection is one per display: drop tests take turns.
class X11Drop : public X11FrameFixture
{
protected:
    X11Drop() : X11FrameFixture(0, 0, true) {}

    void SetUp() override
    {
        X11FrameFixture::SetUp();
        if (IsSkipped())
            return;
        openFrame(2.0);
        // Views a and b sit in a panel that takes drops; the frame itself takes none.
        panel = new CViewContainer(CRect(0, 50, 200, 100));
        panel->setDropTarget(target.get());
        frame->addView(panel);
        source = std::make_unique<DragSource>(host);
    }
    bool pumpUntil(const std::function<bool()>& done)
    {
        return loop().runUntil([&] {
            source->handleEvents();
            return done();
        });
    }

    SharedPointer<RecordingDropTarget> target = SharedPointer<RecordingDropTarget>::adopt(new RecordingDropTarget);
    CViewContainer* panel = nullptr;
    std::unique_ptr<DragSource> source;
};

} // namespace

TEST_F(X11Drop, DroppedFileReachesTheTargetAsItsPathAndTheSourceIsToldCopy)
{
    source->uriList = "file:///home/u/Presets/Big%20Room.vstpreset\r\nfile:///tmp/two.vstpreset\r\n";
    source->enter(window, "text/uri-list");
    source->moveTo(window, 60, 140);
    ASSERT_TRUE(pumpUntil([&] { return source->statusAccepted; }));
    EXPECT_EQ(source->statusAction, source->atom("XdndActionCopy"));
    EXPECT_EQ(target->lastPosition, CPoint(30, 70));

    // Moving on: the target answers move, the source still hears copy.
    const int statuses = source->statusCount;
    source->moveTo(window, 80, 160);
    ASSERT_TRUE(pumpUntil([&] { return source->statusCount > statuses; }));
    EXPECT_TRUE(source->statusAccepted);
    EXPECT_EQ(source->statusAction, source->atom("XdndActionCopy"));

    source->send(window, "XdndDrop", 0, XCB_CURRENT_TIME, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return source->finished; }));
    EXPECT_TRUE(source->finishAccepted);
    EXPECT_EQ(source->finishAction, source->atom("XdndActionCopy"));
    const std::vector<std::string> paths = {"/home/u/Presets/Big Room.vstpreset", "/tmp/two.vstpreset"};
    EXPECT_EQ(target->droppedPaths, paths);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "move", "move", "drop"}));
}

TEST_F(X11Drop, DragsWithoutLocalFilesOrOutsideTheTargetAreRefused)
{
    // Text only: refused at once, the target never hears of it.
    source->enter(window, "text/plain");
    source->moveTo(window, 60, 140);
    ASSERT_TRUE(pumpUntil([&] { return source->statusCount > 0; }));
    EXPECT_FALSE(source->statusAccepted);
    source->send(window, "XdndDrop", 0, XCB_CURRENT_TIME, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return source->finished; }));
    EXPECT_FALSE(source->finishAccepted);
    EXPECT_TRUE(target->calls.empty());

    // Remote files only: the list holds no path, so nothing is taken.
    source->finished = false;
    source->uriList = "http://example.org/a.vstpreset\r\n";
    source->enter(window, "text/uri-list");
    source->moveTo(window, 60, 140);
    source->send(window, "XdndDrop", 0, XCB_CURRENT_TIME, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return source->finished; }));
    EXPECT_FALSE(source->finishAccepted);
    EXPECT_TRUE(target->calls.empty());

    // A file over a place without a drop target, then a leave: nothing is dropped.
    source->finished = false;
    source->statusCount = 0;
    source->uriList = "file:///tmp/x.vstpreset\r\n";
    source->enter(window, "text/uri-list");
    source->moveTo(window, 20, 20);
    ASSERT_TRUE(pumpUntil([&] { return source->statusCount > 1; }));
    EXPECT_FALSE(source->statusAccepted);
    source->moveTo(window, 60, 140);
    ASSERT_TRUE(pumpUntil([&] { return source->statusAccepted; }));
    source->send(window, "XdndLeave", 0, 0, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return target->calls.size() >= 2; }));
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "leave"}));
    EXPECT_TRUE(target->droppedPaths.empty());
}
