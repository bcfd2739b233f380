// The bundle's editor pictures: sizes and frames per place, and how strips, caps, lamps and titles look.
#include "LayoutTables.h"
#include "PictureNames.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

using layout_tables::Rect;

namespace {

struct Pixel {
    double red, green, blue, alpha; // 0..1, colours premultiplied by alpha
    double luminance() const { return 0.2126 * red + 0.7152 * green + 0.0722 * blue; }
    double light() const { return std::max(0.0, luminance() - 0.55 * alpha); } // the bright part, by its cover
};

// A PNG of the bundle, decoded once for the whole run; 0 wide when it does not decode.
struct Png {
    std::shared_ptr<cairo_surface_t> surface; // destroyed with the cache, so the leak checker sees none
    int width, height;
    Pixel at(int x, int y) const
    {
        const auto* row = cairo_image_surface_get_data(surface.get()) + y * cairo_image_surface_get_stride(surface.get());
        const unsigned argb = reinterpret_cast<const unsigned*>(row)[x];
        return {(argb >> 16 & 0xff) / 255.0, (argb >> 8 & 0xff) / 255.0, (argb & 0xff) / 255.0, (argb >> 24) / 255.0};
    }
};
const Png& png(const std::string& name)
{
    static std::map<std::string, Png> decoded;
    if (decoded.contains(name))
        return decoded[name];
    auto* surface = cairo_image_surface_create_from_png((VEXTORIA_BUNDLE_RESOURCES "/" + name).c_str());
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    return decoded[name] = {{surface, cairo_surface_destroy}, width, height};
}
const Png& png(const std::string& base, int scale) { return png(picture_names::layoutFiles(base)[2 * scale - 2].name); }
using Size = std::pair<int, int>; // width, height
Size sizeOf(const std::string& name) { return {png(name).width, png(name).height}; }

Rect frameOf(const Png& strip, int frames, int frame)
{
    return {0, double(frame * (strip.height / frames)), double(strip.width), double((frame + 1) * (strip.height / frames))};
}

// The sum of `value(x, y)` over the pixels of `region` (file pixels).
template <typename Value>
double sum(Rect region, Value value)
{
    double total = 0;
    for (int y = int(region.top); y < region.bottom; ++y)
        for (int x = int(region.left); x < region.right; ++x)
            total += value(x, y);
    return total;
}

// Mean difference of two equally sized regions, colours weighted by alpha, 0..1.
double meanDifference(const Png& a, Rect ra, const Png& b, Rect rb)
{
    return sum(ra, [&](int x, int y) {
               const Pixel p = a.at(x, y), q = b.at(int(rb.left - ra.left) + x, int(rb.top - ra.top) + y);
               return std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue) +
                      std::abs(p.alpha - q.alpha);
           }) / (4 * ra.width() * ra.height());
}

double light(const Png& file, Rect region) { return sum(region, [&](int x, int y) { return file.at(x, y).light(); }); }

// Bounds of the pixels in `region` of a file at `scale` passing `test` (1x pixels); none: left > right.
template <typename Test>
Rect inkBounds(const Png& file, double scale, Rect region, Test test)
{
    Rect ink {1e9, 1e9, -1e9, -1e9};
    for (int y = int(region.top * scale); y < int(region.bottom * scale); ++y)
        for (int x = int(region.left * scale); x < int(region.right * scale); ++x)
            if (test(file.at(x, y)))
                ink = {std::min(ink.left, x / scale), std::min(ink.top, y / scale),
                       std::max(ink.right, (x + 1) / scale), std::max(ink.bottom, (y + 1) / scale)};
    return ink;
}

bool opaque(const Pixel& p) { return p.alpha > 0.9; }
double middle(const Rect& rect) { return (rect.top + rect.bottom) / 2; }

} // namespace

