// The editor in JUCE's host, in both faces at every view size: the plug-in's window and the
// host's take the face's size at that zoom, and the plug-in draws its picture into it.

#include "editor/hosted_editor_fixture.h"

namespace probe::testing {
namespace {

struct Size {
    int width, height;
};

struct FaceSizes {
    const Face* face;
    Size sizes[4];  // by view size: 100, 150, 200 and 75 %
};

class EditorFaces : public HostedEditorTest, public ::testing::WithParamInterface<FaceSizes> {};

TEST_P(EditorFaces, OpenAtEveryViewSizeAtTheirSizeWithAPicture)
{
    const Face& face = *GetParam().face;
    for (int zoomIndex = 0; zoomIndex < 4; ++zoomIndex) {
        const Size size = GetParam().sizes[zoomIndex];
        const juce::String name = juce::String("editor-") + face.name + "-" + juce::String(zooms[zoomIndex] * 100);
        SCOPED_TRACE(name);
        chooseFace(face, zoomIndex);
        auto plugin = loadPlugin();
        ASSERT_NE(plugin, nullptr);
        HostWindow window(*plugin, 0, 0);
        ASSERT_TRUE(window.hasEditor());
        const auto picture = waitForPicture(window, size.width, size.height);
        ASSERT_TRUE(picture.has_value());
        const auto hostBox = x.box(window.nativeWindow());
        ASSERT_TRUE(hostBox.has_value());
        EXPECT_EQ(hostBox->width, size.width);
        EXPECT_EQ(hostBox->height, size.height);
        picture->savePng(VEXTORIA_TEST_OUTPUT "/" + name.toStdString() + ".png");
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, EditorFaces,
                         ::testing::Values(FaceSizes{&rack, {{860, 300}, {1290, 450}, {1720, 600}, {645, 225}}},
                                           FaceSizes{&legacy, {{600, 400}, {900, 600}, {1200, 800}, {450, 300}}}),
                         [](const auto& info) { return std::string(info.param.face->name); });

}  // namespace
}  // namespace probe::testing
