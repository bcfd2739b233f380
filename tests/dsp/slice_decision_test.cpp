#include "dsp/SliceDecider.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Hands out scripted values (then zeros) and counts the draws.
struct ScriptedRandom
{
    std::vector<int32_t> values;
    size_t draws = 0;
    int32_t next()
    {
        const int32_t v = draws < values.size() ? values[draws] : 0;
        ++draws;
        return v;
    }
};

// Parameters under which only the always-made pick draw happens.
DecisionParams quietParams()
{
    DecisionParams p;
    p.fxSelect = 0.0f;
    p.pitchAmt = 0.0f;
    p.reverseAmt = 0.0f;
    p.rollAmt = 0.0f;
    p.panAmt = 0.0f;
    p.sliceAmt = 1.0f;
    p.fxAmt = 0.0f;
    return p;
}

TEST(SliceDecision, OnlyThePickIsDrawnWhenEveryAmountIsOff)
{
    SliceDecider decider;
    ScriptedRandom random;
    const SliceDecision d = decider.decide(quietParams(), 2, 5, 2, random);
    EXPECT_EQ(random.draws, 1u);
    EXPECT_TRUE(d.repeat) << "Slice Amt 1 repeats without a draw";
    EXPECT_EQ(d.fxId, 0);
    EXPECT_FALSE(d.fxOn);
    EXPECT_EQ(d.pan, 0.5f);
}

TEST(SliceDecision, RollFractionIsDrawnOnlyAtOneSlicePerBeat)
{
    SliceDecider decider;
    ScriptedRandom one{{5, 0}};
    EXPECT_EQ(decider.decide(quietParams(), 1, 0, 2, one).rollFraction, 0.25f);
    EXPECT_EQ(one.draws, 2u);
    ScriptedRandom hit{{8, 0}};
    EXPECT_EQ(decider.decide(quietParams(), 1, 0, 2, hit).rollFraction, 0.125f);
    for (int32_t slicesPerBeat : {2, 4})
    {
        ScriptedRandom random;
        EXPECT_EQ(decider.decide(quietParams(), slicesPerBeat, 0, 2, random).rollFraction, 0.25f);
        EXPECT_EQ(random.draws, 1u);
    }
}

TEST(SliceDecision, RandomEffectChoosesAmongEligibleOnly)
{
    SliceDecider decider;
    DecisionParams p = quietParams();
    p.fxSelect = 1.0f;
    p.effectActive[0] = p.effectActive[1] = p.effectActive[2] = p.effectActive[3] = 0.0f;
    p.fxAmt = 1.0f;
    ScriptedRandom none;
    const SliceDecision d = decider.decide(p, 2, 0, 2, none);
    EXPECT_EQ(d.fxId, SliceDecision::kRandomWithNothingEligible);
    EXPECT_FALSE(d.fxOn) << "no effect flag on: no effect draw either";
    EXPECT_EQ(none.draws, 1u);

    p.effectActive[1] = p.effectActive[3] = 1.0f;
    ScriptedRandom second{{1, 0, 0}};
    EXPECT_EQ(decider.decide(p, 2, 0, 2, second).fxId, 3);
    ScriptedRandom first{{2, 0, 0}};
    EXPECT_EQ(decider.decide(p, 2, 0, 2, first).fxId, 1);
}

TEST(SliceDecision, FilterOffsetFollowsCutoffAndEnvelope)
{
    SliceDecider decider;
    DecisionParams p = quietParams();
    p.fxSelect = 0.5f; // high-pass filter
    p.filterCut = 0.25f;
    p.filterEnv = 0.5f;
    ScriptedRandom random{{40}};
    const SliceDecision d = decider.decide(p, 2, 0, 2, random);
    EXPECT_EQ(d.fxId, 2);
    ASSERT_TRUE(d.filterOffsetDrawn);
    EXPECT_FLOAT_EQ(d.filterOffset, 0.4f * 0.5f + 0.25f);
}

