// The frame on the manual clock: how presses, moves and wheel steps travel through the view
// tree, the edit bracket that reaches the editor, timers, animations and the dirty region.
#include "toolkit_test_support.h"
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using ToolkitTest::RecordingView;
using Log = std::vector<std::string>;

namespace {

// The listener's and the editor's calls in one log.
struct EditLog : IControlListener, VSTGUIEditorInterface
{
    Log calls;
    void valueChanged(CControl* c) override { calls.push_back("changed " + std::to_string(c->getValue())); }
    void controlBeginEdit(CControl* c) override { calls.push_back("listener begin " + std::to_string(c->getTag())); }
    void controlEndEdit(CControl* c) override { calls.push_back("listener end " + std::to_string(c->getTag())); }
    void beginEdit(int32 index) override { calls.push_back("editor begin " + std::to_string(index)); }
    void endEdit(int32 index) override { calls.push_back("editor end " + std::to_string(index)); }
};

// A 200 x 100 frame with "below" (10, 10, 110, 60) and, on top, "above" (50, 20, 150, 80),
// which declines presses.
struct FrameScene : ::testing::Test
{
    ScopedManualRunLoop runLoop;
    Log log;
    EditLog edits;
    CFrame* frame = new CFrame(CRect(0, 0, 200, 100), &edits);
    RecordingView* below = new RecordingView(CRect(10, 10, 110, 60), "below", log);
    RecordingView* above = new RecordingView(CRect(50, 20, 150, 80), "above", log, kMouseEventNotHandled);

    FrameScene()
    {
        frame->addView(below);
        frame->addView(above);
    }
    ~FrameScene() override { frame->forget(); }
    CMouseEventResult click(CPoint where, int32 buttons = kLButton)
    {
        const CMouseEventResult result = frame->platformOnMouseDown(where, buttons);
        frame->platformOnMouseUp(where, 0);
        return result;
    }
};

} // namespace

// Hover and capture as the pointer moves are followed end to end in the X11 window tests.
TEST_F(FrameScene, PressGoesToTheTopViewThatCanTakeItAndRemovingItsViewCancelsIt)
{
    click(CPoint(60, 30)); // an opaque view covers what lies below, whether it takes the press or not
    EXPECT_EQ(log, (Log{"above:entered", "above:down"}));
    above->setTransparency(true);
    click(CPoint(60, 30));
    EXPECT_EQ(log.back(), "below:up");
    above->setTransparency(false);
    EXPECT_EQ(click(CPoint(120, 70)), kMouseEventNotHandled); // nothing else lies there
    // Once it takes presses: its left top corner is in, just past its right edge is out.
    above->answer = kMouseEventHandled;
    EXPECT_EQ(click(CPoint(150, 50)), kMouseEventNotHandled);
    EXPECT_EQ(click(CPoint(50, 20)), kMouseEventHandled);
    EXPECT_EQ(log.back(), "above:up");

    // Hidden, invisible, mouse-disabled or outside its mouseable area: passed over.
    const std::vector<std::function<void(bool)>> ways = {
        [&](bool on) { above->setVisible(!on); }, [&](bool on) { above->setAlphaValue(on ? 0 : 1); },
        [&](bool on) { above->setMouseEnabled(!on); },
        [&](bool on) { above->setMouseableArea(on ? CRect(140, 70, 150, 80) : above->getViewSize()); }};
    log.clear();
    for (const auto& skip : ways)
    {
        skip(true);
        click(CPoint(60, 30));
        skip(false);
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "above:down"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "below:down"), 4);

    // A press that needs no more moves captures nothing: moves only enter and exit.
    above->moveAnswer = above->answer = kMouseMoveEventHandledButDontNeedMoreEvents;
    frame->platformOnMouseDown(CPoint(120, 70), kLButton);
    log.clear();
    frame->platformOnMouseMoved(CPoint(20, 20), kLButton);
    EXPECT_EQ(log, (Log{"above:exited", "below:entered"}));
    frame->platformOnMouseUp(CPoint(20, 20), 0);

    // Removing the view that holds the press cancels it and ends the capture.
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    log.clear();
    EXPECT_TRUE(frame->removeView(below));
    frame->platformOnMouseMoved(CPoint(60, 30), kLButton);
    frame->platformOnMouseUp(CPoint(60, 30), 0);
    EXPECT_EQ(log, (Log{"below:cancel", "above:entered"}));
}

