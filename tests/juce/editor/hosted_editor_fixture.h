#pragma once
// Shared set-up of the editor tests through JUCE's host: a home folder of the test's own whose
// settings file picks the face and the view size, plug-ins loaded from the bundle, the host's
// windows, what the plug-in tells the host, and the user's mouse and eyes through the test's
// own X connection. Message thread only.

#include "editor/x_display.h"
#include "probe/probe.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace probe::testing {

struct LayoutPoint {
    int x, y;  // in the face's own pixels, at 100 %
};

// One of the editor's two faces, in its own coordinates.
struct Face {
    const char* name;
    int uiid;  // "uiid" in the settings file
    int width, height;
    LayoutPoint gateKnob, fxKnob, burger;
    LayoutPoint otherFace;  // the half of the overlay's LEGACY/RACK switch that leads to the other face
    PixelArea scope;
};

inline const Face rack{"RACK", 1, 860, 300, {271, 229}, {467, 229}, {797, 30}, {406, 247}, {236, 18, 772, 174}};
inline const Face legacy{"LEGACY", 0, 600, 400, {164, 209}, {300, 209}, {581, 18}, {446, 247}, {224, 80, 415, 134}};

// The view sizes in the overlay's order; the settings file holds index / 3.
inline constexpr double zooms[] = {1.0, 1.5, 2.0, 0.75};
inline int zoomed(int length, double zoom) { return static_cast<int>(std::lround(length * zoom)); }

// A JUCE host's window around a plug-in's editor: a document window that follows the editor's size.
class HostWindow : public juce::DocumentWindow {
public:
    // Shows the plug-in's editor with its top-left corner at (x, y) on the screen.
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
    void closeButtonPressed() override {}
    XWindowId nativeWindow() const
    {
        return getPeer() != nullptr ? reinterpret_cast<XWindowId>(getPeer()->getNativeHandle()) : 0;
    }
};

inline juce::AudioProcessorParameter* parameterWithId(juce::AudioPluginInstance& plugin, int id)
{
    for (auto* parameter : plugin.getParameters())
        if (auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*>(parameter))
            if (hosted->getParameterID() == juce::String(id))
                return parameter;
    return nullptr;
}

// What the plug-in tells its host about edits: gestures and values, by VST3 parameter id, in order.
class EditLog : private juce::AudioProcessorListener {
public:
    enum class Kind { begin, perform, end };
    struct Entry {
        Kind kind;
        int id;       // VST3 parameter id
        float value;  // normalised; for begin and end, the parameter's value at the time
    };

    explicit EditLog(juce::AudioPluginInstance& plugin) : plugin(plugin) { plugin.addListener(this); }
    ~EditLog() override { plugin.removeListener(this); }
    const std::vector<Entry>& entries() const { return log; }
    bool gestureEnded() const { return !log.empty() && log.back().kind == Kind::end; }

    // Expects one begin, then only performs, then one end, all of parameter id; the value the performs left.
    float expectOneGesture(int id) const
    {
        EXPECT_GE(log.size(), 3u);
        for (size_t i = 0; i < log.size(); ++i) {
            const Kind expected = i == 0 ? Kind::begin : i + 1 == log.size() ? Kind::end : Kind::perform;
            EXPECT_TRUE(log[i].kind == expected && log[i].id == id) << "entry " << i << " of " << log.size();
        }
        return log.size() >= 3 ? log[log.size() - 2].value : -1.0f;
    }

private:
    void record(Kind kind, int index, std::optional<float> value = {})
    {
        auto* parameter = plugin.getParameters()[index];
        auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*>(parameter);
        const int id = hosted != nullptr ? hosted->getParameterID().getIntValue() : -1;
        log.push_back({kind, id, value.value_or(parameter->getValue())});
    }
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        record(Kind::perform, index, value);
    }
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        record(Kind::begin, index);
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        record(Kind::end, index);
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}

    juce::AudioPluginInstance& plugin;
    std::vector<Entry> log;
};

class HostedEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!x.usable())
            GTEST_SKIP() << "no X display with the XTest extension";
        // The layout switch and the settings buttons write to the user's settings: never the real ones.
        previousHome = juce::SystemStats::getEnvironmentVariable("HOME", {});
        home = juce::File::createTempFile("-editor-home");
        ASSERT_TRUE(home.createDirectory());
        setenv("HOME", home.getFullPathName().toRawUTF8(), 1);
    }
    void TearDown() override
    {
        if (home == juce::File())
            return;
        setenv("HOME", previousHome.toRawUTF8(), 1);
        home.deleteRecursively();
    }

    // Writes the settings file (the face, and the view size as the user's saved default), then
    // loads a new instance, which reads it as it starts.
    std::unique_ptr<juce::AudioPluginInstance> loadPlugin(const Face& face, int zoomIndex)
    {
        const auto file = home.getChildFile(".harlowmint/Vextoria3/Vextoria3.conf");
        EXPECT_TRUE(file.getParentDirectory().createDirectory()
                    && file.replaceWithText("[Plugin]\nactive=1\nsize=" + juce::String(zoomIndex / 3.0, 12)
                                            + "\nuiid=" + juce::String(face.uiid) + "\n"));
        auto loaded = loadClass(VEXTORIA_BUNDLE, "VextoriaPRO");
        EXPECT_NE(loaded.instance, nullptr) << loaded.error;
        return std::move(loaded.instance);
    }

    void pump(int milliseconds) { juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds); }

    // Runs the message loop until done() holds or timeoutMs pass (generous: a loaded machine is
    // slow, and a passing test never waits it out); done()'s last answer.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 10000)
    {
        for (int waited = 0; waited < timeoutMs; waited += 10, pump(10))
            if (done())
                return true;
        return done();
    }

    // The plug-in's own window: the host's window holds the embedding window, which holds it.
    XWindowId pluginWindow(const HostWindow& window) const
    {
        for (XWindowId embedding : x.children(window.nativeWindow()))
            for (XWindowId plugin : x.children(embedding))
                return plugin;
        return 0;
    }
    std::optional<ScreenPicture> capture(const HostWindow& window) const { return x.capture(pluginWindow(window)); }

    // Waits until the plug-in's window and the host's have the size and the plug-in's shows a
    // drawn picture (many colours, not a cleared window); the picture, or nothing when it never did.
    std::optional<ScreenPicture> waitForPicture(const HostWindow& window, int width, int height)
    {
        std::optional<ScreenPicture> picture;
        const auto size = [&](XWindowId id) {
            const auto box = x.box(id);
            return box ? std::to_string(box->width) + " x " + std::to_string(box->height) : "missing";
        };
        const auto wanted = std::to_string(width) + " x " + std::to_string(height);
        if (pumpUntil([&] {
                picture = size(pluginWindow(window)) == wanted ? capture(window) : std::nullopt;
                return picture && picture->colourCount() >= 64 && size(window.nativeWindow()) == wanted;
            }))
            return picture;
        ADD_FAILURE() << "no picture at " << wanted << ": the plug-in's window is " << size(pluginWindow(window))
                      << ", the host's " << size(window.nativeWindow());
        return std::nullopt;
    }

    // A press and release of button at point of the face shown at zoom.
    void click(const HostWindow& window, LayoutPoint point, double zoom, unsigned int button = XDisplay::leftButton)
    {
        moveTo(window, point, zoom);
        for (const bool pressed : {true, false}) {
            x.setButton(button, pressed);
            pump(settleMilliseconds);
        }
    }

    // A left press at from, moved down by dy face pixels in steps, then released.
    void drag(const HostWindow& window, LayoutPoint from, int dy, double zoom)
    {
        moveTo(window, from, zoom);
        x.setButton(XDisplay::leftButton, true);
        pump(settleMilliseconds);
        for (int step = 1; step <= 8; ++step)
            moveTo(window, {from.x, from.y + dy * step / 8}, zoom);
        x.setButton(XDisplay::leftButton, false);
        pump(settleMilliseconds);
    }

    juce::ScopedJuceInitialiser_GUI juceRuntime;  // declared first: it outlives every window and plug-in
    XDisplay x;
    juce::File home;

private:
    static constexpr int settleMilliseconds = 40;  // for the plug-in to read and answer one pointer event

    void moveTo(const HostWindow& window, LayoutPoint point, double zoom)
    {
        const auto box = x.box(pluginWindow(window));
        ASSERT_TRUE(box.has_value()) << "no plug-in window to point at";
        x.movePointer(box->x + zoomed(point.x, zoom), box->y + zoomed(point.y, zoom));
        pump(settleMilliseconds);
    }

    juce::String previousHome;
};

}  // namespace probe::testing
