// Slice decisions: each draw's condition on scripted values, then the sequence a seeded
// instance makes under a fixed tempo and parameter set, including the two draws the
// high-pass filter makes per sample.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EngineRig.h"
#include "dsp/RandomGenerator.h"
#include "dsp/SliceDecider.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {

// Hands out scripted values (then zeros) and counts the draws.
struct ScriptedRandom {
    std::vector<int32_t> values;
    size_t draws = 0;
    int32_t next() { return draws < values.size() ? values[draws++] : (++draws, 0); }
};

// Only the always-made pick draw happens.
DecisionParams quietParams() { return {.fxSelect = 0.0f, .pitchAmt = 0.0f, .reverseAmt = 0.0f, .rollAmt = 0.0f}; }

// The engine trace's parameter set as the decider reads it, with the effect stage off.
DecisionParams scriptedParams()
{
    return {.pitchAmt = 0.5f, .up = 1.0f, .reverseAmt = 0.5f, .panAmt = 0.5f, .sliceAmt = 0.6f};
}

SliceDecision decide(const DecisionParams& p, ScriptedRandom& random, int32_t slicesPerBeat = 2, int32_t counter = 0,
                     int32_t channels = 2)
{
    SliceDecider decider;
    return decider.decide(p, slicesPerBeat, counter, channels, random);
}

} // namespace

TEST(SliceDecision, QuietAmountsDrawOnlyThePickAndRollFractionOnlyAtOneSlicePerBeat)
{
    ScriptedRandom random;
    const SliceDecision d = decide(quietParams(), random, 2, 5);
    EXPECT_EQ(random.draws, 1u);
    EXPECT_TRUE(d.repeat) << "Slice Amt 1 repeats without a draw";
    EXPECT_FALSE(d.fxOn);
    EXPECT_EQ(d.pan, 0.5f);

    ScriptedRandom quarter{{5, 0}}, eighth{{8, 0}};
    EXPECT_EQ(decide(quietParams(), quarter, 1).rollFraction, 0.25f);
    EXPECT_EQ(quarter.draws, 2u);
    EXPECT_EQ(decide(quietParams(), eighth, 1).rollFraction, 0.125f);
    ScriptedRandom four;
    EXPECT_EQ(decide(quietParams(), four, 4).rollFraction, 0.25f);
    EXPECT_EQ(four.draws, 1u);
}

TEST(SliceDecision, EffectChoiceFilterOffsetAndEffectDraw)
{
    DecisionParams p = quietParams();
    p.fxSelect = 1.0f;
    p.effectActive[0] = p.effectActive[1] = p.effectActive[2] = p.effectActive[3] = 0.0f;
    p.fxAmt = 1.0f;
    ScriptedRandom none;
    const SliceDecision d = decide(p, none);
    EXPECT_EQ(d.fxId, SliceDecision::kRandomWithNothingEligible);
    EXPECT_FALSE(d.fxOn) << "no effect flag on: no effect draw either";
    EXPECT_EQ(none.draws, 1u);

    p.effectActive[1] = p.effectActive[3] = 1.0f;
    ScriptedRandom second{{1, 0, 0}}, first{{2, 0, 0}};
    EXPECT_EQ(decide(p, second).fxId, 3);
    EXPECT_EQ(decide(p, first).fxId, 1);
    ScriptedRandom effectDraw{{5, 5}};
    EXPECT_TRUE(decide(p, effectDraw).fxOn) << "any enabled flag allows the effect draw";

    p = quietParams();
    p.fxSelect = 0.5f; // high-pass filter
    p.filterCut = 0.25f;
    p.filterEnv = 0.5f;
    ScriptedRandom offset{{40}};
    const SliceDecision filtered = decide(p, offset);
    EXPECT_EQ(filtered.fxId, 2);
    ASSERT_TRUE(filtered.filterOffsetDrawn);
    EXPECT_FLOAT_EQ(filtered.filterOffset, 0.4f * 0.5f + 0.25f);
}

TEST(SliceDecision, PitchDivisorWidensAtHighAmountOrInStretchMode)
{
    DecisionParams p = quietParams();
    p.pitchAmt = 0.95f; // its float is below the double 0.95: divisor int(10 - 7.6) = 2
    p.pitchRange = 0.0f;
    ScriptedRandom odd{{1}}, always{{1}};
    EXPECT_FALSE(decide(p, odd).pitched);
    p.stretch = 1.0f; // divisor int(10 - 8.55) = 1: always pitched
    EXPECT_TRUE(decide(p, always).pitched);
}

