// The bar clock that keeps the recorder in step with the host, also while bypassed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/SliceClock.h"

namespace {
constexpr double kBeat = 24000.0; // 48 kHz at 120 BPM: slices of 12000 samples at two per beat

// Runs blocks from startQuarters on; answers the sample indexes of every bar start and slice start.
std::pair<std::vector<int64_t>, std::vector<int64_t>> runBlocks(SliceClock& clock, double startQuarters,
    int32_t blockSize, int32_t blockCount, double samplesPerBeat = kBeat, int32_t slicesPerBeat = 2, bool playing = true)
{
    std::vector<int64_t> bars, slices;
    for (int64_t first = 0; first < int64_t{blockCount} * blockSize; first += blockSize) {
        clock.beginBlock(startQuarters + first / samplesPerBeat, samplesPerBeat, slicesPerBeat, playing);
        for (int32_t i = 0; i < blockSize; ++i) {
            const SliceClock::Starts starts = clock.step();
            if (starts.bar)
                bars.push_back(first + i);
            if (starts.slice)
                slices.push_back(first + i);
        }
        clock.endBlock(blockSize);
    }
    return {bars, slices};
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

TEST(BypassClock, FirstBlockStartsOnlyOnTheGridWhereverItBeginsAndAJumpResyncs)
{
    using Starts = std::vector<int64_t>;
    // project start: both at once; half a slice in: next boundary; pre-roll runs on; loop to bar 3: both.
    for (const auto& [startQuarters, bars, slices] : {std::tuple{0.0, Starts{0}, Starts{0}}, {0.25, Starts{}, Starts{6000}},
                                                      {-0.25, Starts{6000}, Starts{6000}}, {12.0, Starts{0}, Starts{0}}}) {
        SliceClock clock;
        runBlocks(clock, 0.0, 128, startQuarters == 12.0 ? 10 : 0);
        EXPECT_EQ(runBlocks(clock, startQuarters, 1000, 7), std::pair(bars, slices)) << startQuarters;
    }
// The boundary at 12000 was handled last block; nothing restarts until a transport start re-reads it.
    for (const bool wasPlaying : {true, false}) {
        SliceClock clock;
        runBlocks(clock, 11873.0 / kBeat, 128, 1, kBeat, 2, wasPlaying);
        EXPECT_EQ(runBlocks(clock, 12001.0 / kBeat, 128, 1).second, wasPlaying ? Starts{} : Starts{0}) << wasPlaying;
    }
}

TEST(BypassClock, ContinuingBlocksKeepARegularGridAtAnyBlockSliceAndTempoChange)
{
    for (const int32_t blockSize : {1, 128, 127, 4096}) {
        SliceClock clock;
        const int32_t blocks = 400000 / blockSize;
        const int64_t total = int64_t{blocks} * blockSize;
        EXPECT_EQ(runBlocks(clock, 0.0, blockSize, blocks), std::pair(grid(96000.0, total), grid(12000.0, total)))
            << blockSize;
    }
    const double beat = 44100.0 * 60.0 / 123.0; // 44.1 kHz at 123 BPM: no boundary falls on a sample
    for (const int32_t slicesPerBeat : {1, 2, 4}) {
        SliceClock clock;
        EXPECT_EQ(runBlocks(clock, 0.0, 256, 1200, beat, slicesPerBeat).second, grid(beat / slicesPerBeat, 256 * 1200))
            << slicesPerBeat;
    }
    SliceClock clock; // a tempo change on a continuing block starts only the rest of the slice
    runBlocks(clock, 0.0, 1000, 3);
    EXPECT_EQ(runBlocks(clock, 3000.0 / kBeat, 10000, 1, 20000.0).second, std::vector<int64_t>{7500});
}
