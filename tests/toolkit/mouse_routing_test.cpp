// How the frame routes presses, moves, releases and wheel steps through the view tree, and
// how the tree refuses bad additions.
#include "toolkit_test_support.h"
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using ToolkitTest::RecordingView;
using Log = std::vector<std::string>;

namespace {

struct MouseScene : ::testing::Test
{
    ScopedManualRunLoop runLoop;
    Log log;
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), nullptr);
    RecordingView* below = new RecordingView(CRect(10, 10, 110, 60), "below", log);
    RecordingView* above = new RecordingView(CRect(50, 20, 150, 80), "above", log, kMouseEventNotHandled);

    MouseScene()
    {
        frame->addView(below);
        frame->addView(above);
    }
    ~MouseScene() override { frame->forget(); }
    CMouseEventResult click(CPoint where, int32 buttons = kLButton)
    {
        const CMouseEventResult result = frame->platformOnMouseDown(where, buttons);
        frame->platformOnMouseUp(where, 0);
        return result;
    }
};

} // namespace

// Hover and capture as the pointer moves are followed end to end in the X11 window tests.
TEST_F(MouseScene, PressGoesToTopViewAndFallsThroughOnlyATransparentOne)
{
    // An opaque view covers what lies below it, whether it takes the press or not.
    click(CPoint(60, 30));
    EXPECT_EQ(log, (Log{"above:entered", "above:down"}));
    above->setTransparency(true);
    click(CPoint(60, 30));
    EXPECT_EQ(log.back(), "below:up");
    // Only the top view lies under (120, 70); it declines and nothing else is there.
    EXPECT_EQ(click(CPoint(120, 70)), kMouseEventNotHandled);
    // Once it takes presses: its left top corner is in, just past its right edge is out.
    above->answer = kMouseEventHandled;
    EXPECT_EQ(click(CPoint(150, 50)), kMouseEventNotHandled);
    EXPECT_EQ(click(CPoint(50, 20)), kMouseEventHandled);
    EXPECT_EQ(log.back(), "above:up");

    // A press that needs no more moves captures nothing: moves only enter and exit.
    above->answer = above->moveAnswer = kMouseMoveEventHandledButDontNeedMoreEvents;
    frame->platformOnMouseDown(CPoint(120, 70), kLButton);
    log.clear();
    frame->platformOnMouseMoved(CPoint(20, 20), kLButton);
    EXPECT_EQ(log, (Log{"above:exited", "below:entered"}));
}

TEST_F(MouseScene, PointsAreInTheParentsCoordinatesAndZoomedWindowPixelsMapBack)
{
    auto* panel = new CViewContainer(CRect(100, 50, 200, 100));
    auto* inner = new RecordingView(CRect(10, 10, 30, 30), "inner", log);
    panel->addView(inner);
    frame->addView(panel);
    frame->platformOnMouseDown(CPoint(115, 65), kLButton);
    EXPECT_EQ(inner->lastPoint, CPoint(15, 15));
    frame->platformOnMouseMoved(CPoint(0, 0), kLButton);
    EXPECT_EQ(inner->lastPoint, CPoint(-100, -50));
    frame->platformOnMouseUp(CPoint(0, 0), 0);

    ASSERT_TRUE(frame->setZoom(2.0));
    EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 400, 200));
    frame->platformOnMouseDown(CPoint(228, 128), kLButton);
    EXPECT_EQ(inner->lastPoint, CPoint(14, 14));
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
        click(CPoint(60, 30));
        skip(false);
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "above:down"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "below:down"), 4);
}

TEST_F(MouseScene, WheelCarriesItsAxisAndFallsThroughWhenUnused)
{
    above->takesWheel = false;
    EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisX, -1.5f, 0));
    EXPECT_EQ(log, (Log{"above:wheelX"})) << "an opaque view keeps unused steps";
    log.clear();
    above->setTransparency(true);
    EXPECT_TRUE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisX, -1.5f, 0));
    EXPECT_EQ(log, (Log{"above:wheelX", "below:wheelX"}));
    EXPECT_EQ(below->lastDistance, -1.5f);
    log.clear();
    EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisY, std::nanf(""), 0));
    EXPECT_TRUE(log.empty());
}

