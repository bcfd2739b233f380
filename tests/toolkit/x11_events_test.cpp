// Pointer events that reach the frame's X window arrive at the right views, at every zoom.
#include "x11_frame_fixture.h"

#include "x11/eventtranslation.h"

using namespace ToolkitTest;

TEST(X11EventTranslation, ButtonsAndModifiers)
{
    using namespace VSTGUI::X11;
    EXPECT_EQ(buttonFromDetail(1), kLButton);
    EXPECT_EQ(buttonFromDetail(2), kMButton);
    EXPECT_EQ(buttonFromDetail(3), kRButton);
    EXPECT_EQ(buttonFromDetail(4), 0);
    EXPECT_EQ(buttonFromDetail(8), 0);

    const uint16_t state = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_BUTTON_MASK_1
                           | XCB_BUTTON_MASK_3 | XCB_MOD_MASK_LOCK;
    EXPECT_EQ(modifiersFromState(state)(), kShift | kControl | kAlt);
    EXPECT_EQ(buttonsFromState(state)(), kShift | kControl | kAlt | kLButton | kRButton);
    EXPECT_EQ(modifiersFromState(XCB_MOD_MASK_4)(), kApple);

    EXPECT_FALSE(wheelFromDetail(1)); // the wheel buttons themselves are stepped end to end below
    EXPECT_FALSE(wheelFromDetail(8));
}

class X11EventsAtZoom : public X11FrameFixture, public testing::WithParamInterface<double>
{
};

namespace {
class PressObserver : public IMouseObserver
{
public:
    CMouseEventResult onMouseDown(CFrame*, const CPoint& where, const CButtonState&) override
    {
        downs.push_back(where);
        return kMouseEventNotHandled;
    }
    std::vector<CPoint> downs;
};
} // namespace

TEST_P(X11EventsAtZoom, PressDragAndReleaseStayWithThePressedView)
{
    openFrame(GetParam());
    PressObserver observer;
    frame->registerMouseObserver(&observer);
    host.sendPointer(window, XCB_BUTTON_PRESS, 1, px(20), px(20), XCB_MOD_MASK_SHIFT);
    ASSERT_TRUE(waitForEntry("a:down"));
    EXPECT_EQ(observer.downs, std::vector<CPoint>{CPoint(20, 20)}) << "observers see presses in frame points";
    frame->unregisterMouseObserver(&observer);
    EXPECT_EQ(a->lastPoint, CPoint(20, 20));
    EXPECT_EQ(a->lastButtons(), kLButton | kShift);

    // Dragged over b, the mouse stays with a: b neither enters nor moves.
    host.sendPointer(window, XCB_MOTION_NOTIFY, 0, px(120), px(30), XCB_BUTTON_MASK_1);
    host.sendPointer(window, XCB_BUTTON_RELEASE, 1, px(120), px(30), XCB_BUTTON_MASK_1);
    ASSERT_TRUE(waitForEntry("a:up"));
    EXPECT_EQ(a->lastPoint, CPoint(120, 30));
    EXPECT_TRUE(logged("a:moved"));
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& e) { return e.rfind("b:", 0) == 0 && e != "b:entered"; }), 0);

    host.sendPointer(window, XCB_BUTTON_PRESS, 3, px(110), px(20));
    ASSERT_TRUE(waitForEntry("b:down"));
    EXPECT_TRUE(b->lastButtons.isRightButton());
    EXPECT_EQ(b->lastPoint, CPoint(110, 20));
}

