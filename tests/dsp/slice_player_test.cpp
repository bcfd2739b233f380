// The slice player: recording, repeated, reversed, rolled and panned plays, freeze, and
// stretched plays that read the stretcher's output only where it has written everything.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "dsp/FrozenBuffer.h"
#include "dsp/Slice.h"

namespace {
constexpr int64_t kRing = AudioBuffer::size;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Drives a Slice as the engine does, recording samples that name their own recording
// number n: the first take records n + 1 on the left, a second take -(n + 1), the right
// side always the negated left. So every output names the index it was read from, and
// 0 means "never recorded".
struct Recorder {
    explicit Recorder(double samplesPerBeat = 1000.0, bool stretch = false)
    {
        slice.setSamplerate(44100.0); // as the first activation does
        slice.setStretchMode(stretch);
        slice.setSamplePerBeat(samplesPerBeat);
    }
    static float valueOf(int64_t n, int take = 1) { return static_cast<float>(take == 1 ? n + 1 : -(n + 1)); }
    // The values of indexes start, start + step, ... of a take.
    static auto run(int64_t start, int64_t step, int take = 1)
    {
        return [=](int32_t t) { return valueOf(start + step * t, take); };
    }
    void record(int64_t count)
    {
        for (int64_t i = 0; i < count; ++i) {
            const float value = valueOf(recorded++, take);
            slice.record(value, -value);
            slice.processStretch();
        }
    }
    // One bar as the engine records it: a bar start, then each slice start; then the next bar starts.
    void recordBar(int32_t sliceLength, int32_t slices)
    {
        slice.setStart();
        for (int32_t i = 0; i < slices; ++i) {
            slice.setSliceStart(i);
            record(sliceLength);
        }
        slice.setStart();
    }
    // The next output's left side, recording one sample before it unless told not to.
    float play(bool recording = true)
    {
        if (recording)
            record(1);
        float left = 0.0f;
        slice.process(left, lastRight);
        return left;
    }
    // The first of count outputs whose left side differs from expected(t), or -1 when none does.
    template <typename Expected>
    int32_t firstMismatch(int32_t count, Expected expected, bool recording = true)
    {
        for (int32_t t = 0; t < count; ++t)
            if (play(recording) != expected(t))
                return t;
        return -1;
    }
    std::unique_ptr<Slice> owned = std::make_unique<Slice>();
    Slice& slice = *owned;
    int64_t recorded = 0; // samples recorded so far
    int take = 1;
    float lastRight = 0.0f;
};

// After a pre-roll of 123 samples (so that slice positions differ from recording numbers),
// a bar of eight slices of 500 at 1000 samples per beat; the next bar has started.
constexpr int64_t kBarA = 123;
void recordBarA(Recorder& recorder)
{
    recorder.record(kBarA);
    recorder.recordBar(500, 8);
}
} // namespace

TEST(SlicePlayer, DirectPlaysTheLatestSampleAndRepeatsReadThePreviousBarAtTheirPositionAndRate)
{
    Recorder recorder;
    recordBarA(recorder);
    ASSERT_EQ(recorder.slice.getBarStart(), kBarA);
    ASSERT_TRUE(recorder.slice.playDirect(500.0, false));
    EXPECT_EQ(recorder.firstMismatch(500, Recorder::run(recorder.recorded, 1)), -1) << "the latest sample";
    EXPECT_EQ(recorder.lastRight, -Recorder::valueOf(recorder.recorded - 1));
    for (int32_t slice : {0, 3, 7}) {
        ASSERT_TRUE(recorder.slice.playSlice(500.0, slice, false, false));
        EXPECT_EQ(recorder.firstMismatch(500, Recorder::run(kBarA + slice * 500, 1)), -1) << slice;
    }
    recorder.slice.setPitch(2.0);
    ASSERT_TRUE(recorder.slice.playSlice(500.0, 2, false, false));
    EXPECT_EQ(recorder.firstMismatch(500, Recorder::run(kBarA + 1000, 2)), -1);
    recorder.slice.setPitchSemitone(-12);
    ASSERT_TRUE(recorder.slice.playSlice(500.0, 2, false, false));
    EXPECT_EQ(recorder.firstMismatch(500, [](int32_t t) { return Recorder::valueOf(kBarA + 1000 + t / 2); }), -1);
    recorder.slice.setPitchSemitone(0);
    ASSERT_TRUE(recorder.slice.playSlice(100.0, 0, true, true));
    EXPECT_EQ(recorder.firstMismatch(100, Recorder::run(kBarA, -1)), -1) << "reversed slice 0 reads back, unrolled";
}

