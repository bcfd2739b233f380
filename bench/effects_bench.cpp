// Cost of the effect units per host block, and of one pitch-shifter call, which the
// engine makes once every 1024 samples inside a single host block.
#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <vector>

#include "dsp/BitReduzer.h"
#include "dsp/CHighLifeFilter.h"
#include "dsp/RandomGenerator.h"
#include "dsp/TimeStretcher.h"
#include "dsp/revmodel.h"

namespace
{
constexpr double kSampleRate = 44100.0;

// Percentage of a block's real-time budget: time per iteration / (frames / rate).
benchmark::Counter budgetPercent(int frames, double sampleRate = kSampleRate)
{
    return benchmark::Counter(frames / sampleRate / 100.0,
                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

struct StereoBlock
{
    explicit StereoBlock(int frames) : left(frames), right(frames)
    {
        std::mt19937 random(1);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        for (int i = 0; i < frames; ++i)
        {
            left[i] = noise(random);
            right[i] = noise(random);
        }
    }
    std::vector<float> left;
    std::vector<float> right;
};

template <typename Effect>
void runBlocks(benchmark::State& state, Effect&& effect)
{
    const int frames = static_cast<int>(state.range(0));
    const StereoBlock block(frames);
    for (auto _ : state)
    {
        for (int i = 0; i < frames; ++i)
        {
            float l = block.left[i];
            float r = block.right[i];
            effect(l, r);
            benchmark::DoNotOptimize(l);
            benchmark::DoNotOptimize(r);
        }
    }
    state.counters["budget_pct"] = budgetPercent(frames);
}

void reverbBlock(benchmark::State& state)
{
    static revmodel reverb; // about 100 KB, kept off the stack
    setReverbDryWet(reverb, 0.5f);
    runBlocks(state, [](float& l, float& r) { reverb.process(l, r); });
}

void bitCrusherBlock(benchmark::State& state)
{
    BitReduzer crusher;
    runBlocks(state, [&crusher](float& l, float& r) {
        crusher.setReduceRate(0.5f); // the engine sets both before every frame
        crusher.setDryWet(0.7f);
        crusher.process(l, r);
    });
}

void highPassBlock(benchmark::State& state)
{
    RandomGenerator random;
    CHighLifeFilter left(random);
    CHighLifeFilter right(random);
    runBlocks(state, [&](float& l, float& r) {
        l = left.work(l, 0.3f, 0.8f, CHighLifeFilter::kHighPass);
        r = right.work(r, 0.3f, 0.8f, CHighLifeFilter::kHighPass);
    });
}

// One piece through the stretcher at a fixed shift, or (shift 99) with a new shift every
// 1024 frames as the stretch feed applies slice decisions; budget_pct is against a
// 128-sample host block at the same rate.
void timeStretcherCall(benchmark::State& state)
{
    TimeStretcher stretcher;
    const double sampleRate = static_cast<double>(state.range(1));
    stretcher.setSamplerate(sampleRate);
    const StereoBlock in(TimeStretcher::kPieceSize);
    std::array<std::vector<float>, 2> out {std::vector<float>(TimeStretcher::kPieceSize),
                                           std::vector<float>(TimeStretcher::kPieceSize)};
    const float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    const int fixedShift = static_cast<int>(state.range(0));
    std::mt19937 random(3);
    std::uniform_int_distribution<int> anyShift(-TimeStretcher::kMaxSemitones, TimeStretcher::kMaxSemitones);
    int64_t pieces = 0;
    for (auto _ : state)
    {
        if (pieces++ % (1024 / TimeStretcher::kPieceSize) == 0)
            stretcher.setSemitones(fixedShift > TimeStretcher::kMaxSemitones ? anyShift(random) : fixedShift);
        stretcher.process(inputs, outputs);
        benchmark::DoNotOptimize(out[0].data());
    }
    state.counters["budget_pct"] = budgetPercent(128, sampleRate);
    state.counters["latency"] = stretcher.latency();
}
} // namespace

BENCHMARK(reverbBlock)->Arg(64)->Arg(128)->Arg(512);
BENCHMARK(bitCrusherBlock)->Arg(64)->Arg(128)->Arg(512);
BENCHMARK(highPassBlock)->Arg(64)->Arg(128)->Arg(512);
BENCHMARK(timeStretcherCall)
    ->ArgsProduct({{0, -12, 12, 99}, {44100, 96000}})
    ->ArgNames({"semitones", "rate"})
    ->Unit(benchmark::kMicrosecond);
