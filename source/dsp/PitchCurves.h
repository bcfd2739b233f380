#pragma once
#include <cstdint>

#include "ParameterValue.h"

// The three fixed play-rate curves of the pitch effects, 512 points each, stretched
// over one slice: scratch, tape stop and vibrato.
class PitchCurves {
public:
    static constexpr int32_t kCurveCount = 3;
    static constexpr int32_t kPoints = 512;
    enum Id : int32_t { kScratch = 0, kTapeStop = 1, kVibrato = 2 };

    PitchCurves();

    // The curve a "PitchFx Id" value plays: int(2v) of the stored value, so tape stop from 0.5
    // and vibrato at 1 only.
    static int32_t idOf(double value) noexcept { return static_cast<int32_t>(2.0f * normalisedValue(value)); }

    // Rate at a curve position; positions past the end hold the last point, negative
    // and NaN positions the first.
    double at(int32_t curve, double position) const noexcept
    {
        // Clamped while still a double: converting a position beyond the int range is undefined.
        const double clamped = position > 0.0 ? (position < kPoints - 1 ? position : kPoints - 1) : 0.0;
        return points[curve][static_cast<int32_t>(clamped)];
    }

private:
    double points[kCurveCount][kPoints]; // play rates
};
