#include "PitchCurves.h"

#include <cmath>

PitchCurves::PitchCurves()
{
    for (int32_t i = 0; i < kPoints; ++i) {
        points[kScratch][i] = 1.8 * std::cos(4.712388981 * i * 0.001953125 * 0.5) - 1.0;
        points[kTapeStop][i] = std::exp(-i * 0.00105);
        points[kVibrato][i] = 1.0 - std::cos(0.001953125 * i * 6.283185308) * 0.15;
    }
}
