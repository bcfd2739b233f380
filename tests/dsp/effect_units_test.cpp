// The units the effect stage and the slice player are built from: reverb, crossfader, gate,
// bit crusher, filter, smoother, envelope follower, filter modulation and pitch curves.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "dsp/BitReduzer.h"
#include "dsp/CHighLifeFilter.h"
#include "dsp/CParamSmooth.h"
#include "dsp/Crossfader2.h"
#include "dsp/EnvelopeFollower.h"
#include "dsp/Gater2.h"
#include "dsp/PitchCurves.h"
#include "dsp/RandomGenerator.h"
#include "dsp/SliceEffects.h"
#include "dsp/revmodel.h"

namespace {
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A fully wet reverb; run() feeds it seeded noise or silence, answers the left output and
// keeps the right one in ringRight.
struct Reverb {
    revmodel model;
    Reverb() { setReverbDryWet(model, 1.0f); }
    std::vector<float> run(int frames, bool noisy, unsigned seed = 1)
    {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        std::vector<float> left;
        for (int i = 0; i < frames; ++i) {
            float l = noisy ? noise(random) : 0.0f, r = noisy ? noise(random) : 0.0f;
            model.process(l, r);
            left.push_back(l);
            ringRight.push_back(r);
        }
        return left;
    }
    std::vector<float> ringRight;
};

double rms(const std::vector<float>& signal, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += double(signal[i]) * signal[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}
} // namespace

TEST(Reverb, FreezeSustainsTheTailLetsNoInputInAndSurvivesMute)
{
    Reverb normal, frozen, frozenOtherInput;
    for (Reverb* reverb : {&normal, &frozen, &frozenOtherInput})
        reverb->run(4000, true, 11);
    frozen.model.setmode(0.5f);
    frozenOtherInput.model.setmode(0.9f);
    frozenOtherInput.model.mute(); // freeze keeps the buffers
    frozen.ringRight.clear();
    frozenOtherInput.ringRight.clear();
    const std::vector<float> decaying = normal.run(88200, false), sustained = frozen.run(88200, false);
    frozenOtherInput.run(88200, true, 99);
    EXPECT_LT(rms(decaying, 80000, 88200), 0.1 * rms(decaying, 0, 8200));
    EXPECT_GT(rms(sustained, 80000, 88200), 0.7 * rms(sustained, 0, 8200));
    EXPECT_EQ(frozen.ringRight, frozenOtherInput.ringRight) << "input or a mute reached a frozen reverb";
    frozen.model.setmode(0.0f);
    frozen.model.mute();
    EXPECT_EQ(rms(frozen.run(1000, false), 0, 1000), 0.0) << "unfrozen, a mute clears the tail";
}

TEST(Reverb, RingFallsBelowMinus90dBWithinItsDecayLengthAndEndsInExactZeros)
{
    // After loud noise at the least damping the ring falls to -90 dBFS within decaySamples,
    // and values below the normal range are flushed instead of lingering as denormals.
    for (float room : {0.0f, 0.5f, 0.9f}) {
        Reverb reverb;
        reverb.model.setroomsize(room);
        reverb.model.setdamp(0.0f);
        reverb.run(2 * 44100, true); // two seconds, so the combs are full
        reverb.ringRight.clear();
        const std::vector<float> left = reverb.run(44100 * 30, false);
        size_t lastLoud = 0;
        for (size_t i = 0; i < left.size(); ++i)
            if (std::fabs(left[i]) >= 3.2e-5f || std::fabs(reverb.ringRight[i]) >= 3.2e-5f)
                lastLoud = i;
        EXPECT_GT(lastLoud, 0u) << room;
        EXPECT_LT(lastLoud, revmodel::decaySamples(room, 3.2e-5 / 8.0)) << room;
        const size_t lastSecond = left.size() - 44100;
        const double lastRms = rms(left, lastSecond, left.size()) + rms(reverb.ringRight, lastSecond, left.size());
        EXPECT_TRUE(room == 0.9f || lastRms == 0.0) << "exact zeros after 30 s, room " << room;
    }
}

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

TEST(Gate, OpenLengthFollowsTheAmountWithinTwentyMillisecondsAndTheSlice)
{
    Gater2 gate;
    gate.setSize(22050);
    for (const auto& [amount, length] : {std::pair{0.5f, 11378}, {0.0f, 882}, {1.0f, 21874}, {kNaN, 882}, {7.0f, 21874}}) {
        gate.setValue(amount);
        EXPECT_EQ(gate.getOpenLength(), length) << amount;
    }
    gate.setSize(500); // shorter than the minimum
    gate.setValue(1.0f);
    EXPECT_EQ(gate.getOpenLength(), 882);
    ASSERT_TRUE(gate.init(96000));
    EXPECT_FALSE(gate.init(0) || gate.init(-44100));
    EXPECT_EQ(gate.getAttackLength(), 192.0);
    EXPECT_EQ(gate.getReleaseLength(), 384.0) << "2 and 4 ms; a refused rate changes nothing";
}

TEST(Gate, AttackOpenAndSquareRootReleaseAndNewValuesWaitForTheNextStart)
{
    Gater2 gate;
    const auto gains = [&gate](int32_t sliceSize, float amount, int32_t count) {
        gate.setSize(sliceSize);
        gate.setValue(amount);
        gate.start();
        std::vector<double> gains;
        for (int32_t i = 0; i < count; ++i)
            gains.push_back(gate.process(1.0f));
        return gains;
    };
    const std::vector<double> half = gains(22050, 0.5f, 11378 + 200);
    EXPECT_NEAR(half[44], 0.5, 1e-7);
    EXPECT_EQ(std::vector<double>({half[0], half[88], half[11378], half[11378 + 176]}),
              std::vector<double>({0.0, 1.0, 1.0, 0.0})) << "the release table starts at 1 and ends before 0";
    EXPECT_NEAR(half[11378 + 175], std::sqrt(1.0 / 176.0), 1e-7);
    for (size_t k = 1; k < 176; ++k)
        EXPECT_LT(half[11378 + k], half[11378 + k - 1]);
    const std::vector<double> full = gains(11025, 1.0f, 11025 + 10);
    EXPECT_TRUE(full[11024] > 0.0 && full[11025] == 0.0) << "a full amount releases exactly at the slice end";
    gains(22050, 0.0f, 2000);
    gate.setValue(1.0f); // the running slice keeps its release point
    EXPECT_EQ(gate.process(1.0f), 0.0f);
}

namespace {
// Crushes a ramp first, first + 1 ... that never repeats a value; the right side is the
// negated left, so a held frame and a crossed channel are easy to tell.
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

TEST(CHighLifeFilter, HighPassPassesHighsOnlyGivesTinyNoiseWithoutDenormalsAndRestartsWhenCleared)
{
    RandomGenerator random;
    CHighLifeFilter filter(random);
    for (const auto& [cyclesPerSample, passed] : {std::pair{0.002, false}, {0.4, true}}) { // far below, far above
        CHighLifeFilter shaping(random);
        std::vector<float> out;
        for (int i = 0; i < 12000; ++i)
            out.push_back(shaping.work(static_cast<float>(std::sin(2.0 * M_PI * cyclesPerSample * i)), 0.3f, 0.1f, 2));
        EXPECT_EQ(std::sqrt(2.0) * rms(out, 4000, 12000) > (passed ? 0.8 : 0.1), passed) << cyclesPerSample;
    }
    double peak = 0.0;
    for (int i = 0; i < 20000; ++i) {
        const float out = filter.work(0.0f, 0.5f, 0.92f, CHighLifeFilter::kHighPass);
        ASSERT_TRUE(out == 0.0f || std::fpclassify(out) == FP_NORMAL) << "no denormals or non-finite values";
        peak = std::max(peak, double(std::fabs(out)));
    }
    EXPECT_TRUE(peak > 1e-6 && peak < 1e-4) << peak;
    for (int i = 0; i < 100; ++i)
        filter.work(1.0f, 0.5f, 0.92f, CHighLifeFilter::kHighPass);
    filter.clear_filter();
    RandomGenerator sameRandom = random;
    CHighLifeFilter fresh(sameRandom);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(filter.work(0.5f, 0.5f, 0.92f, 2), fresh.work(0.5f, 0.5f, 0.92f, 2));
}

TEST(SmootherAndFollower, StepResponsesFollowTheirTimesAndUnusableSettingsAreRefused)
{
    // The smoother's coefficient takes the millisecond in single precision.
    const auto expectedA = [](double ms, double rate) { return std::exp(-2.0 * M_PI / (ms * double(0.001f) * rate)); };
    CParamSmooth smoother(60.0, 44100.0);
    EXPECT_DOUBLE_EQ(smoother.getA(), expectedA(60.0, 44100.0));
    ASSERT_TRUE(smoother.init(4.0, 48000.0));
    const double a = smoother.getA();
    EXPECT_DOUBLE_EQ(a, expectedA(4.0, 48000.0));
    for (int n = 1; n <= 1000; ++n)
        EXPECT_NEAR(smoother.process(1.0), 1.0 - std::pow(a, n), 1e-12) << "from zero";
    for (const auto& [ms, rate] : {std::pair{0.0, 44100.0}, {-5.0, 44100.0}, {60.0, 0.0}, {double(kNaN), 44100.0},
                                   {60.0, kInfinity}})
        EXPECT_FALSE(smoother.init(ms, rate)) << ms << " ms at " << rate;
    EXPECT_EQ(smoother.getA(), a) << "refused settings change nothing";

    EnvelopeFollower follower;
    ASSERT_TRUE(follower.setup(10.0, 250.0, 44100));
    for (int n = 1; n < 441; ++n)
        EXPECT_LT(follower.process(-1.0f), 0.99) << "the magnitude is followed";
    EXPECT_NEAR(follower.process(-1.0f), 0.99, 1e-9);
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

TEST(SliceEffects, CutoffIsTheSquaredModulatedValueAndResonanceIsCapped)
{
    struct Case {
        float cut, env, res, offset;
        double envelope, cutoff;
        float resonance;
    };
    // x = env x offset x envelope + cut x (1 - env), squared, within [0.01, 1]; above a cut
    // of 0.7 a small env counts as 1.75 (cut - 0.7). Resonance within [0.1, 1], at most 0.92 below env 0.5.
    for (const Case& c : {Case{0.4f, 1.0f, 0.95f, 0.6f, 0.5, 0.09, 0.95f}, Case{0.4f, 0.0f, 0.5f, 0.6f, 0.5, 0.16, 0.5f},
                          Case{0.05f, 0.0f, 0.05f, 0.0f, 0.0, 0.01, 0.1f}, Case{0.4f, 0.4f, 0.95f, 1.4f, 2.0, 1.0, 0.92f},
                          Case{0.9f, 0.1f, 0.5f, 0.5f, 1.0, 0.76 * 0.76, 0.5f}}) {
        const SliceEffects::Settings s{.filterCut = c.cut, .filterRes = c.res, .filterEnv = c.env, .filterOffset = c.offset};
        EXPECT_NEAR(SliceEffects::cutoffTarget(s, c.envelope), c.cutoff, 1e-6) << c.cut << ", " << c.env;
        EXPECT_FLOAT_EQ(SliceEffects::resonance(s), c.resonance) << c.res << ", " << c.env;
    }
}

TEST(PitchCurves, ScratchTurnsBackAt42PercentTapeStopSlowsAndVibratoCyclesOnce)
{
    const PitchCurves curves;
    const auto at = [&curves](int curve, double position) { return curves.at(curve, position); };
    EXPECT_NEAR(at(PitchCurves::kScratch, 0.0), 0.8, 1e-12);
    EXPECT_NEAR(at(PitchCurves::kScratch, 511.0), -2.267, 1e-3);
    EXPECT_TRUE(at(PitchCurves::kScratch, 212.0) > 0.0 && at(PitchCurves::kScratch, 214.0) < 0.0);
    double tapeStopSum = 0.0;
    for (int i = 0; i < PitchCurves::kPoints; ++i) {
        EXPECT_TRUE(i == 0 || at(PitchCurves::kScratch, i) < at(PitchCurves::kScratch, i - 1)) << i;
        EXPECT_NEAR(at(PitchCurves::kVibrato, i), 1.0, 0.15 + 1e-12) << i;
        tapeStopSum += at(PitchCurves::kTapeStop, i);
    }
    EXPECT_NEAR(tapeStopSum / PitchCurves::kPoints, 0.77, 0.01) << "three quarters of the material is played";
    EXPECT_NEAR(at(PitchCurves::kTapeStop, 511.0), 0.585, 1e-3);
    EXPECT_NEAR(at(PitchCurves::kVibrato, 256.0), 1.15, 1e-12);
    // Positions outside the curve, from tiny steps or huge slices, stay on its ends.
    for (int curve = 0; curve < PitchCurves::kCurveCount; ++curve) {
        for (const double beyond : {511.999, 1e12, kInfinity})
            EXPECT_EQ(at(curve, beyond), at(curve, 511.0)) << curve << " at " << beyond;
        for (const double before : {1e-300, -1e12, double(kNaN)})
            EXPECT_EQ(at(curve, before), at(curve, 0.0)) << curve << " at " << before;
    }
}
