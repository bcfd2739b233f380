// The engine's block and slice handling: transport, clock, "Active" fades, reseeding,
// tempo changes, freeze, refusals and the scope fill.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "EngineRig.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {

constexpr double kRate = 44100.0;
constexpr int64_t kBeat = 22050; // samples at 120 BPM
constexpr int64_t kBar = 4 * kBeat;
constexpr int64_t kSlice = kBeat / 2;

constexpr auto constant = EngineRig::constant;
constexpr auto ramp = EngineRig::ramp;

// Every slice repeats a slice of the bar before, unchanged and ungated.
void repeatPlainly(EngineRig& rig)
{
    rig.set({{kActive, 1.0}, {kSliceAmt, 1.0}, {kGateSize, 1.0}, {kReverseAmt, 0.0}, {kPitchAmt, 0.0},
             {kRollAmt, 0.0}, {kFxAmt, 0.0}});
}

// The frame the ramp output at `at` was recorded at.
int64_t playedAt(const EngineRig::Channels& output, int64_t at)
{
    return EngineRig::frameOf(output[0][static_cast<size_t>(at)]);
}

// Frames at which a slice decision was made, rendering one sample per block.
std::vector<int64_t> decisionFrames(EngineRig& rig, int64_t frames, const EngineRig::BlockHook& hook)
{
    std::vector<int64_t> at;
    const EngineRig::Channels input = constant(rig.channelCount, 1, 0.25f);
    for (int64_t frame = 0; frame < frames; ++frame) {
        hook(frame, 1);
        const uint64_t before = rig.fx->decisionCount();
        rig.render(input, 1);
        if (rig.fx->decisionCount() != before)
            at.push_back(frame);
    }
    return at;
}

} // namespace

TEST(SliceEngineTransport, StoppedTransportPassesTheInputAndDecidesNothing)
{
    EngineRig rig(kRate, 2);
    rig.set({{kActive, 1.0}, {kSliceAmt, 1.0}, {kNoDirect, 1.0}});
    rig.setPlaying(false);
    const EngineRig::Channels input = ramp(2, 3000);
    EXPECT_EQ(rig.render(input, 256), input);
    EXPECT_EQ(rig.fx->decisionCount(), 0u);
}

TEST(SliceEngineTransport, FirstBarAfterAStartPlaysLiveThenSlicesRepeatIt)
{
    EngineRig rig(kRate, 2);
    repeatPlainly(rig);
    const EngineRig::Channels output = rig.render(ramp(2, 2 * kBar), 512);
    for (int64_t slice = 0; slice < 16; ++slice) {
        const int64_t played = playedAt(output, slice * kSlice + 5000);
        if (slice < 8) {
            EXPECT_EQ(played, slice * kSlice + 5000) << "slice " << slice << " of the first bar";
        } else {
            EXPECT_LT(played, kBar) << "slice " << slice << " repeats the first bar";
            EXPECT_EQ((played - 5000) % kSlice, 0) << "and starts on a slice of it";
        }
    }
}

TEST(SliceEngineClock, SliceCountChangesOnlyOnABeatAndSamplesStandInForAMusicalPosition)
{
    EngineRig rig(kRate, 1);
    rig.fx->setParameter(kSliceSize, 0.5);
    EXPECT_EQ(decisionFrames(rig, 2 * kBeat, [&rig](int64_t frame, int32_t) {
                  if (frame == 5000)
                      rig.fx->setParameter(kSliceSize, 1.0);
              }),
              (std::vector<int64_t>{0, 11025, 22050, 27563, 33075, 38588}));

    EngineRig samplesOnly(kRate, 2);
    EXPECT_EQ(decisionFrames(samplesOnly, kBar / 2,
                             [&samplesOnly](int64_t, int32_t) { samplesOnly.fx->timeInfo.projectMusicValid = false; }),
              (std::vector<int64_t>{0, 11025, 22050, 33075}));
}

TEST(SliceEngineClock, ContinuingBlocksKeepTheGridAtAnyBlockSize)
{
    for (const int32_t blockSize : {1, 128, 333, 512}) {
        EngineRig rig(48000.0, 2, 512);
        rig.render(constant(2, 4 * 96000, 0.1f), blockSize);
        EXPECT_EQ(rig.fx->decisionCount(), 32u) << "4 bars of 8 slices, blocks of " << blockSize;
    }
}

TEST(SliceEngineActive, SwitchingOnFadesFromTheDryInputAtTheNextSliceStart)
{
    EngineRig rig(kRate, 2);
    rig.set({{kActive, 0.0}, {kSliceAmt, 0.0}, {kReverseAmt, 0.0}, {kRollAmt, 0.0}, {kPitchAmt, 0.0}});
    const EngineRig::Channels output = rig.render(constant(2, kBeat, 0.5f), 100, [&rig](int64_t frame, int32_t) {
        if (frame == 5000)
            rig.fx->setParameter(kActive, 1.0);
    });
    for (size_t i = 0; i <= kSlice; ++i)
        ASSERT_EQ(output[0][i], 0.5f) << "dry until the slice start, then from the last dry pair, frame " << i;
    float largestStep = 0.0f;
    for (size_t i = kSlice; i < kSlice + 441; ++i)
        largestStep = std::max(largestStep, std::fabs(output[0][i + 1] - output[0][i]));
    EXPECT_LT(largestStep, 0.05f) << "no click when the slicer takes over";
}

