// Input samples that are not numbers or infinite are taken as silence where the engine
// reads its input, so no effect, filter or stretcher state can keep them.
#include "EngineRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ids.h"

using namespace Vextoria3Ids;

namespace {
constexpr int64_t kBar = 88200; // samples at 120 BPM and 44.1 kHz

bool isPoisoned(int64_t frame) { return frame % (kBar / 2) < 30; }

// Seeded noise with a run of NaN, +infinity and -infinity samples in every half bar.
EngineRig::Channels poisonedNoise(int64_t frames)
{
    EngineRig::Channels clip = EngineRig::noise(2, frames, 11);
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (auto& channel : clip)
        for (int64_t i = 0; i < frames; ++i)
            if (isPoisoned(i))
                channel[static_cast<size_t>(i)] = bad[i % 3];
    return clip;
}
} // namespace

TEST(NonFiniteInput, DryOutputOfTheSwitchedOffSlicerCarriesSilenceInstead)
{
    EngineRig rig(44100.0, 2);
    const EngineRig::Channels input = poisonedNoise(kBar);
    const EngineRig::Channels output = rig.render(input, 512);
    for (size_t c = 0; c < 2; ++c)
        for (size_t i = 0; i < input[c].size(); ++i)
            ASSERT_EQ(output[c][i], isPoisoned(static_cast<int64_t>(i)) ? 0.0f : input[c][i]) << c << ", " << i;
}

TEST(NonFiniteInput, NoEffectNorTheStretcherTurnsNonFinite)
{
    const EngineRig::Channels input = poisonedNoise(6 * kBar);
    for (int32_t effect = 0; effect < 4; ++effect) {
        for (const double stretch : {0.0, 1.0}) {
            EngineRig rig(44100.0, 2);
            rig.fx->setReplaySeed(7);
            rig.set({{kActive, 1.0}, {kFxAmt, 1.0}, {kFxSelect, effect / 4.0}, {kPitchAmt, 1.0}, {kStretch, stretch},
                     {kReverseAmt, 0.5}, {kRollAmt, 0.5}});
            const EngineRig::Channels output = rig.render(input, 512);
            for (size_t c = 0; c < 2; ++c) {
                const auto bad = std::find_if(output[c].begin(), output[c].end(), [](float s) { return !std::isfinite(s); });
                EXPECT_EQ(bad, output[c].end()) << "effect " << effect << ", stretch " << stretch << ", channel " << c
                                                << ", frame " << (bad - output[c].begin());
            }
        }
    }
}
