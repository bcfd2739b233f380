// Cost of one block through the DSP object's bypass clock and its processing path.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "dsp/Vextoria3FX.h"

namespace {

// A DSP object playing at 48 kHz and 120 BPM with stereo buffers of one block.
struct PlayingDsp {
    explicit PlayingDsp(int32_t blockSize)
        : fx(std::make_unique<Vextoria3FX>()), left(blockSize, 0.25f), right(blockSize, -0.25f),
          outLeft(blockSize), outRight(blockSize)
    {
        fx->resume(48000.0, blockSize);
        fx->timeInfo.contextValid = true;
        fx->timeInfo.playing = true;
        fx->timeInfo.projectMusicValid = true;
        fx->timeInfo.sampleRate = 48000.0;
        fx->timeInfo.samplesPerBeat = 24000.0;
    }

    // Moves the host position on by one block, as a playing host does.
    void advance(int32_t blockSize)
    {
        fx->timeInfo.projectTimeMusic += blockSize / fx->timeInfo.samplesPerBeat;
        fx->timeInfo.projectTimeSamples += blockSize;
    }

    std::unique_ptr<Vextoria3FX> fx;
    std::vector<float> left, right, outLeft, outRight;
    const float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
};

void bypassBlock(benchmark::State& state)
{
    const auto blockSize = static_cast<int32_t>(state.range(0));
    PlayingDsp dsp(blockSize);
    for (auto _ : state) {
        dsp.fx->processBypass(dsp.inputs, dsp.outputs, blockSize);
        dsp.advance(blockSize);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
}

void processBlock(benchmark::State& state)
{
    const auto blockSize = static_cast<int32_t>(state.range(0));
    PlayingDsp dsp(blockSize);
    for (auto _ : state) {
        dsp.fx->applyPendingChunk();
        dsp.fx->process(dsp.inputs, dsp.outputs, blockSize);
        dsp.advance(blockSize);
        benchmark::DoNotOptimize(dsp.outLeft.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
}

} // namespace

BENCHMARK(bypassBlock)->Arg(64)->Arg(256)->Arg(1024);
BENCHMARK(processBlock)->Arg(64)->Arg(256)->Arg(1024);