TEST(SliceDecision, SemitonesFollowUpDownAndPitchSet)
{
    DecisionParams p = quietParams();
    p.pitchAmt = 1.0f;   // divisor int(10 - 8) = 2: draw 0 hits
    p.pitchRange = 0.5f; // six semitones
    struct Case {
        float up, down, set;
        std::vector<int32_t> draws;
        int32_t semitones;
    };
    const Case cases[] = {
        {1, 1, 1, {0, 1}, -6}, {1, 1, 1, {0, 2}, 6}, {1, 1, 0, {0, 11}, 5}, {1, 1, 0, {0, 0}, -6},
        {1, 0, 1, {0}, 6},     {1, 0, 0, {0, 10}, 4}, {0, 1, 1, {0}, -6},   {0, 1, 0, {0, 9}, -3},
        {0, 0, 0, {0}, 0},
    };
    for (const Case& c : cases) {
        p.up = c.up;
        p.down = c.down;
        p.pitchSet = c.set;
        ScriptedRandom random{c.draws};
        const SliceDecision d = decide(p, random);
        EXPECT_TRUE(d.pitched);
        EXPECT_EQ(d.semitones, c.semitones) << c.up << c.down << c.set;
        EXPECT_EQ(random.draws, c.draws.size() + 1) << "semitone draws, then the pick";
    }
}

TEST(SliceDecision, PanHitsAlternateSidesAndNeedStereo)
{
    DecisionParams p = quietParams();
    p.panAmt = 1.0f;
    ScriptedRandom stereo, mono;
    SliceDecider decider;
    EXPECT_EQ(decider.decide(p, 2, 0, 2, stereo).pan, 1.0f);
    EXPECT_EQ(decider.decide(p, 2, 0, 2, stereo).pan, 0.0f);
    EXPECT_EQ(stereo.draws, 4u);
    EXPECT_EQ(decide(p, mono, 2, 0, 1).pan, 0.5f);
    EXPECT_EQ(mono.draws, 1u) << "no pan draw on a mono bus";
}

TEST(SliceDecision, NoDirectReplaysTheSameSliceOfTheBarBefore)
{
    DecisionParams p = quietParams();
    p.noDirect = 1.0f;
    p.sliceAmt = 0.0f;
    ScriptedRandom random{{0x7FFFFFFF}};
    SliceDecision d = decide(p, random, 2, 6);
    EXPECT_TRUE(d.repeat);
    EXPECT_EQ(d.pick, 6);
    EXPECT_EQ(random.draws, 1u);

    p.sliceAmt = 0.05f; // K = int(6.65) = 6, M = int(0.5) = 0: one draw discarded
    ScriptedRandom discard{{0, 1, 99}};
    d = decide(p, discard, 2, 3);
    EXPECT_EQ(discard.draws, 3u);
    EXPECT_EQ(d.pick, 3);
    EXPECT_TRUE(d.repeat);

    p.sliceAmt = 0.5f; // K = 3, M = 5
    ScriptedRandom miss{{0, 1, 2}};
    d = decide(p, miss, 2, 3);
    EXPECT_TRUE(d.repeat);
    EXPECT_EQ(d.pick, 0) << "M missed: the drawn pick stays";
}

TEST(SliceDecision, PickTablesReachTheirLastEntryAtOne)
{
    EXPECT_EQ(SliceDecider::pickFromTable(1, 0.0f), 0);
    EXPECT_EQ(SliceDecider::pickFromTable(1, 1.0f), 3);
    EXPECT_EQ(SliceDecider::pickFromTable(2, 1.0f), 7);
    EXPECT_EQ(SliceDecider::pickFromTable(4, 1.0f), 14);
    EXPECT_EQ(SliceDecider::pickFromTable(4, 0.5f), 8);
    // rand()'s largest value rounds to 2^31 in single precision and finds the last entry.
    EXPECT_EQ(static_cast<float>(0x7FFFFFFF) * 4.656613e-10f, 1.0f);
}

