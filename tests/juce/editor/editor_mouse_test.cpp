// A user's mouse on the editor in JUCE's host, through XTest: a knob drag reaches the host as
// one gesture of that knob's parameter; a right click on the FX knob opens the effect menu,
// whose rows pick the effect; the burger shows the settings overlay, whose switch
// changes the face and the host's window with it, and the face stays on close and reopen.

#include "editor/edit_log.h"
#include "editor/hosted_editor_fixture.h"

namespace probe::testing {
namespace {

constexpr int gateSizeId = 1;
constexpr float gateSizeDefault = 0.85f;
constexpr int dragPixels = 40;  // downwards
constexpr double veiled = 0.6;   // of the face's mean brightness, at most, under the overlay
constexpr int fxSelectId = 16;
constexpr float hpFilter = 0.5f;  // the third of five effects

juce::AudioProcessorParameter* parameterWithId(juce::AudioPluginInstance& plugin, int id)
{
    for (auto* parameter : plugin.getParameters())
        if (auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*>(parameter))
            if (hosted->getParameterID() == juce::String(id))
                return parameter;
    return nullptr;
}

// One begin, then only performs, then one end, all of parameter id; the value the performs left.
float expectOneGesture(const EditLog& edits, int id)
{
    const auto& log = edits.entries();
    EXPECT_GE(log.size(), 3u);
    if (log.size() < 3)
        return -1.0f;
    EXPECT_EQ(log.front().kind, EditLog::Kind::begin);
    EXPECT_EQ(log.back().kind, EditLog::Kind::end);
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].id, id) << "entry " << i;
        if (i > 0 && i + 1 < log.size()) {
            EXPECT_EQ(log[i].kind, EditLog::Kind::perform) << "entry " << i;
        }
    }
    return log[log.size() - 2].value;
}

bool gestureEnded(const EditLog& edits)
{
    return !edits.entries().empty() && edits.entries().back().kind == EditLog::Kind::end;
}

TEST_F(HostedEditorTest, DraggingTheGateKnobReportsOneGestureOfGateSizeOnly)
{
    for (const Face* face : {&rack, &legacy}) {
        SCOPED_TRACE(face->name);
        chooseFace(*face, 0);
        auto plugin = loadPlugin();
        ASSERT_NE(plugin, nullptr);
        auto* gateSize = parameterWithId(*plugin, gateSizeId);
        ASSERT_NE(gateSize, nullptr);
        ASSERT_FLOAT_EQ(gateSize->getValue(), gateSizeDefault);
        HostWindow window(*plugin, 0, 0);
        ASSERT_TRUE(waitForPicture(window, face->width, face->height).has_value());

        EditLog edits(*plugin);
        drag(window, face->gateKnob, dragPixels, 1.0);
        EXPECT_TRUE(pumpUntil([&] { return gestureEnded(edits); }));

        const float performed = expectOneGesture(edits, gateSizeId);
        EXPECT_LT(gateSize->getValue(), gateSizeDefault);
        EXPECT_FLOAT_EQ(performed, gateSize->getValue());
    }
}

TEST_F(HostedEditorTest, TheOverlaySwitchChangesTheFaceAndTheHostWindowAndReopeningKeepsIt)
{
    constexpr int zoomIndex = 1;
    const double zoom = zooms[zoomIndex];
    chooseFace(rack, zoomIndex);
    auto plugin = loadPlugin();
    ASSERT_NE(plugin, nullptr);
    // RACK to LEGACY, then in a reopened window LEGACY back to RACK.
    for (const auto& [from, to] : {std::pair{&rack, &legacy}, std::pair{&legacy, &rack}}) {
        SCOPED_TRACE(juce::String(from->name) + " to " + to->name);
        HostWindow window(*plugin, 0, 0);
        const auto face = waitForPicture(window, zoomed(from->width, zoom), zoomed(from->height, zoom));
        ASSERT_TRUE(face.has_value());

        click(window, from->burger, zoom);
        // The overlay is a dark veil over the whole face, with its rows on it.
        std::optional<ScreenPicture> overlay;
        ASSERT_TRUE(pumpUntil([&] {
            overlay = x.capture(pluginWindow(window));
            return overlay && overlay->meanBrightness(overlay->whole()) < veiled * face->meanBrightness(face->whole());
        })) << "no overlay showed";
        overlay->savePng(VEXTORIA_TEST_OUTPUT "/overlay-" + std::string(from->name) + ".png");

        click(window, from->otherFace, zoom);
        const int width = zoomed(to->width, zoom), height = zoomed(to->height, zoom);
        ASSERT_TRUE(waitForPicture(window, width, height).has_value());
        const auto hostBox = x.box(window.nativeWindow());
        ASSERT_TRUE(hostBox.has_value());
        EXPECT_EQ(hostBox->width, width);
        EXPECT_EQ(hostBox->height, height);
    }
}

TEST_F(HostedEditorTest, TheFxKnobsMenuPicksHpFilter)
{
    chooseFace(rack, 0);
    auto plugin = loadPlugin();
    ASSERT_NE(plugin, nullptr);
    auto* fxSelect = parameterWithId(*plugin, fxSelectId);
    ASSERT_NE(fxSelect, nullptr);
    HostWindow window(*plugin, 0, 0);
    const auto face = waitForPicture(window, rack.width, rack.height);
    ASSERT_TRUE(face.has_value());

    // At y 229 the 108-pixel menu would pass the bottom: it opens upwards, at (467, 121).
    const PixelArea menu{467, 121, 567, 229};
    const LayoutPoint hpFilterRow{517, 171};  // 20-pixel rows: the third one
    EditLog edits(*plugin);
    click(window, rack.fxKnob, 1.0, XDisplay::rightButton);
    EXPECT_TRUE(pumpUntil([&] {
        const auto now = x.capture(pluginWindow(window));
        return now && now->changedShare(*face, menu) > 0.3;
    })) << "no menu showed";
    EXPECT_TRUE(edits.entries().empty()) << "a right click edits nothing";

    click(window, hpFilterRow, 1.0);
    EXPECT_TRUE(pumpUntil([&] { return gestureEnded(edits); }));
    EXPECT_FLOAT_EQ(expectOneGesture(edits, fxSelectId), hpFilter);
    EXPECT_FLOAT_EQ(fxSelect->getValue(), hpFilter);
}

}  // namespace
}  // namespace probe::testing
