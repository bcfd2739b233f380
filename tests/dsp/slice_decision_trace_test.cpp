// The sequence of slice decisions a seeded instance makes under a fixed tempo and a
// scripted parameter set: pins the order and the conditions of every random draw,
// including the two the high-pass filter makes per sample.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "EngineRig.h"
#include "dsp/RandomGenerator.h"
#include "dsp/SliceDecider.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {

constexpr uint32_t kSeed = 20261206;
constexpr double kSampleRate = 44100.0;
constexpr int64_t kBar = 88200; // samples at 120 BPM
constexpr int32_t kBlock = 50;  // divides the bar

EngineRig::Channels seededNoise(int32_t channels, int64_t frames)
{
    std::mt19937 engine(7);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    EngineRig::Channels clip(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames)));
    for (auto& channel : clip)
        for (float& sample : channel)
            sample = noise(engine);
    return clip;
}

std::string describe(const SliceDecision& d)
{
    char text[96];
    std::snprintf(text, sizeof text, "fx%d%s s%d%s%s p%.0f k%d%s|", d.fxId, d.fxOn ? "+" : "", d.semitones,
                  d.reverse ? " rev" : "", d.roll ? " roll" : "", d.pan * 2.0f, d.pick, d.repeat ? " R" : "");
    return text;
}

// Every draw's condition is live: random effect choice, filter offsets, pitch with both
// directions, reverse, roll, pan, repeat and the effect stage.
void scriptParameters(Vextoria3FX& fx, double sliceSize, double fxAmount)
{
    const std::pair<int32_t, double> values[] = {
        {kActive, 1.0},      {kSliceSize, sliceSize}, {kFxSelect, 1.0},  {kFxAmt, fxAmount},
        {kFilterCut, 0.4},   {kFilterEnv, 1.0},       {kPitchAmt, 0.5},  {kPitchRange, 0.5},
        {kUp, 1.0},          {kDown, 1.0},            {kPitchSet, 0.0},  {kReverseAmt, 0.5},
        {kRollAmt, 0.5},     {kPanAmt, 0.5},          {kSliceAmt, 0.6},  {kNoDirect, 0.0},
        {kReplayRndSeq, 0.5}};
    for (const auto& [id, value] : values)
        fx.setParameter(id, value);
}

// The decisions of the first `bars` bars, one entry per slice start.
std::vector<SliceDecision> decisions(int32_t channels, double sliceSize, double fxAmount, int32_t bars)
{
    EngineRig rig(kSampleRate, channels);
    rig.fx->setReplaySeed(kSeed);
    scriptParameters(*rig.fx, sliceSize, fxAmount);
    std::vector<SliceDecision> log;
    uint64_t seen = 0;
    const EngineRig::Channels input = seededNoise(channels, kBlock);
    for (int64_t frame = 0; frame < bars * kBar; frame += kBlock) {
        rig.render(input, kBlock);
        EXPECT_LE(rig.fx->decisionCount() - seen, 1u) << "one slice start per block at most";
        if (rig.fx->decisionCount() != seen)
            log.push_back(rig.fx->lastDecision());
        seen = rig.fx->decisionCount();
    }
    return log;
}

std::string trace(const std::vector<SliceDecision>& log)
{
    std::string text;
    for (const SliceDecision& d : log)
        text += describe(d);
    return text;
}

struct TraceCase {
    double sliceSize;
    int32_t channels;
    const char* expected;
};

class DecisionTrace : public ::testing::TestWithParam<TraceCase> {};

} // namespace

TEST_P(DecisionTrace, SeededSequenceIsPinned)
{
    const std::vector<SliceDecision> log = decisions(GetParam().channels, GetParam().sliceSize, 0.8, 2);
    EXPECT_EQ(trace(log), GetParam().expected);
}

