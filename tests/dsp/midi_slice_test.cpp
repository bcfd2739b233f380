// Notes select slices, are logged for the editor, and in "Midi Slice" mode steer the play.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineRig.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {
constexpr int64_t kBar = 88200;   // samples at 120 BPM and 44.1 kHz
constexpr int64_t kSlice = 11025; // at two slices per beat
} // namespace

TEST(MidiSliceSelection, NotesAreLoggedInEventOrderAndOutOfRangeInputIsRefused)
{
    EngineRig rig(44100.0, 2);
    Vextoria3FX& fx = *rig.fx;
    fx.startProcessMIDI();
    fx.noteOn(128, 100, 0);
    fx.noteOn(-1, 100, 0);
    fx.noteOff(200, 100, 0);
    fx.noteOn(60, 127, 3);
    fx.noteOn(30, 64, 10);
    fx.noteOff(60, 0, 20);
    fx.endProcessMIDI();
    EXPECT_EQ(fx.getSelectedSlice(), -1);
    std::array<MidiNoteRecord, MidiEventRing::kCapacity> records{};
    ASSERT_EQ(fx.noteRing().drain(records), 3) << "only the notes in range are logged";
    EXPECT_EQ(records[0].type, MidiEventRing::kNoteOn);
    EXPECT_EQ(records[1].pitch, 30);
    EXPECT_EQ(records[1].velocity, 64);
    EXPECT_EQ(records[2].type, MidiEventRing::kNoteOff);
    EXPECT_EQ(records[2].sampleOffset, 20);

    fx.setParameter(kSliceSize, 0.5); // 8 slices per bar
    fx.noteOn(43, 100, 0);
    EXPECT_EQ(fx.getSelectedSlice(), 7);
    fx.noteOn(44, 100, 0);
    EXPECT_EQ(fx.getSelectedSlice(), 0);
    fx.noteOff(44, 0, 0);
    fx.noteOff(43, 0, 0);

    EXPECT_FALSE(fx.setSliceFromUI(16));
    EXPECT_FALSE(fx.setSliceFromUI(-2));
    EXPECT_EQ(fx.getSelectedSlice(), -1);
    EXPECT_TRUE(fx.setSliceFromUI(15));
    EXPECT_EQ(fx.getSelectedSlice(), 15);
    EXPECT_TRUE(fx.setSliceFromUI(-1));
    EXPECT_EQ(fx.getSelectedSlice(), -1);
}

namespace {

// A mono instance in "Midi Slice" mode that has played one bar of a ramp; slices do not
// repeat on their own, so only the notes choose.
struct MidiSliceRig {
    MidiSliceRig()
    {
        rig.set({{kActive, 1.0}, {kTrigMode, 1.0}, {kSliceAmt, 0.0}, {kGateSize, 1.0}, {kReverseAmt, 0.0},
                 {kRollAmt, 0.0}, {kPitchAmt, 0.0}, {kFxAmt, 0.0}, {kUp, 1.0}, {kDown, 0.0}, {kPitchRange, 1.0}});
        rig.render(EngineRig::ramp(1, kBar), 441);
    }
    // Renders the second bar and answers the frames played at offset into slice 3 and 1000 later.
    std::pair<int64_t, int64_t> secondBar(int64_t offset)
    {
        EngineRig::Channels input = EngineRig::ramp(1, 2 * kBar);
        input[0].erase(input[0].begin(), input[0].begin() + kBar);
        const EngineRig::Channels output = rig.render(input, 441);
        const auto at = static_cast<size_t>(3 * kSlice + offset);
        return {EngineRig::frameOf(output[0][at]), EngineRig::frameOf(output[0][at + 1000])};
    }
    EngineRig rig{44100.0, 1};
};

} // namespace

TEST(MidiSlicePlay, HeldNoteReplaysItsSliceAndPitchBendTransposesUpOnly)
{
    MidiSliceRig withoutNote;
    const auto [liveFrame, liveLater] = withoutNote.secondBar(2000);
    EXPECT_EQ(liveFrame, kBar + 3 * kSlice + 2000) << "no note held: the slice plays live";
    EXPECT_EQ(liveLater - liveFrame, 1000);

    for (const double bend : {0.75, 0.0}) { // half way up: 6 of 12 semitones; down is off
        MidiSliceRig bent;
        bent.rig.fx->noteOn(38, 100, 0);
        bent.rig.fx->setPitchBend(bend);
        const double rate = bend > 0.5 ? std::pow(2.0, 0.5) : 1.0;
        const double tolerance = bend > 0.5 ? 2.0 : 0.0;
        const auto [frame, later] = bent.secondBar(2000);
        EXPECT_NEAR(static_cast<double>(frame), 2 * kSlice + 2000 * rate, tolerance) << "slice 2 of bar 0, bend " << bend;
        EXPECT_NEAR(static_cast<double>(later - frame), 1000 * rate, tolerance) << bend;
    }
}

TEST(MidiSlicePlay, ModWheelRollsAnEighthOfTheSliceAboveThreeQuarters)
{
    MidiSliceRig rolled;
    rolled.rig.fx->noteOn(37, 100, 0);
    rolled.rig.fx->setModwheel(0.8f);
    // The play returns to its start once it passes 1378.125 samples: a cycle of 1379.
    const auto [frame, later] = rolled.secondBar(5000);
    EXPECT_EQ(frame, kSlice + 5000 % 1379);
    EXPECT_EQ(later, kSlice + 6000 % 1379);
}
