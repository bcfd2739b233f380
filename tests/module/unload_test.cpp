// The bundle loaded, drawn and unloaded again and again, as a host that opens and closes it
// does; LeakSanitizer checks at exit that no load left anything behind. This executable links
// no graphics library, so every unload of the module unloads those it pulled in, unless kept.
#include "EditorWindowHost.h"
#include "host/PluginHost.h"

#include <gtest/gtest.h>

TEST(ModuleUnload, TenLoadsEachWithAPaintedEditorLeakNothing)
{
    EditorWindowHost window;
    ASSERT_TRUE(window.usable()) << "needs an X display: run under xvfb-run";
    for (int cycle = 0; cycle < 10; ++cycle) {
        VextoriaHost::PluginHost host(VEXTORIA_BUNDLE_PATH);
        auto view = Steinberg::owned(host.controller()->createView("editor"));
        ASSERT_TRUE(view);
        view->setFrame(&window);
        ASSERT_EQ(view->attached(window.parentHandle(), Steinberg::kPlatformTypeX11EmbedWindowID), Steinberg::kResultOk);
        EXPECT_TRUE(window.runUntil([&] { return window.childPainted(); }, 5000)) << cycle;
        view->removed();
        view->setFrame(nullptr);
    }
}
