#include "probe/probe_options.h"

#include "probe/numbers.h"

namespace probe {

const char* const probeUsage =
    "usage: juce-vst3-probe BUNDLE.vst3 [options]\n"
    "  lists the bundle's audio classes and the chosen class's parameters;\n"
    "  with --render also renders audio through it\n"
    "  --class NAME        class to load (default: the first)\n"
    "  --render OUT.wav    write the rendered audio to OUT.wav\n"
    "  --input IN.wav      audio to render (default: a generated test loop)\n"
    "  --seconds S         length of the generated loop (default 8, at most 3600)\n"
    "  --mono | --stereo   buses in and out (default stereo)\n"
    "  --block N           samples per block (default 512, at most 65536)\n"
    "  --rate HZ           sample rate (default 44100, or the input file's)\n"
    "  --tempo BPM         host tempo (default 120)\n"
    "  --stopped           report a stopped transport (default playing)\n"
    "  --realtime          render in real-time process mode (default offline)\n"
    "  --block-times       report the slowest and the mean block against its real-time budget\n"
    "  --param NAME=VALUE  set a parameter, value normalised 0..1 (repeatable)\n";

namespace {

// Limits that keep a mistyped number from asking for gigabytes of audio.
constexpr double maxLoopSeconds = 3600.0;
constexpr int maxBlockSize = 65536;      // samples
constexpr double maxSampleRate = 768000.0;  // Hz
constexpr double maxTempo = 999.0;          // beats per minute

// Reads the value after an option into target; false when it is missing or not in (0, most].
template <typename Number>
bool readPositive(const juce::StringArray& arguments, int& index, Number& target, Number most)
{
    if (index + 1 >= arguments.size())
        return false;
    const auto value = parseNumber<Number>(arguments[++index].toStdString());
    if (!value || !(*value > 0 && *value <= most))
        return false;
    target = *value;
    return true;
}

bool readText(const juce::StringArray& arguments, int& index, juce::String& target)
{
    if (index + 1 >= arguments.size() || arguments[index + 1].isEmpty())
        return false;
    target = arguments[++index];
    return true;
}

// One option at arguments[index] (moving index past its value); false when it is not understood.
bool readOption(const juce::StringArray& arguments, int& index, ProbeOptions& options)
{
    const auto& option = arguments[index];
    if (option == "--class") return readText(arguments, index, options.className);
    if (option == "--render") return readText(arguments, index, options.outputPath);
    if (option == "--input") return readText(arguments, index, options.inputPath);
    if (option == "--seconds") return readPositive(arguments, index, options.loopSeconds, maxLoopSeconds);
    if (option == "--block") return readPositive(arguments, index, options.render.blockSize, maxBlockSize);
    if (option == "--tempo") return readPositive(arguments, index, options.render.tempo, maxTempo);
    if (option == "--rate") {
        options.sampleRateGiven = true;
        return readPositive(arguments, index, options.render.sampleRate, maxSampleRate);
    }
    if (option == "--mono" || option == "--stereo") {
        options.numChannels = option == "--mono" ? 1 : 2;
        return true;
    }
    if (option == "--stopped") {
        options.render.playing = false;
        return true;
    }
    if (option == "--realtime") {
        options.render.realtime = true;
        return true;
    }
    if (option == "--block-times") {
        options.blockTimes = true;
        return true;
    }
    if (option == "--param" && index + 1 < arguments.size()) {
        const auto setting = parseParameterSetting(arguments[++index]);
        if (setting)
            options.parameters.push_back(*setting);
        return setting.has_value();
    }
    return false;
}

}  // namespace

ParsedOptions parseProbeOptions(const juce::StringArray& arguments)
{
    ParsedOptions parsed;
    if (arguments.isEmpty() || arguments[0].startsWith("-")) {
        parsed.error = "the first argument must be the bundle's path";
        return parsed;
    }
    parsed.options.bundlePath = arguments[0];
    for (int index = 1; index < arguments.size(); ++index) {
        const int optionIndex = index;
        if (!readOption(arguments, index, parsed.options)) {
            parsed.error = "unknown option, or a missing or bad value: "
                           + arguments.joinIntoString(" ", optionIndex, index - optionIndex + 1);
            return parsed;
        }
    }
    return parsed;
}

}  // namespace probe
