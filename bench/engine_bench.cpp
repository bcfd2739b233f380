// Cost of the slicer per sample with every decision live, and of the block in which
// "Freeze" switches on.
#include <benchmark/benchmark.h>

#include "PlayingDsp.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {

// Active, with repeats, reverses, rolls, pans, pitch and a random effect on most slices.
void activateSlicer(Vextoria3FX& fx, double fxSelect)
{
    const std::pair<int32_t, double> values[] = {
        {kActive, 1.0},   {kSliceAmt, 0.7},   {kReverseAmt, 0.5}, {kRollAmt, 0.5},  {kPanAmt, 0.5},
        {kPitchAmt, 0.5}, {kFxAmt, 0.9},      {kFxSelect, fxSelect}, {kSliceSize, 1.0}};
    for (const auto& [id, value] : values)
        fx.setParameter(id, value);
}

void slicerActivePerSample(benchmark::State& state)
{
    const auto blockSize = static_cast<int32_t>(state.range(0));
    PlayingDsp dsp(blockSize);
    dsp.fillWithNoise(3);
    activateSlicer(*dsp.fx, static_cast<double>(state.range(1)) / 4.0);
    for (auto _ : state) {
        dsp.fx->process(dsp.inputs, dsp.outputs, blockSize);
        dsp.advance(blockSize);
        benchmark::DoNotOptimize(dsp.outLeft.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
}

void freezeSwitchOnBlock(benchmark::State& state)
{
    const auto blockSize = static_cast<int32_t>(state.range(0));
    PlayingDsp dsp(blockSize);
    dsp.fillWithNoise(5);
    activateSlicer(*dsp.fx, 1.0);
    for (int32_t i = 0; i < 8; ++i) { // a few bars recorded before the first capture
        dsp.fx->process(dsp.inputs, dsp.outputs, blockSize);
        dsp.advance(blockSize);
    }
    for (auto _ : state) {
        dsp.fx->setParameter(kFreeze, 1.0);
        dsp.fx->process(dsp.inputs, dsp.outputs, blockSize);
        dsp.advance(blockSize);
        dsp.fx->setParameter(kFreeze, 0.0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
}

} // namespace

// Second argument: "FX Select" x 4 (0 reverb, 1 bit crusher, 2 high-pass, 3 pitch, 4 random).
BENCHMARK(slicerActivePerSample)->ArgsProduct({{128, 512}, {0, 1, 2, 3, 4}})->ArgNames({"block", "fx"});
BENCHMARK(freezeSwitchOnBlock)->Arg(64)->Arg(512);
