// juce-vst3-probe: loads and renders a VST3 bundle through JUCE's hosting code, an independent check.

#include "probe/probe.h"

#include <iostream>

using namespace probe;

int main(int argc, char* argv[])
{
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add(juce::String::fromUTF8(argv[i]));
    ProbeOptions options;
    if (const auto error = parseProbeOptions(arguments, options); error.isNotEmpty()) {
        std::cerr << "juce-vst3-probe: " << error << "\n" << probeUsage;
        return 2;
    }
    const auto fail = [](const juce::String& why) {
        std::cerr << "juce-vst3-probe: " << why << "\n";
        return 1;
    };
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    for (const auto* c : listClasses(options.bundlePath))
        std::cout << "class \"" << c->name << "\" by \"" << c->manufacturerName << "\", " << c->category << " "
                  << c->version << ", " << c->numInputChannels << " in / " << c->numOutputChannels << " out\n";
    const auto& settings = options.render;
    auto loaded = loadClass(options.bundlePath, {}, settings.sampleRate, settings.blockSize);
    if (loaded.instance == nullptr)
        return fail(loaded.error);
    auto& plugin = *loaded.instance;
    std::cout << "parameters: " << plugin.getParameters().size() << "\n";
    for (const auto* p : plugin.getParameters())
        std::cout << "  " << p->getParameterIndex() << " \"" << p->getName(1024) << "\" = \""
                  << p->getText(p->getValue(), 1024) << "\" " << p->getLabel() << " (" << p->getValue() << ")\n";
    if (options.outputPath.isEmpty())
        return 0;

    for (const auto& [name, value] : options.parameters)
        if (!setParameter(plugin, name, value))
            return fail("the plug-in has no parameter \"" + name + "\"");
    const auto input = makeTestLoop(options.numChannels, settings.sampleRate, settings.tempo, 8.0);
    const auto rendered = render(plugin, input, settings);
    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile(options.outputPath);
    if (rendered.error.isNotEmpty())
        return fail(rendered.error);
    if (const auto error = writeWav(output, rendered.output, settings.sampleRate); error.isNotEmpty())
        return fail(error);
    const int length = input.getNumSamples();
    std::cout << "rendered " << length << " samples, " << (options.numChannels == 1 ? "mono" : "stereo") << ", "
              << settings.sampleRate << " Hz, blocks of " << settings.blockSize << ", tempo " << settings.tempo
              << ", peak in " << input.getMagnitude(0, length) << " out " << rendered.output.getMagnitude(0, length)
              << " -> " << output.getFullPathName() << "\n";
    if (options.blockTimes && rendered.blocks > 0) {
        const double percent = 100.0 * settings.sampleRate / settings.blockSize;  // per second of a block's budget
        std::cout << "blocks " << rendered.blocks << ", " << (settings.realtime ? "real-time" : "offline")
                  << " mode: slowest " << percent * rendered.worstBlockSeconds << " % (in CPU time "
                  << percent * rendered.worstBlockCpuSeconds << " %), mean "
                  << percent * rendered.totalBlockSeconds / rendered.blocks << " % of the block's budget\n";
    }
    return 0;
}
