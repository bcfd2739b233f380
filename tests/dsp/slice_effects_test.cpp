// The effect stage's filter modulation and its routing by effect id.
#include <gtest/gtest.h>

#include "dsp/RandomGenerator.h"
#include "dsp/SliceEffects.h"

namespace {
SliceEffects::Settings filterSettings(float cut, float env, float res, float offset)
{
    SliceEffects::Settings s;
    s.filterCut = cut;
    s.filterEnv = env;
    s.filterRes = res;
    s.filterOffset = offset;
    return s;
}
} // namespace

TEST(SliceEffectsFilter, CutoffIsTheSquaredModulatedValueAndResonanceIsCapped)
{
    // Full envelope: x = env x offset = 0.5 x 0.6 = 0.3, target 0.09; none: 0.4 squared.
    EXPECT_FLOAT_EQ(SliceEffects::cutoffTarget(filterSettings(0.4f, 1.0f, 0.5f, 0.6f), 0.5), 0.09);
    EXPECT_FLOAT_EQ(SliceEffects::cutoffTarget(filterSettings(0.4f, 0.0f, 0.5f, 0.6f), 0.5), 0.16);
    EXPECT_EQ(SliceEffects::cutoffTarget(filterSettings(0.05f, 0.0f, 0.5f, 0.0f), 0.0), 0.010000000707805157)
        << "below 0.1 the floor";
    EXPECT_EQ(SliceEffects::cutoffTarget(filterSettings(0.4f, 1.0f, 0.5f, 1.4f), 1.0), 1.0) << "above 1 the top";
    // A cutoff above 0.7 lifts a small envelope amount to 1.75 (cut - 0.7) = 0.35:
    // x = 0.35 x 1 x 0.5 + 0.9 x 0.65 = 0.76.
    EXPECT_NEAR(SliceEffects::cutoffTarget(filterSettings(0.9f, 0.1f, 0.5f, 0.5f), 1.0), 0.76 * 0.76, 1e-6);

    EXPECT_FLOAT_EQ(SliceEffects::resonance(filterSettings(0.4f, 0.4f, 0.95f, 0.0f)), 0.92f);
    EXPECT_FLOAT_EQ(SliceEffects::resonance(filterSettings(0.4f, 0.6f, 0.95f, 0.0f)), 0.95f);
    EXPECT_FLOAT_EQ(SliceEffects::resonance(filterSettings(0.4f, 0.6f, 0.05f, 0.0f)), 0.1f);
}

TEST(SliceEffectsRouting, OnlyTheFilterDrawsAndPitchIdsPassTheFrameOn)
{
    RandomGenerator random, reference;
    SliceEffects effects(random);
    effects.prepare(44100.0);
    const SliceEffects::Settings settings = filterSettings(0.4f, 1.0f, 0.5f, 0.3f);
    for (const int32_t id : {SliceEffects::kPitchFx, SliceEffects::kNoneEligible, SliceEffects::kReverb,
                             SliceEffects::kBitCrush}) {
        float l = 0.25f, r = -0.25f;
        effects.process(id, settings, l, r);
        if (id >= SliceEffects::kPitchFx) {
            EXPECT_EQ(l, 0.25f);
            EXPECT_EQ(r, -0.25f);
        }
    }
    EXPECT_EQ(random.next(), reference.next()) << "no draw outside the filter";
    float l = 0.25f, r = -0.25f;
    effects.process(SliceEffects::kHighPass, settings, l, r);
    reference.next();
    reference.next();
    EXPECT_EQ(random.next(), reference.next()) << "the filter draws once per channel";
}
