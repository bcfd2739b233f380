// The plug-in's process call per block through the headless host, the resident memory
// one instance costs, and how long instances take to be created and activated.

#include "host/PluginHost.h"
#include "host/ProcessData.h"
#include "host/TestLoop.h"

#include "ids.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <vector>

using namespace VextoriaHost;

namespace {

constexpr double kSampleRate = 44100.0;

// Resident set size from /proc, in MiB.
double residentMiB()
{
    long totalPages = 0, residentPages = 0;
    std::ifstream("/proc/self/statm") >> totalPages >> residentPages;
    return static_cast<double>(residentPages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A running stereo instance with a drum loop in its input buffers and a playing transport;
// program 1 stretches unless told not to.
struct RunningInstance {
    RunningInstance(int32_t blockSize, bool bypass, bool stretch = true)
        : host(VEXTORIA_BUNDLE_PATH), block(2, 2, blockSize, kSampleRate, 120.0)
    {
        if (host.configure(BusLayout::stereo, kSampleRate, blockSize) != Steinberg::kResultOk)
            throw HostError("stereo set-up refused");
        const AudioClip loop = generateDrumLoop({kSampleRate, 120.0, 1, 2});
        for (int32_t c = 0; c < 2; ++c)
            std::copy_n(loop.channels[static_cast<size_t>(c)].begin(), blockSize, block.audio.input(c));
        // A factory program with the slicer on, so the unbypassed path does its full work.
        block.inputChanges.addPoint(Vextoria3Ids::kFactoryPresets, 0, 1.0 / 15.0);
        block.inputChanges.addPoint(Vextoria3Ids::kBypass, 0, bypass ? 1.0 : 0.0);
        block.inputChanges.addPoint(Vextoria3Ids::kStretch, 0, stretch ? 1.0 : 0.0);
        host.start();
    }

    void processBlock(int32_t frames)
    {
        host.process(block.prepare(frames));
        block.finish();
    }

    PluginHost host;
    ProcessBlock block;
};

void processPerBlock(benchmark::State& state)
{
    const auto blockSize = static_cast<int32_t>(state.range(0));
    const bool bypass = state.range(1) != 0;
    RunningInstance instance(blockSize, bypass);
    for (auto _ : state) {
        instance.processBlock(blockSize);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
    // Seconds of audio per second of wall time: how many times faster than real time.
    state.counters["realtime_factor"] = benchmark::Counter(blockSize / kSampleRate, benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(bypass ? "bypass" : "program 1");
}

void residentMemoryPerInstance(benchmark::State& state)
{
    constexpr int32_t kBlock = 1024;
    const auto tenMinutes = static_cast<int>(600 * kSampleRate / kBlock);
    for (auto _ : state) {
        const double beforeAny = residentMiB();
        RunningInstance first(kBlock, false);
        first.processBlock(kBlock);
        const double afterFirst = residentMiB();
        state.counters["first_instance_MiB"] = afterFirst - beforeAny; // includes the library itself
        for (const bool stretch : {false, true}) {
            const double before = residentMiB();
            RunningInstance instance(kBlock, false, stretch);
            if (!stretch) // created and activated, nothing played yet
                state.counters["idle_instance_MiB"] = residentMiB() - before;
            for (int i = 0; i < tenMinutes; ++i)
                instance.processBlock(kBlock);
            state.counters[stretch ? "ten_minutes_stretch_MiB" : "ten_minutes_MiB"] = residentMiB() - before;
        }
    }
}

// Sixteen instances created and activated one after another at 48 kHz, all kept alive, as a
// host loads a project. The first activation at a rate in a process measures what the
// stretcher needs at it; later ones reuse that, so run this before anything else at 48 kHz.
void activateSixteenInstances(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    constexpr double kRate = 48000.0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<PluginHost>> hosts;
        std::vector<double> took; // milliseconds
        const auto start = Clock::now();
        for (int i = 0; i < 16; ++i) {
            const auto before = Clock::now();
            hosts.push_back(std::make_unique<PluginHost>(VEXTORIA_BUNDLE_PATH));
            if (hosts.back()->configure(BusLayout::stereo, kRate, 512) != Steinberg::kResultOk)
                throw HostError("stereo set-up refused");
            hosts.back()->start();
            took.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
        }
        state.counters["total_ms"] = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        state.counters["first_ms"] = took.front();
        state.counters["second_ms"] = took[1];
        state.counters["slowest_later_ms"] = *std::max_element(took.begin() + 1, took.end());
    }
}

}  // namespace

BENCHMARK(activateSixteenInstances)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(processPerBlock)->ArgsProduct({{64, 256, 1024}, {0, 1}})->ArgNames({"block", "bypass"});
BENCHMARK(residentMemoryPerInstance)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
