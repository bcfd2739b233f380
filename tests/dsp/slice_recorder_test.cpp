#include "CountingRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {
constexpr int64_t kRing = AudioBuffer::size;
constexpr int32_t kPreRoll = 123; // so that slice positions differ from recording numbers

// Slices of 500 samples, eight per bar at 1000 samples per beat; afterwards the previous
// bar starts at recording number kPreRoll.
void recordOneBarAndStartTheNext(CountingRecorder& recorder)
{
    recorder.slice->setSamplePerBeat(1000.0);
    recorder.record(kPreRoll);
    recorder.recordBar(500, 8);
    recorder.slice->setStart();
}

float valueAt(int64_t index) { return CountingRecorder::valueOf(index, 1); }

constexpr auto silence = [](int32_t) { return 0.0f; };
} // namespace

TEST(SliceRecorder, ReadsAreSilentBeforeAnythingIsRecordedAndDirectPlayIsTheLatestSample)
{
    CountingRecorder recorder;
    for (bool reverse : {false, true}) {
        ASSERT_TRUE(recorder.slice->playSlice(500.0, 3, reverse, false));
        EXPECT_EQ(recorder.firstMismatch(600, silence, false), -1) << reverse;
        ASSERT_TRUE(recorder.slice->playSlice2(500.0, 5, reverse, false));
        EXPECT_EQ(recorder.firstMismatch(600, silence, false), -1) << reverse;
    }
    recorder.record(100);
    ASSERT_TRUE(recorder.slice->playDirect(500.0, false));
    EXPECT_EQ(recorder.firstMismatch(500, recorder.takeOne(100, 1)), -1);
    EXPECT_EQ(recorder.lastRight, -valueAt(599));
}

TEST(SliceRecorder, RepeatedSlicesReadThePreviousBarAtTheirPositionAndRate)
{
    CountingRecorder recorder;
    recordOneBarAndStartTheNext(recorder);
    EXPECT_EQ(recorder.slice->getBarStart(), kPreRoll);
    for (int32_t slice : {0, 3, 7}) {
        ASSERT_TRUE(recorder.slice->playSlice(500.0, slice, false, false));
        EXPECT_EQ(recorder.firstMismatch(500, recorder.takeOne(kPreRoll + slice * 500, 1)), -1) << slice;
    }
    recorder.slice->setPitch(2.0);
    ASSERT_TRUE(recorder.slice->playSlice(500.0, 2, false, false));
    EXPECT_EQ(recorder.firstMismatch(500, recorder.takeOne(kPreRoll + 1000, 2)), -1);
    recorder.slice->setPitchSemitone(-12);
    ASSERT_TRUE(recorder.slice->playSlice(500.0, 2, false, false));
    EXPECT_EQ(recorder.firstMismatch(500, [](int32_t t) { return valueAt(kPreRoll + 1000 + t / 2); }), -1);

    // Reversed, slice 0 plays the bar before it backwards and never rolls.
    recorder.slice->setPitchSemitone(0);
    ASSERT_TRUE(recorder.slice->playSlice(100.0, 0, true, true));
    EXPECT_EQ(recorder.firstMismatch(100, recorder.takeOne(kPreRoll, -1)), -1);
}

TEST(SliceRecorder, TempoChangeReplaysUseTheRecordedTempoRatio)
{
    CountingRecorder recorder;
    recordOneBarAndStartTheNext(recorder); // slices recorded at 1000 samples per beat
    recorder.slice->setSamplePerBeat(500.0);
    const int64_t slice3 = kPreRoll + 3 * 500;
    ASSERT_TRUE(recorder.slice->playSlice2(250.0, 3, false, true));
    EXPECT_EQ(recorder.slice->getRate(), 2.0);
    EXPECT_EQ(recorder.firstMismatch(250, recorder.takeOne(slice3, 2)), -1) << "well past any roll point";
    ASSERT_TRUE(recorder.slice->playSlice2(250.0, 3, true, false));
    EXPECT_EQ(recorder.firstMismatch(100, recorder.takeOne(slice3, -2)), -1);
    ASSERT_TRUE(recorder.slice->playSlice2(250.0, 0, true, false));
    EXPECT_EQ(recorder.firstMismatch(100, recorder.takeOne(kPreRoll, 2)), -1) << "slice 0 stays forward";
}

