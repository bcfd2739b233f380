#include "dsp/AudioBuffer.h"
#include "dsp/Slice.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {
constexpr int32_t kSliceLength = 11025; // half a beat at 120 BPM, 44.1 kHz

// A slice player with two bars of noise behind it, playing a repeated slice.
std::unique_ptr<Slice> preparedSlice()
{
    auto slice = std::make_unique<Slice>();
    slice->setSamplerate(44100.0);
    std::mt19937 noise(7);
    std::uniform_real_distribution<float> level(-1.0f, 1.0f);
    for (int32_t bar = 0; bar < 2; ++bar) {
        slice->setStart();
        for (int32_t i = 0; i < 8; ++i) {
            slice->setSliceStart(i);
            for (int32_t n = 0; n < kSliceLength; ++n) {
                slice->record(level(noise), level(noise));
                slice->processStretch();
            }
        }
    }
    slice->setStart();
    slice->playSlice(kSliceLength, 3, false, true);
    return slice;
}

// One engine block: record, feed the stretcher and play each sample.
void runBlock(Slice& slice, const std::vector<float>& input, float& sink)
{
    for (float sample : input) {
        slice.record(sample, -sample);
        slice.processStretch();
        float left = 0.0f, right = 0.0f;
        slice.process(left, right);
        sink += left + right;
    }
}

std::vector<float> inputBlock(int64_t size)
{
    std::vector<float> block(static_cast<size_t>(size));
    std::mt19937 noise(11);
    std::uniform_real_distribution<float> level(-1.0f, 1.0f);
    for (float& sample : block)
        sample = level(noise);
    return block;
}
} // namespace

// Cost of recording and playing one sample, with and without a freeze capture running.
static void BM_SliceRecordAndPlayPerSample(benchmark::State& state)
{
    const std::unique_ptr<Slice> slice = preparedSlice();
    const bool capturing = state.range(0) != 0;
    const std::vector<float> input = inputBlock(512);
    float sink = 0.0f;
    for (auto _ : state) {
        if (capturing) { // restart the capture so its copy is always running
            slice->setFreeze(false);
            slice->setFreeze(true);
        }
        runBlock(*slice, input, sink);
    }
    benchmark::DoNotOptimize(sink);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(input.size()));
}
BENCHMARK(BM_SliceRecordAndPlayPerSample)->ArgName("capturing")->Arg(0)->Arg(1);

// Cost of the block in which freeze switches on, by block size.
static void BM_SliceFreezeSwitchOnBlock(benchmark::State& state)
{
    const std::unique_ptr<Slice> slice = preparedSlice();
    const std::vector<float> input = inputBlock(state.range(0));
    float sink = 0.0f;
    for (auto _ : state) {
        slice->setFreeze(false);
        slice->setFreeze(true);
        slice->playFreezeDirect(kSliceLength, 2, false, false);
        runBlock(*slice, input, sink);
    }
    benchmark::DoNotOptimize(sink);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SliceFreezeSwitchOnBlock)->ArgName("block")->Arg(64)->Arg(512)->Arg(4096);

// For comparison: capturing by copying both whole rings in one call.
static void BM_SliceWholeRingCopy(benchmark::State& state)
{
    const auto liveLeft = std::make_unique<AudioBuffer>(), liveRight = std::make_unique<AudioBuffer>();
    const auto copyLeft = std::make_unique<AudioBuffer>(), copyRight = std::make_unique<AudioBuffer>();
    for (auto _ : state) {
        copyLeft->copy(*liveLeft);
        copyRight->copy(*liveRight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SliceWholeRingCopy)->Unit(benchmark::kMillisecond);
