// The bar clock that keeps the recorder in step with the host while bypassed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ScopedHome.h"
#include "dsp/SliceClock.h"
#include "dsp/Vextoria3FX.h"

namespace {

struct Transport {
    double samplesPerBeat;
    int32_t slicesPerBeat = 2;
    bool playing = true;
};

// Runs blocks of blockSize samples from startQuarters on and returns the absolute sample
// indexes (from the first block's start) of every bar and slice start.
struct StartLog {
    std::vector<int64_t> bars, slices;
};

StartLog runBlocks(SliceClock& clock, const Transport& transport, double startQuarters, int32_t blockSize,
                   int32_t blockCount)
{
    StartLog log;
    for (int32_t block = 0; block < blockCount; ++block) {
        const int64_t first = static_cast<int64_t>(block) * blockSize;
        clock.beginBlock(startQuarters + first / transport.samplesPerBeat, transport.samplesPerBeat,
                         transport.slicesPerBeat, transport.playing);
        for (int32_t i = 0; i < blockSize; ++i) {
            const SliceClock::Starts starts = clock.step();
            if (starts.bar)
                log.bars.push_back(first + i);
            if (starts.slice)
                log.slices.push_back(first + i);
        }
        clock.endBlock(blockSize);
    }
    return log;
}

// The starts a steady grid of the given length (samples) puts into [0, total).
void expectGrid(const std::vector<int64_t>& starts, double length, int64_t offset, int64_t total)
{
    std::vector<int64_t> expected;
    for (int64_t k = 0;; ++k) {
        const int64_t at = offset + static_cast<int64_t>(std::ceil(k * length - 1e-9));
        if (at >= total)
            break;
        expected.push_back(at);
    }
    EXPECT_EQ(starts, expected);
}

} // namespace

TEST(BypassClock, BlockAtTheProjectStartStartsABarAndASliceOnItsFirstSample)
{
    SliceClock clock;
    const StartLog log = runBlocks(clock, {24000.0}, 0.0, 128, 1);
    ASSERT_FALSE(log.bars.empty());
    ASSERT_FALSE(log.slices.empty());
    EXPECT_EQ(log.bars.front(), 0);
    EXPECT_EQ(log.slices.front(), 0);
    EXPECT_EQ(log.slices.size(), 1u);
}

TEST(BypassClock, BlockHalfASliceInStartsNothingUntilTheNextBoundary)
{
    SliceClock clock;
    const Transport transport{24000.0}; // 48 kHz at 120 BPM: slices of 12000 samples
    const StartLog log = runBlocks(clock, transport, 0.25, 1000, 7); // 6000 samples into a slice
    EXPECT_TRUE(log.bars.empty());
    ASSERT_EQ(log.slices.size(), 1u);
    EXPECT_EQ(log.slices.front(), 6000);
}

TEST(BypassClock, PreRollBeforeTheProjectStartKeepsTheGrid)
{
    SliceClock clock;
    // Half a slice before the project start: the next slice and bar start at position 0.
    const StartLog log = runBlocks(clock, {24000.0}, -0.25, 1000, 7);
    EXPECT_EQ(log.slices, std::vector<int64_t>{6000});
    EXPECT_EQ(log.bars, std::vector<int64_t>{6000});
}

TEST(BypassClock, ContinuingBlocksKeepARegularGrid)
{
    for (const int32_t blockSize : {1, 128, 127, 4096}) {
        SliceClock clock;
        const int32_t blocks = 400000 / blockSize;
        const StartLog log = runBlocks(clock, {24000.0}, 0.0, blockSize, blocks);
        const int64_t total = static_cast<int64_t>(blocks) * blockSize;
        expectGrid(log.slices, 12000.0, 0, total);
        expectGrid(log.bars, 96000.0, 0, total);
    }
}

TEST(BypassClock, FractionalSliceLengthsStartEachSliceOnce)
{
    // 44.1 kHz at 123 BPM: a beat is 21512.19... samples, no boundary falls on a sample.
    for (const int32_t slicesPerBeat : {1, 2, 4}) {
        SliceClock clock;
        Transport transport{44100.0 * 60.0 / 123.0, slicesPerBeat};
        const StartLog log = runBlocks(clock, transport, 0.0, 256, 1200);
        expectGrid(log.slices, transport.samplesPerBeat / slicesPerBeat, 0, 256 * 1200);
    }
}

TEST(BypassClock, AJumpOrATransportStartResyncsOnTheFirstSample)
{
    SliceClock clock;
    const Transport transport{24000.0};
    runBlocks(clock, transport, 0.0, 128, 10);
    // Loop back to the start of bar 3: the block is not a continuation.
    StartLog log = runBlocks(clock, transport, 12.0, 128, 1);
    EXPECT_EQ(log.bars, std::vector<int64_t>{0});
    EXPECT_EQ(log.slices, std::vector<int64_t>{0});

    // The previous block's last sample handled the boundary at 12000; the next block starts
    // one sample after it. Continuing, nothing starts again; after a transport start the
    // position is re-read and the block counts as starting on the slice.
    for (const bool wasPlaying : {true, false}) {
        SliceClock boundary;
        runBlocks(boundary, {24000.0, 2, wasPlaying}, 11873.0 / 24000.0, 128, 1);
        log = runBlocks(boundary, transport, 12001.0 / 24000.0, 128, 1);
        EXPECT_EQ(log.slices, wasPlaying ? std::vector<int64_t>{} : std::vector<int64_t>{0}) << wasPlaying;
    }
}

TEST(BypassClock, TempoChangeOnAContinuingBlockStartsNothingExtra)
{
    SliceClock clock;
    runBlocks(clock, {24000.0}, 0.0, 1000, 3); // 3000 samples = 0.125 beat
    const double quarters = 3000.0 / 24000.0;
    clock.beginBlock(quarters, 20000.0, 2, true); // faster: slices of 10000 samples
    int32_t starts = 0, firstStart = -1;
    for (int32_t i = 0; i < 10000; ++i) {
        if (clock.step().slice) {
            ++starts;
            if (firstStart < 0)
                firstStart = i;
        }
    }
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(firstStart, 7500); // the rest of the slice at the new tempo
}

TEST(BypassClock, DspObjectTakesThePositionFromSamplesWithoutAMusicalOne)
{
    ScopedHome home;
    Vextoria3FX fx;
    fx.timeInfo.contextValid = true;
    fx.timeInfo.playing = true;
    fx.timeInfo.samplesPerBeat = 24000.0;
    fx.timeInfo.projectMusicValid = false;
    fx.timeInfo.projectTimeSamples = 100000;
    fx.timeInfo.projectTimeMusic = 99.0; // not valid, so not used
    std::vector<float> left(64, 0.25f);
    const float* inputs[2] = {left.data(), nullptr};
    fx.inputChannelCount = 1;
    fx.processBypass(inputs, nullptr, 64);
    EXPECT_DOUBLE_EQ(fx.sliceClock().barPos, std::fmod(100000.0, 96000.0) + 64.0);

    fx.timeInfo.projectTimeSamples += 64;
    fx.processBypass(nullptr, nullptr, 64); // a missing input bus records silence
    fx.timeInfo.contextValid = false;       // no transport: the clock runs on
    fx.processBypass(nullptr, nullptr, 64);
    EXPECT_DOUBLE_EQ(fx.sliceClock().barPos, std::fmod(100000.0, 96000.0) + 192.0);
}
