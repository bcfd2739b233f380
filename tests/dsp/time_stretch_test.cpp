// The pitch stretcher: its latency, transposition, refusals and non-finite input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "dsp/TimeStretcher.h"

namespace {
constexpr int kPiece = TimeStretcher::kPieceSize;
constexpr int kBlock = 1024; // frames of a stretch feed chunk
constexpr double kRate = 44100.0;

using Signal = std::vector<float>;

Signal sine(double frequency, int length)
{
    Signal signal(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        signal[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * frequency * i / kRate));
    return signal;
}

// Runs a signal through the stretcher piece by piece on both channels; answers the left output.
Signal stretch(TimeStretcher& stretcher, const Signal& input)
{
    Signal output(input.size()), right(kPiece);
    for (size_t start = 0; start + kPiece <= input.size(); start += kPiece) {
        const float* in[2] = {input.data() + start, input.data() + start};
        float* out[2] = {output.data() + start, right.data()};
        stretcher.process(in, out);
    }
    return output;
}

// Frequency from the count of rising zero crossings after `from`.
double measuredFrequency(const Signal& signal, int from)
{
    int crossings = 0;
    for (size_t i = static_cast<size_t>(from) + 1; i < signal.size(); ++i)
        crossings += signal[i - 1] < 0.0f && signal[i] >= 0.0f;
    return crossings * kRate / static_cast<double>(signal.size() - static_cast<size_t>(from));
}
} // namespace

TEST(TimeStretcher, OneLatencyPerRateTranspositionBySemitonesAndRefusals)
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