TEST_F(MouseScene, DoubleClickNeedsTheSameButtonSoonAndNearby)
{
    auto isDouble = [&](CPoint where, int32 buttons) {
        click(where, buttons);
        return below->lastButtons.isDoubleClick();
    };
    EXPECT_FALSE(isDouble(CPoint(20, 20), kLButton));
    runLoop.advance(200);
    EXPECT_TRUE(isDouble(CPoint(23, 22), kLButton));
    runLoop.advance(100);
    EXPECT_FALSE(isDouble(CPoint(23, 22), kLButton)); // a third press starts anew
    runLoop.advance(500);
    EXPECT_FALSE(isDouble(CPoint(23, 22), kLButton)); // too late
    runLoop.advance(100);
    EXPECT_FALSE(isDouble(CPoint(33, 22), kLButton)); // too far
    runLoop.advance(100);
    EXPECT_FALSE(isDouble(CPoint(33, 22), kRButton)); // another button
}

namespace {
struct PressObserver : IMouseObserver
{
    std::vector<CView*> entered;
    std::vector<CPoint> downs;
    CMouseEventResult answer = kMouseEventNotHandled;
    void onMouseEntered(CView* view, CFrame*) override { entered.push_back(view); }
    CMouseEventResult onMouseDown(CFrame*, const CPoint& where, const CButtonState&) override
    {
        downs.push_back(where);
        return answer;
    }
};
} // namespace

TEST_F(MouseScene, MouseObserversSeePressesFirstInFramePointsAndMayKeepThem)
{
    PressObserver observer;
    frame->registerMouseObserver(&observer);
    frame->setZoom(2.0);
    click(CPoint(40, 40));
    EXPECT_EQ(observer.downs, std::vector<CPoint>{CPoint(20, 20)});
    EXPECT_EQ(observer.entered, std::vector<CView*>{below});
    EXPECT_EQ(log.back(), "below:up");
    observer.answer = kMouseEventHandled;
    log.clear();
    frame->platformOnMouseDown(CPoint(40, 40), kLButton);
    EXPECT_TRUE(log.empty());
    frame->unregisterMouseObserver(&observer);
}

TEST_F(MouseScene, RemovingTheCapturingViewCancelsItsPressAndEndsTheCapture)
{
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    log.clear();
    EXPECT_TRUE(frame->removeView(below));
    EXPECT_EQ(log, Log{"below:cancel"});
    log.clear();
    frame->platformOnMouseMoved(CPoint(60, 30), kLButton);
    frame->platformOnMouseUp(CPoint(60, 30), 0);
    EXPECT_EQ(log, Log{"above:entered"});
}

TEST(ViewTree, ContainersOwnChildrenAndRefuseBadAddsAndValues)
{
    auto* root = new CViewContainer(CRect(0, 0, 100, 100));
    auto* panel = new CViewContainer(CRect(10, 10, 50, 50));
    auto* a = new CView(CRect(0, 0, 5, 5));
    auto* b = new CView(CRect(5, 5, 10, 10));
    EXPECT_TRUE(panel->addView(a));
    EXPECT_TRUE(panel->addView(b, a)); // below a
    EXPECT_FALSE(panel->addView(a));   // already a child
    EXPECT_FALSE(root->addView(nullptr));
    EXPECT_FALSE(root->addView(root));
    EXPECT_TRUE(root->addView(panel));
    std::vector<CView*> visited;
    panel->forEachChild([&](CView* child) { visited.push_back(child); });
    EXPECT_EQ(visited, (std::vector<CView*>{b, a}));
    EXPECT_EQ(a->frameToLocal(CPoint(11, 11)), CPoint(1, 1));

    b->remember();
    EXPECT_TRUE(panel->removeView(b, false)); // handed back, still alive
    EXPECT_FALSE(b->isAttached());
    EXPECT_FALSE(panel->removeView(b));
    b->setMouseableArea(CRect(5, 5, 7, 7));
    b->setViewSize(CRect(20, 20, 40, 40)); // the mouseable area moves along
    EXPECT_EQ(b->getMouseableArea(), CRect(20, 20, 22, 22));
    b->setAlphaValue(2.f);
    EXPECT_EQ(b->getAlphaValue(), 1.f);
    b->setAlphaValue(std::nanf(""));
    EXPECT_EQ(b->getAlphaValue(), 1.f);
    b->forget();
    b->forget();
    root->forget(); // takes panel and a with it (checked by the sanitizer's leak report)
}
