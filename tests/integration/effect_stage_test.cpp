// The effect stage and stretch mode through the bundle: every factory program renders
// finite, bounded audio; each effect changes only the slices chosen for it; stretch mode
// keeps the length of pitched slices.
#include "BundleUnderTest.h"

#include "host/Renderer.h"
#include "host/TestLoop.h"

#include <algorithm>
#include <cmath>
#include <memory>

using namespace VextoriaHost;
using namespace VextoriaTest;

namespace {

constexpr int32_t kBars = 8;
constexpr float kPlus24dB = 15.849f; // full scale + 24 dB

// One instance that reseeds its random sequence at every transport start ("Replay Rnd
// Seq" "On Play"), so its renders with the same parameters repeat each other exactly.
// Parameters stay set between renders: each render names every value it relies on.
class ReplayingInstance {
public:
    AudioClip render(const AudioClip& input, Parameters parameters)
    {
        parameters.push_back({Vextoria3Ids::kReplayRndSeq, 0.5});
        return VextoriaHost::render(*host, input, {512, 120.0, parameters}).output;
    }
    int64_t tailSamples() const { return host->processor()->getTailSamples(); }

private:
    std::unique_ptr<PluginHost> host = loadBundle();
};

// Frames of a 441 Hz tone in the first quarter of every slice, silence in the rest.
AudioClip toneBursts(int32_t bars)
{
    AudioClip clip(2, bars * kBar, 44100.0);
    for (auto& channel : clip.channels)
        for (size_t i = 0; i < channel.size(); ++i)
            if (static_cast<int64_t>(i) % kSlice < kSlice / 4)
                channel[i] = static_cast<float>(0.5 * std::sin(6.283185307179586 * static_cast<double>(i) / 100.0));
    return clip;
}

float rms(const std::vector<float>& samples, int64_t from, int64_t to)
{
    double sum = 0.0;
    for (int64_t i = from; i < to; ++i)
        sum += static_cast<double>(samples[static_cast<size_t>(i)]) * samples[static_cast<size_t>(i)];
    return static_cast<float>(std::sqrt(sum / static_cast<double>(to - from)));
}

} // namespace

class FactoryProgram : public ::testing::TestWithParam<int32_t> {};

TEST_P(FactoryProgram, RendersFiniteBoundedAudio)
{
    ReplayingInstance instance;
    const Parameters parameters = {{Vextoria3Ids::kFactoryPresets, GetParam() / 15.0}, {Vextoria3Ids::kActive, 1.0}};
    const AudioClip input = generateDrumLoop({44100.0, 120.0, kBars, 2});
    const AudioClip first = instance.render(input, parameters);
    for (size_t c = 0; c < first.channels.size(); ++c)
        for (size_t i = 0; i < first.channels[c].size(); ++i) {
            const float sample = first.channels[c][i];
            ASSERT_TRUE(std::isfinite(sample)) << "channel " << c << ", frame " << i;
            ASSERT_LE(std::fabs(sample), kPlus24dB) << "channel " << c << ", frame " << i;
        }
    EXPECT_GT(measureLevels(first).rms, 0.001f) << "the program is heard";
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, FactoryProgram, ::testing::Range(0, 16));

namespace {

// Slices after the first bar that differ between two renders, out of the 7 bars' 56.
int32_t differingSlices(const AudioClip& a, const AudioClip& b)
{
    int32_t differing = 0;
    for (int64_t slice = 8; slice < kBars * 8; ++slice) {
        bool equal = true;
        for (size_t c = 0; c < a.channels.size(); ++c)
            equal = equal && std::equal(a.channels[c].begin() + slice * kSlice, a.channels[c].begin() + (slice + 1) * kSlice,
                                        b.channels[c].begin() + slice * kSlice);
        differing += equal ? 0 : 1;
    }
    return differing;
}

} // namespace

TEST(EffectStageBundle, EachEffectChangesOnlyTheSlicesChosenForIt)
{
    ReplayingInstance instance;
    const AudioClip input = generateDrumLoop({44100.0, 120.0, kBars, 2});
    const Parameters onSomeSlices = {{Vextoria3Ids::kFxAmt, 0.5}, {Vextoria3Ids::kReverbDryWet, 0.6}};
    // A reverb at no wet level leaves the slice's sound and draws what the others draw:
    // a fixed effect choice makes no effect draw, whichever effect it is.
    Parameters transparent = repeatOnly(1.0, onSomeSlices);
    transparent.insert(transparent.end(), {{Vextoria3Ids::kReverbDryWet, 0.0}, {Vextoria3Ids::kFxSelect, 0.0}});
    const AudioClip reference = instance.render(input, transparent);

    const struct {
        const char* name;
        double fxSelect;
    } effects[] = {{"reverb", 0.0}, {"bit crusher", 0.25}, {"pitch effects", 0.75}};
    for (const auto& effect : effects) {
        Parameters chosen = repeatOnly(1.0, onSomeSlices);
        chosen.push_back({Vextoria3Ids::kFxSelect, effect.fxSelect});
        const int32_t differing = differingSlices(reference, instance.render(input, chosen));
        EXPECT_GT(differing, 3) << effect.name;
        EXPECT_LT(differing, 53) << effect.name << " left the other slices alone";
    }

    // The high-pass draws its cutoff offset: compared at two cutoffs instead.
    Parameters low = repeatOnly(1.0, onSomeSlices), high = repeatOnly(1.0, onSomeSlices);
    low.insert(low.end(), {{Vextoria3Ids::kFxSelect, 0.5}, {Vextoria3Ids::kFilterCut, 0.1}});
    high.insert(high.end(), {{Vextoria3Ids::kFxSelect, 0.5}, {Vextoria3Ids::kFilterCut, 0.9}});
    const int32_t differing = differingSlices(instance.render(input, low), instance.render(input, high));
    EXPECT_GT(differing, 3) << "high-pass";
    EXPECT_LT(differing, 53) << "high-pass left the other slices alone";
}