TEST(SlicePlayer, TempoChangeReplaysUseTheRecordedTempoRatio)
{
    Recorder recorder;
    recordBarA(recorder); // recorded at 1000 samples per beat
    recorder.slice.setSamplePerBeat(500.0);
    const int64_t slice3 = kBarA + 3 * 500;
    ASSERT_TRUE(recorder.slice.playSlice2(250.0, 3, false, true));
    EXPECT_EQ(recorder.slice.getRate(), 2.0);
    EXPECT_EQ(recorder.firstMismatch(250, Recorder::run(slice3, 2)), -1) << "well past any roll point";
    ASSERT_TRUE(recorder.slice.playSlice2(250.0, 3, true, false));
    EXPECT_EQ(recorder.firstMismatch(100, Recorder::run(slice3, -2)), -1);
    ASSERT_TRUE(recorder.slice.playSlice2(250.0, 0, true, false));
    EXPECT_EQ(recorder.firstMismatch(100, Recorder::run(kBarA, 2)), -1) << "slice 0 stays forward";

}

TEST(SlicePlayer, RollReturnsToThePlayStartEveryQuarterOrEighthThroughAFade)
{
    Recorder recorder(22050.0);
    recorder.record(kBarA);
    recorder.recordBar(22050, 4);
    ASSERT_TRUE(recorder.slice.playSlice(22050.0, 0, false, true));
    std::vector<float> played;
    for (int32_t t = 0; t < 3 * 5513; ++t)
        played.push_back(recorder.play());
    for (int32_t t = 0; t <= 5513; ++t)
        ASSERT_EQ(played[t], Recorder::valueOf(kBarA + t)) << "the jump fades out from the pair at + 5513";
    // ... toward the restarted play, which stands alone once the fade has ended.
    for (int32_t t = 440; t < 5513; ++t) {
        ASSERT_EQ(played[5513 + t], Recorder::valueOf(kBarA + t));
        ASSERT_EQ(played[2 * 5513 + t], Recorder::valueOf(kBarA + t));
    }
    recorder.slice.setRollFraction(0.125);
    ASSERT_TRUE(recorder.slice.playSlice(22050.0, 0, false, true));
    EXPECT_EQ(recorder.firstMismatch(2757, Recorder::run(kBarA, 1)), -1);
    for (int32_t t = 0; t < 500; ++t)
        recorder.play();
    EXPECT_EQ(recorder.play(), Recorder::valueOf(kBarA + 500)) << "an eighth later the play starts again";
}

