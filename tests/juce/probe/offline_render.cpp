#include "probe/offline_render.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace probe {

namespace {

juce::String checkSettings(int numChannels, const RenderSettings& settings)
{
    if (numChannels != 1 && numChannels != 2)
        return "only mono and stereo can be rendered, not " + juce::String(numChannels) + " channels";
    if (!(settings.sampleRate > 0.0) || !(settings.tempo > 0.0) || settings.blockSize < 1)
        return "sample rate, tempo and block size must be positive";
    return {};
}

juce::AudioProcessor::BusesLayout layoutFor(int numChannels)
{
    const auto set = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(set);
    layout.outputBuses.add(set);
    return layout;
}

// CPU time of the calling thread, in seconds: unlike wall-clock time, not inflated when
// the machine's other work preempts it.
double threadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

}  // namespace

BlockRenderer::BlockRenderer(juce::AudioPluginInstance& plugin, int numChannels, const RenderSettings& settings)
    : plugin(plugin), settings(settings), playHead(settings.tempo, settings.sampleRate, settings.playing),
      failure(checkSettings(numChannels, settings))
{
    if (failure.isNotEmpty())
        return;
    if (!plugin.setBusesLayout(layoutFor(numChannels))) {
        failure = "the plug-in refuses " + juce::String(numChannels == 1 ? "mono" : "stereo") + " buses";
        return;
    }
    block.setSize(numChannels, settings.blockSize);
    plugin.setPlayHead(&playHead);
    plugin.setNonRealtime(!settings.realtime);
    plugin.prepareToPlay(settings.sampleRate, settings.blockSize);
}

BlockRenderer::~BlockRenderer()
{
    if (failure.isNotEmpty())
        return;
    plugin.releaseResources();
    plugin.setPlayHead(nullptr);
}

void BlockRenderer::process(const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output,
                            int start, int length)
{
    jassert(failure.isEmpty() && length >= 1 && length <= settings.blockSize);
    // Keeps the allocation; the plug-in sees a buffer of exactly this block's length.
    block.setSize(block.getNumChannels(), length, false, false, true);
    for (int channel = 0; channel < block.getNumChannels(); ++channel)
        block.copyFrom(channel, 0, input, channel, start, length);
    midi.clear();
    plugin.processBlock(block, midi);
    for (int channel = 0; channel < block.getNumChannels(); ++channel)
        output.copyFrom(channel, start, block, channel, 0, length);
    playHead.advance(length);
}

RenderResult render(juce::AudioPluginInstance& plugin, const juce::AudioBuffer<float>& input,
                    const RenderSettings& settings)
{
    RenderResult result;
    BlockRenderer renderer(plugin, input.getNumChannels(), settings);
    if (renderer.error().isNotEmpty()) {
        result.error = renderer.error();
        return result;
    }
    result.output.setSize(input.getNumChannels(), input.getNumSamples());
    for (int start = 0; start < input.getNumSamples(); start += settings.blockSize) {
        const double cpuBefore = threadSeconds();
        const auto before = std::chrono::steady_clock::now();
        renderer.process(input, result.output, start, std::min(settings.blockSize, input.getNumSamples() - start));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - before;
        result.worstBlockSeconds = std::max(result.worstBlockSeconds, took.count());
        result.worstBlockCpuSeconds = std::max(result.worstBlockCpuSeconds, threadSeconds() - cpuBefore);
        result.totalBlockSeconds += took.count();
        ++result.blocks;
    }
    return result;
}

}  // namespace probe
