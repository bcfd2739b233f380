// What the pictures show: strips change from frame to frame, a control's "on" picture is
// lit, and LEGACY controls that share pixels leave each other clear.

#include "Composition.h"
#include "LayoutTables.h"
#include "PictureNames.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

using layout_tables::LegacyControl;
using layout_tables::Rect;

namespace {

struct Region
{
    int left, top, width, height;
};

Region frameRegion(const PngFile& strip, int frames, int frame)
{
    const int height = strip.height() / frames;
    return {0, frame * height, strip.width(), height};
}

// Mean difference of two equally sized regions, colours weighted by alpha, 0..1.
double meanDifference(const PngFile& a, Region ra, const PngFile& b, Region rb)
{
    double total = 0;
    for (int y = 0; y < ra.height; ++y)
        for (int x = 0; x < ra.width; ++x)
        {
            const PngFile::Pixel p = a.at(ra.left + x, ra.top + y), q = b.at(rb.left + x, rb.top + y);
            total += (std::abs(p.red * p.alpha - q.red * q.alpha) + std::abs(p.green * p.alpha - q.green * q.alpha) +
                      std::abs(p.blue * p.alpha - q.blue * q.alpha) + std::abs(p.alpha - q.alpha)) / 4;
        }
    return total / (ra.width * ra.height);
}

// Light given off: the bright part of every pixel's luminance, weighted by its cover.
double brightLight(const PngFile& file, Region region)
{
    double light = 0;
    for (int y = region.top; y < region.top + region.height; ++y)
        for (int x = region.left; x < region.left + region.width; ++x)
        {
            const PngFile::Pixel p = file.at(x, y);
            const double luminance = 0.2126 * p.red + 0.7152 * p.green + 0.0722 * p.blue;
            light += p.alpha * std::max(0.0, luminance - 0.55);
        }
    return light;
}

void expectLitAndDistinct(const PngFile& off, Region offRegion, const PngFile& on, Region onRegion, const std::string& name)
{
    EXPECT_GT(meanDifference(off, offRegion, on, onRegion), 0.01) << name << ": on and off look alike";
    EXPECT_GT(brightLight(on, onRegion), brightLight(off, offRegion) * 1.15 + 1) << name << ": \"on\" is not lit";
}

} // namespace

TEST(PictureLook, EveryFrameOfAStripDiffersFromTheNext)
{
    const char* strips[] = {"vxp_knob_gate", "vxp_knob_roll", "vxp_slider_size", "vxp_slider_amount",
                            "vxp_lcd_screen", "knob_GATE", "knob_roll"};
    const int frameCounts[] = {127, 127, 100, 100, 13, 128, 128};
    for (int scale : {1, 2})
        for (size_t index = 0; index < std::size(strips); ++index)
        {
            const PngFile strip(composition::layoutFile(strips[index], scale));
            ASSERT_TRUE(strip.decoded()) << strips[index];
            const int frames = frameCounts[index];
            for (int frame = 1; frame < frames; ++frame)
                EXPECT_GT(meanDifference(strip, frameRegion(strip, frames, frame - 1), strip,
                                         frameRegion(strip, frames, frame)), 0.0)
                    << strips[index] << " frame " << frame << " repeats the one before";
        }
}

TEST(PictureLook, OnFramesAndPressedPicturesAreLit)
{
    for (const char* base : {"vxp_power", "vxp_freeze", "vxp_push_edit", "vxp_up", "vxp_down", "vxp_led_up",
                             "vxp_led_down", "vxp_left", "vxp_right"})
        for (int scale : {1, 2})
        {
            const PngFile strip(composition::layoutFile(base, scale));
            expectLitAndDistinct(strip, frameRegion(strip, 2, 0), strip, frameRegion(strip, 2, 1), base);
        }
    const std::pair<const char*, const char*> pairs[] = {
        {"big_push.png", "big_push_pressed.png"}, {"led_off.png", "led_on.png"}, {"toggle.png", "toggle_pressed.png"},
        {"led_off_x2.png", "led_on_x2.png"},       {"toggle_x2.png", "toggle_pressed_x2.png"},
        {"quit.png", "quit_pressed.png"},          {"quit_2x.png", "quit_pressed_2x.png"},
        {"help_2x.png", "help__2x.png"},           {"help_1.5x.png", "help__1.5x.png"}};
    for (const auto& [offName, onName] : pairs)
    {
        const PngFile off(offName), on(onName);
        expectLitAndDistinct(off, frameRegion(off, 1, 0), on, frameRegion(on, 1, 0), onName);
    }
}

TEST(PictureLook, RackSwitchShowsItsTwoModesApart)
{
    const PngFile strip(composition::layoutFile("vxp_switch", 1));
    EXPECT_GT(meanDifference(strip, frameRegion(strip, 2, 0), strip, frameRegion(strip, 2, 1)), 0.01);
}

