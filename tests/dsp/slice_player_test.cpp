// The slice player: repeated, reversed, panned and stretched plays, and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "dsp/Slice.h"

namespace {
constexpr int64_t kBarA = 123; // a pre-roll, so that slice positions differ from recording numbers
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Drives a Slice as the engine does on samples naming their index: n + 1 left, -(n + 1) right.
struct Recorder {
    explicit Recorder(double samplesPerBeat = 1000.0, bool stretch = false)
    {
        slice.setSamplerate(44100.0); // as the first activation does
        slice.setStretchMode(stretch);
        slice.setSamplePerBeat(samplesPerBeat);
    }
    static float valueOf(int64_t n) { return static_cast<float>(n + 1); }
    // The values of indexes start, start + step, ...
    static auto run(int64_t start, int64_t step)
    {
        return [=](int32_t t) { return valueOf(start + step * t); };
    }
    void record(int64_t count)
    {
        for (int64_t i = 0; i < count; ++i) {
            const float value = valueOf(recorded++);
            slice.record(value, -value);
            slice.processStretch();
        }
    }
    // One bar as the engine records it: a bar start, each slice start; then the next bar starts.
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
        record(recording ? 1 : 0);
        float left = 0.0f;
        slice.process(left, lastRight);
        return left;
    }
    // The first of count outputs whose left differs from expected(t); -1 none, -2 the play was refused.
    template <typename Expected>
    int32_t firstMismatch(bool started, int32_t count, Expected expected, bool recording = true)
    {
        for (int32_t t = 0; started && t < count; ++t)
            if (play(recording) != expected(t))
                return t;
        return started ? -1 : -2;
    }
    std::unique_ptr<Slice> owned = std::make_unique<Slice>();
    Slice& slice = *owned;
    int64_t recorded = 0; // samples recorded so far
    float lastRight = 0.0f;
};

// After kBarA samples, a bar of eight slices of 500 at 1000 samples per beat; the next bar has started.
struct BarA : Recorder {
    BarA()
    {
        record(kBarA);
        recordBar(500, 8);
    }
};
} // namespace

TEST(SlicePlayer, ReversedPlaysRunBackwardsAndReplaysAfterATempoChangeKeepTheRecordedRatio)
{
    BarA recorder;
    Slice& slice = recorder.slice;
    ASSERT_EQ(slice.getBarStart(), kBarA);
    EXPECT_EQ(recorder.firstMismatch(slice.playSlice(100.0, 0, true, true), 100, Recorder::run(kBarA, -1)), -1)
        << "reversed, slice 0 plays the bar before it backwards and never rolls";
    slice.setSamplePerBeat(500.0); // twice the tempo
    EXPECT_EQ(recorder.firstMismatch(slice.playSlice2(250.0, 3, false, true), 250, Recorder::run(kBarA + 1500, 2)), -1);
    EXPECT_EQ(recorder.firstMismatch(slice.playSlice2(250.0, 3, true, false), 100, Recorder::run(kBarA + 1500, -2)), -1);
    EXPECT_EQ(recorder.firstMismatch(slice.playSlice2(250.0, 0, true, false), 100, Recorder::run(kBarA, 2)), -1)
        << "slice 0 stays forward";
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
    EXPECT_EQ(recorder.firstMismatch(slice.playDirect(100.0, false), 1, Recorder::run(10, 1)), -1);
    EXPECT_EQ(recorder.lastRight, 0.0f) << "hard left";
    slice.setPitchSemitone(-12);
    slice.setPitchSemitone(13);
    slice.setPitchSemitone(-100);
    EXPECT_EQ(slice.getStretchSemitones(), -12) << "out of range: refused";
    EXPECT_TRUE(slice.setPitchFx(true, PitchCurves::kScratch));
    EXPECT_FALSE(slice.setPitchFx(true, 3) || slice.setPitchFx(true, -1));
    // The scratch curve starts forward at a reduced level.
    BarA scratched;
    ASSERT_TRUE(scratched.slice.setPitchFx(true, PitchCurves::kScratch));
    ASSERT_TRUE(scratched.slice.playSlice(500.0, 1, false, false));
    EXPECT_EQ(scratched.play(false), static_cast<float>(Recorder::valueOf(kBarA + 500) * 0.65));
}

