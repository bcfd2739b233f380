#pragma once
// Shared set-up of the editor tests through JUCE's host: a home folder of the test's own, the
// settings file that picks the layout and the view size, plug-ins loaded from the bundle, the
// host's windows, and the user's mouse and eyes through the test's own X connection.

#include "editor/host_window.h"
#include "editor/x_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace probe::testing {

struct LayoutPoint {
    int x, y;  // in the face's own pixels, at 100 %
};

// One of the editor's two faces, in its own coordinates.
struct Face {
    const char* name;
    int uiid;       // "uiid" in the settings file
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
inline PixelArea zoomed(PixelArea area, double zoom)
{
    return {zoomed(area.left, zoom), zoomed(area.top, zoom), zoomed(area.right, zoom), zoomed(area.bottom, zoom)};
}

class HostedEditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the settings file: the face, and the view size as the user's saved default.
    void chooseFace(const Face& face, int zoomIndex);
    // A new instance of the plug-in; it reads the settings file as it starts.
    std::unique_ptr<juce::AudioPluginInstance> loadPlugin();

    // Runs the message loop for about milliseconds.
    void pump(int milliseconds);
    // Runs the message loop until done() holds or timeoutMs pass (generous: a loaded machine
    // is slow, and a passing test never waits it out); done()'s last answer.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

    // The plug-in's own window inside the host's (0 when there is none).
    XWindowId pluginWindow(const HostWindow& window) const;
    // Waits until the plug-in's window has the size and shows a drawn picture; the last
    // screenshot, or nothing when it never did.
    std::optional<ScreenPicture> waitForPicture(const HostWindow& window, int width, int height);
    static bool looksDrawn(const ScreenPicture& picture);

    // A press and release of button at point of the face shown at zoom.
    void click(const HostWindow& window, LayoutPoint point, double zoom, unsigned int button = XDisplay::leftButton);
    // A left press at from, moved by dy pixels in steps, then released.
    void drag(const HostWindow& window, LayoutPoint from, int dy, double zoom);

    // Declared first, so the runtime outlives every window and plug-in.
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    XDisplay x;
    juce::File home;

private:
    void moveTo(const HostWindow& window, LayoutPoint point, double zoom);
    juce::String previousHome;
};

}  // namespace probe::testing