TEST(PictureSet, EveryFileIsThereAtItsScaleAndFitsItsPlaceInWholeFrames)
{
    std::set<std::string> names;
    for (const auto& set : picture_names::allSets())
        for (const picture_names::Scaled& file : set) {
            names.insert(file.name);
            ASSERT_GT(png(file.name).width, 0) << file.name << " is missing or does not decode";
            const auto [width, height] = sizeOf(set.front().name);
            EXPECT_EQ(sizeOf(file.name), Size(int(width * file.scale), int(height * file.scale))) << file.name;
        }
    EXPECT_EQ(names.size(), 141u);

    auto expectWholeFrames = [](const std::string& base, int frames) {
        for (const picture_names::Scaled& file : picture_names::layoutFiles(base))
            EXPECT_EQ(png(file.name).height % frames, 0) << file.name << ": torn frames";
    };
    for (const auto& [base, rect, frames, tag] : layout_tables::rackControls) {
        EXPECT_EQ(sizeOf(base + ".png"), Size(rect.width(), rect.height() * frames)) << base;
        expectWholeFrames(base, frames);
    }
    const int knob = sizeOf("knob_GATE.png").first;
    for (const auto& control : layout_tables::legacyControls) {
        const Size first = control.frames > 1 ? Size(knob, knob * 128) : sizeOf(control.pictures[0] + ".png");
        for (const std::string& picture : control.pictures) { // pictures taking turns have one size
            EXPECT_EQ(sizeOf(picture + ".png"), first) << picture;
            expectWholeFrames(picture, control.frames);
        }
        const Rect rect = layout_tables::legacyRect(control, sizeOf);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= 600 && rect.bottom <= 400) << control.pictures[0];
    }
    for (auto [name, width, height] : {std::tuple{"vxp_background.png", 860, 300}, {"background.png", 600, 400},
                                       {"pitch_range_value.png", 20, 18}, {"checkmark.png", 12, 12}})
        EXPECT_EQ(sizeOf(name), Size(width, height)) << name;
    for (auto [name, width, height] : {std::tuple{"knob_GATE.png", 67.0, 1e6}, {"slider_size.png", 111, 1e6},
                                       {"led_off.png", 32, 1e6}, {"toggle.png", 26, 11}, {"pitch_range_up.png", 1e6, 9},
                                       {"pitch_range_down.png", 1e6, 9}, {"burger.png", 34, 1e6},
                                       {"quit.png", 36, 1e6}, {"big_logo.png", 52, 24}})
        EXPECT_TRUE(sizeOf(name).first <= width && sizeOf(name).second <= height) << name << " is too large";
    for (auto [one, other] : {std::pair{"slider_size.png", "slider_amount.png"}, {"quit.png", "quit_pressed.png"},
                              {"help__1.5x.png", "help_1.5x.png"}, {"help__2x.png", "help_2x.png"}})
        EXPECT_EQ(sizeOf(one), sizeOf(other)) << other;
}

// A RACK fader's cap must sit mid 32-pixel band of its 148-pixel frame, placed by the value.
TEST(PictureLook, RackFaderCapsSitInTheBandTheFaderGrabs)
{
    constexpr int frames = 100, frameHeight = 148, band = 32;
    for (const char* base : {"vxp_slider_size", "vxp_slider_amount"})
        for (int scale : {1, 2})
            for (int frame : {0, 1, 33, 49, 50, 98, 99}) {
                const Png& strip = png(base, scale);
                const int top = frame * frameHeight * scale;
                const double bandTop = (1 - frame / double(frames - 1)) * (frameHeight - band) * scale;
                int first = -1, last = -1; // the rows at least half opaque
                for (int y = 0; y < frameHeight * scale; ++y)
                    if (sum({0, top + y + 0.0, strip.width + 0.0, top + y + 1.0},
                            [&](int x, int row) { return opaque(strip.at(x, row)); }) >= strip.width / 2)
                        last = y, first = first < 0 ? y : first;
                SCOPED_TRACE(testing::Message() << base << " frame " << frame << " at " << scale << "x: " << first);
                EXPECT_TRUE(last - first > 10 * scale && first >= bandTop && last < bandTop + band * scale);
                EXPECT_NEAR((first + last + 1) / 2.0, bandTop + band * scale / 2.0, 0.75);
            }
}

