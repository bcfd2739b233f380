#pragma once
#include <cstdint>

// Index of a hidden UI setting; the names are also the settings-file keys.
namespace HiddenParamIndex {
enum : int32_t {
    size = 0,       // editor view size: trunc(4v) 0 = 100 %, 1 = 150 %, 2 = 200 %, 3 = 75 %
    darkmode = 1,   // dark-mode switch
    scopestyle = 2, // oscilloscope style, trunc(2v)
    knobspeed = 3,  // drag speed of the editor's knobs
    movetoast = 4,  // toast picture motion
    editfx = 5,     // FX panel shown at 0.5 and above
    fxtab = 6,      // selected FX tab, index * 0.25
};
} // namespace HiddenParamIndex

// The seven UI settings that belong to the editor but live in the controller, so they
// outlive the editor and travel with the host's project. UI thread only.
class HiddenParameters {
public:
    static constexpr int32_t count = 7;

    HiddenParameters() noexcept;

    // Value i, or 0 for an index outside 0..6.
    double getParamValue(int32_t index) const noexcept;
    // Stores v when the index is 0..6 and v is a finite 0..1; else refuses and keeps the value.
    bool setParamValue(int32_t index, double value) noexcept;

private:
    double value[count]; // 0..1 each
};
