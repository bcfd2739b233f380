#include "dsp/revmodel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
struct Stereo
{
    std::vector<float> left;
    std::vector<float> right;
};

// Left impulse at frame 0, right input silent, or seeded noise on both when noisy.
Stereo run(revmodel& reverb, int frames, bool noisy = false, unsigned seed = 1)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    Stereo out;
    for (int i = 0; i < frames; ++i)
    {
        float l = noisy ? noise(random) : (i == 0 ? 1.0f : 0.0f);
        float r = noisy ? noise(random) : 0.0f;
        reverb.process(l, r);
        out.left.push_back(l);
        out.right.push_back(r);
    }
    return out;
}

int firstNonZero(const std::vector<float>& signal, int from)
{
    for (int i = from; i < static_cast<int>(signal.size()); ++i)
        if (signal[i] != 0.0f)
            return i;
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
    const struct
    {
        float mix;
        float dryLevel;
        float wetLevel;
    } cases[] = {{0.0f, 1.0f, 0.0f}, {0.25f, 1.0f, 0.375f}, {0.5f, 1.0f, 0.75f}, {0.75f, 0.5f, 1.125f}, {1.0f, 0.0f, 1.5f}};
    for (const auto& c : cases)
    {
        auto reverb = reverbWithMix(c.mix);
        EXPECT_FLOAT_EQ(reverb->getdry() * 2.0f, c.dryLevel) << c.mix;
        EXPECT_FLOAT_EQ(reverb->getwet() * 3.0f, c.wetLevel) << c.mix;
    }

    // Fully dry passes the input untouched; fully wet has no direct sound at all.
    auto dry = reverbWithMix(0.0f);
    const Stereo noiseThrough = run(*dry, 5000, true, 3);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (int i = 0; i < 5000; ++i)
    {
        ASSERT_EQ(noiseThrough.left[i], noise(random));
        ASSERT_EQ(noiseThrough.right[i], noise(random));
    }
    auto wet = reverbWithMix(1.0f);
    EXPECT_EQ(run(*wet, 3000).left[0], 0.0f);

    // Half way: the direct sound at full level plus half the fully wet tail.
    auto half = reverbWithMix(0.5f);
    auto full = reverbWithMix(1.0f);
    const Stereo halfOut = run(*half, 6000);
    const Stereo fullOut = run(*full, 6000);
    EXPECT_FLOAT_EQ(halfOut.left[0], 1.0f);
    for (int i = 1; i < 6000; ++i)
        ASSERT_NEAR(halfOut.left[i], 0.5f * fullOut.left[i], 1e-6f) << i;
}

TEST(Reverb, FirstEchoesArriveAfterTheShortestCombOnEachSide)
{
    auto reverb = reverbWithMix(1.0f);
    const Stereo out = run(*reverb, 3000);
    EXPECT_EQ(firstNonZero(out.left, 0), 1116);
    EXPECT_EQ(firstNonZero(out.right, 0), 1116 + 23);
}

TEST(Reverb, MuteClearsTheTailExceptInFreezeMode)
{
    auto reverb = reverbWithMix(1.0f);
    run(*reverb, 4000, true);
    reverb->mute();
    const Stereo afterMute = run(*reverb, 3000, false);
    // Only the impulse at frame 0 of this run can sound, and not before the first comb.
    EXPECT_EQ(firstNonZero(afterMute.left, 0), 1116);

    auto frozen = reverbWithMix(1.0f);
    run(*frozen, 4000, true);
    frozen->setmode(1.0f);
    EXPECT_EQ(frozen->getmode(), 1.0f);
    frozen->mute();
    const Stereo tail = run(*frozen, 100);
    EXPECT_GT(rms(tail.left, 0, 100), 1e-3) << "freeze keeps the buffers";
}

