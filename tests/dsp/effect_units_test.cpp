// Units of the effect stage and the slice player, each with its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/BitReduzer.h"
#include "dsp/CParamSmooth.h"
#include "dsp/Crossfader2.h"
#include "dsp/EnvelopeFollower.h"
#include "dsp/Gater2.h"
#include "dsp/PitchCurves.h"
#include "dsp/RandomGenerator.h"
#include "dsp/SliceEffects.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
} // namespace

TEST(Crossfader, HeldPairRampsToZeroWhileTheSignalFadesInOnTheChosenCurve)
{
    Crossfader2 fader;
    fader.setFadeOutBuffer(1.0f, -1.0f);
    fader.start();
    for (int32_t i = 0; i <= 441; ++i) { // the last pair is the idle fader's: untouched
        double left = 0.25, right = -0.5;
        fader.process(left, right);
        const double g = i < 441 ? std::sqrt(i / 441.0) : 1.0, held = (1.0 - g) * (1.0 - i / 441.0);
        ASSERT_NEAR(left, 0.25 * g + held, 1e-6) << i;
        ASSERT_NEAR(right, -0.5 * g - held, 1e-6) << i;
    }
    // Refused settings keep the fade length (5 ms at 48 kHz).
    EXPECT_TRUE(fader.setSamplerate(48000) && fader.setTime(5.0));
    EXPECT_FALSE(fader.setTime(0.0) || fader.setTime(std::nan("")) || fader.setSamplerate(0));
    EXPECT_FALSE(fader.setType(static_cast<Crossfader2::CrossfadeType>(7)));
    EXPECT_EQ(fader.getFadeLength(), 240);
}

TEST(Gate, OpensOverTwoMillisecondsHoldsByTheAmountWithinTheSliceAndClosesOnASquareRoot)
{
    Gater2 gate;
    gate.setSize(22050);
    for (const auto& [amount, length] : {std::pair{0.0f, 882}, {1.0f, 21874}, {kNaN, 882}, {7.0f, 21874}, {0.5f, 11378}}) {
        gate.setValue(amount);
        EXPECT_EQ(gate.getOpenLength(), length) << amount;
    }
    gate.start();
    std::vector<float> gains(11378 + 177, 1.0f);
    for (float& gain : gains)
        gain = gate.process(gain);
    for (const auto& [p, gain] : {std::pair{44, 0.5}, {88, 1.0}, {11378, 1.0}, {11378 + 44, std::sqrt(0.75)},
                                  {11378 + 175, std::sqrt(1.0 / 176.0)}, {11378 + 176, 0.0}})
        EXPECT_NEAR(gains[p], gain, 1e-6) << p;
    gate.setSize(500); // shorter than the minimum
    gate.setValue(1.0f);
    EXPECT_EQ(gate.getOpenLength(), 882);
    ASSERT_TRUE(gate.init(96000));
    EXPECT_FALSE(gate.init(0) || gate.init(-44100));
    EXPECT_EQ(gate.getAttackLength(), 192.0);
    EXPECT_EQ(gate.getReleaseLength(), 384.0) << "2 and 4 ms; a refused rate changes nothing";
}

namespace {
// Crushes a never-repeating ramp; the right is the negated left, so held frames and crossed channels show.
std::vector<float> crush(BitReduzer& crusher, int frames, int first = 1)
{
    std::vector<float> out;
    for (int i = 0; i < frames; ++i) {
        float l = static_cast<float>(first + i), r = -l;
        crusher.process(l, r);
        EXPECT_EQ(r, -l);
        out.push_back(l);
    }
    return out;
}
} // namespace

