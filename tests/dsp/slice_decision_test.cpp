// Slice decisions: each draw's condition, then a seeded instance's sequence, high-pass draws included.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EngineRig.h"
#include "dsp/SliceDecider.h"

namespace {
// Hands out scripted values (then zeros) and counts the draws.
struct ScriptedRandom {
    std::vector<int32_t> values;
    size_t draws = 0;
    int32_t next() { return draws < values.size() ? values[draws++] : (++draws, 0); }
};

// Per slice: effect (+ stage on), semitones, reverse, roll, pan (0 L, 1 C, 2 R), picked slice, R repeats.
std::string describe(const SliceDecision& d)
{
    char text[96];
    std::snprintf(text, sizeof text, "fx%d%s s%d%s%s p%.0f k%d%s|", d.fxId, d.fxOn ? "+" : "", d.semitones,
                  d.reverse ? " rev" : "", d.roll ? " roll" : "", d.pan * 2.0f, d.pick, d.repeat ? " R" : "");
    return text;
}

// Only the always-made pick draw happens.
constexpr DecisionParams kQuiet = {.fxSelect = 0.0f, .pitchAmt = 0.0f, .reverseAmt = 0.0f, .rollAmt = 0.0f};

DecisionParams semitoneParams(float up, float down, float pitchSet)
{
    return {.fxSelect = 0.0f, .pitchAmt = 1.0f, .up = up, .down = down, .pitchSet = pitchSet, .reverseAmt = 0.0f,
            .rollAmt = 0.0f};
}
} // namespace

TEST(SliceDecision, EachDrawHappensOnlyUnderItsConditionAndDecidesAsScripted)
{
    // At "Pitch Amt" 0.95 (float below double) the divisor is int(10 - 7.6) = 2, stretched int(10 - 8.55) = 1.
    const DecisionParams noneEnabled{.fxSelect = 1.0f, .pitchAmt = 0.0f, .reverseAmt = 0.0f, .rollAmt = 0.0f,
                                     .fxAmt = 1.0f, .effectActive = {}};
    DecisionParams twoEnabled = noneEnabled, highPitchAmount = kQuiet, stretched = kQuiet;
    twoEnabled.effectActive[1] = twoEnabled.effectActive[3] = 1.0f;
    highPitchAmount.pitchAmt = stretched.pitchAmt = 0.95f;
    stretched.stretch = 1.0f;
    stretched.pitchRange = 0.0f;
    // No direct: K = int(7 - 7a) and M = int(10a) are 6 and 0 at 0.05 (a draw discarded), 3 and 5 at 0.5.
    const auto noDirect = [](float sliceAmt) {
        return DecisionParams{.fxSelect = 0.0f, .pitchAmt = 0.0f, .reverseAmt = 0.0f, .rollAmt = 0.0f,
                              .sliceAmt = sliceAmt, .noDirect = 1.0f};
    };
    struct Case {
        const char* what;
        DecisionParams params;
        int32_t slicesPerBeat, counter;
        std::vector<int32_t> values;
        size_t draws;
        const char* expected; // described, then the roll fraction in eighths and P when pitched
    };
    const Case cases[] = {
        {"Slice Amt 1 repeats without a draw", kQuiet, 2, 5, {}, 1, "fx0 s0 p1 k0 R| 2"},
        {"the roll fraction is drawn at one slice per beat", kQuiet, 1, 0, {5, 0}, 2, "fx0 s0 p1 k0 R| 2"},
        {"an eighth on a draw divisible by 4", kQuiet, 1, 0, {8, 0}, 2, "fx0 s0 p1 k0 R| 1"},
        {"rand()'s largest value rounds to 1 and picks the last entry", kQuiet, 4, 0, {0x7FFFFFFF}, 1, "fx0 s0 p1 k14 R| 2"},
        {"no effect enabled: no effect draws", noneEnabled, 2, 0, {}, 1, "fx4 s0 p1 k0 R| 2"},
        {"the second enabled effect", twoEnabled, 2, 0, {1, 0, 0}, 3, "fx3+ s0 p1 k0 R| 2"},
        {"the first enabled effect", twoEnabled, 2, 0, {2, 0, 5}, 3, "fx1+ s0 p1 k0 R| 2"},
        {"pitch amount 0.95 as a float divides by 2", highPitchAmount, 2, 0, {1}, 2, "fx0 s0 p1 k0 R| 2"},
        {"in stretch mode by 1", stretched, 2, 0, {1}, 2, "fx0 s0 p1 k0 R| 2 P"},
        {"up, down and set: down", semitoneParams(1, 1, 1), 2, 0, {0, 1}, 3, "fx0 s-6 p1 k0 R| 2 P"},
        {"up, down and set: up", semitoneParams(1, 1, 1), 2, 0, {0, 2}, 3, "fx0 s6 p1 k0 R| 2 P"},
        {"up and down: top", semitoneParams(1, 1, 0), 2, 0, {0, 11}, 3, "fx0 s5 p1 k0 R| 2 P"},
        {"up and down: bottom", semitoneParams(1, 1, 0), 2, 0, {0, 0}, 3, "fx0 s-6 p1 k0 R| 2 P"},
        {"up and set", semitoneParams(1, 0, 1), 2, 0, {0}, 2, "fx0 s6 p1 k0 R| 2 P"},
        {"up", semitoneParams(1, 0, 0), 2, 0, {0, 10}, 3, "fx0 s4 p1 k0 R| 2 P"},
        {"down and set", semitoneParams(0, 1, 1), 2, 0, {0}, 2, "fx0 s-6 p1 k0 R| 2 P"},
        {"down", semitoneParams(0, 1, 0), 2, 0, {0, 9}, 3, "fx0 s-3 p1 k0 R| 2 P"},
        {"neither up nor down", semitoneParams(0, 0, 0), 2, 0, {0}, 2, "fx0 s0 p1 k0 R| 2 P"},
        {"no direct at Slice Amt 0 replays the slice", noDirect(0.0f), 2, 6, {0x7FFFFFFF}, 1, "fx0 s0 p1 k6 R| 2"},
        {"no direct, M 0: a draw discarded", noDirect(0.05f), 2, 3, {0, 1, 99}, 3, "fx0 s0 p1 k3 R| 2"},
        {"no direct, M missed: the drawn pick stays", noDirect(0.5f), 2, 3, {0, 1, 2}, 3, "fx0 s0 p1 k0 R| 2"},
    };
    for (const Case& c : cases) {
        ScriptedRandom random{c.values};
        const SliceDecision d = SliceDecider{}.decide(c.params, c.slicesPerBeat, c.counter, 2, random);
        EXPECT_EQ(describe(d) + " " + std::to_string(static_cast<int>(d.rollFraction * 8)) + (d.pitched ? " P" : ""),
                  c.expected) << c.what;
        EXPECT_EQ(random.draws, c.draws) << c.what;
    }
    const DecisionParams filter{.fxSelect = 0.5f, .filterCut = 0.25f, .filterEnv = 0.5f, .pitchAmt = 0.0f,
                                .reverseAmt = 0.0f, .rollAmt = 0.0f}; // the high-pass draws its cutoff offset
    ScriptedRandom offset{{40}};
    const SliceDecision filtered = SliceDecider{}.decide(filter, 2, 0, 2, offset);
    EXPECT_EQ(filtered.fxId, 2);
    EXPECT_TRUE(filtered.filterOffsetDrawn);
    EXPECT_FLOAT_EQ(filtered.filterOffset, 0.4f * 0.5f + 0.25f);
}

