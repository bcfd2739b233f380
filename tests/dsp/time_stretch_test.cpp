#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "AllocationCounter.h"
#include "dsp/TimeStretcher.h"

namespace {
constexpr int kPiece = TimeStretcher::kPieceSize;
constexpr int kBlock = 1024; // frames between transposition changes, as the stretch feed makes them
constexpr double kRate = 44100.0;

using Signal = std::vector<float>;
using Stereo = std::array<std::array<float, kPiece>, 2>;

Signal sine(double frequency, int length)
{
    Signal signal(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        signal[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * frequency * i / kRate));
    return signal;
}

// Runs a whole signal through the stretcher piece by piece, the same on both channels;
// answers the left output. beforeBlock(index) may change the transposition every kBlock frames.
template <typename BeforeBlock>
Signal stretch(TimeStretcher& stretcher, const Signal& input, BeforeBlock&& beforeBlock)
{
    Signal output(input.size());
    std::array<float, kPiece> right{};
    for (size_t start = 0; start + kPiece <= input.size(); start += kPiece) {
        if (start % kBlock == 0)
            beforeBlock(static_cast<int>(start / kBlock));
        const float* in[2] = {input.data() + start, input.data() + start};
        float* out[2] = {output.data() + start, right.data()};
        stretcher.process(in, out);
    }
    return output;
}

Signal stretch(TimeStretcher& stretcher, const Signal& input) { return stretch(stretcher, input, [](int) {}); }

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

double rms(const Signal& signal, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += double(signal[i]) * signal[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}
} // namespace

TEST(TimeStretcher, ReportsOneFixedLatencyPerSampleRateAndRefusesBadRates)
{
    TimeStretcher stretcher;
    const int latency = stretcher.latency();
    EXPECT_GT(latency, 0);
    EXPECT_LE(latency, 8 * kBlock);
    ASSERT_TRUE(stretcher.setSamplerate(48000.0));
    ASSERT_TRUE(stretcher.setSamplerate(kRate));
    EXPECT_EQ(stretcher.latency(), latency) << "the same rate must give the same latency";
    for (double bad : {0.0, -44100.0, 100.0, 1e9, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(stretcher.setSamplerate(bad)) << bad;
        EXPECT_DOUBLE_EQ(stretcher.samplerate(), kRate);
        EXPECT_EQ(stretcher.latency(), latency);
    }
}

TEST(TimeStretcher, LeftUnconfiguredItGivesSilenceUntilARateIsSet)
{
    TimeStretcher stretcher{TimeStretcher::Unconfigured{}};
    EXPECT_FALSE(stretcher.configured());
    Stereo in{}, out{};
    for (auto& channel : in)
        channel.fill(0.5f);
    for (auto& channel : out)
        channel.fill(1.0f);
    const float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    EXPECT_TRUE(stretcher.setSemitones(5));
    stretcher.process(inputs, outputs);
    for (const auto& channel : out)
        EXPECT_TRUE(std::all_of(channel.begin(), channel.end(), [](float s) { return s == 0.0f; }));
    ASSERT_TRUE(stretcher.setSamplerate(48000.0));
    EXPECT_TRUE(stretcher.configured());
    EXPECT_GT(stretcher.latency(), 0);
}

TEST(TimeStretcher, FactorOneGivesTheInputBackDelayedByTheLatency)
{
    TimeStretcher stretcher;
    const int latency = stretcher.latency();
    Signal input = sine(330.0, 60 * kBlock); // two tones, so a wrong delay cannot line up by chance
    const Signal upper = sine(1210.0, 60 * kBlock);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = 0.6f * input[i] + 0.4f * upper[i];
    const Signal output = stretch(stretcher, input);
    EXPECT_LT(rms(output, 0, static_cast<size_t>(latency - 64)), 1e-3) << "nothing comes out before the latency";
    double error = 0.0, power = 0.0;
    for (size_t i = static_cast<size_t>(latency + 8 * kBlock); i < output.size(); ++i) {
        const double expected = input[i - static_cast<size_t>(latency)];
        error += (output[i] - expected) * (output[i] - expected);
        power += expected * expected;
    }
    EXPECT_LT(std::sqrt(error / power), 0.1) << "output must be the input delayed by " << latency;
}

TEST(TimeStretcher, TransposesBySemitonesAndRefusesOutOfRangeShifts)
{
    for (int s = -TimeStretcher::kMaxSemitones; s <= TimeStretcher::kMaxSemitones; ++s)
        EXPECT_NEAR(1200.0 * std::log2(TimeStretcher::transposition(s)), 100.0 * s, 0.03) << "cents, " << s;
    for (const auto& [semitones, hz] : {std::pair{12, 880.0}, {-12, 220.0}, {7, 440.0 * std::pow(2.0, 7.0 / 12.0)}}) {
        TimeStretcher stretcher;
        ASSERT_TRUE(stretcher.setSemitones(semitones));
        EXPECT_FALSE(stretcher.setSemitones(13));
        EXPECT_FALSE(stretcher.setSemitones(-13));
        const Signal output = stretch(stretcher, sine(440.0, 40 * kBlock));
        EXPECT_NEAR(measuredFrequency(output, stretcher.latency() + 8 * kBlock), hz, hz * 0.01) << semitones;
    }
}

TEST(TimeStretcher, NonFiniteInputIsTakenAsSilenceAndDoesNotPoisonLaterOutput)
{
    TimeStretcher stretcher;
    ASSERT_TRUE(stretcher.setSemitones(7));
    Signal input = sine(440.0, 40 * kBlock);
    for (int i = 3 * kBlock; i < 4 * kBlock; i += 7)
        input[i] = (i / 7) % 2 == 0 ? std::numeric_limits<float>::quiet_NaN() : std::numeric_limits<float>::infinity();
    const Signal output = stretch(stretcher, input);
    EXPECT_TRUE(std::all_of(output.begin(), output.end(), [](float s) { return std::isfinite(s); }));
    EXPECT_GT(rms(output, output.size() - 8 * kBlock, output.size()), 0.1);
}

TEST(TimeStretcher, KeepsTheReportedLatencyAtEveryTransposition)
{
    // A click comes out at the latency whatever the shift, even after a history of
    // shifts, within a few milliseconds (the shifter's frames blur a click's position).
    for (int shift : {-12, -7, -1, 0, 5, 12}) {
        TimeStretcher stretcher;
        std::mt19937 random(static_cast<unsigned>(shift + 100));
        std::uniform_int_distribution<int> semitones(-12, 12);
        Signal input(48 * kBlock, 0.0f);
        const int clickAt = 40 * kBlock + 333;
        input[clickAt] = 1.0f;
        const Signal output = stretch(stretcher, input, [&](int block) {
            stretcher.setSemitones(block < 24 ? semitones(random) : shift);
        });
        const auto peak = std::max_element(output.begin() + clickAt, output.end(),
                                           [](float a, float b) { return std::fabs(a) < std::fabs(b); });
        EXPECT_NEAR(static_cast<int>(peak - output.begin()) - clickAt, stretcher.latency(), 256) << shift;
    }
}

TEST(TimeStretcher, KeepsABlockReadyThroughAbruptTranspositionChanges)
{
    TimeStretcher stretcher;
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> semitones(-12, 12);
    const Signal output =
        stretch(stretcher, sine(440.0, 120 * kBlock), [&](int) { stretcher.setSemitones(semitones(random)); });
    // A shortfall would show as a run of exact silence inside the tone (looked for once
    // the first shifted frames are through: until then the shifts move silence about).
    int longestSilence = 0;
    for (size_t i = static_cast<size_t>(stretcher.latency()) + 4 * kBlock, run = 0; i < output.size(); ++i) {
        run = output[i] == 0.0f ? run + 1 : 0;
        longestSilence = std::max(longestSilence, static_cast<int>(run));
    }
    EXPECT_LT(longestSilence, 4);
}

TEST(TimeStretcher, ProcessingAndTranspositionChangesNeverAllocate)
{
    // The second instance at a rate takes the first one's measurements and only warms
    // its own shifter up: that shorter warm-up must size everything as well.
    TimeStretcher first;
    TimeStretcher stretcher;
    ASSERT_EQ(stretcher.latency(), first.latency());
    std::mt19937 random(7);
    std::uniform_int_distribution<int> semitones(-12, 12);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    Stereo in{}, out{};
    const float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    long allocations = 0;
    for (int piece = 0; piece < 300 * kBlock / kPiece; ++piece) {
        for (auto& channel : in)
            for (float& sample : channel)
                sample = noise(random);
        const int block = piece * kPiece / kBlock;
        const int shift = block % 3 == 0 ? semitones(random) : (block % 2 == 0 ? 12 : -12);
        AllocationCounter::Scope scope;
        stretcher.setSemitones(shift);
        stretcher.process(inputs, outputs);
        allocations += scope.allocations();
    }
    EXPECT_EQ(allocations, 0);

    AllocationCounter::Scope scope; // the counter itself works
    auto probe = std::make_unique<std::vector<float>>(16);
    EXPECT_GT(scope.allocations(), 0);
}