TEST_P(X11EventsAtZoom, PressesCarryHeldButtonsAndALostGrabOrFocusCancelsThePress)
{
    openFrame(GetParam());
    host.sendPointer(window, XCB_BUTTON_PRESS, 1, px(20), px(20), XCB_BUTTON_MASK_3);
    ASSERT_TRUE(waitForEntry("a:down"));
    EXPECT_EQ(a->lastButtons(), kLButton | kRButton) << "no plain left press while the right is held";
    host.sendPointer(window, XCB_LEAVE_NOTIFY, 0, px(20), px(20), XCB_BUTTON_MASK_1, XCB_NOTIFY_MODE_GRAB);
    ASSERT_TRUE(waitForEntry("a:cancel"));
    log.clear();
    host.sendPointer(window, XCB_BUTTON_RELEASE, 1, px(20), px(20), XCB_BUTTON_MASK_1);
    host.sendPointer(window, XCB_BUTTON_PRESS, 1, px(20), px(20));
    ASSERT_TRUE(waitForEntry("a:down"));
    EXPECT_FALSE(logged("a:up")) << "the cancelled press gets no release";
    host.sendFocusOut(window);
    ASSERT_TRUE(waitForEntry("a:cancel"));
}

TEST_P(X11EventsAtZoom, WheelButtonsStepBothAxes)
{
    openFrame(GetParam());
    const std::vector<std::pair<uint8_t, std::pair<std::string, float>>> steps = {
        {4, {"a:wheelY", 1.f}}, {5, {"a:wheelY", -1.f}}, {6, {"a:wheelX", 1.f}}, {7, {"a:wheelX", -1.f}}};
    for (const auto& [button, expected] : steps)
    {
        log.clear();
        host.sendPointer(window, XCB_BUTTON_PRESS, button, px(30), px(30));
        host.sendPointer(window, XCB_BUTTON_RELEASE, button, px(30), px(30));
        ASSERT_TRUE(waitForEntry(expected.first))
            << int(button);
        EXPECT_EQ(a->lastDistance, expected.second) << int(button);
        EXPECT_EQ(std::count(log.begin(), log.end(), "a:down"), 0) << "a wheel button is no click";
    }
}

TEST_P(X11EventsAtZoom, SecondQuickPressIsADoubleClick)
{
    uint64_t now = 5000;
    setPlatformTimeSource([&] { return now; });
    openFrame(GetParam());
    host.click(window, 1, px(20), px(20));
    ASSERT_TRUE(waitForLog(2));
    EXPECT_FALSE(a->lastButtons.isDoubleClick());
    now += 100;
    host.click(window, 1, px(21), px(20));
    ASSERT_TRUE(waitForLog(4));
    EXPECT_TRUE(a->lastButtons.isDoubleClick());
    now += 2000;
    host.click(window, 1, px(21), px(20));
    ASSERT_TRUE(waitForLog(6));
    EXPECT_FALSE(a->lastButtons.isDoubleClick());
}

TEST_P(X11EventsAtZoom, EnterMoveAndLeaveFollowThePointer)
{
    openFrame(GetParam());
    host.sendPointer(window, XCB_ENTER_NOTIFY, 0, px(20), px(20));
    ASSERT_TRUE(waitForEntry("a:entered"));
    host.sendPointer(window, XCB_MOTION_NOTIFY, 0, px(110), px(20));
    ASSERT_TRUE(waitForEntry("b:entered"));
    EXPECT_TRUE(logged("a:exited"));
    EXPECT_EQ(b->lastPoint, CPoint(110, 20));
    host.sendPointer(window, XCB_LEAVE_NOTIFY, 0, px(300), px(20));
    ASSERT_TRUE(waitForEntry("b:exited"));
}

INSTANTIATE_TEST_SUITE_P(Zoom, X11EventsAtZoom, testing::Values(1.0, 2.0));

using X11FrameEvents = X11FrameFixture;

TEST_F(X11FrameEvents, WindowFollowsTheFrameSizeAndZoom)
{
    openFrame(1.0);
    EXPECT_EQ(host.sizeOf(window), std::make_pair(200, 100));
    frame->setZoom(2.0);
    loop().runFor(50);
    EXPECT_EQ(host.sizeOf(window), std::make_pair(400, 200));
    frame->setSize(300, 150);
    loop().runFor(50);
    EXPECT_EQ(host.sizeOf(window), std::make_pair(300, 150));
    // At the new size the views still take the mouse at their zoomed places.
    host.click(window, 1, 40, 40);
    ASSERT_TRUE(waitForLog(2));
    EXPECT_EQ(a->lastPoint, CPoint(20, 20));
}