TEST_F(FrameScene, WheelStepsStopAtAnOpaqueViewAndNotANumberStepsAreRefused)
{
    above->takesWheel = false;
    EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisX, -1.5f, 0));
    EXPECT_EQ(log, (Log{"above:wheelX"}));
    above->setTransparency(true);
    EXPECT_TRUE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisX, -1.5f, 0));
    EXPECT_EQ(log, (Log{"above:wheelX", "above:wheelX", "below:wheelX"}));
    EXPECT_EQ(below->lastDistance, -1.5f);
    EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(60, 30), kMouseWheelAxisY, std::nanf(""), 0));
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(FrameScene, DoubleClickNeedsTheSameButtonSoonAndNearby)
{
    struct Press
    {
        uint64_t after;
        CPoint where;
        int32 button;
        bool isDouble;
    };
    const Press presses[] = {{0, {20, 20}, kLButton, false},   {200, {23, 22}, kLButton, true},
                             {100, {23, 22}, kLButton, false}, // a third press starts anew
                             {500, {23, 22}, kLButton, false}, // too late
                             {100, {33, 22}, kLButton, false}, // too far
                             {100, {33, 22}, kRButton, false}};
    for (const Press& press : presses)
    {
        runLoop.advance(press.after);
        click(press.where, press.button);
        EXPECT_EQ(below->lastButtons.isDoubleClick(), press.isDouble) << press.after << " ms later";
    }
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

TEST_F(FrameScene, ZoomedPressesReachObserversFirstAndViewsInTheirParentsCoordinates)
{
    auto* panel = new CViewContainer(CRect(100, 50, 200, 100));
    auto* inner = new RecordingView(CRect(10, 10, 30, 30), "inner", log);
    panel->addView(inner);
    frame->addView(panel);
    PressObserver observer;
    frame->registerMouseObserver(&observer);
    ASSERT_TRUE(frame->setZoom(2.0));
    EXPECT_FALSE(frame->setZoom(0));
    EXPECT_FALSE(frame->setZoom(std::nan("")));
    EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 400, 200));
    frame->platformOnMouseDown(CPoint(230, 130), kLButton);
    EXPECT_EQ(observer.downs, std::vector<CPoint>{CPoint(115, 65)});
    EXPECT_EQ(observer.entered, (std::vector<CView*>{panel, inner}));
    EXPECT_EQ(inner->lastPoint, CPoint(15, 15));
    frame->platformOnMouseMoved(CPoint(0, 0), kLButton);
    EXPECT_EQ(inner->lastPoint, CPoint(-100, -50)); // captured moves outside it too
    frame->platformOnMouseUp(CPoint(0, 0), 0);
    observer.answer = kMouseEventHandled; // an observer may keep a press
    log.clear();
    frame->platformOnMouseDown(CPoint(230, 130), kLButton);
    EXPECT_EQ(std::count(log.begin(), log.end(), "inner:down"), 0);
    frame->unregisterMouseObserver(&observer);
}

TEST(ViewTree, ContainersOwnChildrenAndRefuseBadAddsAndValues)
{
    auto* root = new CViewContainer(CRect(0, 0, 100, 100));
    auto* a = new CView(CRect(0, 0, 5, 5));
    auto* b = new CView(CRect(5, 5, 10, 10));
    EXPECT_TRUE(root->addView(a));
    EXPECT_TRUE(root->addView(b, a)); // below a
    EXPECT_FALSE(root->addView(a));   // already a child
    EXPECT_FALSE(root->addView(nullptr));
    EXPECT_FALSE(root->addView(root));
    std::vector<CView*> visited;
    root->forEachChild([&](CView* child) { visited.push_back(child); });
    EXPECT_EQ(visited, (std::vector<CView*>{b, a}));

    b->remember();
    EXPECT_TRUE(root->removeView(b, false)); // handed back, still alive
    EXPECT_FALSE(b->isAttached());
    EXPECT_FALSE(root->removeView(b));
    b->setMouseableArea(CRect(5, 5, 7, 7));
    b->setViewSize(CRect(20, 20, 40, 40)); // the mouseable area moves along
    EXPECT_EQ(b->getMouseableArea(), CRect(20, 20, 22, 22));
    b->setAlphaValue(2.f);
    b->setAlphaValue(std::nanf(""));
    EXPECT_EQ(b->getAlphaValue(), 1.f);
    b->forget();
    b->forget();
    root->forget(); // takes a with it (checked by the sanitizer's leak report)
}

