// The plug-in's process call per block through the headless host, and the resident memory
// one processor instance costs.

#include "host/PluginHost.h"
#include "host/ProcessData.h"
#include "host/TestLoop.h"

#include "ids.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

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

// A running stereo instance with a drum loop in its input buffers and a playing transport.
struct RunningInstance {
    RunningInstance(int32_t blockSize, bool bypass)
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
    for (auto _ : state) {
        const double beforeAny = residentMiB();
        RunningInstance first(1024, false);
        first.processBlock(1024);
        const double afterFirst = residentMiB();
        RunningInstance second(1024, false);
        second.processBlock(1024);
        const double afterSecond = residentMiB();
        for (int i = 0; i < static_cast<int>(4 * kSampleRate / 1024); ++i)  // a few bars recorded
            second.processBlock(1024);
        const double afterRecording = residentMiB();
        state.counters["first_instance_MiB"] = afterFirst - beforeAny;   // includes the library itself
        state.counters["one_instance_MiB"] = afterSecond - afterFirst;   // created, activated, one block
        state.counters["after_4s_MiB"] = afterRecording - afterFirst;    // plus pages the recorder touched
    }
}

}  // namespace

BENCHMARK(processPerBlock)->ArgsProduct({{64, 256, 1024}, {0, 1}})->ArgNames({"block", "bypass"});
BENCHMARK(residentMemoryPerInstance)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
