#include "CountingRecorder.h"
#include "dsp/FrozenBuffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {
constexpr int64_t kRing = AudioBuffer::size;

struct CaptureRig {
    std::unique_ptr<AudioBuffer> live = std::make_unique<AudioBuffer>();
    std::unique_ptr<FrozenBuffer> frozen = std::make_unique<FrozenBuffer>();
    std::unique_ptr<AudioBuffer> wholeCopy = std::make_unique<AudioBuffer>();
    std::mt19937 noise{20261206};
    std::uniform_real_distribution<float> level{-1.0f, 1.0f};

    void recordNoise(int64_t count, bool copying)
    {
        for (int64_t i = 0; i < count; ++i) {
            if (copying)
                frozen->copyAhead(*live);
            live->write(level(noise));
        }
    }

    void capture()
    {
        frozen->capture(*live);
        wholeCopy->copy(*live);
    }

    // Every stride-th index, the neighbourhood of the write head, and indexes outside
    // the ring's range read the same as the whole copy.
    void expectSameAsWholeCopy(int64_t stride) const
    {
        for (int64_t index = 0; index < kRing; index += stride)
            ASSERT_EQ(frozen->read(index, *live), wholeCopy->read(index)) << index;
        const int64_t head = live->getWriteIndex();
        for (int64_t index = head - 3000; index < head + 3000; ++index)
            ASSERT_EQ(frozen->read(index, *live), wholeCopy->read(index)) << index;
        for (int64_t index : {int64_t{-1}, -kRing - 5, 3 * kRing + 17, int64_t{1} << 40})
            ASSERT_EQ(frozen->read(index, *live), wholeCopy->read(index)) << index;
    }
};
} // namespace

TEST(Freeze, CaptureReadsTheSameAsAWholeCopyWhileTheRecorderOverwritesTheRing)
{
    CaptureRig rig;
    rig.recordNoise(kRing + 777, false);
    rig.capture();
    rig.expectSameAsWholeCopy(1);
    EXPECT_FALSE(rig.frozen->isComplete());

    // Checkpoints before, around and after the end of the copy and a whole ring later.
    const int64_t copyEnd = kRing / FrozenBuffer::kCopyPerSample;
    int64_t recorded = 0;
    for (int64_t checkpoint : {int64_t{1}, int64_t{1000}, copyEnd - 1, copyEnd + 1, kRing / 2, kRing + 5000}) {
        rig.recordNoise(checkpoint - recorded, true);
        recorded = checkpoint;
        rig.expectSameAsWholeCopy(checkpoint == kRing + 5000 ? 1 : 611);
    }
    EXPECT_TRUE(rig.frozen->isComplete());
}

TEST(Freeze, ASecondCaptureStartsAFreshCopy)
{
    CaptureRig rig;
    rig.recordNoise(300000, false);
    rig.capture();
    rig.recordNoise(5000, true);
    rig.capture(); // while the first copy is still running
    rig.recordNoise(kRing / 3, true);
    rig.expectSameAsWholeCopy(1);
}

namespace {
// Value each index held when freeze switched on after `recorded` first-take samples.
float captured(int64_t index, int64_t recorded)
{
    const int64_t slot = index & (kRing - 1);
    return slot < recorded ? CountingRecorder::valueOf(slot, 1) : 0.0f;
}

// Records one bar A after a pre-roll, then the first three slices of bar B, and
// switches freeze on at the fourth slice start of bar B. Returns where bar A began.
int64_t freezeInTheSecondBar(CountingRecorder& recorder)
{
    recorder.slice->setSamplePerBeat(1000.0);
    recorder.record(321);
    recorder.recordBar(500, 8);
    recorder.slice->setStart();
    for (int32_t i = 0; i < 3; ++i) {
        recorder.slice->setSliceStart(i);
        recorder.record(500);
    }
    recorder.slice->setSliceStart(3);
    recorder.slice->setFreeze(true);
    recorder.take = 2; // from now on the input differs from everything captured
    return 321;
}

// Plays `count` outputs while recording and expects reads of index start + step * t
// of the capture.
void expectCapturedRun(CountingRecorder& recorder, int64_t start, int64_t step, int32_t count, int64_t capturedCount)
{
    for (int32_t t = 0; t < count; ++t)
        ASSERT_EQ(recorder.recordAndPlay(), captured(start + step * t, capturedCount)) << "sample " << t;
}
} // namespace