TEST(SliceEngineActive, OnActiveReplayRestartsTheSequenceAtEverySwitchOn)
{
    EngineRig rig(kRate, 2);
    rig.fx->setReplaySeed(99);
    rig.set({{kActive, 0.0}, {kReplayRndSeq, 1.0}, {kReverseAmt, 0.6}, {kRollAmt, 0.5}, {kPitchAmt, 0.5},
             {kSliceAmt, 0.5}, {kFxAmt, 0.0}});
    std::vector<SliceDecision> log;
    const EngineRig::Channels input = constant(2, 50, 0.1f);
    for (int64_t frame = 0; frame < 4 * kBar; frame += 50) {
        rig.fx->setParameter(kActive, (frame / kBar) % 2 == 1 ? 1.0 : 0.0);
        const uint64_t seen = rig.fx->decisionCount();
        rig.render(input, 50);
        if (rig.fx->decisionCount() != seen)
            log.push_back(rig.fx->lastDecision());
    }
    ASSERT_EQ(log.size(), 32u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(log[8 + i].pick, log[24 + i].pick) << "slice " << i << " after a switch-on";
        EXPECT_EQ(log[8 + i].reverse, log[24 + i].reverse) << "slice " << i;
        EXPECT_EQ(log[8 + i].semitones, log[24 + i].semitones) << "slice " << i;
    }
}

TEST(SliceEngineTempo, RepeatsAfterATempoChangeKeepTheirLengthInBeats)
{
    EngineRig rig(kRate, 1);
    repeatPlainly(rig);
    rig.render(ramp(1, 2 * kBar), 441);
    rig.setTempo(60.0); // the transport carries on at bar 1; the recorded bar spans half a bar now
    const EngineRig::Channels output = rig.render(constant(1, 2 * kBar, 0.0f), 441);
    EXPECT_EQ(playedAt(output, kSlice + 1000) - playedAt(output, kSlice), 500)
        << "a slice recorded at twice the tempo plays at half rate";
}

TEST(SliceEngineFreeze, FrozenRepeatsKeepComingFromTheBarBeforeTheSwitch)
{
    EngineRig rig(kRate, 1);
    repeatPlainly(rig);
    const EngineRig::Channels output = rig.render(ramp(1, 5 * kBar), 441, [&rig](int64_t frame, int32_t) {
        if (frame == 2 * kBar + kBar / 2)
            rig.fx->setParameter(kFreeze, 1.0);
    });
    for (int64_t slice = 24; slice < 40; ++slice) {
        const int64_t played = playedAt(output, slice * kSlice + 3000);
        EXPECT_TRUE(played >= kBar && played < 2 * kBar) << "slice " << slice << " plays " << played;
    }
}

TEST(SliceEngineRefusals, BlockLongerThanTheMaximumIsRefusedWhole)
{
    EngineRig rig(kRate, 2, 256);
    const EngineRig::Channels input = constant(2, 257, 0.3f);
    EngineRig::Channels output = constant(2, 257, std::numeric_limits<float>::quiet_NaN());
    const float* in[2] = {input[0].data(), input[1].data()};
    float* out[2] = {output[0].data(), output[1].data()};
    rig.fx->process(in, out, 257);
    EXPECT_TRUE(std::isnan(output[0][0]) && std::isnan(output[1][256])) << "nothing written";
    EXPECT_EQ(rig.fx->decisionCount(), 0u);
    std::array<int8_t, ScopeRing::kMaxBytes> bytes{};
    EXPECT_EQ(rig.fx->scopeRing().drain(bytes), 0);
    rig.fx->process(in, nullptr, 100);
    EXPECT_EQ(rig.fx->decisionCount(), 0u) << "no output, no block";
}

TEST(SliceEngineScope, EveryOutputSampleReachesTheScope)
{
    for (const int32_t channels : {1, 2}) {
        EngineRig rig(kRate, channels);
        rig.fx->setParameter(kActive, 0.0);
        EngineRig::Channels input = ramp(channels, 300);
        if (channels == 2)
            std::fill(input[1].begin(), input[1].end(), -0.5f);
        const EngineRig::Channels output = rig.render(input, 300);
        std::array<int8_t, ScopeRing::kMaxBytes> bytes{};
        ASSERT_EQ(rig.fx->scopeRing().drain(bytes), 300);
        for (size_t i = 0; i < 300; ++i)
            EXPECT_EQ(bytes[i], ScopeRing::toScopeByte(output[0][i], output.back()[i])) << channels << ": " << i;
    }
}
