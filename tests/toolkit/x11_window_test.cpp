// The frame's X window: pointer routing at every zoom, render and tooltips, dropped files, clean close.
#include "x11_drag_source.h"

#include "offscreen.h"
#include "x11/eventtranslation.h"
#include "x11/urilist.h"

using namespace ToolkitTest;

TEST(X11EventTranslation, ButtonsModifiersAndWheelSteps)
{
    using namespace VSTGUI::X11;
    const uint16_t state = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_BUTTON_MASK_1
                           | XCB_BUTTON_MASK_3 | XCB_MOD_MASK_LOCK;
    EXPECT_EQ(modifiersFromState(state)(), kShift | kControl | kAlt);
    EXPECT_EQ(buttonsFromState(state)(), kShift | kControl | kAlt | kLButton | kRButton);
    EXPECT_EQ(modifiersFromState(XCB_MOD_MASK_4)(), kApple);
    // Buttons 1 to 3 press; 4 and 5 scroll up and down, 6 and 7 left and right; 8 does neither.
    const int32 presses[] = {kLButton, kMButton, kRButton, 0, 0, 0, 0, 0};
    const float steps[] = {0, 0, 0, 1, -1, 1, -1, 0};
    for (uint8_t button = 1; button <= 8; ++button)
    {
        EXPECT_EQ(buttonFromDetail(button), presses[button - 1]) << int(button);
        const auto wheel = wheelFromDetail(button);
        EXPECT_EQ(wheel ? wheel->distance : 0.f, steps[button - 1]) << int(button);
        const auto axis = button == 6 || button == 7 ? kMouseWheelAxisX : kMouseWheelAxisY;
        EXPECT_EQ(wheel ? wheel->axis : kMouseWheelAxisY, axis) << int(button);
    }
}

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
    // An escape cut short by the end of the list: the byte after the list is not read.
    EXPECT_TRUE(localPathsFromUriList(std::string_view("file:///tmp/x%41", 15)).empty());
}

namespace {

// A 200 x 100 frame with views a and b in a host window, apart from other tests' windows (see DisplayLock).
class X11Window : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!host.usable())
            GTEST_SKIP() << "no X display";
        config.runLoop = runLoop.get();
    }
    void TearDown() override
    {
        if (frame)
            frame->close();
        setPlatformTimeSource({});
    }

    void openFrame(double zoom)
    {
        frame = new CFrame(CRect(0, 0, 200, 100), nullptr);
        frame->addView(a = new RecordingView(CRect(10, 10, 60, 40), "a", log));
        frame->addView(b = new RecordingView(CRect(100, 10, 150, 40), "b", log));
        frame->setZoom(zoom);
        ASSERT_TRUE(frame->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, &config));
        window = host.child();
        ASSERT_NE(window, XCB_NONE);
    }
    bool logged(const std::string& entry) const { return std::count(log.begin(), log.end(), entry) > 0; }
    // Events arrive when the server passes them on: tests wait for them, never for a time.
    bool waitFor(const std::string& entry) { return runLoop->runUntil([&] { return logged(entry); }); }
    // Window pixels of a frame coordinate at the current zoom.
    int16_t px(double frameCoordinate) const { return int16_t(frameCoordinate * frame->getZoom()); }

    DisplayLock turn;
    TestHostWindow host{640, 480};
    SharedPointer<TestX11RunLoop> runLoop = SharedPointer<TestX11RunLoop>::adopt(new TestX11RunLoop);
    X11::FrameConfig config;
    CFrame* frame = nullptr;
    RecordingView* a = nullptr;
    RecordingView* b = nullptr;
    std::vector<std::string> log;
    xcb_window_t window = XCB_NONE;
};

class X11WindowAtZoom : public X11Window, public testing::WithParamInterface<double> {};

} // namespace

