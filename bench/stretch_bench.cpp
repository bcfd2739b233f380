// Cost of one host block in stretch mode with every slice pitched and one effect on
// every slice. The stretcher runs once per 1024 samples inside whichever block gathers
// its input, so the worst block, not the mean, decides whether a host keeps up:
// worst_pct and mean_pct are against the block's real-time budget at 48 kHz.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "PlayingDsp.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {

constexpr double kSampleRate = 48000.0; // as PlayingDsp plays
constexpr int32_t kWarmUpBars = 3;      // so the stretched rings hold material to play

void stretchWithEffect(benchmark::State& state)
{
    const auto blockSize = static_cast<int32_t>(state.range(0));
    const auto effect = static_cast<double>(state.range(1));
    PlayingDsp dsp(blockSize);
    dsp.fillWithNoise(9);
    const std::pair<int32_t, double> values[] = {
        {kActive, 1.0},  {kStretch, 1.0},  {kPitchAmt, 1.0},         {kPitchRange, 1.0}, {kUp, 1.0},
        {kDown, 1.0},    {kFxAmt, 1.0},    {kFxSelect, effect / 4.0}, {kSliceAmt, 1.0},   {kRollAmt, 0.3}};
    for (const auto& [id, value] : values)
        dsp.fx->setParameter(id, value);
    dsp.fx->setReplaySeed(1);
    const auto warmUpBlocks = static_cast<int32_t>(kWarmUpBars * 4 * 24000 / blockSize);
    for (int32_t i = 0; i < warmUpBlocks; ++i) {
        dsp.fx->process(dsp.inputs, dsp.outputs, blockSize);
        dsp.advance(blockSize);
    }

    double worst = 0.0, total = 0.0; // seconds
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        dsp.fx->process(dsp.inputs, dsp.outputs, blockSize);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        worst = std::max(worst, took.count());
        total += took.count();
        dsp.advance(blockSize);
        benchmark::DoNotOptimize(dsp.outLeft.data());
        benchmark::ClobberMemory();
    }
    const double budget = blockSize / kSampleRate;
    state.counters["worst_pct"] = 100.0 * worst / budget;
    state.counters["mean_pct"] = 100.0 * total / static_cast<double>(state.iterations()) / budget;
    state.SetItemsProcessed(state.iterations() * blockSize);
}

} // namespace

// Second argument: the effect, "FX Select" x 4 (0 reverb, 1 bit crusher, 2 high-pass, 3 pitch effects).
BENCHMARK(stretchWithEffect)
    ->ArgsProduct({{64, 128, 512}, {0, 1, 2, 3}})
    ->ArgNames({"block", "fx"})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0);
