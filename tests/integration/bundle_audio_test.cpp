// Audio through the bundle as a DAW drives it: bypass, grid, programs, effects, tail, stretch mode.

#include "BundleUnderTest.h"

#include <algorithm>
#include <cmath>

using namespace VextoriaHost;
using namespace VextoriaTest;
using namespace Vextoria3Ids;

TEST(AudioPathBundle, BypassAndTheInactiveSlicerHandTheInputOnUnchangedInEveryLayoutBlockAndRate)
{
    const Parameters bypass = {{kActive, 1.0}, {kNoDirect, 1.0}, {kBypass, 1.0}};
    const Parameters inactive =
        repeatOnly(1.0, {{kActive, 0.0}, {kBypass, 0.0}, {kReverseAmt, 1.0}, {kFxAmt, 1.0}});
    const struct {
        int32_t channels;
        int32_t blockSize;
        double sampleRate;
    } cases[] = {{2, 512, 44100.0}, {1, 512, 44100.0}, {2, 1, 48000.0}, {1, 333, 96000.0}, {2, 4096, 44100.0}};
    for (const auto& [channels, blockSize, sampleRate] : cases)
    {
        const AudioClip input = generateDrumLoop({sampleRate, 120.0, 2, channels});
        for (const Parameters* parameters : {&bypass, &inactive})
        {
            SCOPED_TRACE(std::string(parameters == &bypass ? "bypass, " : "inactive, ") +
                         std::to_string(channels) + " channels, blocks of " + std::to_string(blockSize) +
                         " at " + std::to_string(sampleRate));
            auto host = loadBundle();
            const AudioClip output = render(*host, input, {blockSize, 120.0, *parameters}).output;
            ASSERT_EQ(output.channelCount(), input.channelCount());
            for (size_t c = 0; c < input.channels.size(); ++c)
                for (size_t i = 0; i < input.channels[c].size(); ++i)
                    ASSERT_NEAR(output.channels[c][i], input.channels[c][i], 1e-6f)
                        << "channel " << c << ", frame " << i;
        }
    }
}

TEST(SliceGridBundle, GateOpensOnEverySliceStartWhateverTheBlockSizeAndRate)
{
    const struct {
        int32_t blockSize;
        double sampleRate;
        double sliceSize;   // parameter value
        double sliceLength; // samples
    } cases[] = {{32, 44100.0, 0.5, 11025.0},  {128, 44100.0, 0.5, 11025.0}, {512, 44100.0, 0.5, 11025.0},
                 {128, 48000.0, 0.5, 12000.0}, {333, 48000.0, 0.5, 12000.0}, {128, 44100.0, 1.0, 5512.5},
                 {512, 44100.0, 0.0, 22050.0}};
    for (const auto& [blockSize, sampleRate, sliceSize, sliceLength] : cases)
    {
        SCOPED_TRACE("blocks of " + std::to_string(blockSize) + " at " + std::to_string(sampleRate) +
                     ", slices of " + std::to_string(sliceLength));
        const auto frames = static_cast<int64_t>(3 * 2 * sampleRate); // 3 bars
        AudioClip input(2, frames, sampleRate);
        for (auto& channel : input.channels)
            std::fill(channel.begin(), channel.end(), 0.5f);
        // Every slice live: the gate shows the grid.
        const Parameters parameters = repeatOnly(0.0, {{kGateSize, 0.5}, {kSliceSize, sliceSize}});
        auto host = loadBundle();
        const AudioClip output = render(*host, input, {blockSize, 120.0, parameters}).output;
        std::vector<int64_t> expected;
        for (int64_t k = 0; std::ceil(k * sliceLength) < static_cast<double>(frames - 1); ++k)
            expected.push_back(static_cast<int64_t>(std::ceil(k * sliceLength)));
        for (const auto& channel : output.channels)
        {
            std::vector<int64_t> openings;
            for (size_t i = 0; i + 1 < channel.size(); ++i)
                if (channel[i] == 0.0f && channel[i + 1] > 0.0f)
                    openings.push_back(static_cast<int64_t>(i));
            EXPECT_EQ(openings, expected);
        }
    }
}