TEST(Reverb, FreezeSustainsTheTailAndLetsNoNewInputIn)
{
    auto normal = reverbWithMix(1.0f);
    auto frozen = reverbWithMix(1.0f);
    auto frozenOtherInput = reverbWithMix(1.0f);
    for (revmodel* reverb : {normal.get(), frozen.get(), frozenOtherInput.get()})
        run(*reverb, 4000, true, 11);
    frozen->setmode(0.5f);
    frozenOtherInput->setmode(0.9f);

    const Stereo decaying = run(*normal, 88200);
    const Stereo sustained = run(*frozen, 88200);
    const Stereo sustainedNoise = run(*frozenOtherInput, 88200, true, 99);
    EXPECT_LT(rms(decaying.left, 80000, 88200), 0.1 * rms(decaying.left, 0, 8200));
    EXPECT_GT(rms(sustained.left, 80000, 88200), 0.7 * rms(sustained.left, 0, 8200));
    for (int i = 0; i < 88200; i += 97)
        ASSERT_EQ(sustained.right[i], sustainedNoise.right[i]) << "input reached a frozen reverb at " << i;

    frozen->setmode(0.0f);
    EXPECT_EQ(frozen->getmode(), 0.0f);
    const Stereo released = run(*frozen, 88200);
    EXPECT_LT(rms(released.left, 80000, 88200), 0.1 * rms(released.left, 0, 8200));
}

TEST(Reverb, TailDecaysToExactSilence)
{
    // The delay lines flush values that fall out of the normal range, so the tail ends
    // in exact zeros instead of lingering as slow denormals.
    auto reverb = reverbWithMix(1.0f);
    reverb->setdamp(0.0f); // the least damping lets the combs ring longest
    const Stereo out = run(*reverb, 44100 * 30);
    for (int i = static_cast<int>(out.left.size()) - 44100; i < static_cast<int>(out.left.size()); ++i)
    {
        ASSERT_EQ(out.left[i], 0.0f) << i;
        ASSERT_EQ(out.right[i], 0.0f) << i;
    }
}

TEST(Reverb, BlockFormsMatchTheFrameFormAndGettersReturnTheSetValues)
{
    auto byFrame = reverbWithMix(0.6f);
    auto replacing = reverbWithMix(0.6f);
    auto mixing = reverbWithMix(0.6f);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    const int frames = 3000;
    std::vector<float> interleaved(2 * frames);
    for (float& sample : interleaved)
        sample = noise(random);
    std::vector<float> replaced(2 * frames, 0.0f);
    std::vector<float> mixed(2 * frames, 1.0f);
    replacing->processreplace(&interleaved[0], &interleaved[1], &replaced[0], &replaced[1], frames, 2);
    mixing->processmix(&interleaved[0], &interleaved[1], &mixed[0], &mixed[1], frames, 2);
    for (int i = 0; i < frames; ++i)
    {
        float l = interleaved[2 * i];
        float r = interleaved[2 * i + 1];
        byFrame->process(l, r);
        ASSERT_EQ(replaced[2 * i], l);
        ASSERT_EQ(replaced[2 * i + 1], r);
        ASSERT_FLOAT_EQ(mixed[2 * i], 1.0f + l);
    }

    revmodel reverb;
    EXPECT_FLOAT_EQ(reverb.getroomsize(), 0.5f);
    EXPECT_FLOAT_EQ(reverb.getdamp(), 0.5f);
    EXPECT_FLOAT_EQ(reverb.getwet(), 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(reverb.getdry(), 0.0f);
    EXPECT_FLOAT_EQ(reverb.getwidth(), 1.0f);
    EXPECT_FLOAT_EQ(reverb.getmode(), 0.0f);
    reverb.setroomsize(0.3f);
    reverb.setdamp(0.8f);
    reverb.setwidth(0.25f);
    EXPECT_NEAR(reverb.getroomsize(), 0.3f, 1e-6f);
    EXPECT_NEAR(reverb.getdamp(), 0.8f, 1e-6f);
    EXPECT_FLOAT_EQ(reverb.getwidth(), 0.25f);
}
