// The editor in JUCE's host window, seen and clicked as a user does (XGetImage, XTest).

#include "probe/probe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <unordered_set>

// Last: Xlib's macros (None, Bool, Status) would clash with names in JUCE's and gtest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace probe::testing {
namespace {

// A window's pixels as 0xRRGGBB, row by row.
struct ScreenPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    double meanBrightness() const  // of (R + G + B) / 3, 0..255
    {
        double sum = 0.0;
        for (const uint32_t rgb : pixels)
            sum += ((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff);
        return pixels.empty() ? 0.0 : sum / (3.0 * static_cast<double>(pixels.size()));
    }
    // Share of the area's pixels that differ from other's, 0..1 (1 when the sizes differ).
    double changedShare(const ScreenPicture& other, juce::Rectangle<int> area) const
    {
        if (other.width != width || other.height != height)
            return 1.0;
        area = area.getIntersection({width, height});
        size_t changed = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                changed += pixels[size_t(y * width + x)] != other.pixels[size_t(y * width + x)] ? 1 : 0;
        return area.isEmpty() ? 0.0 : static_cast<double>(changed) / area.getWidth() / area.getHeight();
    }
};

// One of the editor's two faces, in its own coordinates.
struct Face {
    const char* name;
    int uiid;  // "uiid" in the settings file
    int width, height;
    juce::Point<int> gateKnob, fxKnob, burger;  // in the face's own pixels, at 100 %
    juce::Point<int> otherFace;  // the half of the overlay's LEGACY/RACK switch that leads to the other face
    juce::Rectangle<int> scope;
};

const Face rack{"RACK", 1, 860, 300, {271, 229}, {467, 229}, {797, 30}, {406, 247}, {236, 18, 536, 156}};
const Face legacy{"LEGACY", 0, 600, 400, {164, 209}, {300, 209}, {581, 18}, {446, 247}, {224, 80, 191, 54}};

// The view sizes in the overlay's order; the settings file holds index / 3.
constexpr double zooms[] = {1.0, 1.5, 2.0, 0.75};
int zoomed(int length, double zoom) { return static_cast<int>(std::lround(length * zoom)); }

// A JUCE host's window around a plug-in's editor: a document window that follows the editor's size.
class HostWindow : public juce::DocumentWindow {
public:
    HostWindow(juce::AudioPluginInstance& plugin, int x, int y)
        : juce::DocumentWindow(plugin.getName(), juce::Colours::black, 0)
    {
        setUsingNativeTitleBar(true);  // no window manager runs under Xvfb: the window is its content
        if (auto* editor = plugin.createEditorIfNeeded())
            setContentOwned(editor, true);
        setTopLeftPosition(x, y);
        setVisible(true);
    }
    // The editor goes first, while the window it is embedded in still exists.
    ~HostWindow() override { clearContentComponent(); }
    Window nativeWindow() const { return getPeer() != nullptr ? Window(getPeer()->getNativeHandle()) : 0; }
};

// What the plug-in tells its host about edits, in order ("begin I", "perform I", "end I" by index).
class EditLog : private juce::AudioProcessorListener {
public:
    explicit EditLog(juce::AudioPluginInstance& plugin) : plugin(plugin) { plugin.addListener(this); }
    ~EditLog() override { plugin.removeListener(this); }
    bool gestureEnded() const { return !entries.empty() && entries.back().rfind("end", 0) == 0; }

    // Expects one begin, then only performs, then one end, all of parameter; the value performed last.
    float expectOneGesture(const juce::AudioProcessorParameter& parameter) const
    {
        const auto index = std::to_string(parameter.getParameterIndex());
        std::vector<std::string> expected(std::max<size_t>(entries.size(), 3), "perform " + index);
        expected.front() = "begin " + index;
        expected.back() = "end " + index;
        EXPECT_EQ(entries, expected);
        return lastPerformed;
    }

    std::vector<std::string> entries;
    float lastPerformed = -1.0f;

private:
    void add(const char* kind, int index) { entries.push_back(kind + std::to_string(index)); }
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        add("perform ", index);
        lastPerformed = value;
    }
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override { add("begin ", index); }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override { add("end ", index); }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}

    juce::AudioPluginInstance& plugin;
};