TEST(PictureLook, FramesDifferFromTheNextOnIsLitAndLampsGlowWithinTheirFrames)
{
    for (auto [base, frames] : {std::pair{"vxp_knob_gate", 127}, {"vxp_knob_roll", 127}, {"vxp_lcd_screen", 13},
                                {"vxp_slider_size", 100}, {"vxp_slider_amount", 100}, {"knob_GATE", 128},
                                {"knob_roll", 128}})
        for (int scale : {1, 2})
            for (int frame = 1; frame < frames; ++frame) {
                const Png& strip = png(base, scale);
                const Rect before = frameOf(strip, frames, frame - 1), now = frameOf(strip, frames, frame);
                EXPECT_GT(meanDifference(strip, before, strip, now), 0) << base << " " << scale << "x frame " << frame;
            }
    auto expectDistinct = [&](const Png& off, const Png& on, int frames, bool lit, const std::string& name) {
        const Rect offPart = frameOf(off, frames, 0), onPart = frameOf(on, frames, frames - 1);
        EXPECT_GT(meanDifference(off, offPart, on, onPart), 0.01) << name << ": on and off look alike";
        EXPECT_TRUE(!lit || light(on, onPart) > light(off, offPart) * 1.15 + 1) << name << ": \"on\" is not lit";
    };
    for (const std::string base : {"vxp_power", "vxp_freeze", "vxp_push_edit", "vxp_up", "vxp_down", "vxp_led_up",
                                   "vxp_led_down", "vxp_left", "vxp_right", "vxp_switch"}) // the switch shows two modes
        for (int scale : {1, 2})
            expectDistinct(png(base, scale), png(base, scale), 2, base != "vxp_switch", base);
    for (auto [off, on] : {std::pair{"big_push.png", "big_push_pressed.png"}, {"led_off.png", "led_on.png"},
                           {"toggle.png", "toggle_pressed.png"}, {"led_off_x2.png", "led_on_x2.png"},
                           {"toggle_x2.png", "toggle_pressed_x2.png"}, {"quit.png", "quit_pressed.png"},
                           {"quit_2x.png", "quit_pressed_2x.png"}, {"help_2x.png", "help__2x.png"},
                           {"help_1.5x.png", "help__1.5x.png"}})
        expectDistinct(png(off), png(on), 1, true, on);
    for (auto [base, frames] : {std::pair{"vxp_led_up", 2}, {"vxp_led_down", 2}, {"led_on", 1}, {"led_off", 1}})
        for (const auto& [name, scale] : picture_names::layoutFiles(base))
            for (int frame = 0; frame < frames; ++frame) {
                const double width = png(name).width / scale, height = png(name).height / scale / frames;
                const Rect ink = inkBounds(png(name), scale, {0, frame * height, width, (frame + 1) * height},
                                           [](const Pixel& p) { return p.alpha > 0; });
                EXPECT_TRUE(ink.left > 0 && ink.right < width && ink.top > frame * height &&
                            ink.bottom < (frame + 1) * height) << name << " frame " << frame << ": the glow is cut off";
            }
}

// LEGACY sizes its controls by their pictures, so some rectangles overlap: their pictures keep clear.
TEST(PictureLook, OverlappingLegacyControlsLeaveEachOtherClear)
{
    // Whether any picture or frame of `control` draws window pixel (x, y) at `scale`.
    auto draws = [](const layout_tables::LegacyControl& control, int scale, int x, int y) {
        const Rect place = layout_tables::legacyRect(control, sizeOf);
        const int px = x - int(place.left * scale), py = y - int(place.top * scale);
        for (const std::string& name : control.pictures) {
            const Png& picture = png(name, scale);
            for (int frame = 0, height = picture.height / control.frames; frame < control.frames; ++frame)
                if (px < picture.width && py < height && picture.at(px, frame * height + py).alpha > 0.1)
                    return true;
        }
        return false;
    };
    int overlaps = 0;
    const auto& controls = layout_tables::legacyControls;
    for (auto one = controls.begin(); one != controls.end(); ++one)
        for (auto other = one + 1; other != controls.end(); ++other) {
            const Rect a = layout_tables::legacyRect(*one, sizeOf), b = layout_tables::legacyRect(*other, sizeOf);
            const double left = std::max(a.left, b.left), top = std::max(a.top, b.top);
            const double right = std::min(a.right, b.right), bottom = std::min(a.bottom, b.bottom);
            overlaps += left < right && top < bottom;
            for (int scale = 1; scale <= 2 && left < right && top < bottom; ++scale)
                EXPECT_EQ(sum({left * scale, top * scale, right * scale, bottom * scale},
                              [&](int x, int y) { return draws(*one, scale, x, y) && draws(*other, scale, x, y); }), 0)
                    << one->pictures[0] << " and " << other->pictures[0] << " both draw there at " << scale << "x";
        }
    EXPECT_GE(overlaps, 1); // the FX knob and the EDIT FX toggle at least
}

