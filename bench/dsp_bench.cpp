// Cost of one block through the DSP object's bypass clock and its processing path.
#include <benchmark/benchmark.h>

#include "PlayingDsp.h"

namespace {

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