TEST(SlicePlayer, UnusablePlaysAndSettingsAreRefusedAndChangeNothing)
{
    BarA recorder;
    Slice& slice = recorder.slice;
    ASSERT_TRUE(slice.playSlice(500.0, 2, false, false));
    for (double length : {kNaN, 0.0, -500.0, 1e12, std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(slice.playSlice(length, 1, false, false) || slice.playDirect(length, false)) << length;
    for (int32_t index : {-1, 16, 1000}) {
        EXPECT_FALSE(slice.playSlice(500.0, index, false, false) || slice.playSlice2(500.0, index, false, false) ||
                     slice.playFreezeDirect(500.0, index, false, false)) << index;
        slice.setSliceStart(index);
    }
    slice.setPitch(kNaN);
    slice.setPitch(0.0);
    slice.setRollFraction(0.0);
    EXPECT_EQ(recorder.firstMismatch(true, 2, Recorder::run(kBarA + 1000, 1)), -1) << "the play of slice 2 went on";
    const int32_t writeIndex = slice.getWriteIndex();
    for (double tempo : {kNaN, 0.0, -1.0})
        slice.setSamplePerBeat(tempo);
    slice.setStart();
    EXPECT_EQ(slice.getBarStart(), writeIndex - 4000);
}

namespace {
// Whether a play of the slice one octave up (or by semitones) reads the stretched rings.
bool playsStretched(Slice& slice, int32_t sliceIndex, bool reverse = false, double samplesPerBeat = 5000.0,
                    int32_t semitones = 12)
{
    slice.setPitchSemitone(semitones);
    EXPECT_TRUE(slice.playSlice(samplesPerBeat / 2.0, sliceIndex, reverse, false));
    return slice.isStretchedPlay();
}
} // namespace

TEST(StretchedPlay, StartsOnlyOnItsStartPlusTheLatencyOnePieceBehindTheWritesOfTheCurrentRun)
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
    // At 1000 samples per beat a bar is shorter than the latency: the play falls back to the live rings.
    recorder.record(50000);
    slice.setStart();
    ASSERT_FALSE(playsStretched(slice, 7, false, 1000.0));
    EXPECT_EQ(recorder.firstMismatch(true, 200, Recorder::run(recorder.recorded - 4000 + 7 * 500, 2), false), -1);

    Recorder run(5000.0); // stretch mode switched on after 40000 samples
    Slice& late = run.slice;
    run.record(40000);
    late.setStretchMode(true);
    run.record(20000); // the first chunk through the stretcher covers live 39936..40959
    late.setStart();   // slice i of the bar that ended starts at 40000 + 2500 i
    EXPECT_EQ(std::vector<bool>({playsStretched(late, 0), playsStretched(late, 0, true), playsStretched(late, 2, true)}),
              std::vector<bool>({true, false, true})) << "a reverse of slice 0 reaches back before the run";
    late.setSamplePerBeat(7500.0);
    late.setStart(); // now slice i starts at 30000 + 3750 i, slices 0..2 before stretch mode
    const auto slices = [&late] {
        return std::vector<bool>({playsStretched(late, 0, false, 7500.0), playsStretched(late, 2, false, 7500.0),
                                  playsStretched(late, 3, false, 7500.0)});
    };
    EXPECT_EQ(slices(), std::vector<bool>({false, false, true}));
    late.setStretchMode(false);
    run.record(StretchFeed::kChunkSize); // a chunk outside stretch mode ends the run
    late.setStretchMode(true);
    run.record(StretchFeed::kChunkSize);
    EXPECT_EQ(slices(), std::vector<bool>({false, false, false}));
}

TEST(StretchedPlay, KeepsTheRecordedLengthAndCarriesTheTranspositionOfItsMaterial)
{
    // Rising zero crossings of slice 2 an octave up or down, of a 441 Hz sine recorded at +0 or +12.
    for (const auto& [stretch, recordedShift, played, expected] :
         {std::tuple{true, 0, 12, 10}, {true, 12, 12, 20}, {false, 0, 12, 20}, {true, 0, -12, 10}}) {
        Recorder recorder(5000.0, stretch);
        recorder.slice.setPitchSemitone(recordedShift);
        for (int64_t i = 0; i < 60000; ++i) {
            const auto value = static_cast<float>(0.5 * std::sin(2.0 * M_PI * static_cast<double>(i) / 100.0));
            recorder.slice.record(value, value);
            recorder.slice.processStretch();
        }
        recorder.slice.setStart();
        EXPECT_EQ(playsStretched(recorder.slice, 2, false, 5000.0, played), stretch);
        int32_t crossings = 0;
        for (int32_t t = 0, previous = 0; t < 1000; ++t) {
            const int32_t sign = recorder.play(false) >= 0.0f ? 1 : -1;
            crossings += t > 0 && previous < 0 && sign > 0;
            previous = sign;
        }
        EXPECT_NEAR(crossings, expected, 1) << recordedShift << ", " << played << (stretch ? " stretched" : "");
    }
}
