// Two instances given the same replay seed and the same history render the same audio,
// sample for sample: every factory program in turn, then stretch mode with every effect,
// and stretch mode whatever the host's block size.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "EngineRig.h"
#include "ids.h"

namespace {

using namespace Vextoria3Ids;

constexpr double kRate = 44100.0;
constexpr int64_t kBar = 88200; // samples at 120 BPM
constexpr int32_t kBlock = 256;

// A drum-like loop: a decaying low thump on every beat and seeded noise hats between.
EngineRig::Channels loop(int32_t bars)
{
    EngineRig::Channels clip = EngineRig::constant(2, bars * kBar, 0.0f);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> noise(-0.2f, 0.2f);
    for (size_t i = 0; i < clip[0].size(); ++i) {
        const double sinceBeat = static_cast<double>(i % 22050) / kRate;
        const float thump = static_cast<float>(0.7 * std::exp(-sinceBeat * 18.0) * std::sin(6.2832 * 60.0 * sinceBeat));
        const float hat = (i % 11025) < 800 ? noise(random) : 0.0f;
        clip[0][i] = thump + hat;
        clip[1][i] = thump - hat;
    }
    return clip;
}

struct SeededPair {
    EngineRig a {kRate, 2, kBlock};
    EngineRig b {kRate, 2, kBlock};
    SeededPair()
    {
        a.fx->setReplaySeed(4242);
        b.fx->setReplaySeed(4242);
    }
    void set(std::initializer_list<std::pair<int32_t, double>> values)
    {
        a.set(values);
        b.set(values);
    }
};

TEST(SeededRender, SameSeedAndHistoryGiveTheSameAudioForEveryProgram)
{
    SeededPair pair;
    const EngineRig::Channels input = loop(2);
    for (int32_t program = 0; program < 16; ++program) {
        SCOPED_TRACE(program);
        pair.set({{kFactoryPresets, program / 16.0}, {kActive, 1.0}});
        const EngineRig::Channels first = pair.a.render(input, kBlock);
        ASSERT_EQ(first, pair.b.render(input, kBlock));
    }

    SCOPED_TRACE("stretch mode with every effect");
    pair.set({{kStretch, 1.0}, {kPitchAmt, 0.8}, {kFxAmt, 0.8}, {kFxSelect, 1.0}, {kSliceAmt, 0.7},
              {kReverseAmt, 0.4}, {kRollAmt, 0.4}, {kPanAmt, 0.3}});
    const EngineRig::Channels longer = loop(4);
    const EngineRig::Channels first = pair.a.render(longer, kBlock);
    EXPECT_EQ(first, pair.b.render(longer, kBlock));
}

// Stretch mode as three factory programs use it (switched active) and, in MIDI slice mode, a
// held note whose slices alternate between +12 and -12 semitones (pitch bend down and up).
struct StretchCase {
    int32_t program;
    bool alternating;
    bool pitched; // some slices play from the stretched rings (program 1 pitches none)
};

EngineRig::Channels renderStretched(const StretchCase& stretchCase, const EngineRig::Channels& input,
                                    int32_t blockSize, double stretch = 1.0)
{
    EngineRig rig(kRate, 2, blockSize);
    rig.fx->loadFactoryBank();
    rig.fx->setReplaySeed(4242);
    rig.set({{kFactoryPresets, stretchCase.program / 16.0}, {kStretch, stretch}, {kActive, 1.0}});
    if (!stretchCase.alternating)
        return rig.render(input, blockSize);
    rig.set({{kTrigMode, 1.0}, {kUp, 1.0}, {kDown, 1.0}, {kPitchRange, 1.0}, {kSliceSize, 1.0}});
    rig.fx->noteOn(36, 100, 0);
    constexpr double kSlice = kBar / 16.0;
    return rig.render(input, blockSize, [&rig](int64_t first, int32_t frames) {
        const auto slice = static_cast<int64_t>(static_cast<double>(first + frames - 1) / kSlice);
        rig.fx->setPitchBend(slice % 2 == 0 ? 0.0 : 1.0);
    });
}

TEST(SeededRender, StretchModeRendersTheSameAtEveryBlockSize)
{
    const EngineRig::Channels input = loop(4);
    for (const StretchCase stretchCase : {StretchCase{1, false, false}, StretchCase{3, false, true},
                                         StretchCase{15, false, true}, StretchCase{0, true, true}}) {
        SCOPED_TRACE(stretchCase.program);
        const EngineRig::Channels reference = renderStretched(stretchCase, input, 64);
        if (stretchCase.pitched) {
            ASSERT_NE(reference, renderStretched(stretchCase, input, 64, 0.0)) << "stretched slices must play";
        }
        for (const int32_t blockSize : {32, 128, 512, 1000})
            ASSERT_EQ(reference, renderStretched(stretchCase, input, blockSize)) << blockSize;
    }
}

} // namespace
