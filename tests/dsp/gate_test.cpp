#include "dsp/Gater2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
// Gains of the first count samples of a slice of sliceSize samples at the given amount.
std::vector<double> sliceGains(Gater2& gate, int32_t sliceSize, float amount, int32_t count)
{
    gate.setSize(sliceSize);
    gate.setValue(amount);
    gate.start();
    std::vector<double> gains;
    for (int32_t i = 0; i < count; ++i)
        gains.push_back(gate.process(1.0f));
    return gains;
}
} // namespace

TEST(Gate, OpenLengthFollowsTheAmountWithinTwentyMillisecondsAndTheSlice)
{
    Gater2 gate;
    gate.setSize(22050);
    const std::pair<float, int32_t> cases[] = {
        {0.5f, 11378}, {0.0f, 882}, {1.0f, 22050 - 176}, {std::nanf(""), 882}, {7.0f, 22050 - 176}};
    for (const auto& [amount, length] : cases) {
        gate.setValue(amount);
        EXPECT_EQ(gate.getOpenLength(), length) << amount;
    }
    gate.setSize(500); // shorter than the minimum
    for (float amount : {0.0f, 1.0f}) {
        gate.setValue(amount);
        EXPECT_EQ(gate.getOpenLength(), 882);
    }
    for (int32_t rate : {48000, 96000}) {
        ASSERT_TRUE(gate.init(rate));
        EXPECT_EQ(gate.getAttackLength(), std::floor(2.0 * rate / 1000.0));
        EXPECT_EQ(gate.getReleaseLength(), std::floor(4.0 * rate / 1000.0));
        gate.setValue(0.0f);
        EXPECT_EQ(gate.getOpenLength(), rate / 50);
    }
    EXPECT_FALSE(gate.init(0));
    EXPECT_FALSE(gate.init(-44100));
    EXPECT_EQ(gate.getReleaseLength(), 384.0) << "a refused rate changes nothing";
}

TEST(Gate, AttackOpenAndSquareRootReleaseGains)
{
    Gater2 gate;
    const std::vector<double> gains = sliceGains(gate, 22050, 0.5f, 11378 + 200);
    EXPECT_EQ(gains[0], 0.0);
    EXPECT_NEAR(gains[44], 0.5, 1e-7);
    EXPECT_EQ(gains[88], 1.0);
    EXPECT_EQ(gains[11377], 1.0);
    EXPECT_EQ(gains[11378], 1.0) << "the release table starts at 1";
    EXPECT_NEAR(gains[11378 + 175], std::sqrt(1.0 / 176.0), 1e-7);
    for (size_t k = 1; k < 176; ++k)
        EXPECT_LT(gains[11378 + k], gains[11378 + k - 1]);
    EXPECT_EQ(gains[11378 + 176], 0.0);
    EXPECT_EQ(gains.back(), 0.0);

    const std::vector<double> full = sliceGains(gate, 11025, 1.0f, 11025 + 10);
    EXPECT_GT(full[11024], 0.0);
    EXPECT_EQ(full[11025], 0.0) << "a full amount releases exactly at the slice end";
}

TEST(Gate, NewValuesApplyAtTheNextStartAndStartReopens)
{
    Gater2 gate;
    sliceGains(gate, 22050, 0.0f, 2000);
    gate.setValue(1.0f); // the running slice keeps its release point
    EXPECT_EQ(gate.process(1.0f), 0.0f);
    const std::vector<double> gains = sliceGains(gate, 22050, 1.0f, 3000);
    EXPECT_EQ(gains[0], 0.0);
    EXPECT_EQ(gains[2999], 1.0);
}
