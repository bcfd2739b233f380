#include "editor/live_playback.h"

#include "probe/test_loop.h"

#include <chrono>

namespace probe::testing {

namespace {
constexpr int channels = 2;
constexpr double loopSeconds = 2.0;

RenderSettings liveSettings()
{
    RenderSettings settings;
    settings.realtime = true;
    return settings;
}

}  // namespace

LivePlayback::LivePlayback(juce::AudioPluginInstance& plugin)
    : settings(liveSettings()),
      renderer(plugin, channels, settings),
      loop(makeTestLoop(channels, settings.sampleRate, settings.tempo, loopSeconds)),
      output(channels, loop.getNumSamples())
{
    if (renderer.error().isEmpty())
        audioThread = std::thread([this] { play(); });
}

LivePlayback::~LivePlayback()
{
    stopping = true;
    if (audioThread.joinable())
        audioThread.join();
}

void LivePlayback::play()
{
    using Clock = std::chrono::steady_clock;
    const auto blockTime = std::chrono::duration<double>(settings.blockSize / settings.sampleRate);
    auto due = Clock::now();
    int start = 0;
    while (!stopping) {
        const int length = std::min(settings.blockSize, loop.getNumSamples() - start);
        renderer.process(loop, output, start, length);
        start = (start + length) % loop.getNumSamples();
        due += std::chrono::duration_cast<Clock::duration>(blockTime * length / settings.blockSize);
        std::this_thread::sleep_until(due);
    }
}

}  // namespace probe::testing