// The tests' host on the message thread; a user's eyes and mouse over the test's own X connection.
class HostedEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        if (!display || !XTestQueryExtension(display.get(), &eventBase, &errorBase, &major, &minor))
            GTEST_SKIP() << "no X display with the XTest extension";
        // A request may name a window already gone: expected, not fatal (as under JUCE's handler).
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }

    // Writes the settings file (the face, the view size as the saved default); a new instance reads it.
    std::unique_ptr<juce::AudioPluginInstance> loadPlugin(const Face& face, int zoomIndex)
    {
        const auto file = juce::File("~/.harlowmint/Vextoria3/Vextoria3.conf");
        EXPECT_TRUE(file.getParentDirectory().createDirectory()
                    && file.replaceWithText("[Plugin]\nactive=1\nsize=" + juce::String(zoomIndex / 3.0, 12)
                                            + "\nuiid=" + juce::String(face.uiid) + "\n"));
        auto loaded = loadClass(VEXTORIA_BUNDLE, "VextoriaPRO");
        EXPECT_NE(loaded.instance, nullptr) << loaded.error;
        return std::move(loaded.instance);
    }

    // The plug-in's own window: the host's window holds the embedding window, which holds it.
    Window pluginWindow(const HostWindow& window) const
    {
        Window found = window.nativeWindow();
        for (int depth = 0; depth < 2 && found != 0; ++depth) {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            const bool listed = XQueryTree(display.get(), found, &root, &parent, &children, &count) != 0;
            found = listed && count > 0 ? children[0] : 0;
            if (children != nullptr)
                XFree(children);
        }
        return found;
    }
    std::optional<juce::Rectangle<int>> box(Window window) const  // on the screen; nothing once it is gone
    {
        XWindowAttributes attributes{};
        int x = 0, y = 0;
        Window child = 0;
        if (XGetWindowAttributes(display.get(), window, &attributes) == 0
            || !XTranslateCoordinates(display.get(), window, attributes.root, 0, 0, &x, &y, &child))
            return std::nullopt;
        return juce::Rectangle<int>{x, y, attributes.width, attributes.height};
    }
    // The plug-in window's part on the screen (at 200 % it may pass the edge), uncovered; nothing once gone.
    std::optional<ScreenPicture> capture(const HostWindow& window) const
    {
        const Window plugin = pluginWindow(window);
        const auto screen = juce::Rectangle<int>(DisplayWidth(display.get(), 0), DisplayHeight(display.get(), 0));
        const auto area = box(plugin).value_or(juce::Rectangle<int>()).getIntersection(screen);
        XImage* image = area.isEmpty() ? nullptr : XGetImage(display.get(), plugin, 0, 0, unsigned(area.getWidth()),
                                                              unsigned(area.getHeight()), AllPlanes, ZPixmap);
        if (image == nullptr)
            return std::nullopt;
        // Read as 8 bits a channel, red highest, as on the tests' own 24-bit true-colour screen.
        const bool readable = image->red_mask == 0xff0000 && image->green_mask == 0xff00 && image->blue_mask == 0xff;
        ScreenPicture picture{image->width, image->height, {}};
        for (int y = 0; readable && y < image->height; ++y)
            for (int x = 0; x < image->width; ++x)
                picture.pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xffffff));
        XDestroyImage(image);
        return readable ? std::optional(picture) : std::nullopt;
    }

    // Runs the message loop until done() or timeoutMs (generous for a loaded machine); done()'s last answer.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 10000)
    {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            if (done())
                return true;
            juce::MessageManager::getInstance()->runDispatchLoopUntil(10);
        }
        return done();
    }

    // Waits for both windows at the size and a drawn picture (many colours); the picture, or nothing.
    std::optional<ScreenPicture> waitForPicture(const HostWindow& window, int width, int height)
    {
        std::optional<ScreenPicture> picture;
        const auto size = [&](Window id) { return box(id).value_or(juce::Rectangle<int>()).withZeroOrigin(); };
        const juce::Rectangle<int> wanted{width, height};
        const bool drawn = pumpUntil([&] {
            picture = size(pluginWindow(window)) == wanted ? capture(window) : std::nullopt;
            return picture && size(window.nativeWindow()) == wanted
                   && std::unordered_set<uint32_t>(picture->pixels.begin(), picture->pixels.end()).size() >= 64;
        });
        EXPECT_TRUE(drawn) << "no picture at " << wanted.toString() << ": the plug-in's window is "
                           << size(pluginWindow(window)).toString();
        return drawn ? picture : std::nullopt;
    }

    // A press of button at point of the face shown at zoom, moved down by dy face pixels in steps, released.
    void press(const HostWindow& window, juce::Point<int> point, double zoom, int dy = 0, unsigned int button = 1)
    {
        const auto plugin = box(pluginWindow(window));
        ASSERT_TRUE(plugin.has_value()) << "no plug-in window to point at";
        const auto settle = [&] {
            XSync(display.get(), 0);
            juce::MessageManager::getInstance()->runDispatchLoopUntil(40);  // the plug-in answers the event
        };
        for (int step = 0; step <= (dy != 0 ? 8 : 0); ++step) {
            const int y = plugin->getY() + zoomed(point.y + dy * step / 8, zoom);
            XTestFakeMotionEvent(display.get(), -1, plugin->getX() + zoomed(point.x, zoom), y, CurrentTime);
            settle();
            if (step == 0) {
                XTestFakeButtonEvent(display.get(), button, 1, CurrentTime);
                settle();
            }
        }
        XTestFakeButtonEvent(display.get(), button, 0, CurrentTime);
        settle();
    }
    juce::ScopedJuceInitialiser_GUI juceRuntime;  // declared first: it outlives every window and plug-in
    std::unique_ptr<Display, int (*)(Display*)> display{XOpenDisplay(nullptr), &XCloseDisplay};
};

