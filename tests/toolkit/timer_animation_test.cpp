// Timers on the manual clock, the frame's animator and tooltips.
#include "toolkit_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

struct TimerTarget : CBaseObject
{
    std::vector<uint64_t> fired;
    bool stopOnFire = false;
    CMessageResult notify(CBaseObject* sender, IdStringPtr message) override
    {
        if (message != kMsgTimer)
            return kMessageUnknown;
        fired.push_back(getPlatformTime());
        if (stopOnFire)
            static_cast<CVSTGUITimer*>(sender)->stop();
        return kMessageNotified;
    }
};

struct FakeWindow : IPlatformFrame
{
    std::vector<std::string> tooltips;
    int hides = 0;
    std::vector<CRect> invalidated;
    void invalidRect(const CRect& rect) override { invalidated.push_back(rect); }
    void setSize(const CRect&) override {}
    void showTooltip(const CRect&, const std::string& text) override { tooltips.push_back(text); }
    void hideTooltip() override { ++hides; }
};

} // namespace

TEST(Timer, FiresEachPeriodFollowsANewPeriodAndMayStopItselfWhileNotifying)
{
    ScopedManualRunLoop runLoop;
    const uint64_t start = runLoop.loop().now();
    TimerTarget target;
    auto* timer = new CVSTGUITimer(&target, 100);
    EXPECT_TRUE(timer->start());
    runLoop.advance(250);
    EXPECT_EQ(target.fired, (std::vector<uint64_t>{start + 100, start + 200}));
    EXPECT_TRUE(timer->setFireTime(30)); // restarts from now
    runLoop.advance(70);
    EXPECT_EQ(target.fired.back(), start + 310);
    EXPECT_FALSE(timer->setFireTime(0));
    EXPECT_EQ(timer->getFireTime(), 30u);
    EXPECT_TRUE(timer->stop());
    EXPECT_FALSE(timer->stop());
    runLoop.advance(500);
    EXPECT_EQ(target.fired.size(), 4u);

    target.stopOnFire = true;
    EXPECT_TRUE(timer->start());
    runLoop.advance(500);
    EXPECT_EQ(target.fired.size(), 5u);
    EXPECT_TRUE(timer->start());
    timer->forget(); // a running timer leaves the run loop when it goes
    EXPECT_EQ(runLoop.loop().timerCount(), 0u);
}

TEST(Animation, BadAnimationsAreRefusedAndRemovedViewsLoseTheirAnimations)
{
    using Animation::AlphaValueAnimation, Animation::LinearTimingFunction;
    ScopedManualRunLoop runLoop;
    auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
    auto* view = new CView(CRect(0, 0, 10, 10));
    frame->addView(view);
    auto* animator = frame->getAnimator();
    animator->addAnimation(view, nullptr, new AlphaValueAnimation(0.f), new LinearTimingFunction(10));
    animator->addAnimation(nullptr, "x", new AlphaValueAnimation(0.f), new LinearTimingFunction(10));
    animator->addAnimation(view, "x", nullptr, new LinearTimingFunction(10));
    EXPECT_FALSE(animator->hasAnimations());

    auto* panel = new CViewContainer(CRect(20, 20, 60, 60));
    auto* child = new CView(CRect(0, 0, 5, 5));
    panel->addView(child);
    frame->addView(panel);
    for (CView* faded : {child, view})
        animator->addAnimation(faded, "Fade", new AlphaValueAnimation(0.f), new LinearTimingFunction(500));
    frame->removeView(panel);
    EXPECT_TRUE(animator->hasAnimations()); // the other view's fade goes on
    frame->removeView(view);
    EXPECT_FALSE(animator->hasAnimations());
    frame->forget();
}

TEST(Animation, WithoutARunLoopTimersRefuseToStartAndAFadeJumpsToItsEnd)
{
    TimerTarget target;
    CVSTGUITimer timer(&target, 100);
    EXPECT_FALSE(timer.start());

    auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
    auto* view = new CView(CRect(0, 0, 10, 10));
    frame->addView(view);
    frame->getAnimator()->addAnimation(view, "AlphaValueAnimation", new Animation::AlphaValueAnimation(0.25f),
                                       new Animation::LinearTimingFunction(400));
    EXPECT_EQ(view->getAlphaValue(), 0.25f);
    EXPECT_FALSE(frame->getAnimator()->hasAnimations());
    frame->forget();
}

TEST(Tooltip, ShowsAfterTheDelayAndHidesOnPress)
{
    ScopedManualRunLoop runLoop;
    FakeWindow window;
    auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
    frame->setPlatformFrame(&window);
    frame->enableTooltips(true, 1000);
    auto* button = new CView(CRect(10, 10, 40, 40));
    button->setTooltipText("EDIT FX");
    frame->addView(button);
    frame->platformOnMouseMoved(CPoint(20, 20), 0);
    runLoop.advance(900);
    EXPECT_TRUE(window.tooltips.empty());
    runLoop.advance(200);
    EXPECT_EQ(window.tooltips, std::vector<std::string>{"EDIT FX"});
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    EXPECT_EQ(window.hides, 1);
    frame->platformOnMouseMoved(CPoint(80, 80), 0);
    runLoop.advance(2000);
    EXPECT_EQ(window.tooltips.size(), 1u);
    frame->forget();
}

TEST(Invalidation, DirtyRegionIsCollectedInWindowPixels)
{
    FakeWindow window;
    auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
    frame->setZoom(1.5);
    auto* panel = new CViewContainer(CRect(10, 10, 50, 50));
    auto* view = new CView(CRect(5, 5, 15, 15));
    panel->addView(view);
    frame->addView(panel);
    frame->takeDirtyRect();
    frame->setPlatformFrame(&window);
    view->invalid();
    EXPECT_EQ(frame->takeDirtyRect(), CRect(22, 22, 38, 38)); // (15..25) * 1.5, rounded outward
    EXPECT_EQ(window.invalidated.size(), 1u);
    view->setVisible(false);
    frame->takeDirtyRect();
    view->invalid(); // hidden views ask for nothing
    EXPECT_TRUE(frame->getDirtyRect().isEmpty());
    frame->forget();
}
