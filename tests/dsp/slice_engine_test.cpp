// The DSP object as the processor drives it: clock, notes, parameters, refusals, seeded renders.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "EngineRig.h"

namespace {
constexpr double kRate = 44100.0;
constexpr int64_t kBar = 4 * 22050; // samples at 120 BPM
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(SliceEngine, SliceCountChangesOnABeatTheCounterRestartsOnABarAndSamplesStandInForMusic)
{
    // With no direct plays and Slice Amt 0 every slice picks the counter's own slice.
    EngineRig rig(kRate, 1);
    rig.set({{kSliceSize, 0.5}, {kNoDirect, 1.0}, {kSliceAmt, 0.0}});
    std::vector<std::pair<int64_t, int32_t>> starts;
    for (const auto& [frame, decision] : rig.decisions(kBar + 1, 1, [&rig](int64_t frame, int32_t) {
             if (frame == 5000)
                 rig.fx->setParameter(kSliceSize, 1.0);
         }))
        starts.emplace_back(frame, decision.pick);
    const std::vector<std::pair<int64_t, int32_t>> expected = {
        {0, 0},      {11025, 1},  {22050, 2},  {27563, 3},  {33075, 4},  {38588, 5},  {44100, 6},  {49613, 7},
        {55125, 8},  {60638, 9},  {66150, 10}, {71663, 11}, {77175, 12}, {82688, 13}, {88200, 0}};
    EXPECT_EQ(starts, expected);

    EngineRig samplesOnly(kRate, 2);
    samplesOnly.fx->timeInfo.projectMusicValid = false;
    std::vector<int64_t> frames;
    for (const auto& [frame, decision] : samplesOnly.decisions(kBar / 2, 1))
        frames.push_back(frame);
    EXPECT_EQ(frames, (std::vector<int64_t>{0, 11025, 22050, 33075}));
}

// Note choice of slices is in the "Midi Slice" render below.
TEST(SliceEngine, NotesAreLoggedInOrderParametersClampedAndOutOfRangePadsAndIdsRefused)
{
    EngineRig rig(kRate, 2);
    Vextoria3FX& fx = *rig.fx;
    using Note = std::tuple<int32_t, int32_t, int32_t, int32_t>; // type, pitch, velocity, offset
    for (const auto& [type, pitch, velocity, offset] : {Note{1, 128, 100, 0}, {1, -1, 100, 0}, {2, 200, 100, 0},
                                                        {1, 60, 127, 3}, {1, 30, 64, 10}, {2, 60, 0, 20}})
        type == 1 ? fx.noteOn(pitch, velocity, offset) : fx.noteOff(pitch, velocity, offset);
    fx.endProcessMIDI();
    std::array<MidiNoteRecord, MidiEventRing::kCapacity> records{};
    std::vector<Note> logged(static_cast<size_t>(fx.noteRing().drain(records)));
    for (size_t i = 0; i < logged.size(); ++i)
        logged[i] = {records[i].type, records[i].pitch, records[i].velocity, records[i].sampleOffset};
    EXPECT_EQ(logged, (std::vector<Note>{{1, 60, 127, 3}, {1, 30, 64, 10}, {2, 60, 0, 20}}));
    EXPECT_FALSE(fx.setSliceFromUI(16) || fx.setSliceFromUI(-2));
    EXPECT_EQ(fx.getSelectedSlice(), -1);
    EXPECT_TRUE(fx.setSliceFromUI(15));
    EXPECT_EQ(fx.getSelectedSlice(), 15);
    // Parameters are narrowed and clamped; ids that are no parameter are ignored.
    for (const auto& [id, value, stored] : {std::tuple{1, 0.3, 0.3f}, {1, 1.5, 1.0f}, {1, -3.0, 0.0f}, {7, kNaN, 0.0f},
                                            {16, std::numeric_limits<double>::infinity(), 1.0f}}) {
        fx.setParameter(id, value);
        EXPECT_EQ(fx.getParameter(id), stored) << id << " set to " << value;
    }
    for (const auto& [mix, dry, wet] : {std::tuple{0.2, 0.5f, 0.1f}, {0.8, 0.2f, 0.4f}, {7.0, 0.0f, 0.5f}}) {
        fx.setParameter(kReverbDryWet, mix);
        EXPECT_FLOAT_EQ(fx.reverbDry(), dry) << mix;
        EXPECT_FLOAT_EQ(fx.reverbWet(), wet) << mix;
    }
    std::vector<float> before;
    for (int32_t id = 0; id < 38; ++id)
        before.push_back(fx.getParameter(id));
    for (const int32_t id : {-1, 38, 1000, 12, 34, 35}) { // the last three are the controller's
        fx.setParameter(id, 0.7);
        EXPECT_EQ(fx.getParameter(id), id >= 0 && id < 38 ? before[id] : 0.0f) << id;
    }
    fx.setModwheel(0.8f);
    for (int32_t id = 0; id < 38; ++id)
        EXPECT_EQ(fx.getParameter(id), before[id]) << id << " (the mod wheel is not reported)";
    fx.setPitchBend(0.75);
    EXPECT_EQ(fx.getParameter(34), 0.75f);
    fx.setPitchBend(kNaN);
    EXPECT_EQ(fx.getParameter(34), 0.0f);

    fx.loadFactoryBank(); // the program number selects; negative or NaN select nothing
    for (const auto& [value, program] : {std::pair{0.99, 15}, {1.0, 15}, {0.0624, 0}, {0.1875, 3}, {5.0, 15},
                                         {-0.1, 7}, {-1e300, 7}, {kNaN, 7}}) {
        fx.setProgram(7);
        fx.setParameter(kFactoryPresets, value);
        EXPECT_EQ(fx.getCurrentProgram(), program) << value;
        EXPECT_EQ(fx.getParameter(kFactoryPresets), 0.0f);
    }
}

TEST(SliceEngine, NonsenseSettingsAndOverlongBlocksAreRefusedAndMissingBusesReadAsSilence)
{
    EngineRig rig(kRate, 2, 256);
    Vextoria3FX& fx = *rig.fx;
    fx.resume(kNaN, 0);
    fx.resume(-44100.0, -5);
    EXPECT_EQ(std::pair(fx.getSampleRate(), fx.getBlockSize()), std::pair(kRate, 256));
    const EngineRig::Channels input = EngineRig::constant(2, 257, 0.3f);
    EngineRig::Channels output = EngineRig::constant(2, 257, static_cast<float>(kNaN));
    const float* in[2] = {input[0].data(), input[1].data()};
    float* out[2] = {output[0].data(), output[1].data()};
    fx.process(in, out, 257);
    EXPECT_TRUE(std::isnan(output[0][0]) && std::isnan(output[1][256])) << "a block over the maximum: nothing written";
    std::array<int8_t, ScopeRing::kMaxBytes> bytes{};
    EXPECT_EQ(fx.scopeRing().drain(bytes), 0);
    fx.process(in, nullptr, 100);
    EXPECT_EQ(fx.decisionCount(), 0u) << "no output, no block";

    float left[5] = {1, 2, 3, 4, 5}, right[5] = {-1, -2, -3, -4, -5}, outLeft[5] = {}, outRight[5] = {};
    const float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    fx.timeInfo.playing = false; // a stopped transport, then none at all: the input passes
    for (const bool context : {true, false}) {
        fx.timeInfo.contextValid = context;
        fx.setParameter(kActive, 1.0);
        fx.process(inputs, outputs, 5);
        EXPECT_EQ(std::pair(outLeft[4], outRight[4]), std::pair(5.0f, -5.0f)) << context;
    }
    fx.inputChannelCount = 1; // a mono input feeds both sides
    fx.process(inputs, outputs, 5);
    EXPECT_EQ(outRight[2], 3.0f);
    fx.process(nullptr, outputs, 5);
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(std::pair(outLeft[i], outRight[i]), std::pair(0.0f, 0.0f)) << i;
    outLeft[0] = 7.0f;
    fx.inputChannelCount = 0; // a bus without channels
    fx.process(inputs, outputs, 5);
    EXPECT_EQ(outLeft[0], 0.0f);
}

namespace {
bool isPoisoned(int64_t frame) { return frame % (kBar / 2) < 30; }

// Seeded noise with a run of NaN, +infinity and -infinity samples in every half bar.
EngineRig::Channels poisonedNoise(int64_t frames)
{
    EngineRig::Channels clip = EngineRig::noise(2, frames, 11);
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (auto& channel : clip)
        for (int64_t i = 0; i < frames; ++i)
            channel[static_cast<size_t>(i)] = isPoisoned(i) ? bad[i % 3] : channel[static_cast<size_t>(i)];
    return clip;
}
} // namespace

TEST(SliceEngine, NonFiniteInputIsTakenAsSilenceSoNoEffectNorTheStretcherKeepsIt)
{
    EngineRig dry(kRate, 2); // switched off, the dry output carries silence instead
    const EngineRig::Channels input = poisonedNoise(kBar), output = dry.render(input, 512);
    for (size_t c = 0; c < 2; ++c)
        for (size_t i = 0; i < input[c].size(); ++i)
            ASSERT_EQ(output[c][i], isPoisoned(static_cast<int64_t>(i)) ? 0.0f : input[c][i]) << c << ", " << i;

    const EngineRig::Channels longer = poisonedNoise(6 * kBar);
    for (int32_t effect = 0; effect < 4; ++effect) {
        for (const double stretch : {0.0, 1.0}) {
            EngineRig rig(kRate, 2);
            rig.fx->setReplaySeed(7);
            rig.set({{kActive, 1.0}, {kFxAmt, 1.0}, {kFxSelect, effect / 4.0}, {kPitchAmt, 1.0}, {kStretch, stretch},
                     {kReverseAmt, 0.5}, {kRollAmt, 0.5}});
            for (const auto& channel : rig.render(longer, 512)) {
                const auto bad = std::find_if(channel.begin(), channel.end(), [](float s) { return !std::isfinite(s); });
                EXPECT_EQ(bad, channel.end()) << "effect " << effect << ", stretch " << stretch << ", frame "
                                              << (bad - channel.begin());
            }
        }
    }
}

namespace {
// A factory program, switched active, in or out of stretch mode.
EngineRig::Channels renderProgram(int32_t program, int32_t blockSize, double stretch)
{
    static const EngineRig::Channels input = EngineRig::noise(2, 3 * kBar, 11);
    EngineRig rig(kRate, 2, blockSize);
    rig.fx->loadFactoryBank();
    rig.fx->setReplaySeed(4242);
    rig.set({{kFactoryPresets, program / 16.0}, {kStretch, stretch}, {kActive, 1.0}});
    return rig.render(input, blockSize);
}
} // namespace

TEST(SeededRender, EveryProgramRendersTheSameAtEveryBlockSizeInAndOutOfStretchMode)
{
    for (int32_t program = 0; program < 16; ++program) {
        std::vector<EngineRig::Channels> references;
        for (const double stretch : {0.0, 1.0}) {
            references.push_back(renderProgram(program, 64, stretch));
            ASSERT_EQ(references.back(), renderProgram(program, 1000, stretch)) << program << ", stretch " << stretch;
        }
        if (program == 3 || program == 15) { // these pitch slices, so stretch mode changes them
            EXPECT_NE(references[0], references[1]) << program << ": stretched slices must play";
        }
    }
}

// 48 kHz frames naming themselves, slice 7 held; probes: reading start, rate, roll point (4000: none).
TEST(SliceEngine, MidiSlicesBendAndRollAndFrozenBarsKeepTheirLengthAfterATempoChange)
{
    EngineRig rig(48000.0, 2, 500, 240.0); // slices of 6000, bars of 48000
    rig.set({{kActive, 1.0}, {kGateSize, 1.0}, {kReverseAmt, 0.0}, {kPitchAmt, 0.0}, {kTrigMode, 1.0},
             {kPitchRange, 1.0}, {kUp, 1.0}, {kDown, 1.0}, {kNoDirect, 1.0}, {kSliceAmt, 0.0}});
    rig.fx->noteOn(43, 100, 0);
    constexpr double kFaster = 4.0 / 3.0; // the frozen bar's tempo to the new one
    const struct {
        int32_t slice, note; // a note pressed at the slice's start, or released when negative
        EngineRig::Settings settings;
        double start, rate;
        int32_t rollsAt = 0;
    } probes[] = {
        {8, 0, {{kPitchBend, 1.0}}, 42000, 2.0}, // up and down: the whole range both ways
        {9, 0, {{kPitchBend, 0.0}}, 42000, 0.5},
        {10, 0, {{kPitchBend, 0.75}}, 42000, M_SQRT2},
        {11, 0, {{kDown, 0.0}, {kPitchBend, 0.0}}, 42000, 1.0}, // up only
        {12, 0, {{kPitchBend, 1.0}}, 42000, 2.0},
        {13, 0, {{kUp, 0.0}, {kDown, 1.0}}, 42000, 1.0}, // down only
        {14, 0, {{kPitchBend, 0.25}}, 42000, M_SQRT1_2},
        {15, 0, {{kDown, 0.0}, {kPitchBend, 0.0}}, 42000, 1.0}, // neither
        {24, 0, {{kModWheel, 0.19}}, 138000, 1.0, 4000}, // the bypassed bar: rolls from 0.2, by eighths above 0.75
        {25, 0, {{kModWheel, 0.2}}, 138000, 1.0, 1502},
        {26, 0, {{kModWheel, 0.75}}, 138000, 1.0, 1502},
        {27, 0, {{kModWheel, 0.76}}, 138000, 1.0, 752},
        {28, -43, {{kModWheel, 0.0}}, 168000, 1.0}, // no note: live
        {32, 0, {{kFreeze, 1.0}}, 96000, 1.0}, // frozen, no note: the counter's slice
        {33, 43, {}, 138000, 1.0},
        {34, -43, {{kReverseAmt, 1.0}}, 108000, -1.0},
        {40, 0, {{kReverseAmt, 0.0}}, 96000, kFaster}, // 320 BPM: frozen slices keep their length
        {41, 0, {{kReverseAmt, 1.0}}, 102000, -kFaster},
        {46, 0, {}, 132000, kFaster}, // too late in the frozen bar to reverse
        {47, 0, {{kTrigMode, 0.0}, {kReverseAmt, 0.0}}, 138000, kFaster}, // repeats: the frozen bar's table
        {49, 0, {}, 102000, kFaster},
        {50, 0, {{kFxAmt, 1.0}, {kFxSelect, 0.75}, {kPitchFxId, 0.5}}, 108000, 0.948}, // tape stop, points 23..80
    };
    const auto frameOf = [](int32_t slice) { return slice < 40 ? 6000 * slice : 240000 + 4500 * (slice - 40); };
    EngineRig::Channels input = EngineRig::constant(2, frameOf(56), 0.0f);
    for (size_t n = 0; n < input[0].size(); ++n)
        input[1][n] = -(input[0][n] = static_cast<float>(n));
    const EngineRig::Channels output = rig.render(input, 500, [&](int64_t frame, int32_t) {
        rig.bypassed = frame >= 96000 && frame < 144000;
        if (frame == 240000) { // 320 BPM; the project position keeps its 20 quarter notes
            rig.fx->timeInfo.tempo = 320.0;
            rig.fx->timeInfo.samplesPerBeat = 9000.0;
            rig.position = 180000;
        }
        for (const auto& probe : probes) {
            if (frameOf(probe.slice) == frame)
                rig.set(probe.settings);
            if (frameOf(probe.slice) == frame && probe.note != 0)
                probe.note > 0 ? rig.fx->noteOn(probe.note, 100, 0) : rig.fx->noteOff(-probe.note, 0, 0);
        }
    });
    for (size_t n = 0; n < input[0].size(); ++n)
        ASSERT_EQ(output[1][n], -output[0][n]) << n;
    for (const auto& probe : probes) {
        const float* out = output[0].data() + frameOf(probe.slice);
        const double rate = (out[700] - out[200]) / 500.0;
        int32_t rollsAt = 1;
        while (rollsAt < 4000 && out[rollsAt] >= out[rollsAt - 1])
            ++rollsAt;
        EXPECT_NEAR(out[200] - 200.0 * rate, probe.start, 15.0) << probe.slice;
        EXPECT_NEAR(rate, probe.rate, 0.01) << probe.slice;
        EXPECT_TRUE(probe.rollsAt == 0 || rollsAt == probe.rollsAt) << probe.slice << " rolls at " << rollsAt;
    }
}