namespace {

constexpr uint32_t kSeed = 20261206;
constexpr int64_t kBar = 88200; // samples at 120 BPM and 44.1 kHz
constexpr int32_t kBlock = 50;  // divides the bar

std::string describe(const SliceDecision& d)
{
    char text[96];
    std::snprintf(text, sizeof text, "fx%d%s s%d%s%s p%.0f k%d%s|", d.fxId, d.fxOn ? "+" : "", d.semitones,
                  d.reverse ? " rev" : "", d.roll ? " roll" : "", d.pan * 2.0f, d.pick, d.repeat ? " R" : "");
    return text;
}

// The engine's decisions for the first `bars` bars under a parameter set where every
// draw's condition is live, one entry per slice start.
std::vector<SliceDecision> engineDecisions(int32_t channels, double sliceSize, double fxAmount, int32_t bars)
{
    EngineRig rig(44100.0, channels);
    rig.fx->setReplaySeed(kSeed);
    rig.set({{kActive, 1.0}, {kSliceSize, sliceSize}, {kFxSelect, 1.0}, {kFxAmt, fxAmount}, {kFilterCut, 0.4},
             {kFilterEnv, 1.0}, {kPitchAmt, 0.5}, {kPitchRange, 0.5}, {kUp, 1.0}, {kDown, 1.0}, {kPitchSet, 0.0},
             {kReverseAmt, 0.5}, {kRollAmt, 0.5}, {kPanAmt, 0.5}, {kSliceAmt, 0.6}, {kNoDirect, 0.0},
             {kReplayRndSeq, 0.5}});
    const EngineRig::Channels input = EngineRig::noise(channels, kBlock, 7);
    std::vector<SliceDecision> log;
    for (int64_t frame = 0; frame < bars * kBar; frame += kBlock) {
        const uint64_t seen = rig.fx->decisionCount();
        rig.render(input, kBlock);
        EXPECT_LE(rig.fx->decisionCount() - seen, 1u) << "one slice start per block at most";
        if (rig.fx->decisionCount() != seen)
            log.push_back(rig.fx->lastDecision());
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
    EXPECT_EQ(trace(engineDecisions(GetParam().channels, GetParam().sliceSize, 0.8, 2)), GetParam().expected);
}

// One entry per slice: effect (+ when the stage is on), semitones, reverse, roll, pan
// (0 left, 1 centre, 2 right), picked slice, R when the slice repeats.
INSTANTIATE_TEST_SUITE_P(SliceSizesMonoAndStereo, DecisionTrace, ::testing::Values(
    TraceCase{0.0, 1,
              "fx1+ s0 p1 k3 R|fx1+ s0 p1 k1|fx3 s0 p1 k2 R|fx1 s0 p1 k2 R|fx1+ s0 p1 k1 R|fx0+ s0 rev p1 k2|"
              "fx1+ s0 p1 k1|fx3+ s0 p1 k0 R|"},
    TraceCase{0.0, 2,
              "fx1 s0 p1 k2 R|fx0 s-1 p2 k0|fx1+ s0 p1 k0 R|fx3 s0 p1 k2 R|fx3+ s0 roll p1 k2 R|fx1 s0 p1 k0|"
              "fx2+ s0 p1 k0 R|fx3 s1 p1 k1|"},
    TraceCase{0.5, 1,
              "fx1+ s0 p1 k4 R|fx2 s0 p1 k1 R|fx0 s0 roll p1 k3|fx0 s0 p1 k3 R|fx2 s0 p1 k6 R|fx3 s0 p1 k5|"
              "fx2+ s0 p1 k4|fx1+ s0 rev p1 k2|fx3 s-3 p1 k6 R|fx1 s0 p1 k7 R|fx3+ s0 p1 k5 R|fx2+ s0 p1 k7 R|"
              "fx1+ s0 p1 k2 R|fx3 s-2 p1 k5|fx0 s0 p1 k2 R|fx3+ s0 roll p1 k6 R|"},
    TraceCase{0.5, 2,
              "fx1+ s0 p1 k6 R|fx1+ s0 p1 k4|fx3 s0 rev p1 k5 R|fx1 s4 p2 k3|fx1+ s0 p1 k3 R|fx2+ s0 p1 k3|"
              "fx2+ s0 p1 k2|fx1+ s-3 p1 k3 R|fx3 s0 p1 k0|fx2 s0 rev p1 k0|fx1 s1 p1 k6 R|fx0+ s0 roll p1 k6 R|"
              "fx1+ s0 p1 k3|fx3+ s0 p1 k6 R|fx2+ s0 p1 k5 R|fx3 s0 p1 k6|"},
    TraceCase{1.0, 1,
              "fx1+ s0 p1 k6 R|fx2 s0 p1 k0 R|fx0 s0 roll p1 k4|fx0 s0 p1 k6 R|fx2 s0 p1 k10 R|fx3 s0 p1 k8|"
              "fx2+ s0 p1 k6|fx0 s0 p1 k4 R|fx2 s-3 p1 k8|fx2+ s-6 p1 k12|fx0 s0 p1 k6|fx1+ s0 p1 k4|fx1+ s0 p1 k10 R|"
              "fx1+ s0 p1 k0|fx1 s0 p1 k0|fx1 s0 p1 k8 R|fx2+ s0 p1 k4|fx0+ s0 rev p1 k6|fx0+ s0 p1 k14 R|"
              "fx2+ s0 p1 k6|fx2+ s0 p1 k6 R|fx2 s1 p1 k12|fx3 s0 p1 k8|fx2+ s0 p1 k4 R|fx3 s0 p1 k0 R|fx2+ s0 p1 k4|"
              "fx1 s0 p1 k14|fx0+ s0 p1 k12 R|fx2+ s0 p1 k8|fx0 s0 p1 k0|fx1+ s1 rev p1 k12 R|fx3+ s0 p1 k6|"},
    TraceCase{1.0, 2,
              "fx1+ s0 p1 k12 R|fx1+ s0 p1 k8|fx3 s0 rev p1 k8 R|fx1 s4 p2 k6|fx1+ s0 p1 k4 R|fx2+ s0 p1 k4|"
              "fx0+ s0 rev p1 k2 R|fx1 s0 p0 k4 R|fx3+ s-3 p1 k10 R|fx3+ s-4 p1 k0 R|fx3+ s-4 roll p1 k12|"
              "fx2 s0 p1 k6 R|fx3+ s2 p1 k0 R|fx0+ s0 p2 k8 R|fx2+ s0 p0 k8|fx1 s0 p1 k2|fx2 s0 p1 k6|fx0 s0 p1 k8 R|"
              "fx2 s-3 p2 k12|fx3 s0 p1 k6 R|fx2+ s0 p1 k4 R|fx3 s0 p0 k0 R|fx1+ s0 p1 k4 R|fx3 s0 rev p1 k6|"
              "fx2 s0 p1 k14 R|fx0 s0 p1 k8 R|fx0 s0 rev p1 k12|fx0+ s0 p1 k8 R|fx3 s4 roll p2 k12 R|"
              "fx3+ s0 roll p1 k8|fx1+ s0 p1 k6|fx2+ s-3 roll p1 k8 R|"}));

// Without the filter's per-sample draws, the engine's decisions are exactly the decider's
// run on a generator seeded at the transport start, slice counter by slice counter; mono
// makes no pan draw, so it never pans.
TEST(DecisionTraceByHand, WithoutTheEffectStageEachSliceDrawsOnlyItsOwnDecision)
{
    for (const double sliceSize : {0.0, 0.5, 1.0}) {
        for (const int32_t channels : {1, 2}) {
            const std::vector<SliceDecision> log = engineDecisions(channels, sliceSize, 0.0, 2);
            const int32_t slicesPerBeat = sliceSize == 0.0 ? 1 : sliceSize == 0.5 ? 2 : 4;
            ASSERT_EQ(log.size(), static_cast<size_t>(2 * 4 * slicesPerBeat));
            RandomGenerator random;
            random.seed(kSeed);
            SliceDecider decider;
            for (size_t i = 0; i < log.size(); ++i) {
                const auto counter = static_cast<int32_t>(i % static_cast<size_t>(4 * slicesPerBeat));
                const SliceDecision expected = decider.decide(scriptedParams(), slicesPerBeat, counter, channels, random);
                EXPECT_EQ(describe(log[i]), describe(expected)) << "slice " << i << ", " << channels << " channels";
                EXPECT_EQ(log[i].rollFraction, expected.rollFraction);
                EXPECT_EQ(log[i].pitched, expected.pitched);
                if (channels == 1) {
                    EXPECT_EQ(log[i].pan, 0.5f) << "a mono slice is never panned";
                }
            }
        }
    }
}
