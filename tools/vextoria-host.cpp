// Renders a WAVE file (or a generated drum loop) through the plug-in bundle and prints a
// one-line summary of what it did, or lists the controller's parameters.

#include "host/ParameterList.h"
#include "host/Renderer.h"
#include "host/TestLoop.h"
#include "host/WavFile.h"

#include "ids.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

using namespace VextoriaHost;

namespace {

const char* const kUsage =
    "usage: vextoria-host [--bundle PATH] [--input FILE.wav] [--output FILE.wav] [--tempo BPM]\n"
    "                     [--bars N] [--block N] [--rate HZ] [--program N] [--param ID=VALUE]... [--mono]\n"
    "       vextoria-host [--bundle PATH] --list-params\n"
    "Renders FILE.wav, or a generated drum loop of N bars, through the plug-in and prints a summary.\n"
    "--param sets a normalised value 0..1 at the start; --program selects a factory program 0..15.\n"
    "--list-params prints the controller's parameters (id, title, units, steps, default, its text).\n";

class UsageError : public HostError {
public:
    using HostError::HostError;
};

struct Options {
    std::string bundle = VEXTORIA_BUNDLE_PATH;
    std::string input;
    std::string output;
    double tempo = 120.0;
    int32_t bars = 4;
    int32_t block = 512;
    std::optional<double> rate;
    std::optional<int32_t> program;
    std::vector<std::pair<Steinberg::Vst::ParamID, double>> parameters;
    bool mono = false;
    bool listParams = false;
};

template <typename Number>
std::string numberText(Number value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

template <typename Number>
Number parseNumber(std::string_view text, const char* option, Number low, Number high)
{
    Number value {};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high))
        throw UsageError(std::string(option) + " takes a number from " + numberText(low) + " to " + numberText(high) +
                         ", not \"" + std::string(text) + "\"");
    return value;
}

std::pair<Steinberg::Vst::ParamID, double> parseParameter(std::string_view text)
{
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        throw UsageError("--param takes ID=VALUE, not \"" + std::string(text) + "\"");
    const auto id = parseNumber<int32_t>(text.substr(0, equals), "--param ID", 0, Vextoria3Ids::kNumParams - 1);
    if (id == Vextoria3Ids::kRetired12)
        throw UsageError("--param: 12 is not a parameter (--list-params shows them)");
    return {static_cast<Steinberg::Vst::ParamID>(id), parseNumber<double>(text.substr(equals + 1), "--param VALUE", 0.0, 1.0)};
}

bool takesValue(std::string_view option)
{
    for (const char* known : {"--bundle", "--input", "--output", "--tempo", "--bars", "--block", "--rate", "--program", "--param"})
        if (option == known)
            return true;
    return false;
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--mono") {
            options.mono = true;
            continue;
        }
        if (option == "--list-params") {
            options.listParams = true;
            continue;
        }
        if (option == "--help" || option == "-h")
            throw UsageError("");
        if (!takesValue(option))
            throw UsageError("unknown option: " + std::string(option));
        if (i + 1 >= argc)
            throw UsageError(std::string(option) + " needs a value");
        const std::string_view value = argv[++i];
        if (option == "--bundle")
            options.bundle = value;
        else if (option == "--input")
            options.input = value;
        else if (option == "--output")
            options.output = value;
        else if (option == "--tempo")
            options.tempo = parseNumber<double>(value, "--tempo", 1.0, 999.0);
        else if (option == "--bars")
            options.bars = parseNumber<int32_t>(value, "--bars", 1, 1000);
        else if (option == "--block")
            options.block = parseNumber<int32_t>(value, "--block", 1, 65536);
        else if (option == "--rate")
            options.rate = parseNumber<double>(value, "--rate", 8000.0, 384000.0);
        else if (option == "--program")
            options.program = parseNumber<int32_t>(value, "--program", 0, Vextoria3Ids::kNumPrograms - 1);
        else if (option == "--param")
            options.parameters.push_back(parseParameter(value));
    }
    if (!options.input.empty() && options.rate)
        throw UsageError("--rate sets the generated loop's rate; an input file keeps its own");
    return options;
}

