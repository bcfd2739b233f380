#include "dsp/PitchCurves.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
const PitchCurves curves;
} // namespace

TEST(PitchCurves, ScratchRunsForwardThenBackwardsFaster)
{
    EXPECT_NEAR(curves.at(PitchCurves::kScratch, 0.0), 0.8, 1e-12);
    EXPECT_NEAR(curves.at(PitchCurves::kScratch, 511.0), -2.267, 1e-3);
    // The rate crosses zero near point 213, 42 % into the slice.
    EXPECT_GT(curves.at(PitchCurves::kScratch, 212.0), 0.0);
    EXPECT_LT(curves.at(PitchCurves::kScratch, 214.0), 0.0);
    for (int i = 1; i < PitchCurves::kPoints; ++i)
        EXPECT_LT(curves.at(PitchCurves::kScratch, i), curves.at(PitchCurves::kScratch, i - 1));
}

TEST(PitchCurves, TapeStopFallsToSixTenthsAndVibratoCyclesOnceAroundOne)
{
    EXPECT_DOUBLE_EQ(curves.at(PitchCurves::kTapeStop, 0.0), 1.0);
    EXPECT_NEAR(curves.at(PitchCurves::kTapeStop, 511.0), 0.585, 1e-3);
    double sum = 0.0;
    for (int i = 0; i < PitchCurves::kPoints; ++i)
        sum += curves.at(PitchCurves::kTapeStop, i);
    EXPECT_NEAR(sum / PitchCurves::kPoints, 0.77, 0.01) << "three quarters of the material is played";

    EXPECT_NEAR(curves.at(PitchCurves::kVibrato, 0.0), 0.85, 1e-12);
    EXPECT_NEAR(curves.at(PitchCurves::kVibrato, 256.0), 1.15, 1e-12);
    EXPECT_NEAR(curves.at(PitchCurves::kVibrato, 511.0), 0.85, 1e-3);
    for (int i = 0; i < PitchCurves::kPoints; ++i) {
        EXPECT_GE(curves.at(PitchCurves::kVibrato, i), 0.85);
        EXPECT_LE(curves.at(PitchCurves::kVibrato, i), 1.15);
    }
}

TEST(PitchCurves, PositionsOutsideTheCurveStayOnItsEnds)
{
    // Very long slices give tiny steps and very short ones huge positions; none may
    // reach an out-of-range conversion.
    for (int curve = 0; curve < PitchCurves::kCurveCount; ++curve) {
        const double first = curves.at(curve, 0.0);
        const double last = curves.at(curve, 511.0);
        for (const double beyond : {511.999, 1e12, std::numeric_limits<double>::infinity()})
            EXPECT_EQ(curves.at(curve, beyond), last) << curve << " at " << beyond;
        for (const double before : {1e-300, -1e12, std::numeric_limits<double>::quiet_NaN()})
            EXPECT_EQ(curves.at(curve, before), first) << curve << " at " << before;
    }
}
