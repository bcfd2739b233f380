#pragma once
// Where the layouts put their pictures (layout pixels), as the editor adds them: the power button last, on top.
#include <string>
#include <utility>
#include <vector>

namespace layout_tables {

struct Rect {
    double left, top, right, bottom;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

// A RACK control: a film strip whose frame has exactly the size of its rectangle; the
// parameter it shows (-1: none).
struct RackControl {
    std::string base;
    Rect rect;
    int frames, tag;
};

inline const std::vector<RackControl> rackControls{
    {"vxp_burger", {778, 16, 816, 44}, 1, -1}, {"vxp_switch", {32, 70, 80, 124}, 2, 14},
    {"vxp_freeze", {36, 132, 74, 178}, 2, 13}, {"vxp_knob_gate", {244, 202, 298, 256}, 127, 1},
    {"vxp_knob_reverse", {344, 202, 398, 256}, 127, 2}, {"vxp_knob_fx", {440, 202, 494, 256}, 127, 3},
    {"vxp_push_edit", {450, 182, 496, 202}, 2, -1}, {"vxp_knob_pan", {640, 202, 694, 256}, 127, 5},
    {"vxp_knob_pitch", {542, 202, 596, 256}, 127, 4}, {"vxp_knob_roll", {734, 202, 788, 256}, 127, 6},
    {"vxp_slider_size", {84, 24, 140, 172}, 100, 7}, {"vxp_slider_amount", {148, 24, 208, 172}, 100, 8},
    {"vxp_lcd_screen", {58, 208, 128, 240}, 13, 9}, {"vxp_left", {56, 242, 92, 280}, 2, -1},
    {"vxp_right", {92, 242, 130, 280}, 2, -1}, {"vxp_led_up", {180, 208, 196, 240}, 2, -1},
    {"vxp_up", {140, 206, 180, 246}, 2, 10}, {"vxp_led_down", {180, 252, 200, 284}, 2, -1},
    {"vxp_down", {140, 246, 180, 280}, 2, 11}, {"vxp_power", {36, 8, 76, 58}, 2, 0},
};

// A LEGACY control's corner; sized by its picture, but knobs K x K (width of "knob_GATE.png"), faders 112 wide.
struct LegacyControl {
    std::vector<std::string> pictures; // every picture that may show in this place
    double left, top;
    int frames = 1;        // frames of each picture's strip
    double trackWidth = 0; // faders: the width the handle slides over
    int tag = -1;          // the parameter it shows
};

inline const std::vector<LegacyControl> legacyControls{
    {{"toast", "freeze"}, 30, 256, 1, 0, 13}, {{"burger"}, 566, 6}, {{"led_off", "led_on"}, 151, 46},
    {{"knob_GATE"}, 132, 177, 128, 0, 1}, {{"knob_reverse"}, 200, 177, 128, 0, 2}, {{"knob_size"}, 268, 177, 128, 0, 3},
    {{"toggle", "toggle_pressed"}, 290, 236}, {{"knob_pan"}, 336, 177, 128, 0, 5}, {{"knob_pitch"}, 403, 177, 128, 0, 4},
    {{"knob_roll"}, 471, 177, 128, 0, 6}, {{"slider_size"}, 140, 267, 1, 112, 7}, {{"slider_amount"}, 271, 267, 1, 112, 8},
    {{"pitch_range_up"}, 440, 276}, {{"pitch_range_down"}, 440, 285}, {{"pitch_range_value"}, 420, 276, 1, 0, 9},
    {{"led_off", "led_on"}, 458, 287}, {{"toggle", "toggle_pressed"}, 461, 276, 1, 0, 10},
    {{"led_off", "led_on"}, 490, 287}, {{"toggle", "toggle_pressed"}, 493, 276, 1, 0, 11},
    {{"big_push", "big_push_pressed"}, 144, 90, 1, 0, 0},
};

// A LEGACY control's rectangle, sized by the 1x pictures: sizeOf("name.png") gives {width, height}.
template <typename SizeOf>
Rect legacyRect(const LegacyControl& control, SizeOf sizeOf)
{
    const auto knob = sizeOf("knob_GATE.png").first;
    const auto [width, height] = control.frames > 1 ? std::pair(knob, knob) : sizeOf(control.pictures[0] + ".png");
    const double wide = control.trackWidth > 0 ? control.trackWidth : width;
    return {control.left, control.top, control.left + wide, control.top + height};
}

} // namespace layout_tables
