// juce-vst3-probe: loads a VST3 bundle through JUCE's hosting code, lists what it offers and
// optionally renders audio through it, as a check independent of our own host.

#include "probe/options.h"

#include <iostream>

namespace {

using namespace probe;

int fail(const juce::String& why)
{
    std::cerr << "juce-vst3-probe: " << why << "\n";
    return 1;
}

// The audio to render: the input file in the buses' channel count (mono copied to both, stereo
// averaged to one), at its own rate unless another was asked for; or the generated loop.
juce::String loadInput(ProbeOptions& options, WavAudio& audio)
{
    const int channels = options.numChannels;
    if (options.inputPath.isEmpty()) {
        audio = {makeTestLoop(channels, options.render.sampleRate, options.render.tempo, options.loopSeconds),
                 options.render.sampleRate};
        return {};
    }
    WavAudio read;
    if (auto error = readWav(juce::File::getCurrentWorkingDirectory().getChildFile(options.inputPath), read);
        error.isNotEmpty())
        return error;
    if (options.sampleRateGiven && read.sampleRate != options.render.sampleRate)
        return "the input's rate is " + juce::String(read.sampleRate) + " Hz; this probe does not resample";
    options.render.sampleRate = audio.sampleRate = read.sampleRate;
    const int given = read.samples.getNumChannels();
    audio.samples = read.samples;
    if (given == channels)
        return {};
    audio.samples.setSize(channels, read.samples.getNumSamples());
    audio.samples.clear();
    for (int target = 0; target < channels; ++target)
        for (int source = 0; source < given; ++source)
            audio.samples.addFrom(target, 0, read.samples, source, 0, read.samples.getNumSamples(), 1.0f / given);
    return {};
}

int renderToFile(juce::AudioPluginInstance& plugin, ProbeOptions& options)
{
    for (const auto& [name, value] : options.parameters)
        if (!setParameter(plugin, name, value))
            return fail("the plug-in has no parameter \"" + name + "\"");
    WavAudio input;
    if (const auto error = loadInput(options, input); error.isNotEmpty())
        return fail(error);
    const auto rendered = render(plugin, input.samples, options.render);
    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile(options.outputPath);
    if (rendered.error.isNotEmpty())
        return fail(rendered.error);
    if (const auto error = writeWav(output, {rendered.output, input.sampleRate}); error.isNotEmpty())
        return fail(error);
    const int length = input.samples.getNumSamples();
    std::cout << "rendered " << length << " samples, " << (options.numChannels == 1 ? "mono" : "stereo") << ", "
              << input.sampleRate << " Hz, blocks of " << options.render.blockSize << ", tempo " << options.render.tempo
              << ", peak in " << input.samples.getMagnitude(0, length) << " out "
              << rendered.output.getMagnitude(0, length) << " -> " << output.getFullPathName() << "\n";
    if (options.blockTimes && rendered.blocks > 0) {
        const double percent = 100.0 * input.sampleRate / options.render.blockSize;  // per second of a block's budget
        std::cout << "blocks " << rendered.blocks << ", " << (options.render.realtime ? "real-time" : "offline")
                  << " mode: slowest " << percent * rendered.worstBlockSeconds << " % (in CPU time "
                  << percent * rendered.worstBlockCpuSeconds << " %), mean "
                  << percent * rendered.totalBlockSeconds / rendered.blocks << " % of the block's budget\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add(juce::String::fromUTF8(argv[i]));
    ProbeOptions options;
    if (const auto error = parseProbeOptions(arguments, options); error.isNotEmpty()) {
        std::cerr << "juce-vst3-probe: " << error << "\n" << probeUsage();
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    for (const auto* c : listClasses(options.bundlePath))
        std::cout << "class \"" << c->name << "\" by \"" << c->manufacturerName << "\", category " << c->category
                  << ", version " << c->version << ", " << c->numInputChannels << " in / " << c->numOutputChannels
                  << " out\n";
    auto loaded = loadClass(options.bundlePath, options.className, options.render.sampleRate, options.render.blockSize);
    if (loaded.instance == nullptr)
        return fail(loaded.error);
    std::cout << "parameters: " << loaded.instance->getParameters().size() << "\n";
    for (const auto* parameter : loaded.instance->getParameters()) {
        const float value = parameter->getValue();
        std::cout << "  " << parameter->getParameterIndex() << " \"" << parameter->getName(1024) << "\" = \""
                  << parameter->getText(value, 1024) << "\"" << (parameter->getLabel().isEmpty() ? "" : " ")
                  << parameter->getLabel() << " (" << value << ")\n";
    }
    return options.outputPath.isEmpty() ? 0 : renderToFile(*loaded.instance, options);
}
