#pragma once
// An independent host for the tests and for juce-vst3-probe, on JUCE's VST3 hosting code only.

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <charconv>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace probe {

// The audio classes the bundle offers, as a host's scan sees them.
inline juce::OwnedArray<juce::PluginDescription> listClasses(const juce::String& bundlePath)
{
    juce::OwnedArray<juce::PluginDescription> classes;
    juce::VST3PluginFormat format;
    if (format.fileMightContainThisPluginType(bundlePath))
        format.findAllTypesForFile(classes, bundlePath);
    return classes;
}

struct LoadedPlugin {
    std::unique_ptr<juce::AudioPluginInstance> instance;  // null when loading failed, and error says why
    juce::String error;
};

// Creates the class named className (the first when empty); message thread only.
inline LoadedPlugin loadClass(const juce::String& bundle, const juce::String& className, double rate = 44100.0,
                              int blockSize = 512)
{
    if (!juce::File(bundle).isDirectory())
        return {nullptr, "no VST3 bundle at " + bundle};
    const auto classes = listClasses(bundle);
    LoadedPlugin loaded{nullptr, classes.isEmpty() ? "the bundle offers no audio class"
                                                   : "the bundle offers no class named \"" + className + "\""};
    for (const auto* description : classes)
        if (className.isEmpty() || description->name == className) {
            loaded.instance = juce::VST3PluginFormat().createInstanceFromDescription(*description, rate, blockSize,
                                                                                      loaded.error);
            if (loaded.instance == nullptr && loaded.error.isEmpty())
                loaded.error = "the class \"" + description->name + "\" could not be created";
            break;
        }
    return loaded;
}

struct RenderSettings {
    double sampleRate = 44100.0;  // Hz, all positive
    int blockSize = 512;          // samples, the most per processBlock call
    double tempo = 120.0;         // beats per minute
    bool playing = true, realtime = false;  // realtime: the process mode, offline otherwise
};

// A playing (or stopped) transport at a steady tempo in 4/4; the renderer moves its position on.
struct TransportPlayHead : juce::AudioPlayHead {
    explicit TransportPlayHead(const RenderSettings& settings) : settings(settings) {}
    juce::Optional<PositionInfo> getPosition() const override
    {
        const double seconds = static_cast<double>(position) / settings.sampleRate;
        const double quarters = seconds * settings.tempo / 60.0, bars = std::floor(quarters / 4.0);
        PositionInfo info;
        info.setBpm(settings.tempo);
        info.setTimeSignature(TimeSignature{4, 4});
        info.setTimeInSamples(position);
        info.setTimeInSeconds(seconds);
        info.setPpqPosition(quarters);
        info.setPpqPositionOfLastBarStart(bars * 4.0);
        info.setBarCount(static_cast<juce::int64>(bars));
        info.setIsPlaying(settings.playing);
        return info;
    }

    const RenderSettings settings;
    juce::int64 position = 0;  // samples since the start of the song
};

// Holds a plug-in prepared for mono (1) or stereo (2) buses and feeds it blocks; releases it at the end.
class BlockRenderer {
public:
    BlockRenderer(juce::AudioPluginInstance& plugin, int numChannels, const RenderSettings& settings)
        : plugin(plugin), settings(settings), playHead(settings)
    {
        const auto set = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
        if (!plugin.setBusesLayout({{set}, {set}})) {
            failure = "the plug-in refuses " + set.getDescription() + " buses";
            return;
        }
        plugin.setPlayHead(&playHead);
        plugin.setNonRealtime(!settings.realtime);
        plugin.prepareToPlay(settings.sampleRate, settings.blockSize);
    }
    ~BlockRenderer()
    {
        if (failure.isEmpty())
            plugin.releaseResources();
        plugin.setPlayHead(nullptr);
    }
    const juce::String& error() const { return failure; }  // empty when prepared, else why nothing may render

    // Input samples [start, start + length) into the same region of output; 1 <= length <= blockSize.
    void process(const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output, int start, int length)
    {
        jassert(failure.isEmpty() && length >= 1 && length <= settings.blockSize);
        for (int channel = 0; channel < output.getNumChannels(); ++channel)
            output.copyFrom(channel, start, input, channel, start, length);
        // The plug-in works in place on exactly this block's samples (no allocation: at most 32 channels).
        juce::AudioBuffer<float> block(output.getArrayOfWritePointers(), output.getNumChannels(), start, length);
        midi.clear();
        plugin.processBlock(block, midi);
        playHead.position += length;
    }

private:
    juce::AudioPluginInstance& plugin;
    RenderSettings settings;
    TransportPlayHead playHead;
    juce::MidiBuffer midi;
    juce::String failure;
    JUCE_DECLARE_NON_COPYABLE(BlockRenderer)
};

struct RenderResult {
    juce::AudioBuffer<float> output;  // as many channels and samples as the input
    juce::String error;               // empty on success
    // Wall-clock time of the slowest processBlock call, the thread's CPU time in the costliest, and all calls' time.
    double worstBlockSeconds = 0.0, worstBlockCpuSeconds = 0.0, totalBlockSeconds = 0.0;
    int blocks = 0;
};

// Renders the whole input in blocks, each timed; its channel count (1 or 2) chooses the buses.
inline RenderResult render(juce::AudioPluginInstance& plugin, const juce::AudioBuffer<float>& input,
                           const RenderSettings& settings)
{
    // CPU time of this thread: unlike wall-clock time, not inflated when other work preempts it.
    const auto cpuSeconds = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
    };
    RenderResult result;
    BlockRenderer renderer(plugin, input.getNumChannels(), settings);
    if ((result.error = renderer.error()).isNotEmpty())
        return result;
    result.output.setSize(input.getNumChannels(), input.getNumSamples());
    for (int start = 0; start < input.getNumSamples(); start += settings.blockSize, ++result.blocks) {
        const double cpuBefore = cpuSeconds();
        const auto before = std::chrono::steady_clock::now();
        renderer.process(input, result.output, start, std::min(settings.blockSize, input.getNumSamples() - start));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - before;
        result.worstBlockSeconds = std::max(result.worstBlockSeconds, took.count());
        result.worstBlockCpuSeconds = std::max(result.worstBlockCpuSeconds, cpuSeconds() - cpuBefore);
        result.totalBlockSeconds += took.count();
    }
    return result;
}