TEST(BitReduzer, HoldsEveryNthFrameMixedWithTheInputAndTheHoldPhaseRunsOn)
{
    BitReduzer crusher;
    for (const auto& [rate, frames] : {std::pair{0.0f, 1}, {0.5f, 13}, {-3.0f, 1}, {7.0f, 25}, {kNaN, 25}}) {
        crusher.setReduceRate(rate);
        EXPECT_EQ(crusher.holdLength(), frames) << rate << " (NaN is refused)";
    }
    crusher.setDryWet(1.0f);
    crusher.setDryWet(kNaN); // refused
    const std::vector<float> out = crush(crusher, 60);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(out[i], static_cast<float>(i / 25 * 25 + 1)) << i;
    // The count is free-running: at hold 4 after 70 frames the next sample is taken at 72.
    crush(crusher, 10, 61);
    crusher.setReduceRate(3.0f / 24.0f);
    EXPECT_EQ(crush(crusher, 7, 71), (std::vector<float>{51, 51, 73, 73, 73, 73, 77}));
    BitReduzer half; // default mix 0.5
    half.setReduceRate(0.5f);
    EXPECT_FLOAT_EQ(crush(half, 13)[12], 0.5f * 13.0f + 0.5f * 1.0f);
}

TEST(SmootherAndFollower, StepResponsesFollowTheirTimesAndUnusableSettingsAreRefused)
{
    // The smoother's coefficient takes the millisecond in single precision.
    const auto expectedA = [](double ms, double rate) { return std::exp(-2.0 * M_PI / (ms * double(0.001f) * rate)); };
    CParamSmooth smoother(60.0, 44100.0);
    ASSERT_TRUE(smoother.init(4.0, 48000.0));
    const double a = smoother.getA();
    EXPECT_DOUBLE_EQ(a, expectedA(4.0, 48000.0));
    EXPECT_NEAR(smoother.process(1.0), 1.0 - a, 1e-12) << "from zero";
    for (const auto& [ms, rate] : {std::pair{0.0, 44100.0}, {-5.0, 44100.0}, {60.0, 0.0}, {double(kNaN), 44100.0},
                                   {60.0, kInfinity}})
        EXPECT_FALSE(smoother.init(ms, rate)) << ms << " ms at " << rate;
    EXPECT_EQ(smoother.getA(), a) << "refused settings change nothing";

    EnvelopeFollower follower;
    ASSERT_TRUE(follower.setup(10.0, 250.0, 44100));
    for (int n = 1; n < 441; ++n)
        follower.process(-1.0f);
    EXPECT_NEAR(follower.process(-1.0f), 0.99, 1e-9) << "the magnitude reaches 99 % in the attack time";
    for (int n = 0; n < 20000; ++n)
        follower.process(1.0f);
    const double peak = follower.getEnvelope(), attack = follower.getAttackCoefficient();
    for (int n = 0; n < 11025; ++n)
        follower.process(0.0f);
    EXPECT_NEAR(follower.getEnvelope(), 0.01 * peak, 1e-9);
    EXPECT_FALSE(follower.setup(0.0, 250.0, 48000) || follower.setup(10.0, -1.0, 48000) ||
                 follower.setup(10.0, 250.0, 0) || follower.setup(kNaN, 250.0, 48000));
    EXPECT_EQ(follower.getAttackCoefficient(), attack);
}

TEST(PitchCurves, ScratchTurnsBackAt42PercentTapeStopSlowsAndPositionsBeyondStayOnTheEnds)
{
    const PitchCurves curves;
    const auto at = [&curves](int curve, double position) { return curves.at(curve, position); };
    EXPECT_TRUE(at(PitchCurves::kScratch, 212.0) > 0.0 && at(PitchCurves::kScratch, 214.0) < 0.0);
    EXPECT_NEAR(at(PitchCurves::kTapeStop, 511.0), 0.585, 1e-3);
    EXPECT_NEAR(at(PitchCurves::kVibrato, 256.0) - at(PitchCurves::kVibrato, 0.0), 0.3, 1e-9) << "0.85 to 1.15";
    // Positions outside the curve, from tiny steps or huge slices, stay on its ends.
    for (int curve = 0; curve < PitchCurves::kCurveCount; ++curve) {
        for (const double beyond : {511.999, 1e12, kInfinity})
            EXPECT_EQ(at(curve, beyond), at(curve, 511.0)) << curve << " at " << beyond;
        for (const double before : {1e-300, -1e12, double(kNaN)})
            EXPECT_EQ(at(curve, before), at(curve, 0.0)) << curve << " at " << before;
    }
}