constexpr int32_t kBars = 8;

TEST(ReplayBundle, OnPlayRepeatsTheSameSlicesAfterEveryStartAndOffNeverDoes)
{
    auto host = loadBundle();
    const AudioClip loop = generateDrumLoop({44100.0, 120.0, 3, 2});
    for (double replay : {0.5, 0.0})
    {
        const Parameters parameters = {{kActive, 1.0},     {kReplayRndSeq, replay}, {kSliceAmt, 0.6},
                                       {kReverseAmt, 0.5}, {kRollAmt, 0.5},         {kPitchAmt, 0.5}};
        render(*host, loop, {512, 120.0, parameters}); // leaves the recorder holding the loop
        const AudioClip first = render(*host, loop, {512, 120.0, parameters}).output;
        EXPECT_EQ(first.channels == render(*host, loop, {512, 120.0, parameters}).output.channels, replay == 0.5);
    }
}

TEST(EffectStageBundle, EachEffectChangesOnlyItsSlicesAndEveryFactoryProgramRendersBoundedAudio)
{
    ReplayingInstance instance;
    const AudioClip input = generateDrumLoop({44100.0, 120.0, kBars, 2});
    const auto onSomeSlices = [&](double fxSelect, Parameters::value_type setting) {
        return instance.render(input,
                               repeatOnly(1.0, {{kFxAmt, 0.5}, {kReverbDryWet, 0.6}, {kFxSelect, fxSelect}, setting}));
    };
    // Of the 56 slices after the first bar, more than 3 and fewer than 53 differ.
    const auto expectSomeSlicesDiffer = [](const char* name, const AudioClip& a, const AudioClip& b) {
        const auto same = [&](size_t c, int64_t start) {
            return std::equal(&a.channels[c][start], &a.channels[c][start + kSlice], &b.channels[c][start]);
        };
        int32_t differing = 0;
        for (int64_t start = kBar; start < kBars * kBar; start += kSlice)
            differing += same(0, start) && same(1, start) ? 0 : 1;
        EXPECT_GT(differing, 3) << name;
        EXPECT_LT(differing, 53) << name << " left the other slices alone";
    };
    // A dry reverb keeps the slice's sound and draws as others; a fixed effect choice makes no effect draw.
    const AudioClip dryReverb = onSomeSlices(0.0, {kReverbDryWet, 0.0});
    for (auto [name, fxSelect] : {std::pair {"reverb", 0.0}, {"bit crusher", 0.25}, {"pitch effects", 0.75}})
        expectSomeSlicesDiffer(name, dryReverb, onSomeSlices(fxSelect, {kReverbDryWet, 0.6}));
    // The high-pass draws its cutoff offset: compared at two cutoffs instead.
    expectSomeSlicesDiffer("high-pass", onSomeSlices(0.5, {kFilterCut, 0.1}), onSomeSlices(0.5, {kFilterCut, 0.9}));
    for (int32_t program = 0; program < 16; ++program)
    {
        const AudioClip output = instance.render(input, {{kFactoryPresets, program / 15.0}, {kActive, 1.0}});
        const auto finiteAndBelowPlus24dB = [](float sample) { return std::fabs(sample) <= 15.849f; };
        for (const auto& channel : output.channels)
            ASSERT_TRUE(std::all_of(channel.begin(), channel.end(), finiteAndBelowPlus24dB)) << "program " << program;
        EXPECT_GT(measureLevels(output).rms, 0.001f) << "program " << program << " is heard";
    }
}

