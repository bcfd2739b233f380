#include "editor/hosted_editor_fixture.h"

#include "probe/plugin_loading.h"

#include <cstdlib>

namespace probe::testing {

namespace {

const juce::String bundlePath = VEXTORIA_BUNDLE;
const juce::String processorClassName = "VextoriaPRO";
constexpr int stepMilliseconds = 10;   // one turn of the message loop while waiting
constexpr int settleMilliseconds = 40;  // for the plug-in to read and answer one pointer event
constexpr int dragSteps = 8;
constexpr size_t drawnColours = 64;     // a picture, not a cleared or single-colour window

}  // namespace

void HostedEditorTest::SetUp()
{
    if (!x.usable())
        GTEST_SKIP() << "no X display with the XTest extension";
    // The layout switch and the settings buttons write to the user's settings: never the real ones.
    previousHome = juce::SystemStats::getEnvironmentVariable("HOME", {});
    home = juce::File::getSpecialLocation(juce::File::tempDirectory).getNonexistentChildFile("editor-home", "");
    ASSERT_TRUE(home.createDirectory());
    setenv("HOME", home.getFullPathName().toRawUTF8(), 1);
}

void HostedEditorTest::TearDown()
{
    if (home == juce::File())
        return;
    setenv("HOME", previousHome.toRawUTF8(), 1);
    home.deleteRecursively();
}

void HostedEditorTest::chooseFace(const Face& face, int zoomIndex)
{
    const auto file = home.getChildFile(".harlowmint/Vextoria3/Vextoria3.conf");
    ASSERT_TRUE(file.getParentDirectory().createDirectory());
    const juce::String text = "[Plugin]\nactive=1\nsize=" + juce::String(zoomIndex / 3.0, 12)
                              + "\nuiid=" + juce::String(face.uiid) + "\n";
    ASSERT_TRUE(file.replaceWithText(text));
}

std::unique_ptr<juce::AudioPluginInstance> HostedEditorTest::loadPlugin()
{
    auto loaded = loadClass(bundlePath, processorClassName, 44100.0, 512);
    EXPECT_NE(loaded.instance, nullptr) << loaded.error;
    return std::move(loaded.instance);
}

void HostedEditorTest::pump(int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds);
}

bool HostedEditorTest::pumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += stepMilliseconds) {
        if (done())
            return true;
        pump(stepMilliseconds);
    }
    return done();
}

XWindowId HostedEditorTest::pluginWindow(const HostWindow& window) const
{
    // The host's window holds the embedding window, which holds the plug-in's.
    for (XWindowId embedding : x.children(window.nativeWindow()))
        for (XWindowId plugin : x.children(embedding))
            return plugin;
    return 0;
}

bool HostedEditorTest::looksDrawn(const ScreenPicture& picture)
{
    return picture.colourCount(picture.whole()) >= drawnColours;
}

std::optional<ScreenPicture> HostedEditorTest::waitForPicture(const HostWindow& window, int width, int height)
{
    std::optional<ScreenPicture> picture;
    const bool shown = pumpUntil([&] {
        const XWindowId plugin = pluginWindow(window);
        const auto box = x.box(plugin);
        if (!box || box->width != width || box->height != height)
            return false;
        picture = x.capture(plugin);
        return picture && looksDrawn(*picture);
    });
    if (!shown) {
        const auto box = x.box(pluginWindow(window));
        ADD_FAILURE() << "the plug-in's window never showed a picture at " << width << " x " << height << "; it is "
                      << (box ? std::to_string(box->width) + " x " + std::to_string(box->height) : "missing");
        return std::nullopt;
    }
    return picture;
}

void HostedEditorTest::moveTo(const HostWindow& window, LayoutPoint point, double zoom)
{
    const auto box = x.box(pluginWindow(window));
    ASSERT_TRUE(box.has_value()) << "no plug-in window to point at";
    x.movePointer(box->x + zoomed(point.x, zoom), box->y + zoomed(point.y, zoom));
    pump(settleMilliseconds);
}

void HostedEditorTest::click(const HostWindow& window, LayoutPoint point, double zoom, unsigned int button)
{
    moveTo(window, point, zoom);
    x.pressButton(button);
    pump(settleMilliseconds);
    x.releaseButton(button);
    pump(settleMilliseconds);
}

void HostedEditorTest::drag(const HostWindow& window, LayoutPoint from, int dy, double zoom)
{
    moveTo(window, from, zoom);
    x.pressButton(XDisplay::leftButton);
    pump(settleMilliseconds);
    for (int step = 1; step <= dragSteps; ++step)
        moveTo(window, {from.x, from.y + dy * step / dragSteps}, zoom);
    x.releaseButton(XDisplay::leftButton);
    pump(settleMilliseconds);
}

}  // namespace probe::testing
