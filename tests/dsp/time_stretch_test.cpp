// The pitch stretcher: one fixed latency per rate at every transposition, the input given
// back at factor 1, transposition by semitones, and no poisoning by non-finite input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "dsp/TimeStretcher.h"

namespace {
constexpr int kPiece = TimeStretcher::kPieceSize;
constexpr int kBlock = 1024; // frames between transposition changes, as the stretch feed makes them
constexpr double kRate = 44100.0;

using Signal = std::vector<float>;

Signal sine(double frequency, int length)
{
    Signal signal(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        signal[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * frequency * i / kRate));
    return signal;
}

// Runs a signal through the stretcher piece by piece, the same on both channels, calling
// shift(block) every kBlock frames for the transposition; answers the left output.
Signal stretch(TimeStretcher& stretcher, const Signal& input, const std::function<int(int)>& shift = {})
{
    Signal output(input.size()), right(kPiece);
    for (size_t start = 0; start + kPiece <= input.size(); start += kPiece) {
        if (shift && start % kBlock == 0)
            stretcher.setSemitones(shift(static_cast<int>(start / kBlock)));
        const float* in[2] = {input.data() + start, input.data() + start};
        float* out[2] = {output.data() + start, right.data()};
        stretcher.process(in, out);
    }
    return output;
}

// Frequency from the rising zero crossings after `from`, with sub-sample positions.
double measuredFrequency(const Signal& signal, int from)
{
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (size_t i = static_cast<size_t>(from) + 1; i < signal.size(); ++i) {
        if (signal[i - 1] < 0.0f && signal[i] >= 0.0f) {
            last = static_cast<double>(i - 1) + signal[i - 1] / (signal[i - 1] - signal[i]);
            first = first < 0.0 ? last : first;
            ++crossings;
        }
    }
    return crossings < 2 ? 0.0 : (crossings - 1) * kRate / (last - first);
}
} // namespace

TEST(TimeStretcher, ReportsOneLatencyPerRateRefusesBadRatesAndIsSilentUntilARateIsSet)
{
    TimeStretcher stretcher;
    const int latency = stretcher.latency();
    EXPECT_TRUE(latency > 0 && latency <= 8 * kBlock) << latency;
    ASSERT_TRUE(stretcher.setSamplerate(48000.0) && stretcher.setSamplerate(kRate));
    EXPECT_EQ(stretcher.latency(), latency) << "the same rate must give the same latency";
    for (double bad : {0.0, -44100.0, 100.0, 1e9, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(stretcher.setSamplerate(bad)) << bad;
        EXPECT_EQ(std::pair(stretcher.samplerate(), stretcher.latency()), std::pair(kRate, latency));
    }
    TimeStretcher unconfigured{TimeStretcher::Unconfigured{}};
    EXPECT_FALSE(unconfigured.configured());
    EXPECT_TRUE(unconfigured.setSemitones(5));
    const Signal out = stretch(unconfigured, Signal(kPiece, 0.5f));
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float s) { return s == 0.0f; }));
    ASSERT_TRUE(unconfigured.setSamplerate(48000.0));
    EXPECT_TRUE(unconfigured.configured() && unconfigured.latency() > 0);
}

TEST(TimeStretcher, FactorOneGivesTheInputBackDelayedByTheLatency)
{
    TimeStretcher stretcher;
    const size_t latency = static_cast<size_t>(stretcher.latency());
    Signal input = sine(330.0, 60 * kBlock); // two tones, so a wrong delay cannot line up by chance
    const Signal upper = sine(1210.0, 60 * kBlock);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = 0.6f * input[i] + 0.4f * upper[i];
    const Signal output = stretch(stretcher, input);
    double early = 0.0, error = 0.0, power = 0.0;
    for (size_t i = 0; i < latency - 64; ++i)
        early = std::max(early, double(std::fabs(output[i])));
    EXPECT_LT(early, 1e-3) << "nothing comes out before the latency";
    for (size_t i = latency + 8 * kBlock; i < output.size(); ++i) {
        error += std::pow(output[i] - input[i - latency], 2.0);
        power += std::pow(input[i - latency], 2.0);
    }
    EXPECT_LT(std::sqrt(error / power), 0.1) << "output must be the input delayed by " << latency;
}

TEST(TimeStretcher, TransposesBySemitonesRefusesOutOfRangeShiftsAndSurvivesNonFiniteInput)
{
    for (int s = -TimeStretcher::kMaxSemitones; s <= TimeStretcher::kMaxSemitones; ++s)
        EXPECT_NEAR(1200.0 * std::log2(TimeStretcher::transposition(s)), 100.0 * s, 0.03) << "cents, " << s;
    for (const auto& [semitones, hz] : {std::pair{12, 880.0}, {-12, 220.0}, {7, 440.0 * std::pow(2.0, 7.0 / 12.0)}}) {
        TimeStretcher stretcher;
        ASSERT_TRUE(stretcher.setSemitones(semitones));
        EXPECT_FALSE(stretcher.setSemitones(13) || stretcher.setSemitones(-13));
        // Non-finite input is taken as silence: after a poisoned block the tone comes back.
        Signal input = sine(440.0, 40 * kBlock);
        for (int i = 3 * kBlock; i < 4 * kBlock; i += 7)
            input[i] = i % 2 == 0 ? std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::infinity();
        const Signal output = stretch(stretcher, input);
        EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](float s) { return std::isfinite(s); }));
        EXPECT_NEAR(measuredFrequency(output, stretcher.latency() + 8 * kBlock), hz, hz * 0.01) << semitones;
    }
}

TEST(TimeStretcher, KeepsABlockReadyThroughAbruptTranspositionChanges)
{
    // A shortfall would show as a run of exact silence inside a tone (looked for once the
    // first shifted frames are through: until then the shifts move silence about).
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> semitones(-12, 12);
    TimeStretcher stretcher;
    const Signal output = stretch(stretcher, sine(440.0, 120 * kBlock), [&](int) { return semitones(random); });
    size_t longestSilence = 0;
    for (size_t i = static_cast<size_t>(stretcher.latency()) + 4 * kBlock, run = 0; i < output.size(); ++i) {
        run = output[i] == 0.0f ? run + 1 : 0;
        longestSilence = std::max(longestSilence, run);
    }
    EXPECT_LT(longestSilence, 4u);
}
