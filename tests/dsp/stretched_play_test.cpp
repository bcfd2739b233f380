// Stretched plays: they read the stretcher's output at rate 1, so a pitched slice keeps
// its length, and they start only where the stretcher has already written everything
// they will read; any other pitched slice plays unstretched from the live rings.
#include "CountingRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

// A recorder at samplesPerBeat, in stretch mode unless told not to be.
struct StretchRig {
    explicit StretchRig(double samplesPerBeat, bool stretch = true)
    {
        slice.setStretchMode(stretch);
        slice.setSamplePerBeat(samplesPerBeat);
    }
    // Records count samples, then starts a bar.
    void recordThenStartABar(int64_t count)
    {
        recorder.record(count);
        slice.setStart();
    }
    // Whether a play of the slice one octave up reads the stretched rings.
    bool playsStretched(int32_t sliceIndex, bool reverse = false, double samplesPerBeat = 5000.0)
    {
        slice.setPitchSemitone(12);
        EXPECT_TRUE(slice.playSlice(samplesPerBeat / 2.0, sliceIndex, reverse, false));
        return slice.isStretchedPlay();
    }
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
};

// Records count samples of a 441 Hz sine (100 samples a period) as the engine does,
// starts a bar and answers the rising zero crossings in 1000 outputs of a play of slice 2
// one octave up (at 44.1 kHz a tenth of its frequency in Hz over 44.1).
int32_t octaveUpCrossings(Slice& slice, int64_t count)
{
    for (int64_t i = 0; i < count; ++i) {
        const auto value = static_cast<float>(0.5 * std::sin(2.0 * M_PI * static_cast<double>(i) / 100.0));
        slice.record(value, value);
        slice.processStretch();
    }
    slice.setStart();
    slice.setPitchSemitone(12);
    EXPECT_TRUE(slice.playSlice(2500.0, 2, false, false));
    int32_t crossings = 0;
    float previous = 0.0f;
    for (int32_t t = 0; t < 1000; ++t) {
        float left = 0.0f, right = 0.0f;
        slice.process(left, right);
        crossings += t > 0 && previous < 0.0f && left >= 0.0f;
        previous = left;
    }
    return crossings;
}

} // namespace

TEST(StretchedPlay, StartsOnlyOnceItsStartPlusTheLatencyIsOnePieceBehindTheWrites)
{
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    slice.setStretchMode(true);
    slice.setSamplePerBeat(1000.0);
    const int64_t latency = slice.getStretchLatency();
    const int64_t piece = StretchFeed::kPieceSize, chunk = StretchFeed::kChunkSize;
    ASSERT_GT(latency, 0);
    // A bar start that puts slice 0 where start + latency + one piece is a piece boundary.
    const int64_t barAt = 5 * chunk + ((4000 - latency) % piece + piece) % piece;
    recorder.record(barAt);
    slice.setStart();
    const int64_t ready = barAt - 4000 + latency + piece; // stretched rings written up to here
    ASSERT_EQ(ready % piece, 0);
    // The piece that ends at `ready` is written a chunk after its first sample was recorded.
    recorder.record(ready + chunk - piece - recorder.recorded);
    slice.setPitchSemitone(12);
    ASSERT_TRUE(slice.playSlice(1000.0, 0, false, false));
    EXPECT_FALSE(slice.isStretchedPlay()) << "one sample short of the margin";
    recorder.record(1);
    ASSERT_TRUE(slice.playSlice(1000.0, 0, false, false));
    EXPECT_TRUE(slice.isStretchedPlay());
}

TEST(StretchedPlay, TooRecentASliceFallsBackToTheLiveRingsAtItsRate)
{
    // At 1000 samples per beat a whole bar is shorter than the latency: no slice of the
    // previous bar has been through the stretcher yet, even in a long run of stretch mode.
    StretchRig rig(1000.0);
    rig.recordThenStartABar(50000);
    ASSERT_FALSE(rig.playsStretched(7, false, 1000.0));
    EXPECT_EQ(rig.recorder.firstMismatch(200, rig.recorder.takeOne(46000 + 7 * 500, 2), false), -1)
        << "no audio a whole ring old";
}

