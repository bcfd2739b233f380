#include "dsp/BitReduzer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
// A ramp that never repeats a value, so a held frame is easy to tell apart.
std::vector<float> crush(BitReduzer& crusher, int frames)
{
    std::vector<float> out;
    for (int i = 0; i < frames; ++i)
    {
        float l = static_cast<float>(i + 1);
        float r = -static_cast<float>(i + 1);
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
    const struct
    {
        float rate;
        int frames;
    } cases[] = {{0.0f, 1}, {0.5f, 13}, {1.0f, 25}, {-3.0f, 1}, {7.0f, 25}};
    for (const auto& c : cases)
    {
        crusher.setReduceRate(c.rate);
        EXPECT_EQ(crusher.holdLength(), c.frames) << c.rate;
    }
    crusher.setReduceRate(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(crusher.holdLength(), 25) << "NaN is refused";
}

TEST(BitReduzer, HoldsEveryNthFrameAndMixesItWithTheInput)
{
    for (float rate : {0.0f, 0.5f, 1.0f})
    {
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
    const std::vector<float> out = crush(half, 13);
    EXPECT_FLOAT_EQ(out[12], 0.5f * 13.0f + 0.5f * 1.0f);
}

TEST(BitReduzer, HoldLengthOneOrDryLeavesTheSignalUnchanged)
{
    BitReduzer one;
    one.setDryWet(1.0f);
    const std::vector<float> held = crush(one, 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(held[i], static_cast<float>(i + 1));

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
    const float expected[] = {10.0f, 10.0f, 13.0f, 13.0f, 13.0f, 13.0f, 17.0f};
    for (int i = 0; i < 7; ++i)
    {
        float l = static_cast<float>(11 + i);
        float r = l;
        crusher.process(l, r);
        EXPECT_EQ(l, expected[i]) << i; // the last frame held at hold 1 carries on until frame 12
    }
}