namespace {
// A control whose wheel steps are bracketed by the wheel-editing support.
class WheelControl : public CControl, private CMouseWheelEditingSupport
{
public:
    using CControl::CControl;
    bool onWheel(const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&) override
    {
        onMouseWheelEditing(this);
        return true;
    }
};
} // namespace

TEST_F(FrameScene, NestedEditsReachTheEditorOnceAStrayEndDoesNothingAndValuesAreClamped)
{
    auto* control = new CControl(CRect(0, 0, 10, 10), &edits, 7);
    frame->addView(control);
    control->beginEdit();
    control->beginEdit();
    control->endEdit();
    EXPECT_TRUE(control->isEditing());
    control->endEdit();
    control->endEdit();
    EXPECT_FALSE(control->isEditing());
    control->beginEdit();
    EXPECT_EQ(edits.calls, (Log{"listener begin 7", "editor begin 7", "listener end 7", "editor end 7",
                                "listener begin 7", "editor begin 7"}));
    // Outside a frame there is no editor, but the listener still hears.
    edits.calls.clear();
    CControl loose(CRect(0, 0, 10, 10), &edits, 3);
    loose.beginEdit();
    loose.endEdit();
    EXPECT_EQ(edits.calls, (Log{"listener begin 3", "listener end 3"}));

    // Values pushed in are clamped to the range and not reported.
    edits.calls.clear();
    for (float pushed : {3.f, -1.f, std::nanf("")})
    {
        loose.setValue(pushed);
        EXPECT_EQ(loose.getValue(), pushed > 0 ? 1.f : 0.f) << pushed;
    }
    EXPECT_TRUE(edits.calls.empty());
    loose.setMin(10);
    loose.setMax(20);
    loose.setValueNormalized(0.5f);
    EXPECT_EQ(loose.getValue(), 15.f);
}

// Removed in the middle of a wheel gesture while still in the tree, the control ends it then
// and never again; a copy made meanwhile starts detached, with its own reference and no gesture.
TEST_F(FrameScene, AWheelGestureEndsWhenItsControlGoesAndACopyStartsWithoutOne)
{
    auto* control = new WheelControl(CRect(0, 0, 50, 50), &edits, 4);
    frame->addView(control);
    frame->platformOnMouseWheel(CPoint(5, 5), kMouseWheelAxisY, -1, 0);
    auto* copy = new WheelControl(*control);
    EXPECT_FALSE(copy->isEditing());
    EXPECT_FALSE(copy->isAttached());
    edits.calls.clear();
    frame->removeView(control);
    EXPECT_EQ(edits.calls, (Log{"listener end 4", "editor end 4"}));
    runLoop.advance(1000);
    EXPECT_EQ(edits.calls.size(), 2u) << "nothing more when the pause is over";
    copy->forget();
}

TEST_F(FrameScene, CheckBoxTogglesOnALeftReleaseInsideOnly)
{
    auto* box = new CCheckBox(CRect(10, 10, 90, 30), &edits, 5, "MOVE TOAST ");
    frame->addView(box);
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    EXPECT_TRUE(box->isChecked()); // shown while pressed
    frame->platformOnMouseUp(CPoint(20, 20), 0);
    EXPECT_EQ(edits.calls, (Log{"listener begin 5", "editor begin 5", "changed 1.000000", "listener end 5",
                                "editor end 5"}));
    edits.calls.clear();
    runLoop.advance(1000);
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    frame->platformOnMouseMoved(CPoint(95, 50), kLButton);
    frame->platformOnMouseUp(CPoint(95, 50), 0);
    frame->platformOnMouseDown(CPoint(20, 20), kRButton);
    EXPECT_TRUE(box->isChecked()); // released outside or right-pressed: unchanged, not reported
    EXPECT_EQ(std::count(edits.calls.begin(), edits.calls.end(), "changed 0.000000"), 0);
}

namespace {
struct TimerTarget : CBaseObject
{
    std::vector<uint64_t> fired;
    CMessageResult notify(CBaseObject*, IdStringPtr message) override
    {
        if (message != kMsgTimer)
            return kMessageUnknown;
        fired.push_back(getPlatformTime());
        return kMessageNotified;
    }
};
} // namespace

