// The picture files in the bundle: every name the editor and its menus load is there,
// decodes, and has the size and frame count that its place in the layout needs.

#include "Composition.h"
#include "LayoutTables.h"
#include "PictureNames.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

using layout_tables::LegacyControl;
using layout_tables::RackControl;
using layout_tables::Rect;

namespace {

struct Size
{
    int width, height;
    bool operator==(const Size&) const = default;
};

Size sizeOf(const std::string& name)
{
    const PngFile file(name);
    return {file.width(), file.height()};
}

Size layoutSize(const std::string& base)
{
    return sizeOf(composition::layoutFile(base, 1));
}

std::map<std::string, int> framesByFirstFile()
{
    std::map<std::string, int> frames;
    for (const RackControl& control : layout_tables::rackControls)
        frames[control.base + ".png"] = control.frames;
    for (const LegacyControl& control : layout_tables::legacyControls)
        for (const std::string& picture : control.pictures)
            frames[picture + ".png"] = control.frames;
    return frames;
}

} // namespace

TEST(PictureSet, EveryNameIsInTheBundleAndDecodes)
{
    std::set<std::string> names;
    for (const auto& set : picture_names::allSets())
        for (const picture_names::Scaled& file : set)
        {
            names.insert(file.name);
            EXPECT_TRUE(std::filesystem::is_regular_file(PngFile::pathOf(file.name))) << file.name << " is missing";
            EXPECT_TRUE(PngFile(file.name).decoded()) << file.name << " does not decode";
        }
    EXPECT_EQ(names.size(), 141u);
}

TEST(PictureSet, ScaledFilesAreExactlyOneAndAHalfAndTwiceTheSizeWithWholeFrames)
{
    const std::map<std::string, int> frames = framesByFirstFile();
    for (const auto& set : picture_names::allSets())
    {
        const Size base = sizeOf(set.front().name);
        const int frameCount = frames.contains(set.front().name) ? frames.at(set.front().name) : 1;
        for (const picture_names::Scaled& file : set)
        {
            const Size scaled = sizeOf(file.name);
            EXPECT_EQ(scaled.width, base.width * file.scale) << file.name;
            EXPECT_EQ(scaled.height, base.height * file.scale) << file.name;
            EXPECT_EQ(scaled.height % frameCount, 0) << file.name << ": frames are not whole pixels";
        }
    }
}

TEST(RackPictures, EveryFrameHasTheSizeOfItsRectangle)
{
    EXPECT_EQ(layoutSize("vxp_background"), (Size{860, 300}));
    for (const RackControl& control : layout_tables::rackControls)
        EXPECT_EQ(layoutSize(control.base),
                  (Size{int(control.rect.width()), int(control.rect.height()) * control.frames}))
            << control.base;
}

TEST(LegacyPictures, SizesKeepWithinTheirPlaces)
{
    EXPECT_EQ(layoutSize("background"), (Size{600, 400}));
    const int knob = layoutSize("knob_GATE").width;
    EXPECT_LE(knob, 67);
    for (const char* base : {"knob_GATE", "knob_reverse", "knob_size", "knob_pan", "knob_pitch", "knob_roll"})
        EXPECT_EQ(layoutSize(base), (Size{knob, knob * 128})) << base;
    EXPECT_EQ(layoutSize("slider_size"), layoutSize("slider_amount"));
    EXPECT_LT(layoutSize("slider_size").width, 112);
    // Pictures that take turns in one place have one size.
    for (const LegacyControl& control : layout_tables::legacyControls)
        for (const std::string& picture : control.pictures)
            EXPECT_EQ(layoutSize(picture), layoutSize(control.pictures.front())) << picture;
    EXPECT_LE(layoutSize("led_off").width, 32);
    EXPECT_LE(layoutSize("toggle").width, 32);
    EXPECT_LE(layoutSize("toggle").height, 11);
    EXPECT_EQ(layoutSize("pitch_range_value"), (Size{20, 18}));
    EXPECT_LE(layoutSize("pitch_range_up").height, 9);
    EXPECT_LE(layoutSize("pitch_range_down").height, 9);
    EXPECT_LE(layoutSize("burger").width, 34);
    for (const LegacyControl& control : layout_tables::legacyControls)
    {
        const Rect rect = composition::legacyRect(control);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= 600 && rect.bottom <= 400)
            << control.pictures.front() << " leaves the window";
    }
}

TEST(OverlayPictures, SizesKeepWithinTheOverlay)
{
    EXPECT_EQ(sizeOf("quit.png"), sizeOf("quit_pressed.png"));
    EXPECT_LE(sizeOf("quit.png").width, 36);
    EXPECT_EQ(sizeOf("help__1.5x.png"), sizeOf("help_1.5x.png"));
    EXPECT_EQ(sizeOf("help__2x.png"), sizeOf("help_2x.png"));
    EXPECT_LE(sizeOf("big_logo.png").height, 24);
    EXPECT_LE(sizeOf("big_logo.png").width, 52);
    EXPECT_EQ(sizeOf("checkmark.png"), (Size{12, 12}));
    // The overlay writes the labels of its two buttons 26 pixels right of their left edges.
    EXPECT_LE(sizeOf("toggle.png").width, 26);
}
