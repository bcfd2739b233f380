#pragma once

#include <string>
#include <vector>

// Where the two layouts put their pictures (unzoomed layout pixels), and what a plain
// composition shows in each place.
namespace layout_tables {

struct Rect
{
    double left, top, right, bottom;

    double width() const { return right - left; }
    double height() const { return bottom - top; }
    bool overlaps(const Rect& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// A RACK control: a film strip whose frame has exactly the size of its rectangle.
struct RackControl
{
    std::string base;
    Rect rect;
    int frames;
    int shownFrame; // the frame the composition draws
};

inline const std::vector<RackControl> rackControls{
    {"vxp_burger", {778, 16, 816, 44}, 1, 0},
    {"vxp_power", {36, 8, 76, 58}, 2, 1},
    {"vxp_switch", {32, 70, 80, 124}, 2, 0},
    {"vxp_freeze", {36, 132, 74, 178}, 2, 0},
    {"vxp_knob_gate", {244, 202, 298, 256}, 127, 107},
    {"vxp_knob_reverse", {344, 202, 398, 256}, 127, 25},
    {"vxp_knob_fx", {440, 202, 494, 256}, 127, 63},
    {"vxp_push_edit", {450, 182, 496, 202}, 2, 1},
    {"vxp_knob_pan", {640, 202, 694, 256}, 127, 63},
    {"vxp_knob_pitch", {542, 202, 596, 256}, 127, 90},
    {"vxp_knob_roll", {734, 202, 788, 256}, 127, 0},
    {"vxp_slider_size", {84, 24, 140, 172}, 100, 49},
    {"vxp_slider_amount", {148, 24, 208, 172}, 100, 80},
    {"vxp_lcd_screen", {58, 208, 128, 240}, 13, 12},
    {"vxp_left", {56, 242, 92, 280}, 2, 0},
    {"vxp_right", {92, 242, 130, 280}, 2, 1},
    {"vxp_led_up", {180, 208, 196, 240}, 2, 1},
    {"vxp_up", {140, 206, 180, 246}, 2, 1},
    {"vxp_led_down", {180, 252, 200, 284}, 2, 0},
    {"vxp_down", {140, 246, 180, 280}, 2, 0},
};

// A LEGACY control: fixed top-left corner; its size is that of its picture, except the knobs
// (K x K squares, K the width of "knob_GATE.png") and the faders (112 wide tracks).
struct LegacyControl
{
    std::vector<std::string> pictures; // every picture that may show in this place
    double left, top;
    int frames = 1;           // frames of each picture's strip
    int shownPicture = 0;     // what the composition draws
    int shownFrame = 0;
    double trackWidth = 0;    // faders: the width the handle slides over
    double handleValue = 0;   // faders: 0..1
};

inline const std::vector<LegacyControl> legacyControls{
    {{"toast", "freeze"}, 30, 256},
    {{"burger"}, 566, 6},
    {{"big_push", "big_push_pressed"}, 144, 90, 1, 1},
    {{"led_off", "led_on"}, 151, 46, 1, 1},
    {{"knob_GATE"}, 132, 177, 128, 0, 108},
    {{"knob_reverse"}, 200, 177, 128, 0, 25},
    {{"knob_size"}, 268, 177, 128, 0, 64},
    {{"toggle", "toggle_pressed"}, 290, 236, 1, 1},
    {{"knob_pan"}, 336, 177, 128, 0, 64},
    {{"knob_pitch"}, 403, 177, 128, 0, 90},
    {{"knob_roll"}, 471, 177, 128, 0, 0},
    {{"slider_size"}, 140, 267, 1, 0, 0, 112, 0.5},
    {{"slider_amount"}, 271, 267, 1, 0, 0, 112, 0.8},
    {{"pitch_range_up"}, 440, 276},
    {{"pitch_range_down"}, 440, 285},
    {{"pitch_range_value"}, 420, 276},
    {{"led_off", "led_on"}, 458, 287, 1, 1},
    {{"toggle", "toggle_pressed"}, 461, 276, 1, 1},
    {{"led_off", "led_on"}, 490, 287},
    {{"toggle", "toggle_pressed"}, 493, 276},
};

inline constexpr double rackWidth = 860, rackHeight = 300, legacyWidth = 600, legacyHeight = 400;

} // namespace layout_tables
