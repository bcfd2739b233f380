// juce-vst3-probe: loads a VST3 bundle through JUCE's hosting code, lists what it offers and
// optionally renders audio through it, as a check independent of our own host.

#include "probe/offline_render.h"
#include "probe/parameter_access.h"
#include "probe/plugin_loading.h"
#include "probe/probe_options.h"
#include "probe/test_loop.h"
#include "probe/wav_files.h"

#include <iostream>
#include <optional>

namespace {

constexpr int textLength = 1024;

void printClasses(const juce::OwnedArray<juce::PluginDescription>& classes)
{
    for (const auto* description : classes)
        std::cout << "class \"" << description->name << "\" by \"" << description->manufacturerName
                  << "\", category " << description->category << ", version " << description->version
                  << ", " << description->numInputChannels << " in / " << description->numOutputChannels
                  << " out\n";
}

void printParameters(juce::AudioPluginInstance& plugin)
{
    const auto& parameters = plugin.getParameters();
    std::cout << "parameters: " << parameters.size() << "\n";
    for (const auto* parameter : parameters) {
        const float value = parameter->getValue();
        std::cout << "  " << parameter->getParameterIndex() << " \"" << parameter->getName(textLength)
                  << "\" = \"" << parameter->getText(value, textLength) << "\"";
        if (parameter->getLabel().isNotEmpty())
            std::cout << " " << parameter->getLabel();
        std::cout << " (" << value << ")\n";
    }
}

// Mono or stereo input in the buses' channel count: mono is duplicated, stereo is averaged to mono.
juce::AudioBuffer<float> conformChannels(const juce::AudioBuffer<float>& input, int numChannels)
{
    const int available = input.getNumChannels();
    if (available == numChannels)
        return input;
    juce::AudioBuffer<float> conformed(numChannels, input.getNumSamples());
    conformed.clear();
    // Two channels into one are averaged; one into two is copied (the gain is then 1).
    const float gain = 1.0f / static_cast<float>(available);
    for (int target = 0; target < numChannels; ++target)
        for (int source = 0; source < available; ++source)
            conformed.addFrom(target, 0, input, source, 0, input.getNumSamples(), gain);
    return conformed;
}

// The audio to render: the input file (its rate unless one was given) or the generated loop.
std::optional<probe::WavAudio> loadInput(probe::ProbeOptions& options)
{
    probe::WavAudio audio;
    if (options.inputPath.isEmpty()) {
        audio.sampleRate = options.render.sampleRate;
        audio.samples = probe::makeTestLoop(options.numChannels, audio.sampleRate, options.render.tempo,
                                            options.loopSeconds);
        return audio;
    }
    auto read = probe::readWav(juce::File::getCurrentWorkingDirectory().getChildFile(options.inputPath));
    if (read.error.isNotEmpty()) {
        std::cerr << "juce-vst3-probe: " << read.error << "\n";
        return std::nullopt;
    }
    if (options.sampleRateGiven && read.audio.sampleRate != options.render.sampleRate) {
        std::cerr << "juce-vst3-probe: the input's rate is " << read.audio.sampleRate
                  << " Hz; this probe does not resample\n";
        return std::nullopt;
    }
    options.render.sampleRate = read.audio.sampleRate;
    audio.sampleRate = read.audio.sampleRate;
    audio.samples = conformChannels(read.audio.samples, options.numChannels);
    return audio;
}

int renderToFile(juce::AudioPluginInstance& plugin, probe::ProbeOptions& options)
{
    for (const auto& setting : options.parameters)
        if (!probe::applyParameterSetting(plugin, setting)) {
            std::cerr << "juce-vst3-probe: the plug-in has no parameter \"" << setting.name << "\"\n";
            return 1;
        }
    const auto input = loadInput(options);
    if (!input)
        return 1;
    const auto rendered = probe::render(plugin, input->samples, options.render);
    if (rendered.error.isNotEmpty()) {
        std::cerr << "juce-vst3-probe: " << rendered.error << "\n";
        return 1;
    }
    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile(options.outputPath);
    const auto written = probe::writeWav(output, {rendered.output, input->sampleRate});
    if (written.isNotEmpty()) {
        std::cerr << "juce-vst3-probe: " << written << "\n";
        return 1;
    }
    std::cout << "rendered " << input->samples.getNumSamples() << " samples, "
              << (options.numChannels == 1 ? "mono" : "stereo") << ", " << input->sampleRate << " Hz, blocks of "
              << options.render.blockSize << ", tempo " << options.render.tempo << ", peak in "
              << input->samples.getMagnitude(0, input->samples.getNumSamples()) << " out "
              << rendered.output.getMagnitude(0, rendered.output.getNumSamples()) << " -> "
              << output.getFullPathName() << "\n";
    if (options.blockTimes && rendered.blocks > 0) {
        const double budget = options.render.blockSize / input->sampleRate; // seconds
        std::cout << "blocks " << rendered.blocks << ", " << (options.render.realtime ? "real-time" : "offline")
                  << " mode: slowest " << 100.0 * rendered.worstBlockSeconds / budget << " % (in CPU time "
                  << 100.0 * rendered.worstBlockCpuSeconds / budget << " %), mean "
                  << 100.0 * rendered.totalBlockSeconds / rendered.blocks / budget << " % of the block's budget\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add(juce::String::fromUTF8(argv[i]));
    auto parsed = probe::parseProbeOptions(arguments);
    if (parsed.error.isNotEmpty()) {
        std::cerr << "juce-vst3-probe: " << parsed.error << "\n" << probe::probeUsage;
        return 2;
    }
    auto& options = parsed.options;

    juce::ScopedJuceInitialiser_GUI juceRuntime;
    const auto classes = probe::listClasses(options.bundlePath);
    printClasses(classes);
    auto loaded = probe::loadClass(options.bundlePath, options.className, options.render.sampleRate,
                                   options.render.blockSize);
    if (loaded.instance == nullptr) {
        std::cerr << "juce-vst3-probe: " << loaded.error << "\n";
        return 1;
    }
    printParameters(*loaded.instance);
    return options.outputPath.isEmpty() ? 0 : renderToFile(*loaded.instance, options);
}
