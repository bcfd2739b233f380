// Files dragged from another client over XDND reach the drop target under the pointer as
// paths, and the source is always told copy.
#include "x11_drag_source.h"
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
