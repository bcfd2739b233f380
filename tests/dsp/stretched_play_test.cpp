// Stretched plays: they read the stretcher's output at rate 1, so a pitched slice keeps
// its length, and they start only where the stretcher has already written everything
// they will read; any other pitched slice plays unstretched from the live rings.
#include "CountingRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {
constexpr double kTwoPi = 6.283185307179586;

float valueAt(int64_t index)
{
    return CountingRecorder::valueOf(index, 1);
}

// The live index where a bar start made now puts slice 0 at samplesPerBeat.
int64_t barStartAfter(int64_t recorded, double samplesPerBeat)
{
    return recorded - static_cast<int64_t>(4.0 * samplesPerBeat);
}

// Whether a pitched play of slice i (length 2500 at 5000 samples per beat) reads the
// stretched rings.
bool playsStretched(Slice& slice, int32_t sliceIndex, bool reverse, double samplesPerBeat = 5000.0)
{
    slice.setPitchSemitone(12);
    EXPECT_TRUE(slice.playSlice(samplesPerBeat / 2.0, sliceIndex, reverse, false));
    return slice.isStretchedPlay();
}

// Rising zero crossings per 1000 outputs of a play, at 44.1 kHz a tenth of its frequency
// in Hz over 44.1.
int32_t risingCrossingsPer1000(Slice& slice)
{
    int32_t crossings = 0;
    float previous = 0.0f;
    for (int32_t t = 0; t < 1000; ++t) {
        float left = 0.0f, right = 0.0f;
        slice.process(left, right);
        if (t > 0 && previous < 0.0f && left >= 0.0f)
            ++crossings;
        previous = left;
    }
    return crossings;
}

// Records count samples of a 441 Hz sine (100 samples a period) as the engine does.
void recordSine(Slice& slice, int64_t& recorded, int64_t count)
{
    for (int64_t i = 0; i < count; ++i, ++recorded) {
        const auto value = static_cast<float>(0.5 * std::sin(kTwoPi * static_cast<double>(recorded) / 100.0));
        slice.record(value, value);
        slice.processStretch();
    }
}
} // namespace

TEST(StretchedPlay, StartsOnlyOnceItsStartPlusTheLatencyIsOneBlockBehindTheWrites)
{
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    slice.setStretchMode(true);
    slice.setSamplePerBeat(1000.0);
    const int64_t latency = slice.getStretchLatency();
    const int64_t block = StretchFeed::kBlockSize;
    ASSERT_GT(latency, 0);

    // A bar start that puts slice 0 where start + latency + one block is a block boundary.
    const int64_t barAt = 5 * block + ((4000 - latency) % block + block) % block; // after one bar
    recorder.record(barAt);
    slice.setStart();
    const int64_t start = barStartAfter(barAt, 1000.0);
    const int64_t ready = start + latency + block; // stretched rings written up to here
    ASSERT_EQ(ready % block, 0);

    // The block that ends at `ready` is written with the next sample after it.
    recorder.record(ready - recorder.recorded);
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
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    slice.setStretchMode(true);
    slice.setSamplePerBeat(1000.0);
    recorder.record(50000);
    slice.setStart();
    const int64_t start = barStartAfter(50000, 1000.0) + 7 * 500;
    slice.setPitchSemitone(12);
    ASSERT_TRUE(slice.playSlice(500.0, 7, false, false));
    ASSERT_FALSE(slice.isStretchedPlay());
    for (int64_t t = 0; t < 200; ++t)
        ASSERT_EQ(recorder.play(), valueAt(start + 2 * t)) << t; // no audio a whole ring old
}