// A drum-like loop, the same on every call; its channels differ, so a swapped channel shows.
inline juce::AudioBuffer<float> makeTestLoop(int numChannels, double sampleRate, double tempo, double seconds)
{
    constexpr double twoPi = juce::MathConstants<double>::twoPi;
    const double beat = 60.0 / tempo;  // seconds
    juce::AudioBuffer<float> loop(numChannels, static_cast<int>(seconds * sampleRate));
    for (int channel = 0; channel < numChannels; ++channel) {
        juce::Random noise(20240601 + channel);
        for (int i = 0; i < loop.getNumSamples(); ++i) {
            // In each beat a decaying 55 Hz thump, a tone per channel, a noise tick on the off-beat eighth.
            const double t = std::fmod(i / sampleRate, beat), offBeat = t - beat / 2.0;
            const double thump = 0.5 * std::sin(twoPi * 55.0 * t) * std::exp(-t * 12.0);
            const double tone = 0.2 * std::sin(twoPi * 220.0 * (channel + 1) * t);
            const double tick = offBeat < 0.0 ? 0.0 : (noise.nextFloat() * 2.0 - 1.0) * std::exp(-offBeat * 60.0) * 0.3;
            loop.setSample(channel, i, static_cast<float>(thump + tone + tick));
        }
    }
    return loop;
}

// Writes 32-bit float samples; empty, or why not. Only regular files are replaced, anything else refused.
inline juce::String writeWav(const juce::File& file, const juce::AudioBuffer<float>& samples, double sampleRate)
{
    std::error_code ignored;
    const auto status = std::filesystem::status(file.getFullPathName().toStdString(), ignored);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return "refusing to write to something that is not a regular file: " + file.getFullPathName();
    if (!(sampleRate > 0.0) || samples.getNumChannels() < 1)
        return "nothing to write: no channels or no sample rate";
    // Written beside the target and moved over it, so a failure never leaves half a file.
    juce::TemporaryFile temporary(file);
    {
        auto stream = temporary.getFile().createOutputStream();
        if (stream == nullptr)
            return "cannot write to " + file.getParentDirectory().getFullPathName();
        const auto channels = static_cast<unsigned>(samples.getNumChannels());
        std::unique_ptr<juce::AudioFormatWriter> writer(
            juce::WavAudioFormat().createWriterFor(stream.get(), sampleRate, channels, 32, {}, 0));
        if (writer == nullptr)
            return "the WAV writer refuses this format";
        stream.release();  // now owned by the writer
        if (!writer->writeFromAudioSampleBuffer(samples, 0, samples.getNumSamples()))
            return "could not write " + temporary.getFile().getFullPathName();
    }
    if (!temporary.overwriteTargetFileWithTemporary())
        return "could not replace " + file.getFullPathName();
    return {};
}