TEST(SlicePlayer, PanSemitonesAndPitchCurvesSetGainsAndRatesAndRefuseUnusableValues)
{
    Recorder recorder;
    Slice& slice = recorder.slice;
    for (const auto& [pan, left, right] : {std::tuple{0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 1.0f}, {0.25f, 1.0f, 0.5f},
                                          {0.5f, 1.0f, 1.0f}, {std::nanf(""), 1.0f, 1.0f}, {1.5f, 1.0f, 1.0f}}) {
        slice.setPan(pan);
        EXPECT_EQ(std::pair(slice.getGainLeft(), slice.getGainRight()), std::pair(left, right)) << pan << " (refused)";
    }
    slice.setPan(0.0f);
    recorder.record(10);
    slice.playDirect(100.0, false);
    EXPECT_EQ(recorder.play(), Recorder::valueOf(10));
    EXPECT_EQ(recorder.lastRight, 0.0f) << "hard left";

    // rate after setPitchSemitone(shift), after a direct play, and the same in stretch mode
    for (const auto& [shift, rate, direct, stretchedDirect] : {std::tuple{12, 2.0, 1.0, 1.0}, {-12, 0.5, 0.5, 1.0}}) {
        slice.setStretchMode(false);
        slice.setPitchSemitone(shift);
        EXPECT_EQ(slice.getRate(), rate);
        EXPECT_EQ(slice.getStretchSemitones(), shift);
        slice.playDirect(500.0, false);
        EXPECT_EQ(slice.getRate(), direct) << shift << ": a live slice never runs ahead, a pitched-down one lags";
        slice.setStretchMode(true);
        slice.playDirect(500.0, false);
        EXPECT_EQ(slice.getRate(), stretchedDirect) << shift;
    }
    slice.setPitchSemitone(13);
    slice.setPitchSemitone(-100);
    EXPECT_EQ(slice.getRate(), 1.0);
    EXPECT_EQ(slice.getStretchSemitones(), -12) << "out of range: refused";
    EXPECT_TRUE(slice.setPitchFx(true, PitchCurves::kScratch));
    EXPECT_FALSE(slice.setPitchFx(true, 3));
    EXPECT_FALSE(slice.setPitchFx(true, -1));
}

TEST(SlicePlayer, ScratchRunsForwardThenBackAtReducedLevel)
{
    Recorder recorder(22050.0);
    recorder.record(22050);
    recorder.recordBar(22050, 4);
    ASSERT_TRUE(recorder.slice.setPitchFx(true, PitchCurves::kScratch));
    ASSERT_TRUE(recorder.slice.playSlice(22050.0, 1, false, false));
    const float first = recorder.play(false);
    EXPECT_EQ(first, static_cast<float>(Recorder::valueOf(22050 + 22050) * 0.65));
    int32_t turn = 0;
    float highest = first;
    for (int32_t t = 1; t < 22050; ++t) {
        const float value = recorder.play(false);
        turn = value > highest ? t : turn;
        highest = std::max(highest, value);
    }
    EXPECT_NEAR(turn / 22050.0, 0.4167, 0.005) << "forward for its first 42 %";
}

