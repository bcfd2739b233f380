// The frame on the manual clock: event routing through the view tree, edit brackets, timers, animations.
#include "toolkit_test_support.h"
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

// A 200 x 100 frame with "below" (10, 10, 110, 60) and on top "above" (50, 20, 150, 80), declining presses.
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
    CMouseEventResult click(CPoint where)
    {
        const CMouseEventResult result = frame->platformOnMouseDown(where, kLButton);
        frame->platformOnMouseUp(where, 0);
        return result;
    }
};

} // namespace

// Capture as the pointer moves is followed end to end in the X11 window tests.
TEST_F(FrameScene, PressGoesToTheTopViewThatCanTakeItAndRemovingItsViewCancelsIt)
{
    click(CPoint(60, 30)); // an opaque view covers what lies below, whether it takes the press or not
    EXPECT_EQ(log, (Log{"above:entered", "above:down"}));
    above->setTransparency(true);
    click(CPoint(60, 30));
    EXPECT_EQ(log.back(), "below:up");
    above->setTransparency(false);
    EXPECT_EQ(click(CPoint(120, 70)), kMouseEventNotHandled); // nothing else lies there
    // Views hold their left and top edges, not the others; one that takes no mouse is passed over.
    for (auto [x, y, reached] : {std::tuple{50., 20., above}, {10, 10, below}, {149.5, 79.5, above}, {150, 50, nullptr},
                                 {100, 80, nullptr}, {110, 15, nullptr}, {30, 60, nullptr}})
        EXPECT_EQ(frame->getViewAt(CPoint(x, y)), reached) << x << " " << y;
    above->setMouseEnabled(false);
    EXPECT_EQ(frame->getViewAt(CPoint(60, 30)), below);
    above->setMouseEnabled(true);

    // Removing the view that holds the press cancels it and ends the capture.
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    log.clear();
    EXPECT_TRUE(frame->removeView(below));
    frame->platformOnMouseMoved(CPoint(60, 30), kLButton);
    frame->platformOnMouseUp(CPoint(60, 30), 0);
    EXPECT_EQ(log, (Log{"below:cancel", "above:entered"}));
}

TEST_F(FrameScene, WheelStepsStopAtAnOpaqueViewAndNotANumberStepsAndZoomsAreRefused)
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
    EXPECT_FALSE(frame->setZoom(0));
    EXPECT_FALSE(frame->setZoom(std::nan("")));
    EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 200, 100));
}

TEST(ViewTree, ContainersOwnChildrenAndRefuseBadAddsAndValues)
{
    auto* root = new CViewContainer(CRect(0, 0, 100, 100));
    auto* a = new CView(CRect(0, 0, 5, 5));
    auto* b = new CView(CRect(5, 5, 10, 10));
    EXPECT_TRUE(root->addView(a));
    EXPECT_TRUE(root->addView(b, a));
    for (CView* refused : std::initializer_list<CView*>{a, nullptr, root}) // a child already, none, itself
        EXPECT_FALSE(root->addView(refused));

    b->remember();
    EXPECT_TRUE(root->removeView(b, false)); // handed back, still alive
    EXPECT_FALSE(b->isAttached());
    EXPECT_FALSE(root->removeView(b));
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
    // Values pushed in are clamped to the range and not reported.
    edits.calls.clear();
    for (float pushed : {3.f, -1.f, std::nanf("")})
    {
        control->setValue(pushed);
        EXPECT_EQ(control->getValue(), pushed > 0 ? 1.f : 0.f) << pushed;
    }
    EXPECT_TRUE(edits.calls.empty());
}

TEST_F(FrameScene, AWheelGestureEndsWhenItsControlGoesAndACopyStartsWithoutOne)
{
    auto* panel = new CViewContainer(CRect(0, 0, 50, 50));
    auto* control = new WheelControl(CRect(0, 0, 50, 50), &edits, 4);
    panel->addView(control);
    frame->addView(panel);
    frame->platformOnMouseWheel(CPoint(5, 5), kMouseWheelAxisY, -1, 0);
    auto* copy = new WheelControl(*control);
    EXPECT_FALSE(copy->isEditing() || copy->isAttached());
    edits.calls.clear();
    frame->removeView(panel);
    EXPECT_EQ(edits.calls, (Log{"listener end 4", "editor end 4"}));
    runLoop.advance(1000);
    EXPECT_EQ(edits.calls.size(), 2u) << "nothing more when the pause is over";
    copy->forget();
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

TEST(Timer, WithoutALoopNothingRunsBadFadesAreRefusedAndTimersFollowANewPeriod)
{
    using Animation::AlphaValueAnimation, Animation::LinearTimingFunction;
    TimerTarget target;
    CVSTGUITimer withoutLoop(&target, 100);
    EXPECT_FALSE(withoutLoop.start());
    Animation::Animator animator; // and a fade jumps to its end
    CView faded(CRect(0, 0, 10, 10));
    animator.addAnimation(&faded, "Fade", new AlphaValueAnimation(0.25f), new LinearTimingFunction(400));
    EXPECT_EQ(faded.getAlphaValue(), 0.25f);
    EXPECT_FALSE(animator.hasAnimations());
    ScopedManualRunLoop runLoop;
    animator.addAnimation(&faded, nullptr, new AlphaValueAnimation(0.f), new LinearTimingFunction(10));
    animator.addAnimation(nullptr, "x", new AlphaValueAnimation(0.f), new LinearTimingFunction(10));
    animator.addAnimation(&faded, "x", nullptr, new LinearTimingFunction(10));
    EXPECT_FALSE(animator.hasAnimations()) << "bad fades are refused";
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
