#pragma once
#include <cstdint>

// The three fixed play-rate curves of the pitch effects, 512 points each, stretched
// over one slice: scratch, tape stop and vibrato.
class PitchCurves {
public:
    static constexpr int32_t kCurveCount = 3;
    static constexpr int32_t kPoints = 512;
    enum Id : int32_t { kScratch = 0, kTapeStop = 1, kVibrato = 2 };

    PitchCurves();

    // Rate at a curve position; positions past the end hold the last point.
    double at(int32_t curve, double position) const noexcept
    {
        const auto point = position < kPoints - 1 ? static_cast<int32_t>(position) : kPoints - 1;
        return points[curve][point < 0 ? 0 : point];
    }

private:
    double points[kCurveCount][kPoints]; // play rates
};