AudioClip mixToMono(const AudioClip& clip)
{
    AudioClip mono(1, clip.frames(), clip.sampleRate);
    for (const auto& channel : clip.channels)
        for (size_t i = 0; i < channel.size(); ++i)
            mono.channels[0][i] += channel[i] / static_cast<float>(clip.channelCount());
    return mono;
}

AudioClip loadInput(const Options& options)
{
    AudioClip clip = options.input.empty()
                         ? generateDrumLoop({options.rate.value_or(44100.0), options.tempo, options.bars, options.mono ? 1 : 2})
                         : readWav(options.input);
    return options.mono && clip.channelCount() == 2 ? mixToMono(clip) : clip;
}

RenderSettings renderSettings(const Options& options)
{
    RenderSettings settings;
    settings.blockSize = options.block;
    settings.tempo = options.tempo;
    if (options.program)  // first, so that --param values override the program's
        settings.parameters.emplace_back(Vextoria3Ids::kFactoryPresets,
                                         static_cast<double>(*options.program) / (Vextoria3Ids::kNumPrograms - 1));
    settings.parameters.insert(settings.parameters.end(), options.parameters.begin(), options.parameters.end());
    return settings;
}

int listParams(const Options& options)
{
    PluginHost host(options.bundle);
    if (!host.controller())
        throw HostError(host.processorClass().name + " has no edit controller, so no parameter list");
    std::puts("id\ttitle\tunits\tsteps\tdefault\tdefault text");
    for (const ParameterLine& parameter : listParameters(*host.controller()))
        std::puts(formatParameterLine(parameter).c_str());
    return 0;
}

// Refused up front so that no render is wasted: the output must be a file that can be opened
// for writing. writeWav checks again when it writes.
void checkWritable(const std::string& path)
{
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    if (existed && !std::filesystem::is_regular_file(path, error))
        throw HostError(path + " is not a regular file; nothing written");
    std::FILE* file = std::fopen(path.c_str(), "ab"); // appends nothing: an existing file stays as it is
    if (file == nullptr)
        throw HostError("cannot write " + path + ": " + std::strerror(errno) + "; nothing rendered");
    std::fclose(file);
    if (!existed)
        std::filesystem::remove(path, error);
}

// "1 (Rythmrepeat)", the controller's name for the program, or "unchanged".
std::string programText(PluginHost& host, const std::optional<int32_t>& program)
{
    if (!program)
        return "unchanged";
    std::string text = std::to_string(*program);
    if (host.controller() != nullptr) {
        const std::string name = valueText(*host.controller(), Vextoria3Ids::kFactoryPresets,
                                           static_cast<double>(*program) / (Vextoria3Ids::kNumPrograms - 1));
        if (!name.empty())
            text += " (" + name + ")";
    }
    return text;
}

int run(const Options& options)
{
    if (options.listParams)
        return listParams(options);
    if (!options.output.empty())
        checkWritable(options.output);
    const AudioClip input = loadInput(options);
    PluginHost host(options.bundle);
    const auto started = std::chrono::steady_clock::now();
    const RenderResult result = render(host, input, renderSettings(options));
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
    if (!options.output.empty())
        writeWav(options.output, result.output, WavFormat::float32);

    const Levels in = measureLevels(input), out = measureLevels(result.output);
    std::printf("%s: %lld frames, %lld blocks of %d, %.0f Hz %s, tempo %.2f, program %s, in peak %.4f rms %.4f, "
                "out peak %.4f rms %.4f, %.3f s%s%s\n",
                host.processorClass().name.c_str(), static_cast<long long>(input.frames()),
                static_cast<long long>(result.blocks), options.block, input.sampleRate,
                input.channelCount() == 1 ? "mono" : "stereo", options.tempo,
                programText(host, options.program).c_str(), in.peak, in.rms, out.peak,
                out.rms, wall.count(), options.output.empty() ? "" : ", wrote ", options.output.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return run(parseOptions(argc, argv));
    } catch (const UsageError& error) {
        if (*error.what())
            std::fprintf(stderr, "vextoria-host: %s\n", error.what());
        std::fputs(kUsage, *error.what() ? stderr : stdout);
        return *error.what() ? 2 : 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vextoria-host: %s\n", error.what());
        return 1;
    }
}
