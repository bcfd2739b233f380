#include "dsp/CParamSmooth.h"
#include "dsp/EnvelopeFollower.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(Smoother, CoefficientUsesTheSinglePrecisionMillisecondAndTheStepStartsFromZero)
{
    const auto expectedA = [](double ms, double rate) {
        return std::exp(-6.283185307179586 / (ms * 0.0010000000474974513 * rate));
    };
    CParamSmooth smoother(60.0, 44100.0);
    EXPECT_DOUBLE_EQ(smoother.getA(), expectedA(60.0, 44100.0));
    EXPECT_DOUBLE_EQ(smoother.getA() + smoother.getB(), 1.0);
    ASSERT_TRUE(smoother.init(4.0, 48000.0));
    EXPECT_DOUBLE_EQ(smoother.getA(), expectedA(4.0, 48000.0));

    ASSERT_TRUE(smoother.init(4.0, 44100.0));
    const double a = smoother.getA();
    for (int n = 1; n <= 1000; ++n)
        EXPECT_NEAR(smoother.process(1.0), 1.0 - std::pow(a, n), 1e-12);
    smoother.init(4.0, 44100.0); // init starts again from zero
    EXPECT_NEAR(smoother.process(1.0), smoother.getB(), 1e-15);

    for (const auto& [ms, rate] : {std::pair{0.0, 44100.0}, {-5.0, 44100.0}, {60.0, 0.0}, {kNaN, 44100.0},
                                   {60.0, std::numeric_limits<double>::infinity()}})
        EXPECT_FALSE(smoother.init(ms, rate)) << ms << " ms at " << rate;
    EXPECT_EQ(smoother.getA(), a) << "refused settings change nothing";
}

TEST(EnvelopeFollower, ReachesAndLeavesAStepWithinItsTimesAndRefusesUnusableSettings)
{
    EnvelopeFollower follower;
    ASSERT_TRUE(follower.setup(10.0, 250.0, 44100));
    for (int n = 1; n < 441; ++n)
        EXPECT_LT(follower.process(-1.0f), 0.99) << "the magnitude is followed";
    EXPECT_NEAR(follower.process(-1.0f), 0.99, 1e-9);
    for (int n = 0; n < 20000; ++n)
        follower.process(1.0f);
    const double peak = follower.getEnvelope();
    for (int n = 0; n < 11025; ++n)
        follower.process(0.0f);
    EXPECT_NEAR(follower.getEnvelope(), 0.01 * peak, 1e-9);
    EXPECT_GT(follower.process(0.5f), 0.01) << "louder input rises again with the attack";

    const double attack = follower.getAttackCoefficient();
    EXPECT_FALSE(follower.setup(0.0, 250.0, 48000));
    EXPECT_FALSE(follower.setup(10.0, -1.0, 48000));
    EXPECT_FALSE(follower.setup(10.0, 250.0, 0));
    EXPECT_FALSE(follower.setup(kNaN, 250.0, 48000));
    EXPECT_EQ(follower.getAttackCoefficient(), attack);
}
