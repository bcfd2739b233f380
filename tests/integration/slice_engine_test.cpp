// The slicer through the bundle, driven like a DAW: repeats from the previous bar, seeded
// replays after a transport restart, a steady slice grid at any block size, and slices
// chosen by MIDI notes.
#include "BundleUnderTest.h"

#include "host/Renderer.h"
#include "host/TestLoop.h"

#include <algorithm>
#include <cmath>

using namespace VextoriaHost;
using namespace VextoriaTest;

TEST(SliceEngineBundle, EverySliceAfterTheFirstBarRepeatsThePreviousBar)
{
    for (const int32_t channels : {1, 2}) {
        auto host = loadBundle();
        const AudioClip input = generatePositionSignal(4 * kBar, channels, 44100.0);
        const RenderResult result = render(*host, input, {512, 120.0, repeatOnly(1.0)});
        for (int64_t slice = 0; slice < 32; ++slice) {
            const int64_t offset = 3000; // inside the open gate
            const int64_t frame = slice * kSlice + offset;
            for (int32_t c = 0; c < channels; ++c) {
                const int64_t played = positionOfSample(result.output.channels[static_cast<size_t>(c)][static_cast<size_t>(frame)]);
                const int64_t bar = frame / kBar;
                if (bar == 0) {
                    EXPECT_EQ(played, frame) << "the first bar plays live, slice " << slice;
                    continue;
                }
                EXPECT_GE(played, (bar - 1) * kBar) << "slice " << slice << ", channel " << c;
                EXPECT_LT(played, bar * kBar) << "slice " << slice << ", channel " << c;
                EXPECT_EQ((played - offset) % kSlice, 0) << "a whole slice of the previous bar, slice " << slice;
            }
        }
    }
}

namespace {

// One instance whose transport the test stops and restarts, over a one-bar loop.
class TransportRestart : public ConfiguredBundle {
protected:
    void SetUp() override
    {
        ConfiguredBundle::SetUp();
        host->start();
    }

    void setParameters(const Parameters& parameters)
    {
        for (const auto& [id, value] : parameters)
            block.inputChanges.addPoint(id, 0, value);
        block.clock.setPlaying(false);
        processOneBlock(*host, block, kBlock);
    }

    // Stops for a few blocks, starts at the project start and plays `bars` of the loop.
    std::vector<float> playFromTheStart(int32_t bars)
    {
        block.clock.setPlaying(false);
        for (int32_t i = 0; i < 4; ++i)
            processOneBlock(*host, block, kBlock);
        block.clock.locate(0);
        block.clock.setPlaying(true);
        std::vector<float> rendered;
        for (int64_t start = 0; start < bars * kBar; start += kBlock) {
            const auto frames = static_cast<int32_t>(std::min<int64_t>(kBlock, bars * kBar - start));
            for (int32_t c = 0; c < 2; ++c)
                for (int32_t i = 0; i < frames; ++i)
                    block.audio.input(c)[i] = loop.channels[static_cast<size_t>(c)][static_cast<size_t>((start + i) % kBar)];
            EXPECT_EQ(host->process(block.prepare(frames)), Steinberg::kResultOk);
            for (int32_t c = 0; c < 2; ++c)
                rendered.insert(rendered.end(), block.audio.output(c), block.audio.output(c) + frames);
            block.finish();
        }
        return rendered;
    }

    ProcessBlock block{2, 2, kBlock};
    const AudioClip loop = generateDrumLoop({44100.0, 120.0, 1, 2});
};

Parameters replayParameters(double replayMode)
{
    return {{Vextoria3Ids::kActive, 1.0},     {Vextoria3Ids::kReplayRndSeq, replayMode},
            {Vextoria3Ids::kSliceAmt, 0.6},   {Vextoria3Ids::kReverseAmt, 0.5},
            {Vextoria3Ids::kRollAmt, 0.5},    {Vextoria3Ids::kPitchAmt, 0.5},
            {Vextoria3Ids::kPanAmt, 0.0},     {Vextoria3Ids::kFxAmt, 0.0}};
}

} // namespace

TEST_F(TransportRestart, OnPlayReplaysTheSameSlicesAfterARestartAndNeverDrawsOn)
{
    for (const double replayMode : {0.5, 0.0}) {
        setParameters(replayParameters(replayMode));
        playFromTheStart(3); // leaves the recorder holding the loop before the next start
        const std::vector<float> first = playFromTheStart(3);
        const std::vector<float> second = playFromTheStart(3);
        EXPECT_EQ(first == second, replayMode == 0.5) << "replay mode " << replayMode;
    }
}

