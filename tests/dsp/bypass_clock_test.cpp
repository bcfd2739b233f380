// The bar clock that keeps the recorder in step with the host while bypassed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ScopedHome.h"
#include "dsp/SliceClock.h"
#include "dsp/Vextoria3FX.h"

namespace {

constexpr double kBeat = 24000.0; // 48 kHz at 120 BPM: slices of 12000 samples at two per beat

struct StartLog {
    std::vector<int64_t> bars, slices;
};

// Runs blocks from startQuarters on; answers the sample indexes (from the first block's
// start) of every bar and slice start.
StartLog runBlocks(SliceClock& clock, double startQuarters, int32_t blockSize, int32_t blockCount,
                   double samplesPerBeat = kBeat, int32_t slicesPerBeat = 2, bool playing = true)
{
    StartLog log;
    for (int32_t block = 0; block < blockCount; ++block) {
        const int64_t first = static_cast<int64_t>(block) * blockSize;
        clock.beginBlock(startQuarters + first / samplesPerBeat, samplesPerBeat, slicesPerBeat, playing);
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

// The starts a steady grid of the given length puts into [0, total).
std::vector<int64_t> grid(double length, int64_t total)
{
    std::vector<int64_t> starts;
    for (int64_t k = 0, at = 0; (at = static_cast<int64_t>(std::ceil(k * length - 1e-9))) < total; ++k)
        starts.push_back(at);
    return starts;
}

} // namespace

TEST(BypassClock, FirstBlockStartsOnlyOnTheGridWhereverItBegins)
{
    struct Case {
        double startQuarters;
        std::vector<int64_t> bars, slices;
    };
    const Case cases[] = {
        {0.0, {0}, {0}},         // at the project start: both on the first sample
        {0.25, {}, {6000}},      // half a slice in: nothing until the next boundary
        {-0.25, {6000}, {6000}}, // pre-roll: the grid runs on to position 0
    };
    for (const Case& c : cases) {
        SliceClock clock;
        const StartLog log = runBlocks(clock, c.startQuarters, 1000, 7);
        EXPECT_EQ(log.bars, c.bars) << c.startQuarters;
        EXPECT_EQ(log.slices, c.slices) << c.startQuarters;
    }
}

TEST(BypassClock, ContinuingBlocksKeepARegularGridAtAnyBlockAndSliceLength)
{
    for (const int32_t blockSize : {1, 128, 127, 4096}) {
        SliceClock clock;
        const int32_t blocks = 400000 / blockSize;
        const StartLog log = runBlocks(clock, 0.0, blockSize, blocks);
        const int64_t total = static_cast<int64_t>(blocks) * blockSize;
        EXPECT_EQ(log.slices, grid(12000.0, total)) << blockSize;
        EXPECT_EQ(log.bars, grid(96000.0, total)) << blockSize;
    }
    // 44.1 kHz at 123 BPM: no boundary falls on a sample.
    const double beat = 44100.0 * 60.0 / 123.0;
    for (const int32_t slicesPerBeat : {1, 2, 4}) {
        SliceClock clock;
        const StartLog log = runBlocks(clock, 0.0, 256, 1200, beat, slicesPerBeat);
        EXPECT_EQ(log.slices, grid(beat / slicesPerBeat, 256 * 1200)) << slicesPerBeat;
    }
}

TEST(BypassClock, AJumpOrATransportStartResyncsOnTheFirstSample)
{
    SliceClock clock;
    runBlocks(clock, 0.0, 128, 10);
    StartLog log = runBlocks(clock, 12.0, 128, 1); // loop back to the start of bar 3
    EXPECT_EQ(log.bars, std::vector<int64_t>{0});
    EXPECT_EQ(log.slices, std::vector<int64_t>{0});

    // The previous block's last sample handled the boundary at 12000; the next block starts
    // one sample after it. Continuing, nothing starts again; after a transport start the
    // position is re-read and the block counts as starting on the slice.
    for (const bool wasPlaying : {true, false}) {
        SliceClock boundary;
        runBlocks(boundary, 11873.0 / kBeat, 128, 1, kBeat, 2, wasPlaying);
        log = runBlocks(boundary, 12001.0 / kBeat, 128, 1);
        EXPECT_EQ(log.slices, wasPlaying ? std::vector<int64_t>{} : std::vector<int64_t>{0}) << wasPlaying;
    }
}

TEST(BypassClock, TempoChangeOnAContinuingBlockStartsOnlyTheRestOfTheSlice)
{
    SliceClock clock;
    runBlocks(clock, 0.0, 1000, 3);
    const StartLog log = runBlocks(clock, 3000.0 / kBeat, 10000, 1, 20000.0); // slices of 10000 now
    EXPECT_EQ(log.slices, std::vector<int64_t>{7500});
}

TEST(BypassClock, DspObjectTakesThePositionFromSamplesWithoutAMusicalOne)
{
    ScopedHome home;
    Vextoria3FX fx;
    HostTimeInfo& time = fx.timeInfo;
    time.contextValid = time.playing = true;
    time.samplesPerBeat = kBeat;
    time.projectMusicValid = false;
    time.projectTimeSamples = 100000;
    time.projectTimeMusic = 99.0; // not valid, so not used
    std::vector<float> left(64, 0.25f);
    const float* inputs[2] = {left.data(), nullptr};
    fx.inputChannelCount = 1;
    fx.processBypass(inputs, nullptr, 64);
    EXPECT_DOUBLE_EQ(fx.sliceClock().barPos, std::fmod(100000.0, 96000.0) + 64.0);

    time.projectTimeSamples += 64;
    fx.processBypass(nullptr, nullptr, 64); // a missing input bus records silence
    time.contextValid = false;              // no transport: the clock runs on
    fx.processBypass(nullptr, nullptr, 64);
    EXPECT_DOUBLE_EQ(fx.sliceClock().barPos, std::fmod(100000.0, 96000.0) + 192.0);
}
