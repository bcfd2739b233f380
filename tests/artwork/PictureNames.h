#pragma once

#include <string>
#include <vector>

// The file names the editor loads, and how a base name becomes its scaled files.
namespace picture_names {

struct Scaled
{
    std::string name;
    double scale;
};

// RACK and LEGACY: base.png, base_x1.5.png, base_x2.png.
inline std::vector<Scaled> layoutFiles(const std::string& base)
{
    return {{base + ".png", 1.0}, {base + "_x1.5.png", 1.5}, {base + "_x2.png", 2.0}};
}

// Settings overlay: base.png, base_1.5x.png, base_2x.png.
inline std::vector<Scaled> overlayFiles(const std::string& base)
{
    return {{base + ".png", 1.0}, {base + "_1.5x.png", 1.5}, {base + "_2x.png", 2.0}};
}

// The help button's pressed set shares help.png and has its own larger files.
inline std::vector<Scaled> pressedHelpFiles()
{
    return {{"help.png", 1.0}, {"help__1.5x.png", 1.5}, {"help__2x.png", 2.0}};
}

inline const std::vector<std::string> rackBases{
    "vxp_background", "vxp_power", "vxp_switch", "vxp_freeze", "vxp_slider_size", "vxp_slider_amount",
    "vxp_knob_gate", "vxp_knob_reverse", "vxp_knob_fx", "vxp_knob_pitch", "vxp_knob_pan", "vxp_knob_roll",
    "vxp_lcd_screen", "vxp_left", "vxp_right", "vxp_up", "vxp_down", "vxp_led_up", "vxp_led_down",
    "vxp_push_edit", "vxp_burger"};

inline const std::vector<std::string> legacyBases{
    "background", "toast", "freeze", "burger", "big_push", "big_push_pressed", "led_off", "led_on",
    "knob_GATE", "knob_reverse", "knob_size", "toggle", "toggle_pressed", "knob_pan", "knob_pitch", "knob_roll",
    "slider_size", "slider_amount", "pitch_range_value", "pitch_range_up", "pitch_range_down"};

inline const std::vector<std::string> overlayBases{"quit", "quit_pressed", "help", "big_logo"};

// Every set of scaled files the editor and its menus load, 1x first in each set.
inline std::vector<std::vector<Scaled>> allSets()
{
    std::vector<std::vector<Scaled>> sets;
    for (const std::string& base : rackBases)
        sets.push_back(layoutFiles(base));
    for (const std::string& base : legacyBases)
        sets.push_back(layoutFiles(base));
    for (const std::string& base : overlayBases)
        sets.push_back(overlayFiles(base));
    sets.push_back(pressedHelpFiles());
    sets.push_back({{"checkmark.png", 1.0}});
    return sets;
}

} // namespace picture_names