TEST(SliceRecorder, BarStartKeepsTableEntriesThatTheBarDidNotRewrite)
{
    CountingRecorder recorder;
    recordOneBarAndStartTheNext(recorder); // eight slice starts
    recorder.recordBar(1000, 4);           // only four
    recorder.slice->setStart();
    ASSERT_TRUE(recorder.slice->playSlice2(500.0, 6, false, false));
    EXPECT_EQ(recorder.recordAndPlay(), valueAt(kPreRoll + 6 * 500));
}

TEST(SliceRecorder, RollReturnsToThePlayStartEveryQuarterOfTheSlice)
{
    CountingRecorder recorder;
    recorder.slice->setSamplePerBeat(22050.0);
    recorder.record(kPreRoll);
    recorder.recordBar(22050, 4);
    recorder.slice->setStart();
    ASSERT_TRUE(recorder.slice->playSlice(22050.0, 0, false, true));
    std::vector<float> played;
    for (int32_t t = 0; t < 3 * 5513; ++t)
        played.push_back(recorder.recordAndPlay());

    for (int32_t t = 0; t <= 5513; ++t)
        ASSERT_EQ(played[t], valueAt(kPreRoll + t)) << "the jump fades out from the pair at + 5513";
    // ... toward the restarted play, which stands alone once the fade has ended.
    const double fadedGain = std::sqrt(100.0 / 441.0);
    const double fadeOut = valueAt(kPreRoll + 5513) * (1.0 - 100.0 / 441.0);
    EXPECT_NEAR(played[5513 + 100], fadeOut * (1.0 - fadedGain) + valueAt(kPreRoll + 100) * fadedGain, 0.01);
    for (int32_t t = 440; t < 5513; ++t) {
        ASSERT_EQ(played[5513 + t], valueAt(kPreRoll + t));
        ASSERT_EQ(played[2 * 5513 + t], valueAt(kPreRoll + t));
    }

    recorder.slice->setRollFraction(0.125);
    ASSERT_TRUE(recorder.slice->playSlice(22050.0, 0, false, true));
    EXPECT_EQ(recorder.firstMismatch(2757, recorder.takeOne(kPreRoll, 1)), -1);
    for (int32_t t = 0; t < 500; ++t)
        recorder.recordAndPlay();
    EXPECT_EQ(recorder.recordAndPlay(), valueAt(kPreRoll + 500)) << "an eighth later the play starts again";
}

TEST(SliceRecorder, PanGainsSendASliceHardToOneSide)
{
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    const std::tuple<float, float, float> cases[] = {{0.0f, 1, 0}, {1.0f, 0, 1}, {0.25f, 1, 0.5f}, {0.5f, 1, 1}};
    for (const auto& [pan, left, right] : cases) {
        slice.setPan(pan);
        EXPECT_EQ(slice.getGainLeft(), left) << pan;
        EXPECT_EQ(slice.getGainRight(), right) << pan;
    }
    slice.setPan(0.0f);
    slice.setPan(std::nanf(""));
    slice.setPan(1.5f);
    EXPECT_EQ(slice.getGainRight(), 0.0f) << "unusable pans are refused";
    recorder.record(10);
    slice.playDirect(100.0, false);
    EXPECT_EQ(recorder.recordAndPlay(), valueAt(10));
    EXPECT_EQ(recorder.lastRight, 0.0f);
}

