#include "dsp/Crossfader2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
// Fade-out material at each step, recovered from the output with a silent input.
std::vector<double> fadeOutMaterial(Crossfader2& fader)
{
    std::vector<double> material;
    for (int32_t i = 0; i < fader.getFadeLength(); ++i) {
        const double g = std::sqrt(static_cast<double>(i) / fader.getFadeLength());
        double left = 0.0, right = 0.0;
        fader.process(left, right);
        material.push_back(left / (1.0 - g));
    }
    return material;
}
} // namespace

TEST(Crossfader, HeldPairRampsToZeroWhileTheSignalFadesInOnTheChosenCurve)
{
    Crossfader2 fader;
    fader.setFadeOutBuffer(1.0f, -1.0f);
    fader.start();
    for (int32_t i = 0; i < 441; ++i) {
        double left = 0.0, right = 0.0;
        fader.process(left, right);
        const double expected = (1.0 - std::sqrt(i / 441.0)) * (1.0 - i / 441.0);
        ASSERT_NEAR(left, expected, 1e-6) << i;
        ASSERT_NEAR(right, -expected, 1e-6) << i;
    }
    EXPECT_FALSE(fader.isFading());
    double idleLeft = 0.25, idleRight = -0.5; // idle: the signal passes untouched
    fader.process(idleLeft, idleRight);
    EXPECT_EQ(idleLeft, 0.25);
    EXPECT_EQ(idleRight, -0.5);

    for (auto type : {Crossfader2::kSquareRoot, Crossfader2::kLinear}) {
        ASSERT_TRUE(fader.setType(type));
        fader.setFadeOutBuffer(0.0f, 0.0f);
        fader.start();
        for (int32_t i = 0; i < 441; ++i) {
            float left = 1.0f, right = 1.0f;
            fader.process(left, right);
            const double ramp = i / 441.0;
            ASSERT_NEAR(left, type == Crossfader2::kLinear ? ramp : std::sqrt(ramp), 1e-6);
            float currentLeft = 0.0f, currentRight = 0.0f;
            fader.getCurrentValue(currentLeft, currentRight);
            ASSERT_EQ(currentLeft, left);
        }
    }
}

TEST(Crossfader, SettersResizeTheFadeAndRefuseUnusableValues)
{
    Crossfader2 fader;
    EXPECT_TRUE(fader.setSamplerate(48000));
    EXPECT_EQ(fader.getFadeLength(), 480);
    EXPECT_TRUE(fader.setTime(5.0));
    EXPECT_EQ(fader.getFadeLength(), 240);
    EXPECT_FALSE(fader.setTime(0.0));
    EXPECT_FALSE(fader.setTime(std::nan("")));
    EXPECT_FALSE(fader.setSamplerate(0));
    EXPECT_FALSE(fader.setType(static_cast<Crossfader2::CrossfadeType>(7)));
    EXPECT_EQ(fader.getFadeLength(), 240);
    fader.start();
    fader.stop();
    EXPECT_FALSE(fader.isFading());
}

TEST(Crossfader, ShortFadeOutSourcesRampOnFromTheirLastSample)
{
    Crossfader2 fader;
    std::vector<float> left(100), right(100);
    for (size_t i = 0; i < 100; ++i) {
        left[i] = 0.5f + 0.001f * i;
        right[i] = -left[i];
    }
    const float* forward[2] = {left.data(), right.data()};
    fader.setFadeOutBuffer(forward, 100, true);
    fader.start();
    std::vector<double> material = fadeOutMaterial(fader);
    EXPECT_NEAR(material[0], 0.5, 1e-6);
    EXPECT_NEAR(material[99], left[99], 1e-5);
    EXPECT_LT(material[100], material[99]);
    EXPECT_NEAR(material[270], left[99] * (1.0 - 171.0 / 342.0), 1e-4);
    EXPECT_NEAR(material[440], left[99] / 342.0, 1e-4) << "one step above zero at the end";

    const float* backward[2] = {left.data() + 99, right.data() + 99};
    fader.setFadeOutBuffer(backward, 100, false);
    fader.start();
    material = fadeOutMaterial(fader);
    EXPECT_NEAR(material[0], left[99], 1e-6);
    EXPECT_NEAR(material[99], left[0], 1e-5);
}

TEST(Crossfader, FilledGivenAndExplicitMaterialBecomeTheFadeOut)
{
    Crossfader2 fader;
    fader.resetContinuePhase();
    for (int32_t i = 0; i < 500; ++i) // only the first 441 pairs are kept
        fader.fillBuffer(0.25f, -0.25f);
    fader.start();
    for (double value : fadeOutMaterial(fader))
        ASSERT_NEAR(value, 0.25, 1e-6);

    std::vector<float> held(441, 0.75f);
    const float* buffer[2] = {held.data(), held.data()};
    fader.start(buffer);
    EXPECT_NEAR(fadeOutMaterial(fader)[10], 0.75, 1e-6);

    fader.start();
    float left = 1.0f, right = 1.0f;
    fader.process(left, right, 0.5f, -0.5f);
    EXPECT_EQ(left, 0.5f);
    EXPECT_EQ(right, -0.5f);
}
