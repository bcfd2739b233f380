#include "CountingRecorder.h"
#include "dsp/FrozenBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    int64_t windowStart = 0, windowLength = 0;

    void recordNoise(int64_t count)
    {
        for (int64_t i = 0; i < count; ++i) {
            frozen->saveBeforeWrite(*live);
            live->write(level(noise));
        }
    }
    void capture(uint32_t reachBack, uint32_t reachAhead)
    {
        frozen->capture(*live, reachBack, reachAhead);
        wholeCopy->copy(*live);
        windowStart = static_cast<int64_t>(live->getWriteIndex()) - reachBack;
        windowLength = std::min<int64_t>(int64_t{reachBack} + reachAhead, kRing);
    }
    // Every stride-th index, the neighbourhood of the write head, the window's edges and
    // indexes outside the ring's range read as the whole copy inside the window and as
    // the live ring outside it.
    void expectCaptureInsideTheWindow(int64_t stride) const
    {
        auto check = [this](int64_t index) {
            const bool inside = ((index - windowStart) & (kRing - 1)) < windowLength;
            ASSERT_EQ(frozen->read(index, *live), (inside ? *wholeCopy : *live).read(index)) << index;
        };
        for (int64_t index = 0; index < kRing; index += stride)
            check(index);
        const int64_t head = live->getWriteIndex();
        for (int64_t from : {head, windowStart, windowStart + windowLength})
            for (int64_t index = from - 3000; index < from + 3000; ++index)
                check(index);
        for (int64_t index : {int64_t{-1}, -kRing - 5, 3 * kRing + 17, int64_t{1} << 40})
            check(index);
    }
};
} // namespace

TEST(Freeze, CaptureReadsTheSameAsAWholeCopyInsideItsWindowWhileTheRecorderOverwritesTheRing)
{
    CaptureRig rig;
    rig.recordNoise(kRing + 777);
    constexpr uint32_t kBack = 100000, kAhead = 50000;
    rig.capture(kBack, kAhead);
    rig.expectCaptureInsideTheWindow(1);
    // Checkpoints inside and past the part ahead, around the part behind (reached a ring
    // later) and beyond a whole ring.
    int64_t recorded = 0;
    for (int64_t checkpoint : {int64_t{1}, int64_t{kAhead - 1}, int64_t{kAhead + 1}, kRing - kBack - 1,
                               kRing - kBack / 2, kRing + 5000}) {
        rig.recordNoise(checkpoint - recorded);
        recorded = checkpoint;
        rig.expectCaptureInsideTheWindow(checkpoint == kRing + 5000 ? 1 : 611);
    }

    rig.capture(kRing, kRing); // the whole ring, also while a capture is running
    rig.recordNoise(5000);
    rig.capture(kRing / 2, kRing / 2);
    rig.recordNoise(kRing / 3);
    rig.expectCaptureInsideTheWindow(1);
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