TEST(StretchedPlay, ReadsOnlyWhatTheCurrentRunOfStretchModeWrote)
{
    StretchRig rig(5000.0, false);
    rig.recorder.record(40000);
    rig.slice.setStretchMode(true);
    rig.recordThenStartABar(20000); // the first chunk through the stretcher covers live 39936..40959
    // Slice i of the bar that ended starts at 40000 + 2500 i.
    EXPECT_TRUE(rig.playsStretched(0));
    EXPECT_FALSE(rig.playsStretched(0, true)) << "a reverse reaches back before the run";
    EXPECT_TRUE(rig.playsStretched(2, true));

    rig.slice.setSamplePerBeat(7500.0);
    rig.slice.setStart(); // now slice i starts at 30000 + 3750 i
    EXPECT_FALSE(rig.playsStretched(0, false, 7500.0)) << "recorded before stretch mode";
    EXPECT_FALSE(rig.playsStretched(2, false, 7500.0));
    EXPECT_TRUE(rig.playsStretched(3, false, 7500.0));

    rig.slice.setStretchMode(false);
    rig.recorder.record(StretchFeed::kChunkSize); // a chunk outside stretch mode ends the run
    rig.slice.setStretchMode(true);
    rig.recorder.record(StretchFeed::kChunkSize);
    EXPECT_FALSE(rig.playsStretched(3, false, 7500.0));
}

TEST(StretchedPlay, PitchedSlicesStretchAlsoUnderAPitchEffectButNotUnpitchedOrOutsideStretchMode)
{
    StretchRig rig(5000.0);
    rig.recordThenStartABar(60000);
    ASSERT_TRUE(rig.playsStretched(1));
    rig.slice.setPitchSemitone(0);
    ASSERT_TRUE(rig.slice.playSlice(2500.0, 1, false, false));
    EXPECT_FALSE(rig.slice.isStretchedPlay());
    // A pitch effect on a pitched slice plays the stretched copy too.
    ASSERT_TRUE(rig.slice.setPitchFx(true, PitchCurves::kTapeStop));
    EXPECT_TRUE(rig.playsStretched(1));
    ASSERT_TRUE(rig.slice.setPitchFx(false, PitchCurves::kScratch));
    rig.slice.setStretchMode(false);
    EXPECT_FALSE(rig.playsStretched(1));
}

TEST(StretchedPlay, KeepsTheRecordedLengthAndCarriesTheTranspositionOfItsMaterial)
{
    // Read at rate 1: 441 Hz stays 441 Hz through factor 1 and becomes 882 Hz through
    // +12 semitones; an unstretched play gives 882 Hz from either.
    for (const int32_t recordedShift : {0, 12}) {
        Slice slice;
        slice.setSamplerate(44100.0);
        slice.setStretchMode(true);
        slice.setSamplePerBeat(5000.0);
        slice.setPitchSemitone(recordedShift);
        EXPECT_NEAR(octaveUpCrossings(slice, 60000), recordedShift == 0 ? 10 : 20, 1) << recordedShift;
        EXPECT_TRUE(slice.isStretchedPlay());
    }
    Slice unstretched;
    unstretched.setSamplePerBeat(5000.0);
    EXPECT_NEAR(octaveUpCrossings(unstretched, 60000), 20, 1);
}

TEST(StretchedPlay, ARateChangeRebuildsTheStretcherAndForgetsWhatItWrote)
{
    StretchRig rig(5000.0);
    rig.recordThenStartABar(60000);
    const int32_t latencyAt44k = rig.slice.getStretchLatency();
    ASSERT_TRUE(rig.playsStretched(1));
    rig.slice.setSamplerate(44100.0); // the same rate: nothing rebuilt, nothing forgotten
    EXPECT_TRUE(rig.playsStretched(1));
    rig.slice.setSamplerate(-1.0); // refused
    EXPECT_TRUE(rig.playsStretched(1));

    rig.slice.setSamplerate(96000.0);
    EXPECT_GT(rig.slice.getStretchLatency(), latencyAt44k) << "a latency measured for the new rate";
    EXPECT_FALSE(rig.playsStretched(1)) << "written before the rebuild";
    rig.recordThenStartABar(60000);
    EXPECT_TRUE(rig.playsStretched(1));
}
