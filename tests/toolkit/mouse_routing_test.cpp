// How the frame routes presses, moves, releases and wheel steps through the view tree.
#include "toolkit_test_support.h"
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using ToolkitTest::RecordingView;

namespace {

struct MouseScene : ::testing::Test
{
    ScopedManualRunLoop runLoop;
    std::vector<std::string> log;
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), nullptr);
    RecordingView* below = new RecordingView(CRect(10, 10, 110, 60), "below", log);
    RecordingView* above = new RecordingView(CRect(50, 20, 150, 80), "above", log, kMouseEventNotHandled);

    MouseScene()
    {
        frame->addView(below);
        frame->addView(above);
    }
    ~MouseScene() override { frame->forget(); }
};

} // namespace

TEST_F(MouseScene, PressGoesToTopViewAndFallsThroughOnlyATransparentOne)
{
    // An opaque view covers what lies below it, whether it takes the press or not.
    frame->platformOnMouseDown(CPoint(60, 30), kLButton);
    EXPECT_EQ(log, (std::vector<std::string>{"above:entered", "above:down"}));
    frame->platformOnMouseUp(CPoint(60, 30), 0);
    above->setTransparency(true);
    frame->platformOnMouseDown(CPoint(60, 30), kLButton);
    EXPECT_EQ(log.back(), "below:down");
    frame->platformOnMouseUp(CPoint(60, 30), 0);

    // Only the top view lies under (120, 70); it declines and nothing else is there.
    EXPECT_EQ(frame->platformOnMouseDown(CPoint(120, 70), kLButton), kMouseEventNotHandled);
    frame->platformOnMouseUp(CPoint(120, 70), 0);

    // Once it takes presses: its left top corner is in, just past its right edge is out.
    above->answer = kMouseEventHandled;
    EXPECT_EQ(frame->platformOnMouseDown(CPoint(150, 50), kLButton), kMouseEventNotHandled);
    frame->platformOnMouseUp(CPoint(150, 50), 0);
    EXPECT_EQ(frame->platformOnMouseDown(CPoint(50, 20), kLButton), kMouseEventHandled);
    EXPECT_EQ(log.back(), "above:down");
}

TEST_F(MouseScene, HandledPressCapturesMovesAndReleaseUntilTheButtonGoesUp)
{
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    log.clear();
    frame->platformOnMouseMoved(CPoint(180, 90), kLButton); // far outside, over the other view
    frame->platformOnMouseUp(CPoint(180, 90), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"below:moved", "below:up", "below:exited"}));
    EXPECT_EQ(below->lastPoint, CPoint(180, 90));
    log.clear();
    frame->platformOnMouseMoved(CPoint(185, 95), 0);
    EXPECT_TRUE(log.empty()); // no capture any more, nothing under the pointer
}

TEST_F(MouseScene, EnterExitAndMovesWithoutButtonsFollowThePointer)
{
    frame->platformOnMouseMoved(CPoint(20, 20), 0);
    frame->platformOnMouseMoved(CPoint(25, 25), 0);
    frame->platformOnMouseMoved(CPoint(120, 70), 0);
    frame->platformOnMouseExited();
    std::vector<std::string> expected{"below:entered", "below:moved", "below:moved", "below:exited",
                                      "above:entered", "above:moved", "above:exited"};
    EXPECT_EQ(log, expected);
}

TEST_F(MouseScene, MovesWithAButtonButNoCaptureOnlyEnterAndExit)
{
    above->answer = kMouseMoveEventHandledButDontNeedMoreEvents;
    above->moveAnswer = kMouseMoveEventHandledButDontNeedMoreEvents;
    frame->platformOnMouseDown(CPoint(120, 70), kLButton);
    log.clear();
    frame->platformOnMouseMoved(CPoint(20, 20), kLButton);
    EXPECT_EQ(log, (std::vector<std::string>{"above:exited", "below:entered"}));
}

TEST_F(MouseScene, ChildrenOfNestedContainersGetPointsInTheirParentsCoordinates)
{
    auto* panel = new CViewContainer(CRect(100, 50, 200, 100));
    auto* inner = new RecordingView(CRect(10, 10, 30, 30), "inner", log);
    panel->addView(inner);
    frame->addView(panel);
    frame->platformOnMouseDown(CPoint(115, 65), kLButton);
    EXPECT_EQ(log.back(), "inner:down");
    EXPECT_EQ(inner->lastPoint, CPoint(15, 15));
    frame->platformOnMouseMoved(CPoint(0, 0), kLButton);
    EXPECT_EQ(inner->lastPoint, CPoint(-100, -50));
}

