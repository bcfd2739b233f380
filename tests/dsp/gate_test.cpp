#include "dsp/Gater2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
std::vector<double> gateGains(Gater2& gate, int32_t count)
{
    std::vector<double> gains;
    for (int32_t i = 0; i < count; ++i)
        gains.push_back(gate.process(1.0f));
    return gains;
}
} // namespace

TEST(Gate, LengthsFollowTheSampleRateAndTheGateAmount)
{
    Gater2 gate;
    EXPECT_EQ(gate.getAttackLength(), 88.0);
    EXPECT_EQ(gate.getReleaseLength(), 176.0);
    gate.setSize(22050);
    gate.setValue(0.5f);
    EXPECT_EQ(gate.getOpenLength(), 11378);
    gate.setValue(0.0f);
    EXPECT_EQ(gate.getOpenLength(), 882); // 20 ms at least
    gate.setValue(1.0f);
    EXPECT_EQ(gate.getOpenLength(), 22050 - 176);

    for (int32_t rate : {48000, 96000}) {
        ASSERT_TRUE(gate.init(rate));
        EXPECT_EQ(gate.getAttackLength(), std::floor(2.0 * rate / 1000.0));
        EXPECT_EQ(gate.getReleaseLength(), std::floor(4.0 * rate / 1000.0));
        gate.setValue(0.0f);
        EXPECT_EQ(gate.getOpenLength(), rate / 50);
    }
}

TEST(Gate, SlicesShorterThanTheMinimumStayOpenTwentyMilliseconds)
{
    Gater2 gate;
    gate.setSize(500);
    for (float amount : {0.0f, 0.5f, 1.0f}) {
        gate.setValue(amount);
        EXPECT_EQ(gate.getOpenLength(), 882);
    }
}

TEST(Gate, AttackOpenAndSquareRootReleaseGains)
{
    Gater2 gate;
    gate.setSize(22050);
    gate.setValue(0.5f);
    gate.start();
    const std::vector<double> gains = gateGains(gate, 11378 + 200);
    EXPECT_EQ(gains[0], 0.0);
    EXPECT_NEAR(gains[44], 0.5, 1e-7);
    EXPECT_EQ(gains[88], 1.0);
    EXPECT_EQ(gains[89], 1.0);
    EXPECT_EQ(gains[11377], 1.0);
    EXPECT_EQ(gains[11378], 1.0); // release table starts at 1
    EXPECT_NEAR(gains[11378 + 175], std::sqrt(1.0 / 176.0), 1e-7);
    for (size_t k = 1; k < 176; ++k)
        EXPECT_LT(gains[11378 + k], gains[11378 + k - 1]);
    EXPECT_EQ(gains[11378 + 176], 0.0);
    EXPECT_EQ(gains.back(), 0.0);
}

TEST(Gate, FullAmountReleasesExactlyAtTheSliceEnd)
{
    Gater2 gate;
    gate.setSize(11025);
    gate.setValue(1.0f);
    gate.start();
    const std::vector<double> gains = gateGains(gate, 11025 + 10);
    EXPECT_GT(gains[11024], 0.0);
    EXPECT_EQ(gains[11025], 0.0);
}

TEST(Gate, NewValuesApplyAtTheNextStartAndStartReopens)
{
    Gater2 gate;
    gate.setSize(22050);
    gate.setValue(0.0f);
    gate.start();
    gateGains(gate, 2000);
    gate.setValue(1.0f); // the running slice keeps its release point
    EXPECT_EQ(gate.process(1.0f), 0.0f);
    gate.start();
    const std::vector<double> gains = gateGains(gate, 3000);
    EXPECT_EQ(gains[0], 0.0);
    EXPECT_EQ(gains[2999], 1.0);
}

TEST(Gate, UnusableValuesAreRefused)
{
    Gater2 gate;
    EXPECT_FALSE(gate.init(0));
    EXPECT_FALSE(gate.init(-44100));
    EXPECT_EQ(gate.getReleaseLength(), 176.0);
    gate.setSize(22050);
    gate.setValue(std::nanf(""));
    EXPECT_EQ(gate.getOpenLength(), 882);
    gate.setValue(7.0f);
    EXPECT_EQ(gate.getOpenLength(), 22050 - 176);
}