// What follows the input (a bar late with "No Direct", repeats of the last bar, the reverb's
// ring) fits in the tail the plug-in reports, so a bounce that renders the tail keeps it all.
// Not counted: a frozen bar, and the ring a reverb keeps between slices it is chosen for.
TEST(TailBundle, RenderingTheReportedTailKeepsAllThatFollowsTheInput)
{
    constexpr float kSilence = 1e-4f; // -80 dBFS, above the high-pass filter's noise
    constexpr int64_t kRenderedAfterInput = 12 * 44100;
    const struct {
        const char* name;
        Parameters parameters;
    } cases[] = {
        {"No Direct: every slice a bar late", repeatOnly(0.0, {{Vextoria3Ids::kNoDirect, 1.0}})},
        {"repeats, rolls, reverses and stretched pitch",
         repeatOnly(1.0, {{Vextoria3Ids::kRollAmt, 1.0}, {Vextoria3Ids::kReverseAmt, 1.0}, {Vextoria3Ids::kPitchAmt, 1.0},
                          {Vextoria3Ids::kStretch, 1.0}, {Vextoria3Ids::kNoDirect, 0.0}})},
        {"the reverb on every slice",
         repeatOnly(1.0, {{Vextoria3Ids::kFxAmt, 1.0}, {Vextoria3Ids::kFxSelect, 0.0}, {Vextoria3Ids::kRoomSize, 0.8},
                          {Vextoria3Ids::kStretch, 0.0}})},
    };
    ReplayingInstance instance;
    AudioClip input = generateDrumLoop({44100.0, 120.0, kBars, 2});
    const int64_t inputEnd = input.frames();
    for (auto& channel : input.channels)
        channel.resize(static_cast<size_t>(inputEnd + kRenderedAfterInput), 0.0f);
    for (const auto& [name, parameters] : cases) {
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

struct BurstShape {
    int32_t sounding = 0; // slices whose first quarter sounds
    int32_t kept = 0;     // ... and whose other three quarters stay quiet
};

// Every slice of bars 1 to 7 played an octave up or down; the input holds a tone in the
// first quarter of each slice. Kept length: the tone sounds where it was recorded and
// nowhere else in the slice.
BurstShape pitchedBurstShape(double stretch)
{
    ReplayingInstance instance;
    const Parameters pitchedEverySlice = {{Vextoria3Ids::kPitchAmt, 1.0}, {Vextoria3Ids::kPitchRange, 1.0},
                                          {Vextoria3Ids::kUp, 1.0},       {Vextoria3Ids::kDown, 1.0},
                                          {Vextoria3Ids::kPitchSet, 1.0}, {Vextoria3Ids::kStretch, stretch}};
    const AudioClip output = instance.render(toneBursts(kBars), repeatOnly(1.0, pitchedEverySlice));
    const std::vector<float>& left = output.channels[0];
    const float toneLevel = 0.5f / std::sqrt(2.0f);
    BurstShape shape;
    for (int64_t slice = 8; slice < kBars * 8; ++slice) {
        const int64_t start = slice * kSlice;
        // The stretcher smears a burst by some hundred samples and lets its level
        // swing, and after an octave jump its output takes some ten thousand samples
        // to settle at the new delay, starting up to about 700 samples early: the next
        // slice's tone may begin from 10300 on. At rate 2 it would sound from 5512 on,
        // at rate 0.5 this one would last until then.
        const bool sounding = rms(left, start, start + kSlice / 4) > 0.3f * toneLevel;
        const bool quietAfter = rms(left, start + 5000, start + 10000) < 0.05f * toneLevel;
        shape.sounding += sounding ? 1 : 0;
        shape.kept += sounding && quietAfter ? 1 : 0;
    }
    return shape;
}

} // namespace

TEST(StretchModeBundle, PitchedSlicesKeepTheirLengthAndPlaceInTheSlice)
{
    const BurstShape stretched = pitchedBurstShape(1.0);
    EXPECT_EQ(stretched.sounding, 56);
    EXPECT_EQ(stretched.kept, 56);
    // Without stretch mode the same slices play at rate 2 or 0.5 and lose their shape.
    EXPECT_EQ(pitchedBurstShape(0.0).kept, 0);
}