namespace {

// Per pixel of rect, whether any picture or frame of the control covers it at this scale.
std::vector<bool> footprint(const LegacyControl& control, const Rect& rect, const Rect& area, int scale)
{
    const int width = int(area.width() * scale), height = int(area.height() * scale);
    std::vector<bool> covered(size_t(width * height), false);
    for (const std::string& name : control.pictures)
    {
        const PngFile picture(composition::layoutFile(name, scale));
        const int frameHeight = picture.height() / control.frames;
        for (int frame = 0; frame < control.frames; ++frame)
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                {
                    const int px = int((area.left - rect.left) * scale) + x, py = int((area.top - rect.top) * scale) + y;
                    if (px < picture.width() && py < frameHeight && picture.at(px, frame * frameHeight + py).alpha > 0.1)
                        covered[size_t(y * width + x)] = true;
                }
    }
    return covered;
}

Rect intersection(const Rect& a, const Rect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

} // namespace

// LEGACY sizes its controls by their pictures, so some rectangles overlap (a knob square runs
// into the EDIT FX toggle); the pictures must then keep out of each other's way.
TEST(PictureLook, OverlappingLegacyControlsLeaveEachOtherClear)
{
    const auto& controls = layout_tables::legacyControls;
    int overlaps = 0;
    for (size_t first = 0; first < controls.size(); ++first)
        for (size_t second = first + 1; second < controls.size(); ++second)
        {
            const Rect a = composition::legacyRect(controls[first]), b = composition::legacyRect(controls[second]);
            if (!a.overlaps(b))
                continue;
            ++overlaps;
            const Rect shared = intersection(a, b);
            for (int scale : {1, 2})
            {
                const std::vector<bool> coverA = footprint(controls[first], a, shared, scale);
                const std::vector<bool> coverB = footprint(controls[second], b, shared, scale);
                for (size_t pixel = 0; pixel < coverA.size(); ++pixel)
                    ASSERT_FALSE(coverA[pixel] && coverB[pixel])
                        << controls[first].pictures.front() << " and " << controls[second].pictures.front()
                        << " both draw into their shared pixels at " << scale << "x";
            }
        }
    EXPECT_GE(overlaps, 1); // the FX knob and the EDIT FX toggle at least
}

// A RACK fader grabs a 32-pixel band of its 148-pixel frame, placed by the value; the cap
// drawn in each frame must lie inside that band, or the pointer would miss what it sees.
TEST(PictureLook, RackFaderCapsLieInTheBandTheFaderGrabs)
{
    constexpr int frames = 100, frameHeight = 148, band = 32;
    for (const char* base : {"vxp_slider_size", "vxp_slider_amount"})
        for (int scale : {1, 2})
        {
            const PngFile strip(composition::layoutFile(base, scale));
            ASSERT_TRUE(strip.decoded()) << base;
            for (int frame : {0, 1, 33, 49, 50, 98, 99})
            {
                const double value = frame / double(frames - 1);
                const double bandTop = (1 - value) * (frameHeight - band) * scale;
                int capRows = 0;
                for (int y = 0; y < frameHeight * scale; ++y)
                {
                    int opaque = 0;
                    for (int x = 0; x < strip.width(); ++x)
                        opaque += strip.at(x, frame * frameHeight * scale + y).alpha > 0.9;
                    if (opaque < strip.width() / 2)
                        continue;
                    ++capRows;
                    EXPECT_TRUE(y >= bandTop && y < bandTop + band * scale)
                        << base << " frame " << frame << " at " << scale << "x: cap row " << y << " is outside the band";
                }
                EXPECT_GT(capRows, 10 * scale) << base << " frame " << frame << " shows no cap";
            }
        }
}

namespace {

double luminance(const PngFile::Pixel& p) { return 0.2126 * p.red + 0.7152 * p.green + 0.0722 * p.blue; }

// Bounds, in 1x pixels, of the pixels inside region (1x pixels) of a file drawn at scale that
// pass the test; left above right when none does.
template <typename Test>
Rect inkBounds(const PngFile& file, double scale, Rect region, Test test)
{
    Rect ink{1e9, 1e9, -1e9, -1e9};
    for (int y = int(region.top * scale); y < int(region.bottom * scale); ++y)
        for (int x = int(region.left * scale); x < int(region.right * scale); ++x)
            if (test(file.at(x, y)))
                ink = {std::min(ink.left, x / scale), std::min(ink.top, y / scale),
                       std::max(ink.right, (x + 1) / scale), std::max(ink.bottom, (y + 1) / scale)};
    return ink;
}

// The widths of the empty column runs between columns holding ink, in file pixels.
template <typename Test>
std::vector<int> inkGaps(const PngFile& file, int scale, Rect region, Test test)
{
    std::vector<int> gaps;
    int lastInk = -1;
    for (int x = int(region.left * scale); x < int(region.right * scale); ++x)
    {
        bool ink = false;
        for (int y = int(region.top * scale); y < int(region.bottom * scale) && !ink; ++y)
            ink = test(file.at(x, y));
        if (ink && lastInk >= 0 && x > lastInk + 1)
            gaps.push_back(x - lastInk - 1);
        lastInk = ink ? x : lastInk;
    }
    return gaps;
}

} // namespace

// A lit lamp's light fades out inside its picture: no edge of a frame cuts it off.
TEST(PictureLook, LampsGlowWithinTheirPictures)
{
    for (auto [base, frames] : {std::pair{"vxp_led_up", 2}, {"vxp_led_down", 2}, {"led_on", 1}, {"led_off", 1}})
        for (const picture_names::Scaled& file : picture_names::layoutFiles(base))
        {
            const PngFile picture(file.name);
            const double width = picture.width() / file.scale, height = picture.height() / file.scale / frames;
            for (int frame = 0; frame < frames; ++frame)
            {
                const Rect ink = inkBounds(picture, file.scale, {0, frame * height, width, (frame + 1) * height},
                                           [](const PngFile::Pixel& p) { return p.alpha > 0; });
                EXPECT_TRUE(ink.left > 0 && ink.right < width && ink.top > frame * height &&
                            ink.bottom < (frame + 1) * height)
                    << file.name << " frame " << frame;
            }
        }
}

namespace {

Rect rackPlace(const std::string& base)
{
    for (const auto& control : layout_tables::rackControls)
        if (control.base == base)
            return control.rect;
    return {};
}

// The opaque part of one frame of a RACK picture, where the layout puts it (1x pixels).
Rect placedInk(const std::string& base, int scale, int frame)
{
    const Rect place = rackPlace(base);
    const PngFile picture(composition::layoutFile(base, scale));
    const double top = frame * place.height();
    const Rect ink = inkBounds(picture, scale, {0, top, place.width(), top + place.height()},
                               [](const PngFile::Pixel& p) { return p.alpha > 0.9; });
    return {place.left + ink.left, place.top + ink.top - top, place.left + ink.right, place.top + ink.bottom - top};
}

double middle(const Rect& rect) { return (rect.top + rect.bottom) / 2; }

} // namespace

// RACK's pitch direction rows: each key's face, its lit lamp and its caption share a centre
// line, and the lamps and the captions each stand in one column.
TEST(PictureLook, RackUpAndDownRowsLineUp)
{
    for (int scale : {1, 2})
    {
        SCOPED_TRACE(testing::Message() << scale << "x");
        const PngFile background(composition::layoutFile("vxp_background", scale));
        Rect lamps[2], captions[2];
        const std::pair<const char*, const char*> rows[] = {{"vxp_up", "vxp_led_up"}, {"vxp_down", "vxp_led_down"}};
        for (int row = 0; row < 2; ++row)
        {
            const Rect lampPlace = rackPlace(rows[row].second);
            lamps[row] = placedInk(rows[row].second, scale, 1);
            captions[row] = inkBounds(background, scale, {lampPlace.right, lampPlace.top, 260, lampPlace.bottom},
                                      [](const PngFile::Pixel& p) { return luminance(p) > 0.5; });
            EXPECT_NEAR(middle(placedInk(rows[row].first, scale, 0)), middle(lamps[row]), 1) << rows[row].first;
            EXPECT_NEAR(middle(captions[row]), middle(lamps[row]), 1) << rows[row].first;
        }
        EXPECT_NEAR(lamps[0].left, lamps[1].left, 0.5 / scale);
        EXPECT_NEAR(captions[0].left, captions[1].left, 1.0 / scale);
    }
}

// LEGACY's pitch range caption is wider than the value window under it; it must stay in the
// panel that groups the pitch controls.
TEST(PictureLook, LegacyPitchRangeCaptionStaysInItsPanel)
{
    const Rect panel{404, 258, 532, 318};
    for (int scale : {1, 2})
    {
        const PngFile background(composition::layoutFile("background", scale));
        // The rows between the knobs' panel and the value window, across the panel and beside it.
        const Rect caption = inkBounds(background, scale, {330, 262, 590, 276},
                                       [](const PngFile::Pixel& p) { return luminance(p) < 0.5; });
        EXPECT_GT(caption.right, caption.left) << scale << "x: no caption";
        EXPECT_GE(caption.left, panel.left) << scale << "x";
        EXPECT_LE(caption.right, panel.right) << scale << "x";
    }
}

// Both faces print the title alike: eight letters, a space and a figure.
TEST(PictureLook, BothFacesSpellTheTitleAlike)
{
    // Light letters on the dark face, dark ones on the light face.
    const std::tuple<const char*, Rect, double> faces[] = {{"vxp_background", {500, 280, 830, 298}, 1},
                                                           {"background", {10, 10, 300, 44}, -1}};
    for (const auto& [base, title, sign] : faces)
        for (int scale : {1, 2})
        {
            const std::vector<int> gaps = inkGaps(PngFile(composition::layoutFile(base, scale)), scale, title,
                                                  [sign](const PngFile::Pixel& p) { return sign * (luminance(p) - 0.4) > 0; });
            ASSERT_EQ(gaps.size(), 8u) << base << " at " << scale << "x";
            EXPECT_EQ(std::max_element(gaps.begin(), gaps.end()) - gaps.begin(), 7) << base << " at " << scale << "x";
        }
}
