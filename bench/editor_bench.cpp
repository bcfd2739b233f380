// The editor as a host shows it, through the bundle, in an X window of the display (run under
// xvfb-run): the time from the host's attached to the first painted frame, and the UI
// thread's CPU time per second of an open editor whose scope draws the processor's output,
// RACK and LEGACY at 100 % and 200 %; with the resident memory of the open editor.

#include "EditorWindowHost.h"

#include "host/MessageRelay.h"
#include "host/PluginHost.h"
#include "host/ProcessData.h"
#include "host/TestLoop.h"

#include "ids.h"

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

using namespace VextoriaHost;

namespace {

constexpr double kSampleRate = 44100.0;
constexpr int32_t kBlock = 441; // 10 ms

// HOME at a fresh folder whose settings file opens the editor in `style` (0 LEGACY, 1 RACK)
// at `zoomPercent` (100 or 200).
class SettingsHome {
public:
    SettingsHome(int style, int zoomPercent)
    {
        if (const char* home = std::getenv("HOME"))
            previous = home;
        std::string pattern = std::filesystem::temp_directory_path().string() + "/vextoria-bench-XXXXXX";
        folder = mkdtemp(pattern.data()) ? pattern : "/tmp";
        std::filesystem::create_directories(folder + "/.harlowmint/Vextoria3");
        std::ofstream(folder + "/.harlowmint/Vextoria3/Vextoria3.conf")
            << "[Plugin]\nactive=1\nsize=" << (zoomPercent == 200 ? "0.666667" : "0") << "\nuiid=" << style << "\n";
        setenv("HOME", folder.c_str(), 1);
    }
    ~SettingsHome()
    {
        if (previous)
            setenv("HOME", previous->c_str(), 1);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

private:
    std::optional<std::string> previous;
    std::string folder;
};

double threadCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// A "Vm..." line of /proc/self/status ("VmRSS", resident now; "VmHWM", its peak), in MiB.
double processMemoryMiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) / 1024.0; // the line gives kB
    return 0;
}

class ScopeMessageCounter : public MessageObserver {
public:
    void messageSent(MessageDirection, Steinberg::Vst::IMessage& message) override
    {
        const void* data = nullptr;
        Steinberg::uint32 size = 0;
        if (message.getAttributes()->getBinary("AudioData", data, size) == Steinberg::kResultOk)
            ++count;
    }
    int count = 0;
};

// A bundle instance whose editor opens in the window of `window`.
struct OpenableEditor {
    OpenableEditor(benchmark::State& state) : home(int(state.range(0)), int(state.range(1))), host(VEXTORIA_BUNDLE_PATH)
    {
        state.SetLabel(std::string(state.range(0) ? "RACK " : "LEGACY ") + std::to_string(state.range(1)) + "%");
    }
    // Attaches a new view and runs the loop until its first frame is on screen.
    Steinberg::IPtr<Steinberg::IPlugView> open()
    {
        auto view = Steinberg::owned(host.controller()->createView("editor"));
        if (!view)
            return nullptr;
        view->setFrame(&window);
        if (view->attached(window.parentHandle(), Steinberg::kPlatformTypeX11EmbedWindowID) != Steinberg::kResultOk ||
            !window.runUntil([this] { return window.childPainted(); }, 5000))
            return nullptr;
        return view;
    }
    static void close(Steinberg::IPlugView* view)
    {
        view->removed();
        view->setFrame(nullptr);
    }

    SettingsHome home;
    PluginHost host;
    EditorWindowHost window;
};

void editorOpenToFirstPaint(benchmark::State& state)
{
    OpenableEditor editor(state);
    if (!editor.window.usable()) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto view = editor.open();
        if (!view) {
            state.SkipWithError("the editor did not paint");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["resident_MiB"] = processMemoryMiB("VmRSS"); // with the editor open
        OpenableEditor::close(view);
    }
    // Run one case per process (--benchmark_filter) for memory figures of that case alone.
    state.counters["peak_resident_MiB"] = processMemoryMiB("VmHWM");
}

// The processor plays a drum loop in real time on its own thread while the UI thread runs the
// host's loop for one second: the editor ticks, asks for the scope data and draws it.
void editorCpuPerSecond(benchmark::State& state)
{
    OpenableEditor editor(state);
    if (!editor.window.usable()) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    PluginHost& host = editor.host;
    if (host.configure(BusLayout::stereo, kSampleRate, kBlock) != Steinberg::kResultOk) {
        state.SkipWithError("stereo set-up refused");
        return;
    }
    ScopeMessageCounter scopeMessages;
    host.observeMessages(&scopeMessages);
    host.start();
    auto view = editor.open();
    if (!view) {
        state.SkipWithError("the editor did not paint");
        return;
    }
    std::atomic<bool> playing {true};
    std::thread audio([&] {
        ProcessBlock block(2, 2, kBlock, kSampleRate, 120.0);
        const AudioClip loop = generateDrumLoop({kSampleRate, 120.0, 1, 2});
        block.inputChanges.addPoint(Vextoria3Ids::kFactoryPresets, 0, 1.0 / 15.0);
        auto next = std::chrono::steady_clock::now();
        for (int64_t frame = 0; playing; frame += kBlock) {
            for (int32_t c = 0; c < 2; ++c) {
                const auto& samples = loop.channels[size_t(c)];
                for (int32_t i = 0; i < kBlock; ++i)
                    block.audio.input(c)[i] = samples[size_t((frame + i) % int64_t(samples.size()))];
            }
            host.process(block.prepare(kBlock));
            block.finish();
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next);
        }
    });
    int scopeMessagesSeen = 0;
    for (auto _ : state) {
        const int before = scopeMessages.count;
        const double cpuBefore = threadCpuSeconds();
        editor.window.runUntil([] { return false; }, 1000);
        state.SetIterationTime(threadCpuSeconds() - cpuBefore); // CPU seconds per wall second
        scopeMessagesSeen += scopeMessages.count - before;
    }
    playing = false;
    audio.join();
    OpenableEditor::close(view);
    host.observeMessages(nullptr);
    host.stop();
    state.counters["scope_messages_per_s"] = benchmark::Counter(double(scopeMessagesSeen) / double(state.iterations()));
}

} // namespace

BENCHMARK(editorOpenToFirstPaint)->ArgsProduct({{1, 0}, {100, 200}})->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(editorCpuPerSecond)->ArgsProduct({{1, 0}, {100, 200}})->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
