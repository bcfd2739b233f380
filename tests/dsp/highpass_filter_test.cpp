#include "dsp/CHighLifeFilter.h"
#include "dsp/RandomGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979323846;

// RMS of the filter's answer to a unit sine, after it has settled.
double sineGain(int mode, double cycleFraction, float cutoff, float resonance)
{
    RandomGenerator random;
    CHighLifeFilter filter(random);
    double sum = 0.0;
    const int settle = 4000;
    const int length = 8000;
    for (int i = 0; i < settle + length; ++i)
    {
        const float in = static_cast<float>(std::sin(2.0 * kPi * cycleFraction * i));
        const float out = filter.work(in, cutoff, resonance, mode);
        if (i >= settle)
            sum += double(out) * out;
    }
    return std::sqrt(2.0 * sum / length);
}
} // namespace

TEST(CHighLifeFilter, DrawsExactlyOneValuePerCallInEveryMode)
{
    for (int mode : {1, 2, 3, 4, 5, 0, -1})
    {
        RandomGenerator used;
        RandomGenerator reference;
        CHighLifeFilter filter(used);
        for (int i = 0; i < 10; ++i)
        {
            const float out = filter.work(0.3f, 0.5f, 0.5f, mode);
            reference.next();
            if (mode < 1 || mode > 4)
            {
                EXPECT_EQ(out, 0.0f);
            }
        }
        EXPECT_EQ(used.next(), reference.next()) << "mode " << mode;
    }
}

TEST(CHighLifeFilter, UnknownModeStillUpdatesTheState)
{
    // Running five samples in mode 5 and the sixth in mode 2 equals running all six in
    // mode 2: only the returned value differs.
    RandomGenerator randomA;
    RandomGenerator randomB;
    CHighLifeFilter silentMode(randomA);
    CHighLifeFilter highPass(randomB);
    for (int i = 0; i < 5; ++i)
    {
        silentMode.work(0.25f * i, 0.4f, 0.7f, 5);
        highPass.work(0.25f * i, 0.4f, 0.7f, CHighLifeFilter::kHighPass);
    }
    EXPECT_EQ(silentMode.work(1.0f, 0.4f, 0.7f, CHighLifeFilter::kHighPass),
              highPass.work(1.0f, 0.4f, 0.7f, CHighLifeFilter::kHighPass));
}

TEST(CHighLifeFilter, ModesShapeTheSpectrumAsNamed)
{
    const float cutoff = 0.3f;
    const float resonance = 0.1f;
    const double low = 0.002;  // cycles per sample, far below the cutoff
    const double high = 0.4;   // far above
    EXPECT_GT(sineGain(CHighLifeFilter::kLowPass, low, cutoff, resonance), 0.8);
    EXPECT_LT(sineGain(CHighLifeFilter::kLowPass, high, cutoff, resonance), 0.1);
    EXPECT_LT(sineGain(CHighLifeFilter::kHighPass, low, cutoff, resonance), 0.1);
    EXPECT_GT(sineGain(CHighLifeFilter::kHighPass, high, cutoff, resonance), 0.8);
    EXPECT_LT(sineGain(CHighLifeFilter::kBandPass, low, cutoff, resonance), 0.2);
    EXPECT_LT(sineGain(CHighLifeFilter::kBandPass, high, cutoff, resonance), 0.2);
    EXPECT_GT(sineGain(CHighLifeFilter::kBandReject, low, cutoff, resonance), 0.8);
    EXPECT_GT(sineGain(CHighLifeFilter::kBandReject, high, cutoff, resonance), 0.8);
}

TEST(CHighLifeFilter, SilenceGivesTinyNoiseAndClearingRestartsTheFilter)
{
    RandomGenerator random;
    CHighLifeFilter filter(random);
    double peak = 0.0;
    double sum = 0.0;
    for (int i = 0; i < 20000; ++i)
    {
        const float out = filter.work(0.0f, 0.5f, 0.92f, CHighLifeFilter::kHighPass);
        ASSERT_TRUE(std::isfinite(out));
        ASSERT_TRUE(out == 0.0f || std::fpclassify(out) == FP_NORMAL) << "no denormals";
        peak = std::max(peak, double(std::fabs(out)));
        sum += std::fabs(out);
    }
    EXPECT_GT(sum, 0.0);
    EXPECT_LT(peak, 1e-4);
    EXPECT_GT(peak, 1e-6);

    // After a loud input, clear_filter returns it to the state of a new filter.
    for (int i = 0; i < 100; ++i)
        filter.work(1.0f, 0.5f, 0.92f, CHighLifeFilter::kHighPass);
    filter.clear_filter();
    RandomGenerator sameRandom = random;
    CHighLifeFilter fresh(sameRandom);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(filter.work(0.5f, 0.5f, 0.92f, CHighLifeFilter::kHighPass),
                  fresh.work(0.5f, 0.5f, 0.92f, CHighLifeFilter::kHighPass));
}
