#pragma once
// The command line of juce-vst3-probe.

#include "probe/offline_render.h"
#include "probe/parameter_access.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace probe {

struct ProbeOptions {
    juce::String bundlePath;
    juce::String className;       // empty: the bundle's first audio class
    juce::String outputPath;      // empty: list only, render nothing
    juce::String inputPath;       // empty: a generated test loop
    double loopSeconds = 8.0;     // length of the generated loop
    int numChannels = 2;          // 1 mono, 2 stereo buses
    bool sampleRateGiven = false; // an input file's rate is used unless one is given
    bool blockTimes = false;      // report the slowest and the mean block against its budget
    RenderSettings render;
    std::vector<ParameterSetting> parameters;
};

struct ParsedOptions {
    ProbeOptions options;
    juce::String error;  // empty when the command line was understood
};

ParsedOptions parseProbeOptions(const juce::StringArray& arguments);

extern const char* const probeUsage;

}  // namespace probe