namespace {

// Frames where the slice gate opens on a steady input: the slice starts.
std::vector<int64_t> gateOpenings(const std::vector<float>& samples)
{
    std::vector<int64_t> openings;
    for (size_t i = 0; i + 1 < samples.size(); ++i)
        if (samples[i] == 0.0f && samples[i + 1] > 0.0f)
            openings.push_back(static_cast<int64_t>(i));
    return openings;
}

std::vector<int64_t> expectedGrid(double sliceLength, int64_t frames)
{
    std::vector<int64_t> grid;
    for (int64_t k = 0; std::ceil(k * sliceLength) < static_cast<double>(frames - 1); ++k)
        grid.push_back(static_cast<int64_t>(std::ceil(k * sliceLength)));
    return grid;
}

struct GridCase {
    int32_t blockSize;
    double sampleRate;
    double sliceSize; // parameter value
    double sliceLength; // samples
};

class SliceGrid : public ::testing::TestWithParam<GridCase> {};

} // namespace

TEST_P(SliceGrid, GateOpensOnEverySliceStartWhateverTheBlockSize)
{
    const GridCase& grid = GetParam();
    auto host = loadBundle();
    const auto frames = static_cast<int64_t>(3 * 2 * grid.sampleRate); // 3 bars
    AudioClip input(2, frames, grid.sampleRate);
    for (auto& channel : input.channels)
        std::fill(channel.begin(), channel.end(), 0.5f);
    // Every slice live: the gate shows the grid.
    const Parameters parameters = repeatOnly(0.0, {{Vextoria3Ids::kGateSize, 0.5}, {Vextoria3Ids::kSliceSize, grid.sliceSize}});
    const RenderResult result = render(*host, input, {grid.blockSize, 120.0, parameters});
    EXPECT_EQ(gateOpenings(result.output.channels[0]), expectedGrid(grid.sliceLength, frames));
    EXPECT_EQ(gateOpenings(result.output.channels[1]), expectedGrid(grid.sliceLength, frames));
}

INSTANTIATE_TEST_SUITE_P(BlockSizesAndRates, SliceGrid,
                         ::testing::Values(GridCase{32, 44100.0, 0.5, 11025.0}, GridCase{128, 44100.0, 0.5, 11025.0},
                                           GridCase{512, 44100.0, 0.5, 11025.0}, GridCase{128, 48000.0, 0.5, 12000.0},
                                           GridCase{333, 48000.0, 0.5, 12000.0}, GridCase{128, 44100.0, 1.0, 5512.5},
                                           GridCase{512, 44100.0, 0.0, 22050.0}));

TEST(MidiSliceBundle, NotesFrom36ChooseTheSlicesOfThePreviousBar)
{
    auto host = loadBundle();
    constexpr int32_t kBlock = 441; // divides the slice, so notes land on slice starts
    ASSERT_EQ(host->configure(BusLayout::stereo, 44100.0, kBlock), Steinberg::kResultOk);
    host->start();
    ProcessBlock block(2, 2, kBlock);
    for (const auto& [id, value] : repeatOnly(0.0, {{Vextoria3Ids::kTrigMode, 1.0}}))
        block.inputChanges.addPoint(id, 0, value);

    const AudioClip input = generatePositionSignal(3 * kBar, 2, 44100.0);
    std::vector<float> left;
    for (int64_t start = 0; start < 3 * kBar; start += kBlock) {
        // Bar 1 holds note 38 (slice 2); bar 2 walks the notes 36.. one per slice.
        if (start == kSlice)
            block.inputEvents.addNoteOn(38, 0.8f, 0);
        if (start >= 2 * kBar && (start - 2 * kBar) % kSlice == kSlice - kBlock) {
            const int64_t next = (start + kBlock - 2 * kBar) / kSlice;
            block.inputEvents.addNoteOff(static_cast<int16_t>(36 + next - 1), 0.0f, 0);
            block.inputEvents.addNoteOn(static_cast<int16_t>(36 + next), 0.8f, 0);
        } else if (start == 2 * kBar - kBlock) {
            block.inputEvents.addNoteOff(38, 0.0f, 0);
            block.inputEvents.addNoteOn(36, 0.8f, 0);
        }
        for (int32_t c = 0; c < 2; ++c)
            std::copy_n(input.channels[static_cast<size_t>(c)].begin() + start, kBlock, block.audio.input(c));
        ASSERT_EQ(host->process(block.prepare(kBlock)), Steinberg::kResultOk);
        left.insert(left.end(), block.audio.output(0), block.audio.output(0) + kBlock);
        block.finish();
    }
    for (int64_t slice = 8; slice < 24; ++slice) {
        const int64_t offset = 4000;
        const int64_t chosen = slice < 16 ? 2 : slice - 16;
        const int64_t bar = slice / 8;
        EXPECT_EQ(positionOfSample(left[static_cast<size_t>(slice * kSlice + offset)]),
                  (bar - 1) * kBar + chosen * kSlice + offset)
            << "slice " << slice;
    }
}
