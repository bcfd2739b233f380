#include "dsp/revmodel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {
struct Stereo {
    std::vector<float> left, right;
};

// Left impulse at frame 0 with the right input silent, or seeded noise on both when noisy.
Stereo run(revmodel& reverb, int frames, bool noisy = false, unsigned seed = 1)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    Stereo out;
    for (int i = 0; i < frames; ++i) {
        float l = noisy ? noise(random) : (i == 0 ? 1.0f : 0.0f);
        float r = noisy ? noise(random) : 0.0f;
        reverb.process(l, r);
        out.left.push_back(l);
        out.right.push_back(r);
    }
    return out;
}

int firstNonZero(const std::vector<float>& signal)
{
    for (size_t i = 0; i < signal.size(); ++i)
        if (signal[i] != 0.0f)
            return static_cast<int>(i);
    return -1;
}

double rms(const std::vector<float>& signal, int from, int to)
{
    double sum = 0.0;
    for (int i = from; i < to; ++i)
        sum += double(signal[i]) * signal[i];
    return std::sqrt(sum / (to - from));
}

std::unique_ptr<revmodel> reverbWithMix(float mix)
{
    auto reverb = std::make_unique<revmodel>();
    setReverbDryWet(*reverb, mix);
    return reverb;
}
} // namespace

TEST(Reverb, DryWetControlGivesTheDocumentedLevels)
{
    const float cases[][3] = {{0.0f, 1.0f, 0.0f}, {0.25f, 1.0f, 0.375f}, {0.5f, 1.0f, 0.75f}, {0.75f, 0.5f, 1.125f},
                              {1.0f, 0.0f, 1.5f}}; // mix, dry level, wet level
    for (const auto& c : cases) {
        auto reverb = reverbWithMix(c[0]);
        EXPECT_FLOAT_EQ(reverb->getdry() * 2.0f, c[1]) << c[0];
        EXPECT_FLOAT_EQ(reverb->getwet() * 3.0f, c[2]) << c[0];
    }
    // Fully dry passes the input untouched.
    const Stereo noiseThrough = run(*reverbWithMix(0.0f), 5000, true, 3);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(noiseThrough.left[i], noise(random));
        ASSERT_EQ(noiseThrough.right[i], noise(random));
    }
    // Half way: the direct sound at full level plus half the fully wet tail, whose first
    // echoes come after the shortest comb on each side.
    const Stereo halfOut = run(*reverbWithMix(0.5f), 6000);
    const Stereo fullOut = run(*reverbWithMix(1.0f), 6000);
    EXPECT_EQ(firstNonZero(fullOut.left), 1116);
    EXPECT_EQ(firstNonZero(fullOut.right), 1116 + 23);
    EXPECT_FLOAT_EQ(halfOut.left[0], 1.0f);
    for (int i = 1; i < 6000; ++i)
        ASSERT_NEAR(halfOut.left[i], 0.5f * fullOut.left[i], 1e-6f) << i;
}

TEST(Reverb, FreezeSustainsTheTailLetsNoNewInputInAndSurvivesMute)
{
    auto normal = reverbWithMix(1.0f);
    auto frozen = reverbWithMix(1.0f);
    auto frozenOtherInput = reverbWithMix(1.0f);
    for (revmodel* reverb : {normal.get(), frozen.get(), frozenOtherInput.get()})
        run(*reverb, 4000, true, 11);
    frozen->setmode(0.5f);
    frozenOtherInput->setmode(0.9f);
    frozenOtherInput->mute(); // freeze keeps the buffers

    const Stereo decaying = run(*normal, 88200);
    const Stereo sustained = run(*frozen, 88200);
    const Stereo sustainedNoise = run(*frozenOtherInput, 88200, true, 99);
    EXPECT_LT(rms(decaying.left, 80000, 88200), 0.1 * rms(decaying.left, 0, 8200));
    EXPECT_GT(rms(sustained.left, 80000, 88200), 0.7 * rms(sustained.left, 0, 8200));
    for (int i = 0; i < 88200; i += 97)
        ASSERT_EQ(sustained.right[i], sustainedNoise.right[i]) << "input or a mute reached a frozen reverb at " << i;

    frozen->setmode(0.0f);
    const Stereo released = run(*frozen, 88200);
    EXPECT_LT(rms(released.left, 80000, 88200), 0.1 * rms(released.left, 0, 8200));
    frozen->mute();
    EXPECT_EQ(firstNonZero(run(*frozen, 3000).left), 1116) << "unfrozen, a mute clears the tail";
}

TEST(Reverb, TailDecaysToExactSilence)
{
    // Values that fall out of the normal range are flushed, so the tail ends in exact
    // zeros instead of lingering as slow denormals.
    auto reverb = reverbWithMix(1.0f);
    reverb->setdamp(0.0f); // the least damping lets the combs ring longest
    const Stereo out = run(*reverb, 44100 * 30);
    for (size_t i = out.left.size() - 44100; i < out.left.size(); ++i) {
        ASSERT_EQ(out.left[i], 0.0f) << i;
        ASSERT_EQ(out.right[i], 0.0f) << i;
    }
}

TEST(Reverb, RingFallsBelowMinus90dBWithinItsDecayLength)
{
    // Loud noise, then silence at the widest mix and least damping: the ring falls
    // from its peak to -90 dBFS within decaySamples for the factor the tail uses.
    for (float room : {0.0f, 0.5f, 0.9f}) {
        auto reverb = reverbWithMix(1.0f);
        reverb->setroomsize(room);
        reverb->setdamp(0.0f);
        run(*reverb, 44100, true);
        run(*reverb, 44100, true, 2); // a second second, so the combs are full
        const Stereo out = run(*reverb, 44100 * 10);
        int lastLoud = 0;
        for (int i = 0; i < static_cast<int>(out.left.size()); ++i)
            if (std::fabs(out.left[i]) >= 3.2e-5f || std::fabs(out.right[i]) >= 3.2e-5f)
                lastLoud = i;
        EXPECT_GT(lastLoud, 0) << room;
        EXPECT_LT(lastLoud, revmodel::decaySamples(room, 3.2e-5 / 8.0)) << room;
    }
}

TEST(Reverb, BlockFormsMatchTheFrameForm)
{
    auto byFrame = reverbWithMix(0.6f);
    auto replacing = reverbWithMix(0.6f);
    auto mixing = reverbWithMix(0.6f);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    const int frames = 3000;
    std::vector<float> interleaved(2 * frames), replaced(2 * frames, 0.0f), mixed(2 * frames, 1.0f);
    for (float& sample : interleaved)
        sample = noise(random);
    replacing->processreplace(&interleaved[0], &interleaved[1], &replaced[0], &replaced[1], frames, 2);
    mixing->processmix(&interleaved[0], &interleaved[1], &mixed[0], &mixed[1], frames, 2);
    for (int i = 0; i < frames; ++i) {
        float l = interleaved[2 * i], r = interleaved[2 * i + 1];
        byFrame->process(l, r);
        ASSERT_EQ(replaced[2 * i], l);
        ASSERT_EQ(replaced[2 * i + 1], r);
        ASSERT_FLOAT_EQ(mixed[2 * i], 1.0f + l);
    }
}
