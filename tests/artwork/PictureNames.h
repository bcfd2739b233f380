#pragma once
// The file names the editor loads: each picture as a set of a 1x, a 1.5x and a 2x file.
#include "LayoutTables.h"

#include <set>

namespace picture_names {

struct Scaled {
    std::string name;
    double scale;
};

// RACK and LEGACY by default: base.png, base_x1.5.png, base_x2.png.
inline std::vector<Scaled> layoutFiles(const std::string& base, const char* large = "_x1.5", const char* larger = "_x2")
{
    return {{base + ".png", 1.0}, {base + large + ".png", 1.5}, {base + larger + ".png", 2.0}};
}

// Every set the editor and menus load, 1x first: backgrounds, controls, overlay, menu check mark.
inline std::vector<std::vector<Scaled>> allSets()
{
    std::vector<std::vector<Scaled>> sets {layoutFiles("vxp_background"), layoutFiles("background")};
    std::set<std::string> bases;
    for (const auto& control : layout_tables::rackControls)
        sets.push_back(layoutFiles(control.base));
    for (const auto& control : layout_tables::legacyControls)
        for (const std::string& picture : control.pictures)
            if (bases.insert(picture).second) // some show in several places
                sets.push_back(layoutFiles(picture));
    for (const char* base : {"quit", "quit_pressed", "help", "big_logo"})
        sets.push_back(layoutFiles(base, "_1.5x", "_2x"));
    sets.push_back(layoutFiles("help", "__1.5x", "__2x")); // the help button pressed shares help.png
    sets.push_back({{"checkmark.png", 1.0}});
    return sets;
}

} // namespace picture_names