// The reported tail holds what follows the input (No Direct, repeats, reverb), bar frozen bars and kept rings.
TEST(TailBundle, RenderingTheReportedTailKeepsAllThatFollowsTheInput)
{
    constexpr float kSilence = 1e-4f; // -80 dBFS, above the high-pass filter's noise
    constexpr int64_t kRenderedAfterInput = 12 * 44100;
    const struct {
        const char* name;
        Parameters parameters;
    } cases[] = {
        {"No Direct: every slice a bar late", repeatOnly(0.0, {{kNoDirect, 1.0}})},
        {"repeats, rolls, reverses and stretched pitch",
         repeatOnly(1.0, {{kRollAmt, 1.0}, {kReverseAmt, 1.0}, {kPitchAmt, 1.0}, {kStretch, 1.0}, {kNoDirect, 0.0}})},
        {"the reverb on every slice",
         repeatOnly(1.0, {{kFxAmt, 1.0}, {kFxSelect, 0.0}, {kRoomSize, 0.8}, {kStretch, 0.0}})},
    };
    ReplayingInstance instance;
    AudioClip input = generateDrumLoop({44100.0, 120.0, kBars, 2});
    const int64_t inputEnd = input.frames();
    for (auto& channel : input.channels)
        channel.resize(static_cast<size_t>(inputEnd + kRenderedAfterInput), 0.0f);
    for (const auto& [name, parameters] : cases)
    {
        const AudioClip output = instance.render(input, parameters);
        int64_t lastHeard = 0;
        for (const auto& channel : output.channels)
            for (int64_t i = inputEnd; i < output.frames(); ++i)
                if (std::fabs(channel[static_cast<size_t>(i)]) >= kSilence)
                    lastHeard = std::max(lastHeard, i - inputEnd);
        const int64_t tail = instance.tailSamples();
        ASSERT_LT(tail, kRenderedAfterInput) << name;
        EXPECT_GT(lastHeard, kSlice) << name << ": something follows the input";
        EXPECT_LT(lastHeard, tail) << name;
    }
}

namespace {

float rms(const std::vector<float>& samples, int64_t from, int64_t to)
{
    double sum = 0.0;
    for (int64_t i = from; i < to; ++i)
        sum += static_cast<double>(samples[static_cast<size_t>(i)]) * samples[static_cast<size_t>(i)];
    return static_cast<float>(std::sqrt(sum / static_cast<double>(to - from)));
}

// Slices of bars 1 to 7, played an octave up or down, whose first quarter sounds and the rest stays quiet.
std::pair<int32_t, int32_t> pitchedBursts(double stretch)
{
    AudioClip bursts(2, kBars * kBar, 44100.0);
    for (auto& channel : bursts.channels)
        for (size_t i = 0; i < channel.size(); ++i)
            if (static_cast<int64_t>(i) % kSlice < kSlice / 4)
                channel[i] = static_cast<float>(0.5 * std::sin(6.283185307179586 * static_cast<double>(i) / 100));
    const Parameters pitchedEverySlice = {{kPitchAmt, 1.0}, {kPitchRange, 1.0}, {kUp, 1.0},
                                          {kDown, 1.0},     {kPitchSet, 1.0},   {kStretch, stretch}};
    const AudioClip output = ReplayingInstance().render(bursts, repeatOnly(1.0, pitchedEverySlice));
    const float toneLevel = 0.5f / std::sqrt(2.0f);
    std::pair<int32_t, int32_t> shape;
    for (int64_t start = kBar; start < kBars * kBar; start += kSlice)
    {
        // The stretcher smears and settles late after an octave jump: the next tone may begin from 10300.
        const bool sounding = rms(output.channels[0], start, start + kSlice / 4) > 0.3f * toneLevel;
        const bool quietAfter = rms(output.channels[0], start + 5000, start + 10000) < 0.05f * toneLevel;
        shape.first += sounding ? 1 : 0;
        shape.second += sounding && quietAfter ? 1 : 0;
    }
    return shape;
}

} // namespace

TEST(StretchModeBundle, PitchedSlicesKeepTheirLengthAndPlaceInTheSlice)
{
    EXPECT_EQ(pitchedBursts(1.0), std::make_pair(56, 56));
    // Without stretch mode the same slices play at rate 2 or 0.5 and lose their shape.
    EXPECT_EQ(pitchedBursts(0.0).second, 0);
}