TEST(StretchedPlay, ReadsOnlyWhatTheCurrentRunOfStretchModeWrote)
{
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    slice.setSamplePerBeat(5000.0);
    recorder.record(40000);
    slice.setStretchMode(true);
    // The first block through the stretcher covers live 39936..40959.
    recorder.record(20000);
    slice.setStart(); // slice i of the bar that ended starts at 40000 + 2500 i

    EXPECT_TRUE(playsStretched(slice, 0, false));
    EXPECT_FALSE(playsStretched(slice, 0, true)) << "a reverse reaches back before the run";
    EXPECT_TRUE(playsStretched(slice, 2, true));

    slice.setSamplePerBeat(7500.0);
    slice.setStart(); // now slice i starts at 30000 + 3750 i
    EXPECT_FALSE(playsStretched(slice, 0, false, 7500.0)) << "recorded before stretch mode";
    EXPECT_FALSE(playsStretched(slice, 2, false, 7500.0));
    EXPECT_TRUE(playsStretched(slice, 3, false, 7500.0));

    slice.setStretchMode(false);
    recorder.record(StretchFeed::kBlockSize); // a copied block ends the run
    slice.setStretchMode(true);
    recorder.record(StretchFeed::kBlockSize);
    EXPECT_FALSE(playsStretched(slice, 3, false, 7500.0));
}

TEST(StretchedPlay, NeitherUnpitchedNorPitchEffectNorOutsideStretchModeSlicesStretch)
{
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    slice.setSamplePerBeat(5000.0);
    slice.setStretchMode(true);
    recorder.record(60000);
    slice.setStart();
    ASSERT_TRUE(playsStretched(slice, 1, false));

    slice.setPitchSemitone(0);
    ASSERT_TRUE(slice.playSlice(2500.0, 1, false, false));
    EXPECT_FALSE(slice.isStretchedPlay());

    // The curve replaces the rate, so the curve plays and not the stretched copy.
    ASSERT_TRUE(slice.setPitchFx(true, PitchCurves::kTapeStop));
    EXPECT_FALSE(playsStretched(slice, 1, false));
    ASSERT_TRUE(slice.setPitchFx(false, PitchCurves::kScratch));

    slice.setStretchMode(false);
    EXPECT_FALSE(playsStretched(slice, 1, false));
}

TEST(StretchedPlay, KeepsTheRecordedLengthAndCarriesTheTranspositionOfItsMaterial)
{
    for (const int32_t recordedShift : {0, 12}) {
        Slice slice;
        slice.setSamplerate(44100.0);
        slice.setStretchMode(true);
        slice.setSamplePerBeat(5000.0);
        slice.setPitchSemitone(recordedShift);
        int64_t recorded = 0;
        recordSine(slice, recorded, 60000);
        slice.setStart();

        slice.setPitchSemitone(12); // rate 2 for this play
        ASSERT_TRUE(slice.playSlice(2500.0, 2, false, false));
        ASSERT_TRUE(slice.isStretchedPlay());
        // Read at rate 1: 441 Hz stays 441 Hz through factor 1 and becomes 882 Hz
        // through +12 semitones; an unstretched play would give 882 Hz in both.
        const int32_t expected = recordedShift == 0 ? 10 : 20;
        EXPECT_NEAR(risingCrossingsPer1000(slice), expected, 1) << recordedShift;
    }

    Slice unstretched;
    unstretched.setSamplePerBeat(5000.0);
    int64_t recorded = 0;
    recordSine(unstretched, recorded, 60000);
    unstretched.setStart();
    unstretched.setPitchSemitone(12);
    ASSERT_TRUE(unstretched.playSlice(2500.0, 2, false, false));
    EXPECT_NEAR(risingCrossingsPer1000(unstretched), 20, 1);
}

TEST(StretchedPlay, ARateChangeRebuildsTheStretcherAndForgetsWhatItWrote)
{
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    slice.setStretchMode(true);
    slice.setSamplePerBeat(5000.0);
    recorder.record(60000);
    slice.setStart();
    const int32_t latencyAt44k = slice.getStretchLatency();
    ASSERT_TRUE(playsStretched(slice, 1, false));

    slice.setSamplerate(44100.0); // the same rate: nothing rebuilt, nothing forgotten
    EXPECT_TRUE(playsStretched(slice, 1, false));
    slice.setSamplerate(-1.0);    // refused
    EXPECT_TRUE(playsStretched(slice, 1, false));

    slice.setSamplerate(96000.0);
    EXPECT_GT(slice.getStretchLatency(), latencyAt44k) << "a latency measured for the new rate";
    EXPECT_FALSE(playsStretched(slice, 1, false)) << "written before the rebuild";
    recorder.record(60000);
    slice.setStart();
    EXPECT_TRUE(playsStretched(slice, 1, false));
}