TEST(SlicePlayer, UnusablePlaysAndSettingsAreRefusedAndChangeNothing)
{
    Recorder recorder;
    recordBarA(recorder);
    Slice& slice = recorder.slice;
    ASSERT_TRUE(slice.playSlice(500.0, 2, false, false));
    for (double length : {kNaN, 0.0, -500.0, 1e12, std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(slice.playSlice(length, 1, false, false)) << length;
    for (int32_t index : {-1, 16, 1000}) {
        EXPECT_FALSE(slice.playSlice(500.0, index, false, false));
        EXPECT_FALSE(slice.playSlice2(500.0, index, false, false));
        EXPECT_FALSE(slice.playFreezeDirect(500.0, index, false, false));
        slice.setSliceStart(index);
    }
    EXPECT_FALSE(slice.playDirect(kNaN, false));
    slice.setPitch(kNaN);
    slice.setPitch(0.0);
    slice.setRollFraction(0.0);
    EXPECT_EQ(recorder.firstMismatch(2, Recorder::run(kBarA + 1000, 1)), -1) << "the play of slice 2 went on";
    const int32_t writeIndex = slice.getWriteIndex();
    for (double tempo : {kNaN, 0.0, -1.0})
        slice.setSamplePerBeat(tempo);
    slice.setStart();
    EXPECT_EQ(slice.getBarStart(), writeIndex - 4000);
}

TEST(SlicePlayer, PositionsWrapAroundTheRingEnd)
{
    Recorder recorder;
    recorder.record(kRing - 2000);
    recorder.recordBar(500, 8); // crosses the ring's end
    EXPECT_EQ(recorder.slice.getBarStart(), -2000);
    for (int32_t slice : {0, 3, 4, 7}) {
        ASSERT_TRUE(recorder.slice.playSlice(500.0, slice, false, false));
        EXPECT_EQ(recorder.firstMismatch(500, Recorder::run(kRing - 2000 + slice * 500, 1), false), -1) << slice;
    }
}

namespace {
// Bar A at kBarA, then three slices of bar B; freeze switches on at the fourth slice start
// and from then on the input is the second take. captured(start, step) is what index
// start + step t of the capture holds: the first take up to the capture point, else 0.
struct FrozenBar : Recorder {
    FrozenBar()
    {
        recordBarA(*this);
        for (int32_t i = 0; i < 3; ++i) {
            slice.setSliceStart(i);
            record(500);
        }
        slice.setSliceStart(3);
        slice.setFreeze(true);
        take = 2;
    }
    static auto captured(int64_t start, int64_t step, int64_t count = kBarA + 5500)
    {
        return [=](int32_t t) {
            const int64_t slot = (start + step * t) & (kRing - 1);
            return slot < count ? valueOf(slot) : 0.0f;
        };
    }
};
} // namespace

TEST(Freeze, FrozenPlaysKeepPlayingTheCapturedBarWhileRecordingGoesOnAndFollowTheTempo)
{
    FrozenBar frozen;
    ASSERT_TRUE(frozen.slice.isFrozen());
    for (int64_t recordGap : {int64_t{0}, int64_t{3000}, kRing / 8, kRing - 20000}) {
        SCOPED_TRACE(recordGap);
        frozen.record(recordGap);
        frozen.slice.setPitch(1.0);
        ASSERT_TRUE(frozen.slice.playSlice(500.0, 3, false, false));
        EXPECT_EQ(frozen.firstMismatch(500, FrozenBar::captured(kBarA + 1500, 1)), -1);
        ASSERT_TRUE(frozen.slice.playSlice(500.0, 0, true, false));
        EXPECT_EQ(frozen.firstMismatch(500, FrozenBar::captured(kBarA, -1)), -1);
        ASSERT_TRUE(frozen.slice.playFreezeDirect(500.0, 5, false, false));
        EXPECT_EQ(frozen.firstMismatch(500, FrozenBar::captured(kBarA + 2500, 1)), -1);
        ASSERT_TRUE(frozen.slice.playSlice2(500.0, 6, false, false)); // bar A's table, captured
        EXPECT_EQ(frozen.firstMismatch(500, FrozenBar::captured(kBarA + 3000, 1)), -1);
        frozen.slice.setPitch(5.0);
        ASSERT_TRUE(frozen.slice.playSlice(500.0, 7, false, false)); // runs past the capture point
        EXPECT_EQ(frozen.firstMismatch(500, FrozenBar::captured(kBarA + 3500, 5)), -1);
    }
    frozen.slice.setSamplePerBeat(500.0); // twice the tempo
    frozen.slice.setPitch(1.0);
    EXPECT_EQ(frozen.slice.getRate(), 2.0);
    ASSERT_TRUE(frozen.slice.playSlice(250.0, 3, false, false));
    EXPECT_EQ(frozen.firstMismatch(250, FrozenBar::captured(kBarA + 1500, 2)), -1);
    frozen.slice.setPitch(1.0);
    ASSERT_TRUE(frozen.slice.playFreezeDirect(250.0, 3, true, false));
    EXPECT_EQ(frozen.firstMismatch(250, FrozenBar::captured(kBarA + 1500, -2)), -1) << "inside the bar: reverses";
    ASSERT_TRUE(frozen.slice.playFreezeDirect(250.0, 7, true, false));
    EXPECT_EQ(frozen.firstMismatch(250, FrozenBar::captured(kBarA + 3500, 2)), -1) << "would pass the bar: forward";
}

TEST(Freeze, ARunningDirectPlayStaysLiveAndSwitchingOffAndOnRecapturesTheLatestBar)
{
    Recorder recorder;
    recorder.record(5000);
    ASSERT_TRUE(recorder.slice.playDirect(500.0, false));
    EXPECT_EQ(recorder.firstMismatch(100, Recorder::run(5000, 1)), -1);
    recorder.slice.setFreeze(true);
    EXPECT_EQ(recorder.firstMismatch(400, Recorder::run(5100, 1)), -1);
    ASSERT_TRUE(recorder.slice.playFreezeDirect(500.0, 0, false, false)); // the next play reads the capture
    EXPECT_EQ(recorder.firstMismatch(500, FrozenBar::captured(recorder.slice.getBarStart(), 1, 5100)), -1);

    FrozenBar frozen;
    frozen.slice.setFreeze(true); // already on: nothing is recaptured
    frozen.slice.setFreeze(false);
    EXPECT_FALSE(frozen.slice.isFrozen());
    frozen.record(2500); // the rest of bar B, in the second take
    frozen.recordBar(500, 8);
    const int64_t barC = frozen.recorded - 4000;
    frozen.slice.setFreeze(true);
    frozen.take = 1;
    ASSERT_TRUE(frozen.slice.playSlice(500.0, 2, false, false));
    EXPECT_EQ(frozen.firstMismatch(500, Recorder::run(barC + 1000, 1, 2)), -1);
    ASSERT_TRUE(frozen.slice.playSlice2(500.0, 4, false, false));
    EXPECT_EQ(frozen.play(), Recorder::valueOf(barC + 2000, 2));
}

namespace {
// Whether a play of the slice one octave up reads the stretched rings.
bool playsStretched(Slice& slice, int32_t sliceIndex, bool reverse = false, double samplesPerBeat = 5000.0)
{
    slice.setPitchSemitone(12);
    EXPECT_TRUE(slice.playSlice(samplesPerBeat / 2.0, sliceIndex, reverse, false));
    return slice.isStretchedPlay();
}
} // namespace

TEST(StretchedPlay, StartsOnlyOnceItsStartPlusTheLatencyIsOnePieceBehindTheWrites)
{
    Recorder recorder(1000.0, true);
    Slice& slice = recorder.slice;
    const int64_t latency = slice.getStretchLatency(), piece = StretchFeed::kPieceSize, chunk = StretchFeed::kChunkSize;
    ASSERT_GT(latency, 0);
    // A bar start that puts slice 0 where start + latency + one piece is a piece boundary.
    const int64_t barAt = 5 * chunk + ((4000 - latency) % piece + piece) % piece;
    recorder.record(barAt);
    slice.setStart();
    const int64_t ready = barAt - 4000 + latency + piece; // stretched rings written up to here
    ASSERT_EQ(ready % piece, 0);
    // The piece that ends at `ready` is written a chunk after its first sample was recorded.
    recorder.record(ready + chunk - piece - recorder.recorded);
    EXPECT_FALSE(playsStretched(slice, 0, false, 2000.0)) << "one sample short of the margin";
    recorder.record(1);
    EXPECT_TRUE(playsStretched(slice, 0, false, 2000.0));

    // At 1000 samples per beat a whole bar is shorter than the latency: no slice of it is
    // through the stretcher yet, and the play falls back to the live rings at its rate.
    recorder.record(50000);
    slice.setStart();
    ASSERT_FALSE(playsStretched(slice, 7, false, 1000.0));
    EXPECT_EQ(recorder.firstMismatch(200, Recorder::run(recorder.recorded - 4000 + 7 * 500, 2), false), -1);
}

TEST(StretchedPlay, ReadsOnlyWhatTheCurrentRunOfStretchModeWrote)
{
    Recorder recorder(5000.0);
    Slice& slice = recorder.slice;
    recorder.record(40000);
    slice.setStretchMode(true);
    recorder.record(20000); // the first chunk through the stretcher covers live 39936..40959
    slice.setStart();       // slice i of the bar that ended starts at 40000 + 2500 i
    EXPECT_TRUE(playsStretched(slice, 0));
    EXPECT_FALSE(playsStretched(slice, 0, true)) << "a reverse reaches back before the run";
    EXPECT_TRUE(playsStretched(slice, 2, true));
    slice.setSamplePerBeat(7500.0);
    slice.setStart(); // now slice i starts at 30000 + 3750 i
    EXPECT_FALSE(playsStretched(slice, 0, false, 7500.0)) << "recorded before stretch mode";
    EXPECT_FALSE(playsStretched(slice, 2, false, 7500.0));
    EXPECT_TRUE(playsStretched(slice, 3, false, 7500.0));
    slice.setStretchMode(false);
    recorder.record(StretchFeed::kChunkSize); // a chunk outside stretch mode ends the run
    slice.setStretchMode(true);
    recorder.record(StretchFeed::kChunkSize);
    EXPECT_FALSE(playsStretched(slice, 3, false, 7500.0));
}

TEST(StretchedPlay, OnlyPitchedSlicesStretchAlsoUnderAPitchEffectAndARateChangeForgetsTheRun)
{
    Recorder recorder(5000.0, true);
    Slice& slice = recorder.slice;
    recorder.record(60000);
    slice.setStart();
    const int32_t latencyAt44k = slice.getStretchLatency();
    ASSERT_TRUE(playsStretched(slice, 1));
    slice.setPitchSemitone(0);
    ASSERT_TRUE(slice.playSlice(2500.0, 1, false, false));
    EXPECT_FALSE(slice.isStretchedPlay()) << "unpitched";
    ASSERT_TRUE(slice.setPitchFx(true, PitchCurves::kTapeStop));
    EXPECT_TRUE(playsStretched(slice, 1)) << "a pitch effect on a pitched slice plays the stretched copy too";
    ASSERT_TRUE(slice.setPitchFx(false, PitchCurves::kScratch));
    slice.setSamplerate(44100.0); // the same rate: nothing rebuilt, nothing forgotten
    slice.setSamplerate(-1.0);    // refused
    EXPECT_TRUE(playsStretched(slice, 1));
    slice.setSamplerate(96000.0);
    EXPECT_GT(slice.getStretchLatency(), latencyAt44k) << "a latency measured for the new rate";
    EXPECT_FALSE(playsStretched(slice, 1)) << "written before the rebuild";
    recorder.record(60000);
    slice.setStart();
    EXPECT_TRUE(playsStretched(slice, 1));
    slice.setStretchMode(false);
    EXPECT_FALSE(playsStretched(slice, 1)) << "outside stretch mode";
}

TEST(StretchedPlay, KeepsTheRecordedLengthAndCarriesTheTranspositionOfItsMaterial)
{
    // A 441 Hz sine read at rate 1 stays 441 Hz through factor 1 and becomes 882 Hz through
    // +12 semitones; an unstretched play gives 882 Hz from either: rising zero crossings in
    // 1000 outputs of slice 2 one octave up.
    for (const auto& [stretch, recordedShift, expected] : {std::tuple{true, 0, 10}, {true, 12, 20}, {false, 0, 20}}) {
        Recorder recorder(5000.0, stretch);
        Slice& slice = recorder.slice;
        slice.setPitchSemitone(recordedShift);
        for (int64_t i = 0; i < 60000; ++i) {
            const auto value = static_cast<float>(0.5 * std::sin(2.0 * M_PI * static_cast<double>(i) / 100.0));
            slice.record(value, value);
            slice.processStretch();
        }
        slice.setStart();
        EXPECT_EQ(playsStretched(slice, 2), stretch);
        int32_t crossings = 0;
        float previous = 0.0f;
        for (int32_t t = 0; t < 1000; ++t) {
            const float left = recorder.play(false);
            crossings += t > 0 && previous < 0.0f && left >= 0.0f;
            previous = left;
        }
        EXPECT_NEAR(crossings, expected, 1) << recordedShift << (stretch ? " stretched" : "");
    }
}
