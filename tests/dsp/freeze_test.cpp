#include "CountingRecorder.h"
#include "dsp/FrozenBuffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {
constexpr int64_t kRing = AudioBuffer::size;

// A live ring with a frozen capture of it and, to compare with, a whole copy made at once.
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
    // Every stride-th index, the neighbourhood of the write head and indexes outside the
    // ring's range read the same as the whole copy.
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

    rig.capture(); // a second capture starts a fresh copy, also while one is running
    rig.recordNoise(5000, true);
    rig.capture();
    rig.recordNoise(kRing / 3, true);
    rig.expectSameAsWholeCopy(1);
}

namespace {
// What index start + step * t of a capture taken after `count` first-take samples holds.
auto capturedRun(int64_t count, int64_t start, int64_t step)
{
    return [=](int32_t t) {
        const int64_t slot = (start + step * t) & (kRing - 1);
        return slot < count ? CountingRecorder::valueOf(slot, 1) : 0.0f;
    };
}

// Records bar A (eight slices of 500 at 1000 samples per beat) after a pre-roll of 321,
// then three slices of bar B, and switches freeze on at the fourth slice start; from then
// on the input is the second take.
struct FrozenBar {
    FrozenBar()
    {
        recorder.slice->setSamplePerBeat(1000.0);
        recorder.record(kBarA);
        recorder.recordBar(500, 8);
        recorder.slice->setStart();
        for (int32_t i = 0; i < 3; ++i) {
            recorder.slice->setSliceStart(i);
            recorder.record(500);
        }
        recorder.slice->setSliceStart(3);
        recorder.slice->setFreeze(true);
        recorder.take = 2;
    }
    auto captured(int64_t start, int64_t step) const { return capturedRun(capturedCount, start, step); }
    static constexpr int64_t kBarA = 321;
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    const int64_t capturedCount = kBarA + 5500;
};
} // namespace

TEST(Freeze, FrozenPlaysKeepPlayingTheCapturedBarWhileRecordingGoesOn)
{
    FrozenBar frozen;
    Slice& slice = frozen.slice;
    ASSERT_TRUE(slice.isFrozen());
    const int64_t barA = FrozenBar::kBarA;
    for (int64_t recordGap : {int64_t{0}, int64_t{3000}, kRing / 8, kRing - 20000}) {
        SCOPED_TRACE(recordGap);
        frozen.recorder.record(recordGap);
        slice.setPitch(1.0);
        ASSERT_TRUE(slice.playSlice(500.0, 3, false, false));
        EXPECT_EQ(frozen.recorder.firstMismatch(500, frozen.captured(barA + 1500, 1)), -1);
        ASSERT_TRUE(slice.playSlice(500.0, 0, true, false));
        EXPECT_EQ(frozen.recorder.firstMismatch(500, frozen.captured(barA, -1)), -1);
        ASSERT_TRUE(slice.playFreezeDirect(500.0, 5, false, false));
        EXPECT_EQ(frozen.recorder.firstMismatch(500, frozen.captured(barA + 2500, 1)), -1);
        ASSERT_TRUE(slice.playSlice2(500.0, 6, false, false)); // bar A's table, captured
        EXPECT_EQ(frozen.recorder.firstMismatch(500, frozen.captured(barA + 3000, 1)), -1);
        slice.setPitch(5.0);
        ASSERT_TRUE(slice.playSlice(500.0, 7, false, false)); // runs past the capture point
        EXPECT_EQ(frozen.recorder.firstMismatch(500, frozen.captured(barA + 3500, 5)), -1);
    }
}

TEST(Freeze, TempoChangesStretchTheFrozenBarToTheNewBeat)
{
    FrozenBar frozen;
    Slice& slice = frozen.slice;
    const int64_t barA = FrozenBar::kBarA;
    slice.setSamplePerBeat(500.0); // twice the tempo
    slice.setPitch(1.0);
    EXPECT_EQ(slice.getRate(), 2.0);
    ASSERT_TRUE(slice.playSlice(250.0, 3, false, false));
    EXPECT_EQ(frozen.recorder.firstMismatch(250, frozen.captured(barA + 1500, 2)), -1);
    slice.setPitch(1.0);
    ASSERT_TRUE(slice.playFreezeDirect(250.0, 3, true, false));
    EXPECT_EQ(frozen.recorder.firstMismatch(250, frozen.captured(barA + 1500, -2)), -1) << "inside the bar: reverses";
    ASSERT_TRUE(slice.playFreezeDirect(250.0, 7, true, false));
    EXPECT_EQ(frozen.recorder.firstMismatch(250, frozen.captured(barA + 3500, 2)), -1) << "would pass the bar: forward";
}

TEST(Freeze, ARunningDirectPlayStaysLiveUntilTheNextPlay)
{
    CountingRecorder recorder;
    recorder.record(5000);
    Slice& slice = *recorder.slice;
    ASSERT_TRUE(slice.playDirect(500.0, false));
    EXPECT_EQ(recorder.firstMismatch(100, recorder.takeOne(5000, 1)), -1);
    slice.setFreeze(true);
    EXPECT_EQ(recorder.firstMismatch(400, recorder.takeOne(5100, 1)), -1);
    ASSERT_TRUE(slice.playFreezeDirect(500.0, 0, false, false)); // the next play reads the capture
    EXPECT_EQ(recorder.firstMismatch(500, capturedRun(5100, slice.getBarStart(), 1)), -1);
}

TEST(Freeze, SwitchingOffAndOnAgainRecapturesTheLatestBar)
{
    FrozenBar frozen;
    CountingRecorder& recorder = frozen.recorder;
    frozen.slice.setFreeze(true); // already on: nothing is recaptured
    frozen.slice.setFreeze(false);
    EXPECT_FALSE(frozen.slice.isFrozen());
    recorder.record(2500); // the rest of bar B, in the second take
    recorder.recordBar(500, 8);
    frozen.slice.setStart();
    const int64_t barC = recorder.recorded - 4000;
    frozen.slice.setFreeze(true);
    recorder.take = 1;
    ASSERT_TRUE(frozen.slice.playSlice(500.0, 2, false, false));
    EXPECT_EQ(recorder.firstMismatch(500, [barC](int32_t t) { return CountingRecorder::valueOf(barC + 1000 + t, 2); }), -1);
    ASSERT_TRUE(frozen.slice.playSlice2(500.0, 4, false, false));
    EXPECT_EQ(recorder.recordAndPlay(), CountingRecorder::valueOf(barC + 2000, 2));
}
