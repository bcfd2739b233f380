// A user's clicks on the editor's menus in JUCE's host: the burger shows the settings overlay,
// whose switch changes the face and the host's window with it, and the face stays on close and
// reopen; a right click on the FX knob opens the effect menu, whose rows pick the effect.

#include "editor/hosted_editor_fixture.h"

namespace probe::testing {
namespace {

TEST_F(HostedEditorTest, TheOverlaySwitchChangesTheFaceAndTheHostWindowAndReopeningKeepsIt)
{
    constexpr int zoomIndex = 1;
    constexpr double veiled = 0.6;  // of the face's mean brightness, at most, under the overlay
    const double zoom = zooms[zoomIndex];
    auto plugin = loadPlugin(rack, zoomIndex);
    ASSERT_NE(plugin, nullptr);
    // RACK to LEGACY, then in a reopened window LEGACY back to RACK.
    for (const auto& [from, to] : {std::pair{&rack, &legacy}, std::pair{&legacy, &rack}}) {
        SCOPED_TRACE(juce::String(from->name) + " to " + to->name);
        HostWindow window(*plugin, 0, 0);
        const auto face = waitForPicture(window, zoomed(from->width, zoom), zoomed(from->height, zoom));
        ASSERT_TRUE(face.has_value());

        click(window, from->burger, zoom);
        // The overlay is a dark veil over the whole face, with its rows on it.
        EXPECT_TRUE(pumpUntil([&] {
            const auto overlay = capture(window);
            return overlay && overlay->meanBrightness() < veiled * face->meanBrightness();
        })) << "no overlay showed";
        click(window, from->otherFace, zoom);
        EXPECT_TRUE(waitForPicture(window, zoomed(to->width, zoom), zoomed(to->height, zoom)).has_value());
    }
}

TEST_F(HostedEditorTest, TheFxKnobsMenuPicksHpFilterAsOneGesture)
{
    constexpr int fxSelectId = 16;
    constexpr float hpFilter = 0.5f;  // the third of five effects
    // At y 229 the 108-pixel menu would pass the bottom: it opens upwards, at (467, 121).
    constexpr PixelArea menu{467, 121, 567, 229};
    constexpr LayoutPoint hpFilterRow{517, 171};  // 20-pixel rows: the third one
    auto plugin = loadPlugin(rack, 0);
    ASSERT_NE(plugin, nullptr);
    auto* fxSelect = parameterWithId(*plugin, fxSelectId);
    ASSERT_NE(fxSelect, nullptr);
    HostWindow window(*plugin, 0, 0);
    const auto face = waitForPicture(window, rack.width, rack.height);
    ASSERT_TRUE(face.has_value());

    EditLog edits(*plugin);
    click(window, rack.fxKnob, 1.0, XDisplay::rightButton);
    EXPECT_TRUE(pumpUntil([&] {
        const auto now = capture(window);
        return now && now->changedShare(*face, menu) > 0.3;
    })) << "no menu showed";
    EXPECT_TRUE(edits.entries().empty()) << "a right click edits nothing";

    click(window, hpFilterRow, 1.0);
    EXPECT_TRUE(pumpUntil([&] { return edits.gestureEnded(); }));
    EXPECT_FLOAT_EQ(edits.expectOneGesture(fxSelectId), hpFilter);
    EXPECT_FLOAT_EQ(fxSelect->getValue(), hpFilter);
}

}  // namespace
}  // namespace probe::testing