// RACK keys, lamps, captions share row centres and columns; LEGACY's caption stays in its panel; titles.
TEST(PictureLook, CaptionsLineUpWithTheirControlsAndTheTitlesMatch)
{
    auto place = [](const std::string& base) {
        return std::find_if(layout_tables::rackControls.begin(), layout_tables::rackControls.end(),
                            [&](const auto& control) { return control.base == base; })->rect;
    };
    auto placedInk = [&](const std::string& base, int scale, int frame) { // in layout pixels
        const Rect at = place(base);
        const double top = frame * at.height();
        const Rect ink = inkBounds(png(base, scale), scale, {0, top, at.width(), top + at.height()}, opaque);
        return Rect {at.left + ink.left, at.top + ink.top - top, at.left + ink.right, at.top + ink.bottom - top};
    };
    for (int scale : {1, 2}) {
        Rect lamps[2], captions[2];
        for (int row = 0; row < 2; ++row) {
            const std::string key = row ? "vxp_down" : "vxp_up", lamp = row ? "vxp_led_down" : "vxp_led_up";
            lamps[row] = placedInk(lamp, scale, 1);
            captions[row] = inkBounds(png("vxp_background", scale), scale,
                                      {place(lamp).right, place(lamp).top, 260, place(lamp).bottom},
                                      [](const Pixel& p) { return p.luminance() > 0.5; });
            EXPECT_NEAR(middle(placedInk(key, scale, 0)), middle(lamps[row]), 1) << key << " at " << scale << "x";
            EXPECT_NEAR(middle(captions[row]), middle(lamps[row]), 1) << key << " at " << scale << "x";
        }
        EXPECT_NEAR(lamps[0].left, lamps[1].left, 0.5 / scale) << scale << "x";
        EXPECT_NEAR(captions[0].left, captions[1].left, 1.0 / scale) << scale << "x";

        // The rows between LEGACY's knob panel and its value window, across the panel and beside it.
        const Rect caption = inkBounds(png("background", scale), scale, {330, 262, 590, 276},
                                       [](const Pixel& p) { return p.luminance() < 0.5; });
        EXPECT_TRUE(caption.left >= 404 && caption.right <= 532 && caption.left < caption.right)
            << caption.left << ".." << caption.right << " at " << scale << "x";

        // Light letters on the dark face, dark ones on the light face.
        for (auto [base, title, sign] : {std::tuple{"vxp_background", Rect {500, 280, 830, 298}, 1.0},
                                         {"background", Rect {10, 10, 300, 44}, -1.0}}) {
            std::vector<int> gaps; // the widths of the empty column runs between inked columns
            auto inked = [&](int x, int y) { return sign * (png(base, scale).at(x, y).luminance() - 0.4) > 0; };
            for (int x = int(title.left * scale), lastInk = -1; x < int(title.right * scale); ++x) {
                const bool ink = sum({x + 0.0, title.top * scale, x + 1.0, title.bottom * scale}, inked) > 0;
                if (ink && lastInk >= 0 && x > lastInk + 1)
                    gaps.push_back(x - lastInk - 1);
                lastInk = ink ? x : lastInk;
            }
            ASSERT_EQ(gaps.size(), 8u) << base << " at " << scale << "x";
            EXPECT_EQ(std::max_element(gaps.begin(), gaps.end()) - gaps.begin(), 7) << base << " at " << scale << "x";
        }
    }
}
