#include "Catalogue.h"
#include "Glyphs.h"
#include "Looks.h"
#include "Strips.h"

namespace artwork {

namespace {

constexpr int knobSize = 64, knobFrames = 128;
constexpr int toastSize = 96;

void toastOutline(cairo_t* cr)
{
    cairo_new_path(cr);
    cairo_move_to(cr, 18, 84);
    cairo_line_to(cr, 16, 44);
    cairo_curve_to(cr, 2, 34, 8, 10, 34, 12);
    cairo_curve_to(cr, 42, 8, 54, 8, 62, 12);
    cairo_curve_to(cr, 88, 10, 94, 34, 80, 44);
    cairo_line_to(cr, 78, 84);
    cairo_curve_to(cr, 78, 88, 76, 90, 72, 90);
    cairo_line_to(cr, 24, 90);
    cairo_curve_to(cr, 20, 90, 18, 88, 18, 84);
    cairo_close_path(cr);
}

// A slice of toast; frozen, the same slice under frost: the Freeze button released and held.
void paintToast(cairo_t* cr, bool frozen)
{
    const Colour crumbLight = frozen ? rgb(226, 240, 250) : rgb(240, 200, 120);
    const Colour crumbDark = frozen ? rgb(150, 192, 222) : rgb(206, 140, 62);
    const Colour crust = frozen ? rgb(70, 112, 156) : rgb(128, 74, 32);
    cairo_save(cr);
    cairo_translate(cr, 0, 2);
    toastOutline(cr);
    setColour(cr, rgb(60, 36, 16, 0.3));
    cairo_fill(cr);
    cairo_restore(cr);
    toastOutline(cr);
    cairo_pattern_t* crumb = cairo_pattern_create_radial(48, 48, 4, 48, 50, 46);
    cairo_pattern_add_color_stop_rgb(crumb, 0, crumbLight.red, crumbLight.green, crumbLight.blue);
    cairo_pattern_add_color_stop_rgb(crumb, 1, crumbDark.red, crumbDark.green, crumbDark.blue);
    cairo_set_source(cr, crumb);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(crumb);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    strokePath(cr, crust, 4.5);
    if (frozen)
        snowflake()(cr, {22, 22, 52, 56}, rgb(255, 255, 255));
    else
        for (auto [x, y] : {std::pair{36.0, 40.0}, {58.0, 56.0}, {40.0, 68.0}, {60.0, 32.0}})
        {
            cairo_arc(cr, x, y, 2.2, 0, 6.283185307179586);
            setColour(cr, withAlpha(crust, 0.35));
            cairo_fill(cr);
        }
}

Picture toastPicture(std::string base, bool frozen)
{
    return {std::move(base), Scheme::layout, toastSize, toastSize, 1,
            [frozen](cairo_t* cr, int) { paintToast(cr, frozen); }};
}

// A horizontal fader's handle: a cap standing upright.
Picture handlePicture(std::string base)
{
    return {std::move(base), Scheme::layout, 22, 30, 1,
            [](cairo_t* cr, int) { paintFaderCap(cr, {2, 1, 18, 27}, legacy::cap); }};
}

// The pitch range window: a light recess that the spin box writes its brown number on.
void paintValueWindow(cairo_t* cr)
{
    const Box window{0.5, 0.5, 19, 17};
    roundedRect(cr, window, 2);
    fillVertical(cr, window, rgb(214, 202, 180), rgb(250, 245, 234));
    strokePath(cr, rgb(110, 90, 70), 1);
}

Picture arrowPicture(std::string base, Direction direction)
{
    return {std::move(base), Scheme::layout, 10, 8, 1, [direction](cairo_t* cr, int) {
                paintArrowhead(cr, {1.5, 1.5, 7, 5}, direction, legacy::lettering);
            }};
}

} // namespace

std::vector<Picture> legacyPictures()
{
    const KeyLook& key = legacy::key;
    KeyLook roundKey = key, toggleKey = key;
    roundKey.radius = 22;
    toggleKey.radius = 4.5;
    const Box pushBox{1, 1, 44, 44}, toggleBox{0, 0, 26, 10};
    std::vector<Picture> pictures;
    pictures.push_back(legacyBackground());
    pictures.push_back(toastPicture("toast", false));
    pictures.push_back(toastPicture("freeze", true));
    pictures.push_back(stillKey("burger", Scheme::layout, 30, 24, {1, 1, 28, 21}, key, threeBars()));
    pictures.push_back(stillKey("big_push", Scheme::layout, 46, 46, pushBox, roundKey, powerSymbol()));
    pictures.push_back(stillKey("big_push_pressed", Scheme::layout, 46, 46, pushBox, roundKey, powerSymbol(), true));
    pictures.push_back(stillLamp("led_off", 32, 16, 5, legacy::lamp, false));
    pictures.push_back(stillLamp("led_on", 32, 16, 5, legacy::lamp, true));
    for (const char* name : {"GATE", "reverse", "size"})
        pictures.push_back(knobStrip(std::string("knob_") + name, knobSize, knobFrames, legacy::knob));
    pictures.push_back(stillKey("toggle", Scheme::layout, 26, 10, toggleBox, toggleKey, indicatorBar()));
    pictures.push_back(stillKey("toggle_pressed", Scheme::layout, 26, 10, toggleBox, toggleKey, indicatorBar(), true));
    for (const char* name : {"pan", "pitch", "roll"})
        pictures.push_back(knobStrip(std::string("knob_") + name, knobSize, knobFrames, legacy::knob));
    pictures.push_back(handlePicture("slider_size"));
    pictures.push_back(handlePicture("slider_amount"));
    pictures.push_back({"pitch_range_value", Scheme::layout, 20, 18, 1, [](cairo_t* cr, int) { paintValueWindow(cr); }});
    pictures.push_back(arrowPicture("pitch_range_up", Direction::up));
    pictures.push_back(arrowPicture("pitch_range_down", Direction::down));
    return pictures;
}

} // namespace artwork
