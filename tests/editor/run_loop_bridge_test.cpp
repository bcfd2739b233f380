// The bridge from the toolkit's run loop to the host's: wrappers registered and withdrawn,
// no host loop, refusals, and handlers that unregister themselves from their own callback.
#include "FakeHost.h"

#include "editor/RunLoopBridge.h"
#include <functional>

using namespace EditorTest;
using BridgeLoop = Steinberg::Vst::RunLoop;

namespace {

struct CountingHandler : VSTGUI::X11::IEventHandler, VSTGUI::X11::ITimerHandler {
    void onEvent() override { ++events, then(); }
    void onTimer() override { ++ticks, then(); }
    int events = 0;
    int ticks = 0;
    std::function<void()> then = [] {};
};

struct BridgeTest : testing::Test {
    BridgeLoop* bridge(FUnknown* plugFrame) { return made.emplace_back(new BridgeLoop(plugFrame)); }
    void TearDown() override
    {
        for (BridgeLoop* loop : made)
            loop->forget();
    }
    FakeHostRunLoop host;
    FakePlugFrame withLoop {Answer::atOnce, &host};
    FakePlugFrame withoutLoop {Answer::atOnce};
    CountingHandler handler;
    std::vector<BridgeLoop*> made;
};

} // namespace

TEST_F(BridgeTest, WithoutAHostLoopEveryRegistrationFails)
{
    for (FUnknown* plugFrame : {static_cast<FUnknown*>(&withoutLoop), static_cast<FUnknown*>(nullptr)}) {
        BridgeLoop* loop = bridge(plugFrame);
        EXPECT_FALSE(loop->hasHostRunLoop());
        EXPECT_FALSE(loop->registerEventHandler(3, &handler));
        EXPECT_FALSE(loop->registerTimer(100, &handler));
        EXPECT_FALSE(loop->unregisterEventHandler(&handler));
        EXPECT_FALSE(loop->unregisterTimer(&handler));
    }
    host.refuse = true;
    EXPECT_FALSE(bridge(&withLoop)->registerTimer(100, &handler)) << "a refused wrapper is not kept";
    EXPECT_EQ(host.count(true), 0u);
}

TEST_F(BridgeTest, EachRegistrationIsOneWrapperAndUnregisteringTakesTheFirst)
{
    BridgeLoop* loop = bridge(&withLoop);
    ASSERT_TRUE(loop->registerTimer(100, &handler));
    ASSERT_TRUE(loop->registerTimer(100, &handler));
    ASSERT_TRUE(loop->registerEventHandler(0, &handler));
    host.fireTimers();
    EXPECT_EQ(handler.ticks, 2);
    EXPECT_TRUE(loop->unregisterTimer(&handler));
    EXPECT_EQ(host.count(true), 1u);
    CountingHandler stranger;
    EXPECT_FALSE(loop->unregisterTimer(&stranger));
    EXPECT_FALSE(loop->unregisterEventHandler(&stranger));
    EXPECT_EQ(host.calls, std::vector<std::string>{"timer"}) << "nothing asked of the host for a stranger";
    host.runOnce(0); // descriptor 0 need not be readable; timers are not due yet
    EXPECT_EQ(handler.ticks, 2);
}

TEST_F(BridgeTest, AHandlerMayUnregisterItselfFromItsOwnCallback)
{
    BridgeLoop* loop = bridge(&withLoop);
    handler.then = [&] {
        EXPECT_TRUE(loop->unregisterTimer(&handler));
        EXPECT_TRUE(loop->unregisterEventHandler(&handler));
    };
    ASSERT_TRUE(loop->registerTimer(100, &handler));
    ASSERT_TRUE(loop->registerEventHandler(0, &handler));
    host.fireTimers(); // the host holds no reference while it calls: the wrapper keeps itself
    EXPECT_EQ(handler.ticks, 1);
    EXPECT_EQ(host.count(true) + host.count(false), 0u);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"timer", "event"}));
}

TEST_F(BridgeTest, TheLastReferenceWithdrawsWhatIsStillRegisteredAndItsWrappersCallNothing)
{
    auto* loop = new BridgeLoop(&withLoop);
    ASSERT_TRUE(loop->registerTimer(100, &handler));
    ASSERT_TRUE(loop->registerEventHandler(0, &handler));
    BridgeLoop::TimerHandler probe(&handler); // a wrapper as the host would hold it
    probe.handler = nullptr;
    probe.onTimer();
    EXPECT_EQ(handler.ticks, 0) << "an unregistered wrapper reaches nothing";
    loop->remember();
    loop->forget();
    EXPECT_EQ(host.count(true), 1u) << "still referenced";
    loop->forget();
    EXPECT_EQ(host.count(true) + host.count(false), 0u);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"timer", "event"}));
}