// An impulse on the left: dry at once, then each side's own combs (right 23 later), allpasses invert.
TEST(Reverb, EachSideRingsThroughItsOwnCombsAndTheAllpassesInvertTheirEchoes)
{
    revmodel reverb; // full width, wet 1
    reverb.setdry(0.5f);
    std::vector<int32_t> left, right; // the times of the samples that sound, negated when below 0
    for (int32_t t = 0; t < 1380; ++t) {
        float l = t == 0 ? 1.0f : 0.0f, r = 0.0f;
        reverb.process(l, r);
        for (auto [sample, times] : {std::pair{l, &left}, {r, &right}})
            if (sample != 0.0f)
                times->push_back(sample > 0.0f ? t : -t);
    }
    EXPECT_EQ(left, (std::vector<int32_t>{0, 1116, 1188, 1277, -1341, 1356}));
    EXPECT_EQ(right, (std::vector<int32_t>{1139, 1211, 1300, 1379}));
}

namespace {
// A settled half second of a sine high-passed at cutoff 0.1: output RMS and in-phase gain.
std::pair<double, double> highPassed(float resonance, double hz, double amplitude = 0.5)
{
    RandomGenerator random;
    CHighLifeFilter filter(random);
    double out = 0.0, inPhase = 0.0;
    for (int32_t t = -22050; t < 22050; ++t) {
        const double x = amplitude * std::sin(2.0 * M_PI * hz * t / 44100.0);
        const double y = filter.work(static_cast<float>(x), 0.1f, resonance, CHighLifeFilter::kHighPass);
        out += t < 0 ? 0.0 : y * y;
        inPhase += t < 0 ? 0.0 : x * y;
    }
    return {std::sqrt(out / 22050.0), amplitude > 0.0 ? inPhase / (11025.0 * amplitude * amplitude) : 0.0};
}
} // namespace

// Cutoff 0.1 (~2.2 kHz): lows fall, resonance rings, highs pass upright, silence hisses at ~1e-5.
TEST(HighPass, CutsLowsRingsAtTheCutoffPassesHighsUprightAndHissesOnlyFaintly)
{
    for (const auto& [resonance, hz, gain] :
         {std::tuple{0.1f, 100.0, 0.108}, {0.1f, 2000.0, 1.552}, {1.0f, 2000.0, 2.489}, {1.0f, 10000.0, 0.991}})
        EXPECT_NEAR(highPassed(resonance, hz).first / (0.5 * M_SQRT1_2), gain, 0.02 * gain) << resonance << ", " << hz;
    EXPECT_NEAR(highPassed(0.1f, 10000.0).second, 1.0, 0.02);
    const double hiss = highPassed(0.5f, 0.0, 0.0).first;
    EXPECT_TRUE(hiss > 1e-6 && hiss < 1e-4) << hiss;

    // Cutoff target: (cutoff moved by envelope, offset)^2 in 0.01..1; above 0.7 envelope lifts by 1.75 (cut - 0.7).
    for (const auto& [cut, env, offset, envelope, target] :
         {std::tuple{0.5f, 0.0f, 0.0f, 0.0, 0.25}, {0.5f, 0.5f, 0.8f, 0.5, 0.2025}, {0.9f, 0.2f, 0.0f, 0.0, 0.342225},
          {0.9f, 0.5f, 0.0f, 0.0, 0.2025}, {0.05f, 0.0f, 0.0f, 0.0, 0.01}, {0.5f, 1.0f, 1.5f, 1.0, 1.0}})
        EXPECT_NEAR(SliceEffects::cutoffTarget({.filterCut = cut, .filterEnv = env, .filterOffset = offset}, envelope),
                    target, 1e-6) << cut << ", " << env;
    // Resonance stays within 0.1 to 1, and below 0.92 without much envelope.
    for (const auto& [res, env, resonance] : {std::tuple{0.05f, 1.0f, 0.1f}, {0.2f, 1.0f, 0.2f}, {0.95f, 0.4f, 0.92f},
                                              {0.95f, 0.6f, 0.95f}, {1.5f, 1.0f, 1.0f}})
        EXPECT_EQ(SliceEffects::resonance({.filterRes = res, .filterEnv = env}), resonance) << res << ", " << env;
}