TEST_P(X11WindowAtZoom, PointerEventsReachTheViewsUnderThePointerAndALostGrabOrFocusCancels)
{
    openFrame(GetParam());
    const uint16_t shiftAndRight = uint16_t(XCB_MOD_MASK_SHIFT) | uint16_t(XCB_BUTTON_MASK_3);
    host.sendPointer(window, XCB_BUTTON_PRESS, 1, px(20), px(20), shiftAndRight);
    ASSERT_TRUE(waitFor("a:down"));
    EXPECT_EQ(a->lastButtons(), kLButton | kRButton | kShift) << "the held right button comes along";
    // Dragged over b, the mouse stays with a: b neither enters nor moves until the release.
    host.sendPointer(window, XCB_MOTION_NOTIFY, 0, px(120), px(30), XCB_BUTTON_MASK_1);
    host.sendPointer(window, XCB_BUTTON_RELEASE, 1, px(120), px(30), XCB_BUTTON_MASK_1);
    ASSERT_TRUE(waitFor("a:up"));
    EXPECT_EQ(a->lastPoint, CPoint(120, 30));
    EXPECT_EQ(log, (std::vector<std::string>{"a:entered", "a:down", "a:moved", "a:up", "a:exited", "b:entered"}));

    log.clear();
    host.click(window, 4, px(30), px(30)); // a wheel step up, no click
    ASSERT_TRUE(waitFor("a:wheelY"));
    EXPECT_EQ(a->lastDistance, 1.f);
    host.sendPointer(window, XCB_BUTTON_PRESS, 3, px(110), px(20));
    ASSERT_TRUE(waitFor("b:down"));
    EXPECT_TRUE(b->lastButtons.isRightButton());
    host.sendPointer(window, XCB_LEAVE_NOTIFY, 0, px(110), px(20), XCB_BUTTON_MASK_3, XCB_NOTIFY_MODE_GRAB);
    ASSERT_TRUE(waitFor("b:cancel"));
    host.sendPointer(window, XCB_BUTTON_RELEASE, 3, px(110), px(20), XCB_BUTTON_MASK_3);
    host.sendPointer(window, XCB_BUTTON_PRESS, 1, px(20), px(20));
    ASSERT_TRUE(waitFor("a:down"));
    EXPECT_FALSE(logged("b:up")) << "the cancelled press gets no release";
    host.sendFocusOut(window);
    ASSERT_TRUE(waitFor("a:cancel"));
    EXPECT_EQ(std::count(log.begin(), log.end(), "a:down"), 1) << "a wheel button is no click";
}

TEST_P(X11WindowAtZoom, WindowShowsTheOffscreenRenderOfTheSameTreeAndTooltipsInsideIt)
{
    openFrame(GetParam());
    const CColor background(20, 120, 60);
    frame->setBackgroundColor(background);
    auto* panel = new CViewContainer(CRect(70, 50, 190, 95));
    panel->setBackgroundColor(CColor(200, 40, 40));
    auto* label = new CTextLabel(CRect(5, 5, 45, 40), "Ag"); // antialiased edges compared too
    label->setFontColor(CColor(250, 200, 40));
    label->setBackColor(CColor(30, 90, 200));
    panel->addView(label);
    frame->addView(panel);
    a->setAlphaValue(0.5f);

    const OffscreenImage expected = renderView(*frame, 1.0);
    const int width = expected.getWidth(), height = expected.getHeight();
    ASSERT_EQ(host.sizeOf(window), std::make_pair(width, height));
    size_t mismatches = 0; // pixels whose channels differ by more than 4
    EXPECT_TRUE(runLoop->runUntil([&] {
        const std::vector<CColor> shown = host.screenshot(window, width, height);
        mismatches = shown.empty() ? ~size_t(0) : 0;
        for (size_t i = 0; i < shown.size(); ++i)
        {
            CColor reference = expected.getPixel(int(i) % width, int(i) / width);
            reference.alpha = 255;
            mismatches += !near(shown[i], reference, 4);
        }
        return mismatches < shown.size() / 500;
    })) << mismatches << " pixels differ";

    // A tooltip after its delay, below the view from its left edge; its padding is plain fill.
    frame->enableTooltips(true, 50);
    a->setTooltipText("Slice amount");
    const size_t probe = size_t((px(40) + 2 + 9) * width + px(10) + 2);
    auto shown = [&](CColor colour) {
        return runLoop->runUntil([&] { return near(host.screenshot(window, width, height)[probe], colour); });
    };
    host.sendPointer(window, XCB_ENTER_NOTIFY, 0, px(20), px(20));
    EXPECT_TRUE(shown(CColor(255, 255, 225)));
    host.click(window, 1, px(20), px(20)); // a press hides it
    EXPECT_TRUE(shown(background));
}

INSTANTIATE_TEST_SUITE_P(, X11WindowAtZoom, testing::Values(1.0, 2.0),
                         [](const auto& info) { return "Zoom" + std::to_string(int(info.param)) + "x"; });

namespace {
// Records the drag calls and answers like an editor that takes files: copy on enter, move on move.
struct RecordingDropTarget : IDropTarget, NonAtomicReferenceCounted
{
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
            if (data.drag->getData(i, buffer, type) && type == IDataPackage::kFilePath)
                droppedPaths.emplace_back(static_cast<const char*>(buffer));
        }
        return true;
    }
    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }
    DragOperation record(const char* call, const DragEventData& data, DragOperation answer)
    {
        calls.emplace_back(call);
        lastPosition = data.pos;
        return answer;
    }

    std::vector<std::string> calls, droppedPaths;
    CPoint lastPosition;
};
} // namespace

