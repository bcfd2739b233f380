#pragma once
// The command line of juce-vst3-probe: one table of its options, their values and their help.

#include "probe/probe.h"

#include <charconv>
#include <functional>
#include <optional>

namespace probe {

struct ProbeOptions {
    juce::String bundlePath;
    juce::String className;        // empty: the bundle's first audio class
    juce::String outputPath;       // empty: list only, render nothing
    juce::String inputPath;        // empty: the generated test loop
    double loopSeconds = 8.0;
    int numChannels = 2;           // 1 mono, 2 stereo buses
    bool sampleRateGiven = false;  // otherwise an input file's rate is used
    bool blockTimes = false;       // report the slowest and the mean block against its budget
    RenderSettings render;
    std::vector<std::pair<juce::String, float>> parameters;  // names and normalised values
};

// The number that is the whole of text, or nothing (empty, trailing characters, overflow).
template <typename Number>
std::optional<Number> parseNumber(const juce::String& text)
{
    const auto chars = text.toStdString();
    Number value{};
    const auto [end, error] = std::from_chars(chars.data(), chars.data() + chars.size(), value);
    if (chars.empty() || error != std::errc() || end != chars.data() + chars.size())
        return std::nullopt;
    return value;
}

// A number in (0, most] into target, or false; the limits keep a mistyped number from asking for gigabytes.
template <typename Number>
bool readPositive(Number& target, const juce::String& text, Number most)
{
    const auto value = parseNumber<Number>(text);
    target = value.value_or(target);
    return value && *value > 0 && *value <= most;
}

// Reads "name=value" with a value 0..1.
inline bool readParameter(ProbeOptions& options, const juce::String& text)
{
    const int separator = text.lastIndexOfChar('=');
    const auto value = parseNumber<float>(text.substring(separator + 1));
    if (separator <= 0 || !value || !(*value >= 0.0f && *value <= 1.0f))
        return false;
    options.parameters.emplace_back(text.substring(0, separator), *value);
    return true;
}

// A text value into member; an empty one is refused.
inline auto text(juce::String ProbeOptions::*member)
{
    return [member](ProbeOptions& options, const juce::String& value) {
        options.*member = value;
        return value.isNotEmpty();
    };
}

// A flag: what it sets, always understood.
inline auto flag(void (*set)(ProbeOptions&))
{
    return [set](ProbeOptions& options, const juce::String&) {
        set(options);
        return true;
    };
}

struct OptionSpec {
    const char* name;
    const char* valueName;  // null for a flag
    const char* help;
    std::function<bool(ProbeOptions&, const juce::String&)> read;  // false for a bad value
};

inline const std::vector<OptionSpec>& probeOptionTable()
{
    using O = ProbeOptions&;
    using S = const juce::String&;
    static const std::vector<OptionSpec> table{
        {"--class", "NAME", "class to load (default: the first)", text(&ProbeOptions::className)},
        {"--render", "OUT.wav", "write the rendered audio to OUT.wav", text(&ProbeOptions::outputPath)},
        {"--input", "IN.wav", "audio to render (default: a generated test loop)", text(&ProbeOptions::inputPath)},
        {"--seconds", "S", "length of the generated loop (default 8, at most 3600)",
         [](O o, S v) { return readPositive(o.loopSeconds, v, 3600.0); }},
        {"--mono", nullptr, "mono buses in and out", flag([](O o) { o.numChannels = 1; })},
        {"--stereo", nullptr, "stereo buses in and out (the default)", flag([](O o) { o.numChannels = 2; })},
        {"--block", "N", "samples per block (default 512, at most 65536)",
         [](O o, S v) { return readPositive(o.render.blockSize, v, 65536); }},
        {"--rate", "HZ", "sample rate (default 44100, or the input file's)",
         [](O o, S v) { return o.sampleRateGiven = readPositive(o.render.sampleRate, v, 768000.0); }},
        {"--tempo", "BPM", "host tempo (default 120)", [](O o, S v) { return readPositive(o.render.tempo, v, 999.0); }},
        {"--stopped", nullptr, "report a stopped transport (default playing)",
         flag([](O o) { o.render.playing = false; })},
        {"--realtime", nullptr, "render in real-time process mode (default offline)",
         flag([](O o) { o.render.realtime = true; })},
        {"--block-times", nullptr, "report the slowest and the mean block against its real-time budget",
         flag([](O o) { o.blockTimes = true; })},
        {"--param", "NAME=VALUE", "set a parameter, value normalised 0..1 (repeatable)", readParameter},
    };
    return table;
}

// Reads the command line into options; empty, or why it is not understood.
inline juce::String parseProbeOptions(const juce::StringArray& arguments, ProbeOptions& options)
{
    if (arguments.isEmpty() || arguments[0].startsWith("-"))
        return "the first argument must be the bundle's path";
    options.bundlePath = arguments[0];
    const auto& table = probeOptionTable();
    for (int index = 1; index < arguments.size(); ++index) {
        const auto spec = std::find_if(table.begin(), table.end(), [&](auto& o) { return arguments[index] == o.name; });
        const int taken = spec != table.end() && spec->valueName != nullptr ? 2 : 1;
        if (spec == table.end() || index + taken > arguments.size()
            || !spec->read(options, taken == 2 ? arguments[index + 1] : juce::String()))
            return "unknown option, or a missing or bad value: " + arguments.joinIntoString(" ", index, taken);
        index += taken - 1;
    }
    return {};
}

inline juce::String probeUsage()
{
    juce::String usage = "usage: juce-vst3-probe BUNDLE.vst3 [options]\n"
                         "  lists the bundle's audio classes and the chosen class's parameters;\n"
                         "  with --render also renders audio through it\n";
    for (const auto& spec : probeOptionTable())
        usage << "  " << (spec.name + (spec.valueName ? " " + juce::String(spec.valueName) : "")).paddedRight(' ', 20)
              << spec.help << "\n";
    return usage;
}

}  // namespace probe