inline juce::AudioProcessorParameter* findParameter(juce::AudioProcessor& processor, const juce::String& name)
{
    for (auto* parameter : processor.getParameters())
        if (parameter->getName(1024) == name)
            return parameter;
    return nullptr;
}

// Sets the named parameter to a normalised value as automation would; false (nothing set) when there is none.
inline bool setParameter(juce::AudioProcessor& processor, const juce::String& name, float value)
{
    auto* parameter = findParameter(processor, name);
    if (parameter != nullptr)
        parameter->setValueNotifyingHost(value);
    return parameter != nullptr;
}

struct ProbeOptions {
    juce::String bundlePath, outputPath;  // outputPath empty: no render
    int numChannels = 2;                   // 1 mono, 2 stereo buses
    bool blockTimes = false;  // report the slowest and the mean block against its budget
    RenderSettings render;
    std::vector<std::pair<juce::String, float>> parameters;  // names and normalised values
};

// The number that is the whole of text, in (0, most] (or [0, most]; no gigabytes), into target; or false.
template <typename Number>
bool readNumber(Number& target, const juce::String& text, Number most, bool zeroAllowed = false)
{
    const auto chars = text.toStdString();
    Number value{};
    const auto [end, error] = std::from_chars(chars.data(), chars.data() + chars.size(), value);
    const bool taken = !chars.empty() && error == std::errc() && end == chars.data() + chars.size()
                       && (zeroAllowed ? value >= 0 : value > 0) && value <= most;
    target = taken ? value : target;
    return taken;
}

// An option with a value into o; false when the option is unknown or its value bad or missing (empty).
inline bool readValue(ProbeOptions& o, const juce::String& name, const juce::String& value)
{
    if (name == "--render")
        return (o.outputPath = value).isNotEmpty();
    if (name == "--param") {
        const auto parameterName = value.upToLastOccurrenceOf("=", false, false);
        float normalised = 0.0f;
        if (!value.contains("=") || parameterName.isEmpty()
            || !readNumber(normalised, value.fromLastOccurrenceOf("=", false, false), 1.0f, true))
            return false;
        o.parameters.emplace_back(parameterName, normalised);
        return true;
    }
    return name == "--block"   ? readNumber(o.render.blockSize, value, 65536)
           : name == "--rate"  ? readNumber(o.render.sampleRate, value, 768000.0)
           : name == "--tempo" ? readNumber(o.render.tempo, value, 999.0)
                               : false;
}

// Reads the command line into options; empty, or why it is not understood.
inline juce::String parseProbeOptions(const juce::StringArray& arguments, ProbeOptions& o)
{
    if (arguments.isEmpty() || arguments[0].startsWith("-"))
        return "the first argument must be the bundle's path";
    o.bundlePath = arguments[0];
    for (int index = 1; index < arguments.size(); ++index) {
        const auto& name = arguments[index];
        if (name == "--mono")
            o.numChannels = 1;
        else if (name == "--realtime" || name == "--block-times")
            (name == "--realtime" ? o.render.realtime : o.blockTimes) = true;
        else if (!readValue(o, name, arguments[++index]))  // beyond the end: an empty value
            return "unknown option, or a missing or bad value: " + arguments.joinIntoString(" ", index - 1, 2);
    }
    return {};
}

inline const char* const probeUsage =
    "usage: juce-vst3-probe BUNDLE.vst3 [--param NAME=VALUE]... [--render OUT.wav [--mono] [--block N]\n"
    "         [--rate HZ] [--tempo BPM] [--realtime] [--block-times]]\n"
    "  lists the bundle's classes and the first one's parameters; --render renders an 8 s test loop\n";

}  // namespace probe
