// The bundle loaded, run, drawn and unloaded ten times; LeakSanitizer checks nothing stays behind.
#include "EditorWindowHost.h"
#include "host/PluginHost.h"

#include <gtest/gtest.h>

TEST(ModuleUnload, TenLoadsEachRunningWithAPaintedEditorLeakNothing)
{
    EditorWindowHost window;
    ASSERT_TRUE(window.usable()) << "needs an X display: run under xvfb-run";
    for (int cycle = 0; cycle < 10; ++cycle) {
        VextoriaHost::PluginHost host(VEXTORIA_BUNDLE_PATH);
        ASSERT_EQ(host.configure(VextoriaHost::BusLayout::stereo, 44100.0, 512), Steinberg::kResultOk);
        host.start();
        auto view = Steinberg::owned(host.controller()->createView("editor"));
        ASSERT_TRUE(view && view->setFrame(&window) == Steinberg::kResultOk &&
                    view->attached(window.parentHandle(), Steinberg::kPlatformTypeX11EmbedWindowID) == Steinberg::kResultOk);
        EXPECT_TRUE(window.runUntil([&] { return window.childPainted(); }, 5000)) << cycle;
        view->removed();
        view->setFrame(nullptr);
    }
}
