// The editor in JUCE's host, in both faces at every view size: the plug-in's window and the
// host's take the face's size at that zoom, the plug-in draws its picture into it, and a user's
// drag of the GATE knob reaches the host as one gesture of GateSize alone.

#include "editor/hosted_editor_fixture.h"

namespace probe::testing {
namespace {

constexpr int gateSizeId = 1;
constexpr float gateSizeDefault = 0.85f;

class EditorFaces : public HostedEditorTest, public ::testing::WithParamInterface<const Face*> {};

TEST_P(EditorFaces, OpenAtEveryViewSizeAtTheirSizeAndDragTheGateKnobAsOneGesture)
{
    const Face& face = *GetParam();
    for (int zoomIndex = 0; zoomIndex < 4; ++zoomIndex) {
        const double zoom = zooms[zoomIndex];
        SCOPED_TRACE(std::string(face.name) + " at " + std::to_string(int(zoom * 100)) + " %");
        auto plugin = loadPlugin(face, zoomIndex);
        ASSERT_NE(plugin, nullptr);
        auto* gateSize = parameterWithId(*plugin, gateSizeId);
        ASSERT_NE(gateSize, nullptr);
        ASSERT_FLOAT_EQ(gateSize->getValue(), gateSizeDefault);
        HostWindow window(*plugin, 0, 0);
        ASSERT_TRUE(waitForPicture(window, zoomed(face.width, zoom), zoomed(face.height, zoom)).has_value());

        EditLog edits(*plugin);
        drag(window, face.gateKnob, 40, zoom);
        EXPECT_TRUE(pumpUntil([&] { return edits.gestureEnded(); }));
        const float performed = edits.expectOneGesture(gateSizeId);
        EXPECT_LT(gateSize->getValue(), gateSizeDefault);
        EXPECT_FLOAT_EQ(performed, gateSize->getValue());
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, EditorFaces, ::testing::Values(&rack, &legacy),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace probe::testing