TEST_F(MouseScene, ZoomMapsWindowPixelsToLayoutPixels)
{
    ASSERT_TRUE(frame->setZoom(2.0));
    EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 400, 200));
    above->answer = kMouseEventHandled;
    frame->platformOnMouseDown(CPoint(298, 158), kLButton);
    EXPECT_EQ(log.back(), "above:down");
    EXPECT_EQ(above->lastPoint, CPoint(149, 79));
    EXPECT_FALSE(frame->setZoom(0));
    EXPECT_FALSE(frame->setZoom(std::nan("")));
    EXPECT_EQ(frame->getZoom(), 2.0);
}

TEST_F(MouseScene, HiddenTransparentMouseDisabledAndOutsideTheMouseableAreaAreSkipped)
{
    above->answer = kMouseEventHandled;
    const std::vector<std::function<void(bool)>> ways = {
        [&](bool on) { above->setVisible(!on); }, [&](bool on) { above->setAlphaValue(on ? 0 : 1); },
        [&](bool on) { above->setMouseEnabled(!on); },
        [&](bool on) { above->setMouseableArea(on ? CRect(140, 70, 150, 80) : above->getViewSize()); }};
    for (const auto& skip : ways)
    {
        skip(true);
        frame->platformOnMouseDown(CPoint(60, 30), kLButton);
        frame->platformOnMouseUp(CPoint(60, 30), 0);
        skip(false);
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "above:down"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "below:down"), 4);
}

TEST_F(MouseScene, WheelCarriesItsAxisAndFallsThroughWhenUnused)
{
    above->takesWheel = false;
    EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisX, -1.5f, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"above:wheelX"})) << "an opaque view keeps unused steps";
    log.clear();
    above->setTransparency(true);
    EXPECT_TRUE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisX, -1.5f, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"above:wheelX", "below:wheelX"}));
    EXPECT_EQ(below->lastDistance, -1.5f);
    log.clear();
    EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisY, std::nanf(""), 0));
    EXPECT_TRUE(log.empty());
}

TEST_F(MouseScene, DoubleClickNeedsTheSameButtonSoonAndNearby)
{
    auto press = [&](CPoint where, int32 buttons) {
        frame->platformOnMouseDown(where, buttons);
        frame->platformOnMouseUp(where, 0);
        return below->lastButtons.isDoubleClick();
    };
    EXPECT_FALSE(press(CPoint(20, 20), kLButton));
    runLoop.advance(200);
    EXPECT_TRUE(press(CPoint(23, 22), kLButton));
    runLoop.advance(100);
    EXPECT_FALSE(press(CPoint(23, 22), kLButton)); // a third press starts anew
    runLoop.advance(500);
    EXPECT_FALSE(press(CPoint(23, 22), kLButton)); // too late
    runLoop.advance(100);
    EXPECT_FALSE(press(CPoint(33, 22), kLButton)); // too far
    runLoop.advance(100);
    EXPECT_FALSE(press(CPoint(33, 22), kRButton)); // another button
}

namespace {
struct CountingObserver : IMouseObserver
{
    std::vector<CView*> entered;
    CMouseEventResult downAnswer = kMouseEventNotHandled;
    int downs = 0;
    void onMouseEntered(CView* view, CFrame*) override { entered.push_back(view); }
    CMouseEventResult onMouseDown(CFrame*, const CPoint&, const CButtonState&) override
    {
        ++downs;
        return downAnswer;
    }
};
} // namespace

TEST_F(MouseScene, MouseObserversSeePressesFirstAndMayKeepThem)
{
    CountingObserver observer;
    frame->registerMouseObserver(&observer);
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    frame->platformOnMouseUp(CPoint(20, 20), 0);
    EXPECT_EQ(observer.downs, 1);
    EXPECT_EQ(observer.entered, std::vector<CView*>{below});
    EXPECT_EQ(log.back(), "below:up");
    observer.downAnswer = kMouseEventHandled;
    log.clear();
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    EXPECT_TRUE(log.empty());
    frame->unregisterMouseObserver(&observer);
}

TEST_F(MouseScene, RemovingTheCapturingViewCancelsItsPressAndEndsTheCapture)
{
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    log.clear();
    EXPECT_TRUE(frame->removeView(below));
    EXPECT_EQ(log, std::vector<std::string>{"below:cancel"});
    log.clear();
    frame->platformOnMouseMoved(CPoint(60, 30), kLButton);
    frame->platformOnMouseUp(CPoint(60, 30), 0);
    EXPECT_EQ(log, std::vector<std::string>{"above:entered"});
}