// One entry per slice: effect (+ when the stage is on), semitones, reverse, roll, pan
// (0 left, 1 centre, 2 right), picked slice, R when the slice repeats.
INSTANTIATE_TEST_SUITE_P(SliceSizesMonoAndStereo, DecisionTrace, ::testing::Values(
    TraceCase{0.0, 1,
         "fx1+ s0 p1 k3 R|fx1+ s0 p1 k1|fx3 s0 p1 k2 R|fx1 s0 p1 k2 R|fx1+ s0 p1 k1 R|"
         "fx0+ s0 rev p1 k2|fx1+ s0 p1 k1|fx3+ s0 p1 k0 R|"},
    TraceCase{0.0, 2,
         "fx1 s0 p1 k2 R|fx0 s-1 p2 k0|fx1+ s0 p1 k0 R|fx3 s0 p1 k2 R|"
         "fx3+ s0 roll p1 k2 R|fx1 s0 p1 k0|fx2+ s0 p1 k0 R|fx3 s1 p1 k1|"},
    TraceCase{0.5, 1,
         "fx1+ s0 p1 k4 R|fx2 s0 p1 k1 R|fx0 s0 roll p1 k3|fx0 s0 p1 k3 R|fx2 s0 p1 k6 R|"
         "fx3 s0 p1 k5|fx2+ s0 p1 k4|fx1+ s0 rev p1 k2|fx3 s-3 p1 k6 R|fx1 s0 p1 k7 R|"
         "fx3+ s0 p1 k5 R|fx2+ s0 p1 k7 R|fx1+ s0 p1 k2 R|fx3 s-2 p1 k5|fx0 s0 p1 k2 R|"
         "fx3+ s0 roll p1 k6 R|"},
    TraceCase{0.5, 2,
         "fx1+ s0 p1 k6 R|fx1+ s0 p1 k4|fx3 s0 rev p1 k5 R|fx1 s4 p2 k3|fx1+ s0 p1 k3 R|"
         "fx2+ s0 p1 k3|fx2+ s0 p1 k2|fx1+ s-3 p1 k3 R|fx3 s0 p1 k0|fx2 s0 rev p1 k0|"
         "fx1 s1 p1 k6 R|fx0+ s0 roll p1 k6 R|fx1+ s0 p1 k3|fx3+ s0 p1 k6 R|"
         "fx2+ s0 p1 k5 R|fx3 s0 p1 k6|"},
    TraceCase{1.0, 1,
         "fx1+ s0 p1 k6 R|fx2 s0 p1 k0 R|fx0 s0 roll p1 k4|fx0 s0 p1 k6 R|fx2 s0 p1 k10 R|"
         "fx3 s0 p1 k8|fx2+ s0 p1 k6|fx0 s0 p1 k4 R|fx2 s-3 p1 k8|fx2+ s-6 p1 k12|"
         "fx0 s0 p1 k6|fx1+ s0 p1 k4|fx1+ s0 p1 k10 R|fx1+ s0 p1 k0|fx1 s0 p1 k0|"
         "fx1 s0 p1 k8 R|fx2+ s0 p1 k4|fx0+ s0 rev p1 k6|fx0+ s0 p1 k14 R|fx2+ s0 p1 k6|"
         "fx2+ s0 p1 k6 R|fx2 s1 p1 k12|fx3 s0 p1 k8|fx2+ s0 p1 k4 R|fx3 s0 p1 k0 R|"
         "fx2+ s0 p1 k4|fx1 s0 p1 k14|fx0+ s0 p1 k12 R|fx2+ s0 p1 k8|fx0 s0 p1 k0|"
         "fx1+ s1 rev p1 k12 R|fx3+ s0 p1 k6|"},
    TraceCase{1.0, 2,
         "fx1+ s0 p1 k12 R|fx1+ s0 p1 k8|fx3 s0 rev p1 k8 R|fx1 s4 p2 k6|fx1+ s0 p1 k4 R|"
         "fx2+ s0 p1 k4|fx0+ s0 rev p1 k2 R|fx1 s0 p0 k4 R|fx3+ s-3 p1 k10 R|"
         "fx3+ s-4 p1 k0 R|fx3+ s-4 roll p1 k12|fx2 s0 p1 k6 R|fx3+ s2 p1 k0 R|"
         "fx0+ s0 p2 k8 R|fx2+ s0 p0 k8|fx1 s0 p1 k2|fx2 s0 p1 k6|fx0 s0 p1 k8 R|"
         "fx2 s-3 p2 k12|fx3 s0 p1 k6 R|fx2+ s0 p1 k4 R|fx3 s0 p0 k0 R|fx1+ s0 p1 k4 R|"
         "fx3 s0 rev p1 k6|fx2 s0 p1 k14 R|fx0 s0 p1 k8 R|fx0 s0 rev p1 k12|"
         "fx0+ s0 p1 k8 R|fx3 s4 roll p2 k12 R|fx3+ s0 roll p1 k8|fx1+ s0 p1 k6|"
         "fx2+ s-3 roll p1 k8 R|"}));