class EditorFaces : public HostedEditorTest, public ::testing::WithParamInterface<const Face*> {};

TEST_P(EditorFaces, OpenAtEveryViewSizeAtTheirSizeDragTheGateKnobAsOneGestureAndSwitchToTheOtherFace)
{
    const Face& face = *GetParam();
    const Face& other = &face == &rack ? legacy : rack;
    for (int zoomIndex = 0; zoomIndex < 4; ++zoomIndex) {
        const double zoom = zooms[zoomIndex];
        SCOPED_TRACE(std::string(face.name) + " at " + std::to_string(int(zoom * 100)) + " %");
        auto plugin = loadPlugin(face, zoomIndex);
        ASSERT_NE(plugin, nullptr);
        auto* gateSize = findParameter(*plugin, "GateSize");
        ASSERT_NE(gateSize, nullptr);
        const float before = gateSize->getValue();
        auto window = std::make_unique<HostWindow>(*plugin, 0, 0);
        const auto picture = waitForPicture(*window, zoomed(face.width, zoom), zoomed(face.height, zoom));
        ASSERT_TRUE(picture.has_value());

        EditLog edits(*plugin);
        press(*window, face.gateKnob, zoom, 40);
        EXPECT_TRUE(pumpUntil([&] { return edits.gestureEnded(); }));
        const float performed = edits.expectOneGesture(*gateSize);
        EXPECT_LT(gateSize->getValue(), before);
        EXPECT_FLOAT_EQ(performed, gateSize->getValue());
        if (zoomIndex != 1)
            continue;
        // The overlay veils the face and switches face and window; a reopened window keeps the new face.
        press(*window, face.burger, zoom);
        EXPECT_TRUE(pumpUntil([&] {
            const auto overlay = capture(*window);
            return overlay && overlay->meanBrightness() < 0.6 * picture->meanBrightness();
        })) << "no overlay showed";
        press(*window, face.otherFace, zoom);
        EXPECT_TRUE(waitForPicture(*window, zoomed(other.width, zoom), zoomed(other.height, zoom)).has_value());
        window.reset();
        window = std::make_unique<HostWindow>(*plugin, 0, 0);
        EXPECT_TRUE(waitForPicture(*window, zoomed(other.width, zoom), zoomed(other.height, zoom)).has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, EditorFaces, ::testing::Values(&rack, &legacy),
                         [](const auto& info) { return std::string(info.param->name); });

TEST_F(HostedEditorTest, TheFxKnobsMenuPicksHpFilterAndAWheelStepClosedAtOnceEndAsOneGestureEach)
{
    constexpr float hpFilter = 0.5f;  // the third of five effects
    // At y 229 the 108-pixel menu would pass the bottom: it opens upwards, at (467, 121).
    const juce::Rectangle<int> menu{467, 121, 100, 108};
    const juce::Point<int> hpFilterRow{517, 171};  // 20-pixel rows: the third one
    auto plugin = loadPlugin(rack, 0);
    ASSERT_NE(plugin, nullptr);
    auto* fxSelect = findParameter(*plugin, "FX Select");
    auto* gateSize = findParameter(*plugin, "GateSize");
    ASSERT_TRUE(fxSelect && gateSize);
    auto window = std::make_unique<HostWindow>(*plugin, 0, 0);
    const auto face = waitForPicture(*window, rack.width, rack.height);
    ASSERT_TRUE(face.has_value());

    EditLog edits(*plugin);
    press(*window, rack.fxKnob, 1.0, 0, 3);  // the right button
    EXPECT_TRUE(pumpUntil([&] {
        const auto now = capture(*window);
        return now && now->changedShare(*face, menu) > 0.3;
    })) << "no menu showed";
    EXPECT_TRUE(edits.entries.empty()) << "a right click edits nothing";

    press(*window, hpFilterRow, 1.0);
    EXPECT_TRUE(pumpUntil([&] { return edits.gestureEnded(); }));
    EXPECT_FLOAT_EQ(edits.expectOneGesture(*fxSelect), hpFilter);
    EXPECT_FLOAT_EQ(fxSelect->getValue(), hpFilter);
    edits.entries.clear();  // a wheel step's gesture, due to end after a pause, ends as the window closes
    press(*window, rack.gateKnob, 1.0, 0, 4);
    window.reset();
    EXPECT_FLOAT_EQ(edits.expectOneGesture(*gateSize), gateSize->getValue());
}

// The test loop played in stereo, real-time mode, at the pace of real time on an audio thread of its own.
struct LivePlayback {
    explicit LivePlayback(juce::AudioPluginInstance& plugin) : renderer(plugin, 2, settings) {}
    ~LivePlayback()
    {
        stopping = true;
        audioThread.join();
    }

    const RenderSettings settings{44100.0, 512, 120.0, true, true};
    BlockRenderer renderer;  // its error(), empty while playing
    const juce::AudioBuffer<float> loop = makeTestLoop(2, 44100.0, 120.0, 2.0);
    juce::AudioBuffer<float> output{loop};  // the audio thread's
    std::atomic<bool> stopping{false};
    std::thread audioThread{[this] {  // started last, once every member is there
        auto due = std::chrono::steady_clock::now();
        for (int start = 0, length = 0; !stopping && renderer.error().isEmpty(); start = (start + length) % 88200) {
            renderer.process(loop, output, start, length = std::min(512, 88200 - start));
            std::this_thread::sleep_until(due += std::chrono::microseconds(1000000 * length / 44100));
        }
    }};
};

TEST_F(HostedEditorTest, OfTwoPlayingInstancesTheSecondKeepsDrawingItsScopeAfterTheFirstCloses)
{
    // True when more than 1 % of the scope's pixels change (the trace scrolls on) within 5 s.
    const auto scopeMoves = [&](const HostWindow& window) {
        const auto before = capture(window);
        return before && pumpUntil([&] {
            const auto now = capture(window);
            return now && now->changedShare(*before, rack.scope) > 0.01;
        }, 5000);
    };
    auto first = loadPlugin(rack, 0);
    auto second = loadPlugin(rack, 0);
    ASSERT_TRUE(first && second);
    auto firstPlayback = std::make_unique<LivePlayback>(*first);
    LivePlayback secondPlayback(*second);
    ASSERT_EQ(firstPlayback->renderer.error() + secondPlayback.renderer.error(), "");

    // 20 pixels apart, so that neither window covers the other.
    auto firstWindow = std::make_unique<HostWindow>(*first, 0, 0);
    HostWindow secondWindow(*second, 0, rack.height + 20);
    ASSERT_TRUE(waitForPicture(*firstWindow, rack.width, rack.height).has_value());
    ASSERT_TRUE(waitForPicture(secondWindow, rack.width, rack.height).has_value());
    EXPECT_TRUE(scopeMoves(*firstWindow));
    EXPECT_TRUE(scopeMoves(secondWindow));

    // As a host closes an instance: its editor, then its audio, then the instance.
    firstWindow.reset();
    firstPlayback.reset();
    first.reset();
    for (int look = 0; look < 3; ++look)
        EXPECT_TRUE(scopeMoves(secondWindow)) << "look " << look;
}

}  // namespace
}  // namespace probe::testing

int main(int argc, char** argv)
{
    // With an application factory set (never called) JUCE installs its X error handlers, as in any JUCE host.
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase* { return nullptr; };
    ::testing::InitGoogleTest(&argc, argv);
    // The tests' own X server, ended with its last client; without Xvfb the given DISPLAY (or skip).
    juce::ChildProcess server;
    std::string display;
    if (!GTEST_FLAG_GET(list_tests)
        && server.start("Xvfb -displayfd 1 -terminate -screen 0 1920x1200x24", juce::ChildProcess::wantStdOut))
        for (char digit = 0; server.readProcessOutput(&digit, 1) == 1 && digit != '\n';)  // once it listens
            display += digit;
    if (!display.empty())
        setenv("DISPLAY", (":" + display).c_str(), 1);
    const std::unique_ptr<Display, int (*)(Display*)> connection{XOpenDisplay(nullptr), &XCloseDisplay};
    // The layout switch and the settings buttons write to the user's settings: a home of its own.
    const auto home = juce::File::createTempFile("-editor-home");
    setenv("HOME", home.getFullPathName().toRawUTF8(), 1);
    const int result = home.createDirectory() ? RUN_ALL_TESTS() : 1;
    home.deleteRecursively();
    return result;
}