TEST(Timer, WithoutALoopNothingRunsElseFiresEachPeriodAndFollowsANewOne)
{
    TimerTarget target;
    CVSTGUITimer withoutLoop(&target, 100);
    EXPECT_FALSE(withoutLoop.start());
    Animation::Animator animator; // and a fade jumps to its end
    CView faded(CRect(0, 0, 10, 10));
    animator.addAnimation(&faded, "Fade", new Animation::AlphaValueAnimation(0.25f),
                          new Animation::LinearTimingFunction(400));
    EXPECT_EQ(faded.getAlphaValue(), 0.25f);
    EXPECT_FALSE(animator.hasAnimations());
    ScopedManualRunLoop runLoop;
    const uint64_t start = runLoop.loop().now();
    auto* timer = new CVSTGUITimer(&target, 100);
    EXPECT_TRUE(timer->start());
    runLoop.advance(250);
    EXPECT_TRUE(timer->setFireTime(30)); // restarts from now
    EXPECT_FALSE(timer->setFireTime(0));
    runLoop.advance(70);
    EXPECT_EQ(target.fired, (std::vector<uint64_t>{start + 100, start + 200, start + 280, start + 310}));
    EXPECT_TRUE(timer->stop());
    EXPECT_FALSE(timer->stop());
    EXPECT_TRUE(timer->start());
    timer->forget(); // a running timer leaves the run loop when it goes
    EXPECT_EQ(runLoop.loop().timerCount(), 0u);
}

TEST_F(FrameScene, FadesRunLinearlyBadOnesAreRefusedAndRemovedViewsLoseTheirs)
{
    using Animation::AlphaValueAnimation, Animation::LinearTimingFunction;
    auto* animator = frame->getAnimator();
    animator->addAnimation(below, nullptr, new AlphaValueAnimation(0.f), new LinearTimingFunction(10));
    animator->addAnimation(nullptr, "x", new AlphaValueAnimation(0.f), new LinearTimingFunction(10));
    animator->addAnimation(below, "x", nullptr, new LinearTimingFunction(10));
    EXPECT_FALSE(animator->hasAnimations());
    animator->addAnimation(below, "Fade", new AlphaValueAnimation(0.f), new LinearTimingFunction(400));
    runLoop.advance(200);
    EXPECT_NEAR(below->getAlphaValue(), 0.5f, 0.05f);
    // The same name replaces the fade, which goes on from where the first one stopped.
    animator->addAnimation(below, "Fade", new AlphaValueAnimation(1.f), new LinearTimingFunction(100));
    runLoop.advance(50);
    EXPECT_GT(below->getAlphaValue(), 0.6f);
    EXPECT_LT(below->getAlphaValue(), 0.9f);
    runLoop.advance(1000);
    EXPECT_EQ(below->getAlphaValue(), 1.f);
    EXPECT_EQ(runLoop.loop().timerCount(), 0u) << "the animator's timer stops when idle";

    auto* panel = new CViewContainer(CRect(20, 20, 60, 60));
    auto* child = new CView(CRect(0, 0, 5, 5));
    panel->addView(child);
    frame->addView(panel);
    for (CView* faded : std::initializer_list<CView*>{child, below})
        animator->addAnimation(faded, "Fade", new AlphaValueAnimation(0.f), new LinearTimingFunction(500));
    frame->removeView(panel);
    EXPECT_TRUE(animator->hasAnimations()); // the other view's fade goes on
    frame->removeView(below);
    EXPECT_FALSE(animator->hasAnimations());
}

TEST_F(FrameScene, DirtyRegionIsCollectedInWindowPixelsAndHiddenViewsAskForNothing)
{
    frame->setZoom(1.5);
    auto* panel = new CViewContainer(CRect(10, 10, 50, 50));
    auto* view = new CView(CRect(5, 5, 15, 15));
    panel->addView(view);
    frame->addView(panel);
    frame->takeDirtyRect();
    view->invalid();
    EXPECT_EQ(frame->takeDirtyRect(), CRect(22, 22, 38, 38)); // (15..25) * 1.5, rounded outward
    view->setVisible(false);
    frame->takeDirtyRect();
    view->invalid();
    EXPECT_TRUE(frame->getDirtyRect().isEmpty());
}