namespace {

// The scripted set as the decider reads it, with the effect stage off.
DecisionParams scriptedDecisionParams()
{
    DecisionParams p;
    p.fxSelect = 1.0f;
    p.filterCut = 0.4f;
    p.filterEnv = 1.0f;
    p.pitchAmt = 0.5f;
    p.pitchRange = 0.5f;
    p.up = p.down = 1.0f;
    p.pitchSet = 0.0f;
    p.stretch = 0.0f;
    p.reverseAmt = 0.5f;
    p.rollAmt = 0.5f;
    p.panAmt = 0.5f;
    p.sliceAmt = 0.6f;
    p.noDirect = 0.0f;
    p.fxAmt = 0.0f;
    return p;
}

bool sameDecision(const SliceDecision& a, const SliceDecision& b)
{
    return describe(a) == describe(b) && a.rollFraction == b.rollFraction && a.pitched == b.pitched;
}

} // namespace

// Without the filter's per-sample draws, the engine's decisions are exactly the decider's
// run on a generator seeded at the transport start, slice counter by slice counter.
TEST(DecisionTraceByHand, WithoutTheEffectStageEachSliceDrawsOnlyItsOwnDecision)
{
    for (const double sliceSize : {0.0, 0.5, 1.0}) {
        for (const int32_t channels : {1, 2}) {
            const std::vector<SliceDecision> log = decisions(channels, sliceSize, 0.0, 2);
            const int32_t slicesPerBeat = sliceSize == 0.0 ? 1 : sliceSize == 0.5 ? 2 : 4;
            ASSERT_EQ(log.size(), static_cast<size_t>(2 * 4 * slicesPerBeat));
            RandomGenerator random;
            random.seed(kSeed);
            SliceDecider decider;
            for (size_t i = 0; i < log.size(); ++i) {
                const auto counter = static_cast<int32_t>(i % static_cast<size_t>(4 * slicesPerBeat));
                const SliceDecision expected =
                    decider.decide(scriptedDecisionParams(), slicesPerBeat, counter, channels, random);
                EXPECT_TRUE(sameDecision(log[i], expected))
                    << "slice " << i << " at " << slicesPerBeat << " per beat, " << channels << " channels: "
                    << describe(log[i]) << " against " << describe(expected);
            }
        }
    }
}

// Mono makes no pan draw: the first slice agrees with stereo up to the pan, then the
// sequences part.
TEST(DecisionTraceByHand, MonoAndStereoAgreeUntilTheFirstPanDraw)
{
    const std::vector<SliceDecision> mono = decisions(1, 0.5, 0.0, 1);
    const std::vector<SliceDecision> stereo = decisions(2, 0.5, 0.0, 1);
    ASSERT_FALSE(mono.empty());
    ASSERT_FALSE(stereo.empty());
    EXPECT_EQ(mono[0].fxId, stereo[0].fxId);
    EXPECT_EQ(mono[0].semitones, stereo[0].semitones);
    EXPECT_EQ(mono[0].reverse, stereo[0].reverse);
    EXPECT_EQ(mono[0].roll, stereo[0].roll);
    EXPECT_NE(trace(mono), trace(stereo));
    for (const SliceDecision& d : mono)
        EXPECT_EQ(d.pan, 0.5f) << "a mono slice is never panned";
}
