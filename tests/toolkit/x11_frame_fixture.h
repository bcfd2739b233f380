// A frame with two recording views, embedded in a test host window and driven by a poll loop.
#pragma once

#include "x11_test_support.h"

namespace ToolkitTest {

class X11FrameFixture : public testing::Test
{
protected:
    // The host window at (`x`, `y`) of the screen; with `takeTurns`, made only once no other
    // test that takes turns runs (see DisplayLock).
    explicit X11FrameFixture(int16_t x = 0, int16_t y = 0, bool takeTurns = false)
        : turn(takeTurns ? std::make_unique<DisplayLock>() : nullptr), host(x, y)
    {
    }

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

    // Opens a 200 x 100 frame at `zoom` with views "a" (10, 10, 60, 40) and "b" (100, 10, 150, 40).
    void openFrame(double zoom = 1.0)
    {
        frame = new CFrame(CRect(0, 0, 200, 100), nullptr);
        a = new RecordingView(CRect(10, 10, 60, 40), "a", log);
        b = new RecordingView(CRect(100, 10, 150, 40), "b", log);
        frame->addView(a);
        frame->addView(b);
        frame->setZoom(zoom);
        ASSERT_TRUE(frame->open(host.parentHandle(), PlatformType::kX11EmbedWindowID, &config));
        window = host.child();
        ASSERT_NE(window, XCB_NONE);
    }
    void closeFrame()
    {
        frame->close();
        frame = nullptr;
    }
    bool logged(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }
    // Runs the loop until the log holds `count` entries.
    bool waitForLog(size_t count) { return loop().runUntil([&] { return log.size() >= count; }); }
    bool waitForEntry(const std::string& entry) { return loop().runUntil([&] { return logged(entry); }); }
    TestX11RunLoop& loop() { return *runLoop; }
    // Window pixels of a frame point at the current zoom.
    int16_t px(double frameCoordinate) const { return int16_t(frameCoordinate * frame->getZoom()); }

    std::unique_ptr<DisplayLock> turn;
    TestHostWindow host;
    SharedPointer<TestX11RunLoop> runLoop = SharedPointer<TestX11RunLoop>::adopt(new TestX11RunLoop);
    X11::FrameConfig config;
    CFrame* frame = nullptr;
    RecordingView* a = nullptr;
    RecordingView* b = nullptr;
    std::vector<std::string> log;
    xcb_window_t window = XCB_NONE;
};

} // namespace ToolkitTest
