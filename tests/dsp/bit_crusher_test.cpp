#include "dsp/BitReduzer.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {
// Crushes a ramp 1, 2, 3 ... that never repeats a value, so a held frame is easy to tell.
std::vector<float> crush(BitReduzer& crusher, int frames, int first = 1)
{
    std::vector<float> out;
    for (int i = 0; i < frames; ++i) {
        float l = static_cast<float>(first + i);
        float r = -l;
        crusher.process(l, r);
        EXPECT_EQ(r, -l);
        out.push_back(l);
    }
    return out;
}
} // namespace

TEST(BitReduzer, ReduceRateMapsToHoldLengthsOneToTwentyFive)
{
    BitReduzer crusher;
    EXPECT_EQ(crusher.holdLength(), 1);
    const std::pair<float, int> cases[] = {{0.0f, 1}, {0.5f, 13}, {1.0f, 25}, {-3.0f, 1}, {7.0f, 25}};
    for (const auto& [rate, frames] : cases) {
        crusher.setReduceRate(rate);
        EXPECT_EQ(crusher.holdLength(), frames) << rate;
    }
    crusher.setReduceRate(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(crusher.holdLength(), 25) << "NaN is refused";
}

TEST(BitReduzer, HoldsEveryNthFrameMixedWithTheInputAndDryPassesUnchanged)
{
    for (float rate : {0.0f, 0.5f, 1.0f}) {
        BitReduzer crusher;
        crusher.setReduceRate(rate);
        crusher.setDryWet(1.0f);
        const int hold = crusher.holdLength();
        const std::vector<float> out = crush(crusher, 3 * hold + 5);
        for (int i = 0; i < static_cast<int>(out.size()); ++i)
            EXPECT_EQ(out[i], static_cast<float>(i / hold * hold + 1)) << "hold " << hold << ", frame " << i;
    }
    BitReduzer half; // default mix 0.5
    half.setReduceRate(0.5f);
    EXPECT_FLOAT_EQ(crush(half, 13)[12], 0.5f * 13.0f + 0.5f * 1.0f);

    BitReduzer dry;
    dry.setReduceRate(1.0f);
    dry.setDryWet(0.0f);
    dry.setDryWet(std::numeric_limits<float>::quiet_NaN()); // refused
    const std::vector<float> passed = crush(dry, 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(passed[i], static_cast<float>(i + 1));
}

TEST(BitReduzer, HoldPhaseRunsOnAcrossRateChanges)
{
    // The count is free-running: after 10 frames at hold 1, hold 4 next samples at
    // frame 12 (the next multiple of 4), not at once.
    BitReduzer crusher;
    crusher.setDryWet(1.0f);
    crush(crusher, 10);
    crusher.setReduceRate(3.0f / 24.0f);
    ASSERT_EQ(crusher.holdLength(), 4);
    EXPECT_EQ(crush(crusher, 7, 11), (std::vector<float>{10, 10, 13, 13, 13, 13, 17}));
}
