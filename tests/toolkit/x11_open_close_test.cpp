// Opening and closing a frame: refusals change nothing, and a closed frame leaves nothing
// registered with the run loop and no window behind.
#include "x11_frame_fixture.h"

using namespace ToolkitTest;

using X11OpenClose = X11FrameFixture;

TEST_F(X11OpenClose, OpenCloseOpenLeavesNoHandlerTimerOrWindow)
{
    for (int round = 0; round < 2; ++round)
    {
        openFrame(round == 0 ? 1.0 : 1.5);
        EXPECT_EQ(loop().descriptorCount(), 1u);
        EXPECT_EQ(X11::RunLoop::get(), runLoop.get()) << "the frame's loop runs the toolkit's timers";
        EXPECT_EQ(host.sizeOf(window), round == 0 ? std::make_pair(200, 100) : std::make_pair(300, 150));

        // Leave a tooltip delay and an animation running, then close in the middle of them.
        frame->enableTooltips(true, 5000);
        a->setTooltipText("waits");
        host.sendPointer(window, XCB_ENTER_NOTIFY, 0, 20, 20);
        ASSERT_TRUE(waitForEntry("a:entered"));
        EXPECT_GE(loop().timerCount(), 1u);

        closeFrame();
        EXPECT_EQ(loop().descriptorCount(), 0u);
        EXPECT_EQ(loop().timerCount(), 0u);
        EXPECT_EQ(X11::RunLoop::get(), nullptr);
        loop().runUntil([&] { return host.childCount() == 0; });
        EXPECT_EQ(host.childCount(), 0);
        log.clear();
    }
}

TEST_F(X11OpenClose, LoopsOfOpenFramesAreInstalledInTurnAndTheOldOneComesBack)
{
    auto earlier = SharedPointer<TestX11RunLoop>::adopt(new TestX11RunLoop);
    X11::RunLoop::init(earlier.get());
    openFrame();
    auto otherLoop = SharedPointer<TestX11RunLoop>::adopt(new TestX11RunLoop);
    X11::FrameConfig otherConfig;
    otherConfig.runLoop = otherLoop.get();
    auto* second = new CFrame(CRect(0, 0, 50, 50), nullptr);
    ASSERT_TRUE(second->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, &otherConfig));
    EXPECT_EQ(X11::RunLoop::get(), otherLoop.get());
    closeFrame();
    EXPECT_EQ(X11::RunLoop::get(), otherLoop.get());
    second->close();
    EXPECT_EQ(X11::RunLoop::get(), earlier.get());
    EXPECT_EQ(otherLoop->descriptorCount(), 0u);
    X11::RunLoop::exit();
}

TEST_F(X11OpenClose, RefusedOpensChangeNothing)
{
    auto* refused = new CFrame(CRect(0, 0, 100, 100), nullptr);
    X11::FrameConfig withoutLoop;
    IPlatformFrameConfig otherKind;
    EXPECT_FALSE(refused->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, nullptr));
    EXPECT_FALSE(refused->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, &otherKind));
    EXPECT_FALSE(refused->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, &withoutLoop));
    EXPECT_FALSE(refused->open(nullptr, PlatformType::kX11EmbedWindowID, &config));
    // An id that names no window on the display.
    EXPECT_FALSE(refused->open(reinterpret_cast<void*>(uintptr_t(0x1fffffff)), PlatformType::kX11EmbedWindowID, &config));
    EXPECT_FALSE(refused->isOpen());
    EXPECT_EQ(refused->getPlatformFrame(), nullptr);
    EXPECT_EQ(loop().descriptorCount(), 0u);
    EXPECT_EQ(X11::RunLoop::get(), nullptr);
    EXPECT_EQ(host.childCount(), 0);
    refused->forget();

    openFrame();
    EXPECT_FALSE(frame->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, &config)) << "already open";
    EXPECT_EQ(loop().descriptorCount(), 1u);
    EXPECT_EQ(host.childCount(), 1);
}

namespace {
// Closes its frame when pressed, as a "close" button of an editor might.
class ClosingView : public CView
{
public:
    ClosingView(const CRect& size, bool& closedFlag) : CView(size), closed(closedFlag) {}
    CMouseEventResult onMouseDown(CPoint&, const CButtonState&) override
    {
        getFrame()->close();
        closed = true;
        return kMouseEventHandled;
    }
    bool& closed;
};
} // namespace

TEST_F(X11OpenClose, AViewMayCloseItsFrameWhileHandlingAnEvent)
{
    openFrame();
    bool closed = false;
    frame->addView(new ClosingView(CRect(0, 60, 50, 100), closed));
    host.click(window, 1, 10, 70);
    host.click(window, 1, 10, 70); // a second press in the same batch meets a closed frame
    frame = nullptr;
    EXPECT_TRUE(loop().runUntil([&] { return closed; }));
    loop().runFor(50);
    EXPECT_EQ(loop().descriptorCount(), 0u);
    EXPECT_EQ(host.childCount(), 0);
}