// At zoom 2, views a and b sit in a panel that takes drops; the frame itself takes none.
TEST_F(X11Window, DroppedFilesReachTheTargetAsPathsAndEverythingElseIsRefused)
{
    openFrame(2.0);
    auto target = SharedPointer<RecordingDropTarget>::adopt(new RecordingDropTarget);
    auto* panel = new CViewContainer(CRect(0, 50, 200, 100));
    panel->setDropTarget(target.get());
    frame->addView(panel);
    DragSource source(host);
    auto pumpUntil = [&](const std::function<bool()>& done) {
        return runLoop->runUntil([&] { return source.handleEvents(), done(); });
    };
    auto startDrag = [&](const char* type, const char* uriList) {
        source.uriList = uriList;
        source.statusAccepted = source.finished = false;
        source.enter(window, type);
    };

    // Text only, or remote files only: refused, and the target never hears of them.
    for (const char* type : {"text/plain", "text/uri-list"})
    {
        startDrag(type, "http://example.org/a.vstpreset\r\n");
        source.moveTo(window, 60, 140);
        source.drop(window);
        ASSERT_TRUE(pumpUntil([&] { return source.finished; }));
        EXPECT_FALSE(source.statusAccepted || source.finishAccepted);
    }
    EXPECT_TRUE(target->calls.empty());

    // Two files dropped: the source always hears copy, whatever the target answers.
    startDrag("text/uri-list", "file:///home/u/Presets/Big%20Room.vstpreset\r\nfile:///tmp/two.vstpreset\r\n");
    source.moveTo(window, 60, 140);
    ASSERT_TRUE(pumpUntil([&] { return source.statusAccepted; }));
    EXPECT_EQ(target->lastPosition, CPoint(30, 70));
    EXPECT_EQ(source.statusAction, source.atom("XdndActionCopy")) << "the target answered move";
    source.drop(window);
    ASSERT_TRUE(pumpUntil([&] { return source.finished; }));
    EXPECT_TRUE(source.finishAccepted);
    EXPECT_EQ(source.finishAction, source.atom("XdndActionCopy"));
    EXPECT_EQ(target->droppedPaths, (std::vector<std::string>{"/home/u/Presets/Big Room.vstpreset", "/tmp/two.vstpreset"}));
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "move", "drop"}));
}

namespace {
// Closes its frame when pressed, as a "close" button of an editor might.
struct ClosingView : CView
{
    using CView::CView;
    CMouseEventResult onMouseDown(CPoint&, const CButtonState&) override
    {
        getFrame()->close();
        closed = true;
        return kMouseEventHandled;
    }
    inline static bool closed = false;
};
} // namespace

TEST_F(X11Window, RefusedOpensChangeNothingAndClosingEvenFromAnEventLeavesNothing)
{
    auto* refused = new CFrame(CRect(0, 0, 100, 100), nullptr);
    X11::FrameConfig withoutLoop;
    IPlatformFrameConfig otherKind;
    void* missing = reinterpret_cast<void*>(uintptr_t(0x1fffffff)); // names no window
    const std::pair<void*, IPlatformFrameConfig*> refusals[] = {
        {host.parentHandle(), nullptr}, {host.parentHandle(), &otherKind}, {host.parentHandle(), &withoutLoop},
        {nullptr, &config}, {missing, &config}};
    for (auto [parent, refusedConfig] : refusals)
        EXPECT_FALSE(refused->open(parent, PlatformType::kX11EmbedWindowID, refusedConfig));
    EXPECT_FALSE(refused->isOpen());
    auto leftNothing = [&] { // no window, descriptor, timer or run loop
        return !X11::RunLoop::get() && runLoop->descriptorCount() + runLoop->timerCount() + host.childCount() == 0;
    };
    EXPECT_TRUE(leftNothing());
    refused->forget();

    openFrame(1.5);
    EXPECT_FALSE(frame->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, &config)) << "already open";
    EXPECT_EQ(runLoop->descriptorCount(), 1u);
    frame->enableTooltips(true, 5000); // a tooltip delay runs when the frame closes
    a->setTooltipText("waits");
    host.sendPointer(window, XCB_ENTER_NOTIFY, 0, 20, 20);
    ASSERT_TRUE(waitFor("a:entered"));
    EXPECT_GE(runLoop->timerCount(), 1u) << "the frame's loop runs the toolkit's timers";
    std::exchange(frame, nullptr)->close();
    EXPECT_TRUE(leftNothing());

    openFrame(1.0);
    frame->addView(new ClosingView(CRect(0, 60, 50, 100)));
    host.click(window, 1, 10, 70);
    host.click(window, 1, 10, 70); // a second press in the same batch meets a closed frame
    frame = nullptr;
    EXPECT_TRUE(runLoop->runUntil([&] { return ClosingView::closed; }));
    EXPECT_TRUE(leftNothing());
}