TEST(SliceRecorder, SemitonesSetTheRateAndDirectPlaysNeverRunAhead)
{
    CountingRecorder recorder;
    Slice& slice = *recorder.slice;
    slice.setPitchSemitone(12);
    EXPECT_EQ(slice.getRate(), 2.0);
    EXPECT_EQ(slice.getStretchSemitones(), 12);
    slice.playDirect(500.0, false);
    EXPECT_EQ(slice.getRate(), 1.0);

    slice.setPitchSemitone(-12);
    EXPECT_EQ(slice.getRate(), 0.5);
    slice.playDirect(500.0, false);
    EXPECT_EQ(slice.getRate(), 0.5) << "a pitched-down live slice lags behind";
    slice.setStretchMode(true);
    slice.playDirect(500.0, false);
    EXPECT_EQ(slice.getRate(), 1.0);

    slice.setPitchSemitone(13);
    slice.setPitchSemitone(-100);
    EXPECT_EQ(slice.getRate(), 1.0);
    EXPECT_EQ(slice.getStretchSemitones(), -12);
}

TEST(SliceRecorder, ScratchRunsForwardThenBackAtReducedLevel)
{
    CountingRecorder recorder;
    recorder.slice->setSamplePerBeat(22050.0);
    recorder.record(22050);
    recorder.recordBar(22050, 4);
    recorder.slice->setStart();
    ASSERT_TRUE(recorder.slice->setPitchFx(true, PitchCurves::kScratch));
    ASSERT_FALSE(recorder.slice->setPitchFx(true, 3));
    ASSERT_TRUE(recorder.slice->playSlice(22050.0, 1, false, false));
    const float first = recorder.play();
    EXPECT_EQ(first, static_cast<float>(valueAt(22050 + 22050) * 0.65));
    int32_t turn = 0;
    float highest = first;
    for (int32_t t = 1; t < 22050; ++t) {
        const float value = recorder.play();
        if (value > highest) {
            highest = value;
            turn = t;
        }
    }
    EXPECT_NEAR(turn / 22050.0, 0.4167, 0.005) << "forward for its first 42 %";
}

TEST(SliceRecorder, UnusablePlaysAndSettingsAreRefusedAndChangeNothing)
{
    CountingRecorder recorder;
    recordOneBarAndStartTheNext(recorder);
    Slice& slice = *recorder.slice;
    ASSERT_TRUE(slice.playSlice(500.0, 2, false, false));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double length : {nan, 0.0, -500.0, 1e12, std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(slice.playSlice(length, 1, false, false)) << length;
    for (int32_t index : {-1, 16, 1000}) {
        EXPECT_FALSE(slice.playSlice(500.0, index, false, false));
        EXPECT_FALSE(slice.playSlice2(500.0, index, false, false));
        EXPECT_FALSE(slice.playFreezeDirect(500.0, index, false, false));
        slice.setSliceStart(index);
    }
    EXPECT_FALSE(slice.playDirect(nan, false));
    slice.setPitch(nan);
    slice.setPitch(0.0);
    slice.setRollFraction(0.0);
    EXPECT_EQ(recorder.firstMismatch(2, recorder.takeOne(kPreRoll + 1000, 1)), -1) << "the play of slice 2 went on";

    const int32_t writeIndex = slice.getWriteIndex();
    for (double tempo : {nan, 0.0, -1.0})
        slice.setSamplePerBeat(tempo);
    slice.setStart();
    EXPECT_EQ(slice.getBarStart(), writeIndex - 4000);
}

TEST(SliceRecorder, PositionsWrapAroundTheRingEnd)
{
    CountingRecorder recorder;
    recorder.slice->setSamplePerBeat(1000.0);
    recorder.record(kRing - 2000);
    recorder.recordBar(500, 8); // crosses the ring's end
    recorder.slice->setStart();
    EXPECT_EQ(recorder.slice->getBarStart(), -2000);
    for (int32_t slice : {0, 3, 4, 7}) {
        ASSERT_TRUE(recorder.slice->playSlice(500.0, slice, false, false));
        EXPECT_EQ(recorder.firstMismatch(500, recorder.takeOne(kRing - 2000 + slice * 500, 1), false), -1) << slice;
    }
}