TEST(SliceDecision, PitchDivisorWidensAtHighAmountOrInStretchMode)
{
    SliceDecider decider;
    DecisionParams p = quietParams();
    p.pitchAmt = 0.95f; // its float is below the double 0.95: divisor int(10 - 7.6) = 2
    p.pitchRange = 0.0f;
    ScriptedRandom odd{{1}};
    EXPECT_FALSE(decider.decide(p, 2, 0, 2, odd).pitched);
    p.stretch = 1.0f; // divisor int(10 - 8.55) = 1: always pitched
    ScriptedRandom always{{1}};
    EXPECT_TRUE(decider.decide(p, 2, 0, 2, always).pitched);
}

TEST(SliceDecision, SemitonesFollowUpDownAndPitchSet)
{
    SliceDecider decider;
    DecisionParams p = quietParams();
    p.pitchAmt = 1.0f; // divisor 1 with stretch... int(10 - 8) = 2: draw 0 hits
    p.pitchRange = 0.5f; // six semitones
    struct Case { float up, down, set; std::vector<int32_t> draws; int32_t semitones; };
    const Case cases[] = {
        {1, 1, 1, {0, 1}, -6}, {1, 1, 1, {0, 2}, 6}, {1, 1, 0, {0, 11}, 5}, {1, 1, 0, {0, 0}, -6},
        {1, 0, 1, {0}, 6},     {1, 0, 0, {0, 10}, 4}, {0, 1, 1, {0}, -6},   {0, 1, 0, {0, 9}, -3},
        {0, 0, 0, {0}, 0},
    };
    for (const Case& c : cases)
    {
        p.up = c.up;
        p.down = c.down;
        p.pitchSet = c.set;
        ScriptedRandom random{c.draws};
        const SliceDecision d = decider.decide(p, 2, 0, 2, random);
        EXPECT_TRUE(d.pitched);
        EXPECT_EQ(d.semitones, c.semitones) << c.up << c.down << c.set;
        EXPECT_EQ(random.draws, c.draws.size() + 1) << "semitone draws, then the pick";
    }
}

TEST(SliceDecision, PanHitsAlternateSidesAndNeedStereo)
{
    SliceDecider decider;
    DecisionParams p = quietParams();
    p.panAmt = 1.0f;
    ScriptedRandom stereo;
    EXPECT_EQ(decider.decide(p, 2, 0, 2, stereo).pan, 1.0f);
    EXPECT_EQ(decider.decide(p, 2, 0, 2, stereo).pan, 0.0f);
    EXPECT_EQ(stereo.draws, 4u);
    ScriptedRandom mono;
    EXPECT_EQ(decider.decide(p, 2, 0, 1, mono).pan, 0.5f);
    EXPECT_EQ(mono.draws, 1u) << "no pan draw on a mono bus";
}

TEST(SliceDecision, NoDirectReplaysTheSameSliceOfTheBarBefore)
{
    SliceDecider decider;
    DecisionParams p = quietParams();
    p.noDirect = 1.0f;
    p.sliceAmt = 0.0f;
    ScriptedRandom random{{0x7FFFFFFF}};
    SliceDecision d = decider.decide(p, 2, 6, 2, random);
    EXPECT_TRUE(d.repeat);
    EXPECT_EQ(d.pick, 6);
    EXPECT_EQ(random.draws, 1u);

    p.sliceAmt = 0.05f; // K = int(6.65) = 6, M = int(0.5) = 0: one draw discarded
    ScriptedRandom discard{{0, 1, 99}};
    d = decider.decide(p, 2, 3, 2, discard);
    EXPECT_EQ(discard.draws, 3u);
    EXPECT_EQ(d.pick, 3);
    EXPECT_TRUE(d.repeat);

    p.sliceAmt = 0.5f; // K = 3, M = 5
    ScriptedRandom miss{{0, 1, 2}};
    d = decider.decide(p, 2, 3, 2, miss);
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

TEST(SliceDecision, EffectDrawUsesAnyEnabledFlag)
{
    SliceDecider decider;
    DecisionParams p = quietParams();
    p.fxAmt = 1.0f; // divisor 1: always on
    p.effectActive[0] = 0.0f;
    ScriptedRandom random{{5, 5}};
    EXPECT_TRUE(decider.decide(p, 2, 0, 2, random).fxOn);
    EXPECT_EQ(random.draws, 2u);
}

} // namespace