// First-bar decisions with every draw live, blocks of 50: quarters mono, then eighths and sixteenths stereo.
TEST(DecisionTrace, SeededSequencesArePinned)
{
    for (const auto& [sliceSize, channels, expected] : {
             std::tuple{0.0, 1, "fx1+ s0 p1 k3 R|fx1+ s0 p1 k1|fx3 s0 p1 k2 R|fx1 s0 p1 k2 R|"},
             {0.5, 2, "fx1+ s0 p1 k6 R|fx1+ s0 p1 k4|fx3 s0 rev p1 k5 R|fx1 s4 p2 k3|fx1+ s0 p1 k3 R|fx2+ s0 p1 k3|"
                      "fx2+ s0 p1 k2|fx1+ s-3 p1 k3 R|"},
             {1.0, 2, "fx1+ s0 p1 k12 R|fx1+ s0 p1 k8|fx3 s0 rev p1 k8 R|fx1 s4 p2 k6|fx1+ s0 p1 k4 R|fx2+ s0 p1 k4|"
                      "fx0+ s0 rev p1 k2 R|fx1 s0 p0 k4 R|fx3+ s-3 p1 k10 R|fx3+ s-4 p1 k0 R|fx3+ s-4 roll p1 k12|"
                      "fx2 s0 p1 k6 R|fx3+ s2 p1 k0 R|fx0+ s0 p2 k8 R|fx2+ s0 p0 k8|fx1 s0 p1 k2|"}}) {
        EngineRig rig(44100.0, channels);
        rig.fx->setReplaySeed(20261206);
        rig.set({{kActive, 1.0}, {kSliceSize, sliceSize}, {kFxSelect, 1.0}, {kFxAmt, 0.8}, {kFilterCut, 0.4},
                 {kFilterEnv, 1.0}, {kPitchAmt, 0.5}, {kPitchRange, 0.5}, {kUp, 1.0}, {kDown, 1.0}, {kPitchSet, 0.0},
                 {kReverseAmt, 0.5}, {kRollAmt, 0.5}, {kPanAmt, 0.5}, {kSliceAmt, 0.6}, {kNoDirect, 0.0},
                 {kReplayRndSeq, 0.5}});
        std::string trace;
        for (const auto& [frame, decision] : rig.decisions(88200, 50))
            trace += describe(decision);
        EXPECT_EQ(trace, expected) << sliceSize << ", " << channels << " channels";
    }
}