TEST(Freeze, FrozenPlaysKeepPlayingTheCapturedBarWhileRecordingGoesOn)
{
    CountingRecorder recorder;
    const int64_t barA = freezeInTheSecondBar(recorder);
    const int64_t capturedCount = recorder.recorded;
    Slice& slice = *recorder.slice;
    ASSERT_TRUE(slice.isFrozen());

    for (int64_t recordGap : {int64_t{0}, int64_t{3000}, kRing / 8, kRing - 20000}) {
        recorder.record(recordGap);
        slice.setPitch(1.0);
        ASSERT_TRUE(slice.playSlice(500.0, 3, false, false));
        expectCapturedRun(recorder, barA + 1500, 1, 500, capturedCount);
        ASSERT_TRUE(slice.playSlice(500.0, 0, true, false));
        expectCapturedRun(recorder, barA, -1, 500, capturedCount);
        ASSERT_TRUE(slice.playFreezeDirect(500.0, 5, false, false));
        expectCapturedRun(recorder, barA + 2500, 1, 500, capturedCount);
        ASSERT_TRUE(slice.playSlice2(500.0, 6, false, false)); // bar A's table, captured
        expectCapturedRun(recorder, barA + 3000, 1, 500, capturedCount);
        slice.setPitch(5.0);
        ASSERT_TRUE(slice.playSlice(500.0, 7, false, false)); // runs past the capture point
        expectCapturedRun(recorder, barA + 3500, 5, 500, capturedCount);
    }
}

TEST(Freeze, TempoChangesStretchTheFrozenBarToTheNewBeat)
{
    CountingRecorder recorder;
    const int64_t barA = freezeInTheSecondBar(recorder);
    const int64_t capturedCount = recorder.recorded;
    Slice& slice = *recorder.slice;
    slice.setSamplePerBeat(500.0); // twice the tempo
    slice.setPitch(1.0);
    EXPECT_EQ(slice.getRate(), 2.0);
    ASSERT_TRUE(slice.playSlice(250.0, 3, false, false));
    expectCapturedRun(recorder, barA + 1500, 2, 250, capturedCount);

    slice.setPitch(1.0);
    ASSERT_TRUE(slice.playFreezeDirect(250.0, 3, true, false)); // inside the bar: reverses
    expectCapturedRun(recorder, barA + 1500, -2, 250, capturedCount);
    ASSERT_TRUE(slice.playFreezeDirect(250.0, 7, true, false)); // would pass the bar: forward
    expectCapturedRun(recorder, barA + 3500, 2, 250, capturedCount);
}

TEST(Freeze, ARunningDirectPlayStaysLiveUntilTheNextPlay)
{
    CountingRecorder recorder;
    recorder.record(5000);
    Slice& slice = *recorder.slice;
    ASSERT_TRUE(slice.playDirect(500.0, false));
    for (int i = 0; i < 100; ++i)
        recorder.recordAndPlay();
    slice.setFreeze(true);
    for (int i = 0; i < 400; ++i) {
        const float played = recorder.recordAndPlay();
        ASSERT_EQ(played, CountingRecorder::valueOf(recorder.recorded - 1, 1));
    }

    ASSERT_TRUE(slice.playFreezeDirect(500.0, 0, false, false)); // the next play reads the capture
    const int64_t capturedCount = 5100;
    expectCapturedRun(recorder, slice.getBarStart(), 1, 500, capturedCount);
}

TEST(Freeze, SwitchingOffAndOnAgainRecapturesTheLatestBar)
{
    CountingRecorder recorder;
    freezeInTheSecondBar(recorder);
    Slice& slice = *recorder.slice;
    slice.setFreeze(true); // already on: nothing is recaptured
    slice.setFreeze(false);
    EXPECT_FALSE(slice.isFrozen());

    recorder.record(2500); // the rest of bar B, in the second take
    recorder.recordBar(500, 8);
    slice.setStart();
    const int64_t barC = recorder.recorded - 4000;
    slice.setFreeze(true);
    recorder.take = 1;
    ASSERT_TRUE(slice.playSlice(500.0, 2, false, false));
    for (int32_t t = 0; t < 500; ++t)
        ASSERT_EQ(recorder.recordAndPlay(), CountingRecorder::valueOf(barC + 1000 + t, 2));
    ASSERT_TRUE(slice.playSlice2(500.0, 4, false, false));
    EXPECT_EQ(recorder.recordAndPlay(), CountingRecorder::valueOf(barC + 2000, 2));
}
