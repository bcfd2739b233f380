#include "dsp/CParamSmooth.h"
#include "dsp/EnvelopeFollower.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Smoother, CoefficientsUseTheSinglePrecisionMillisecond)
{
    CParamSmooth smoother(60.0, 44100.0);
    EXPECT_DOUBLE_EQ(smoother.getA(), std::exp(-6.283185307179586 / (60.0 * 0.0010000000474974513 * 44100.0)));
    EXPECT_NEAR(smoother.getA(), 0.997628, 1e-6);
    EXPECT_DOUBLE_EQ(smoother.getA() + smoother.getB(), 1.0);

    ASSERT_TRUE(smoother.init(4.0, 48000.0));
    EXPECT_DOUBLE_EQ(smoother.getA(), std::exp(-6.283185307179586 / (4.0 * 0.0010000000474974513 * 48000.0)));
}

TEST(Smoother, StepResponseApproachesTheTargetFromZero)
{
    CParamSmooth smoother(4.0, 44100.0);
    const double a = smoother.getA();
    double z = 0.0;
    for (int n = 1; n <= 1000; ++n) {
        z = smoother.process(1.0);
        EXPECT_NEAR(z, 1.0 - std::pow(a, n), 1e-12);
    }
    EXPECT_GT(z, 0.999);
    smoother.init(4.0, 44100.0); // init starts again from zero
    EXPECT_NEAR(smoother.process(1.0), smoother.getB(), 1e-15);
}

TEST(Smoother, UnusableTimesAndRatesAreRefused)
{
    CParamSmooth smoother(60.0, 44100.0);
    const double a = smoother.getA();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(smoother.init(0.0, 44100.0));
    EXPECT_FALSE(smoother.init(-5.0, 44100.0));
    EXPECT_FALSE(smoother.init(60.0, 0.0));
    EXPECT_FALSE(smoother.init(nan, 44100.0));
    EXPECT_FALSE(smoother.init(60.0, std::numeric_limits<double>::infinity()));
    EXPECT_EQ(smoother.getA(), a);
}

TEST(EnvelopeFollower, ReachesNinetyNinePercentOfAStepWithinTheAttackTime)
{
    EnvelopeFollower follower;
    ASSERT_TRUE(follower.setup(10.0, 250.0, 44100));
    EXPECT_DOUBLE_EQ(follower.getAttackCoefficient(), std::pow(0.01, 1.0 / 441.0));
    EXPECT_DOUBLE_EQ(follower.getReleaseCoefficient(), std::pow(0.01, 1.0 / 11025.0));
    for (int n = 1; n < 441; ++n)
        EXPECT_LT(follower.process(-1.0f), 0.99); // the magnitude is followed
    EXPECT_NEAR(follower.process(-1.0f), 0.99, 1e-9);
}

TEST(EnvelopeFollower, FallsToOnePercentWithinTheReleaseTime)
{
    EnvelopeFollower follower;
    ASSERT_TRUE(follower.setup(10.0, 250.0, 44100));
    for (int n = 0; n < 20000; ++n)
        follower.process(1.0f);
    const double peak = follower.getEnvelope();
    for (int n = 0; n < 11025; ++n)
        follower.process(0.0f);
    EXPECT_NEAR(follower.getEnvelope(), 0.01 * peak, 1e-9);
    EXPECT_GT(follower.process(0.5f), 0.01); // louder input rises again with the attack
}

TEST(EnvelopeFollower, UnusableSettingsAreRefused)
{
    EnvelopeFollower follower;
    ASSERT_TRUE(follower.setup(10.0, 250.0, 48000));
    const double attack = follower.getAttackCoefficient();
    EXPECT_FALSE(follower.setup(0.0, 250.0, 48000));
    EXPECT_FALSE(follower.setup(10.0, -1.0, 48000));
    EXPECT_FALSE(follower.setup(10.0, 250.0, 0));
    EXPECT_FALSE(follower.setup(std::numeric_limits<double>::quiet_NaN(), 250.0, 48000));
    EXPECT_EQ(follower.getAttackCoefficient(), attack);
}
