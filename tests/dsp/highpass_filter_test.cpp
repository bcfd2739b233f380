#include "dsp/CHighLifeFilter.h"
#include "dsp/RandomGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// RMS of the filter's answer to a unit sine, after it has settled.
double sineGain(int mode, double cycleFraction)
{
    RandomGenerator random;
    CHighLifeFilter filter(random);
    double sum = 0.0;
    const int settle = 4000, length = 8000;
    for (int i = 0; i < settle + length; ++i) {
        const float out = filter.work(static_cast<float>(std::sin(2.0 * M_PI * cycleFraction * i)), 0.3f, 0.1f, mode);
        if (i >= settle)
            sum += double(out) * out;
    }
    return std::sqrt(2.0 * sum / length);
}
} // namespace

TEST(CHighLifeFilter, DrawsOneValuePerCallInEveryModeAndAnUnknownModeStillUpdatesTheState)
{
    for (int mode : {1, 2, 3, 4, 5, 0, -1}) {
        RandomGenerator used, reference;
        CHighLifeFilter filter(used);
        for (int i = 0; i < 10; ++i) {
            const float out = filter.work(0.3f, 0.5f, 0.5f, mode);
            reference.next();
            if (mode < 1 || mode > 4) {
                EXPECT_EQ(out, 0.0f);
            }
        }
        EXPECT_EQ(used.next(), reference.next()) << "mode " << mode;
    }
    // Five samples in mode 5 and the sixth in mode 2 equal all six in mode 2.
    RandomGenerator randomA, randomB;
    CHighLifeFilter silentMode(randomA), highPass(randomB);
    for (int i = 0; i < 5; ++i) {
        silentMode.work(0.25f * i, 0.4f, 0.7f, 5);
        highPass.work(0.25f * i, 0.4f, 0.7f, CHighLifeFilter::kHighPass);
    }
    EXPECT_EQ(silentMode.work(1.0f, 0.4f, 0.7f, CHighLifeFilter::kHighPass),
              highPass.work(1.0f, 0.4f, 0.7f, CHighLifeFilter::kHighPass));
}

TEST(CHighLifeFilter, ModesShapeTheSpectrumAsNamed)
{
    const double low = 0.002, high = 0.4; // cycles per sample, far below and far above the cutoff
    EXPECT_GT(sineGain(CHighLifeFilter::kLowPass, low), 0.8);
    EXPECT_LT(sineGain(CHighLifeFilter::kLowPass, high), 0.1);
    EXPECT_LT(sineGain(CHighLifeFilter::kHighPass, low), 0.1);
    EXPECT_GT(sineGain(CHighLifeFilter::kHighPass, high), 0.8);
    EXPECT_LT(sineGain(CHighLifeFilter::kBandPass, low), 0.2);
    EXPECT_LT(sineGain(CHighLifeFilter::kBandPass, high), 0.2);
    EXPECT_GT(sineGain(CHighLifeFilter::kBandReject, low), 0.8);
    EXPECT_GT(sineGain(CHighLifeFilter::kBandReject, high), 0.8);
}

TEST(CHighLifeFilter, SilenceGivesTinyNoiseWithoutDenormalsAndClearingRestartsTheFilter)
{
    RandomGenerator random;
    CHighLifeFilter filter(random);
    double peak = 0.0;
    for (int i = 0; i < 20000; ++i) {
        const float out = filter.work(0.0f, 0.5f, 0.92f, CHighLifeFilter::kHighPass);
        ASSERT_TRUE(out == 0.0f || std::fpclassify(out) == FP_NORMAL) << "no denormals or non-finite values";
        peak = std::max(peak, double(std::fabs(out)));
    }
    EXPECT_LT(peak, 1e-4);
    EXPECT_GT(peak, 1e-6);

    for (int i = 0; i < 100; ++i)
        filter.work(1.0f, 0.5f, 0.92f, CHighLifeFilter::kHighPass);
    filter.clear_filter();
    RandomGenerator sameRandom = random;
    CHighLifeFilter fresh(sameRandom);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(filter.work(0.5f, 0.5f, 0.92f, CHighLifeFilter::kHighPass),
                  fresh.work(0.5f, 0.5f, 0.92f, CHighLifeFilter::kHighPass));
}
