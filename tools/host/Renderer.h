#pragma once
// Renders a clip through a plug-in instance block by block, with a playing transport,
// the way a DAW bounces a track.

#include "host/AudioClip.h"
#include "host/PluginHost.h"

#include <utility>
#include <vector>

namespace VextoriaHost {

struct RenderSettings {
    int32_t blockSize = 512;  // samples per process call
    double tempo = 120.0;     // beats per minute reported by the transport
    // Normalised values sent at offset 0 of the first block, in this order (a program change
    // first lets later entries override the program's values).
    std::vector<std::pair<Steinberg::Vst::ParamID, double>> parameters;
};

struct RenderResult {
    AudioClip output;   // same channel count, rate and length as the input
    int64_t blocks = 0; // process calls made
};

// Configures the host for the clip's channels (1 or 2) and rate, starts it, renders and
// stops it. Throws HostError when the plug-in refuses the layout or the set-up.
RenderResult render(PluginHost& host, const AudioClip& input, const RenderSettings& settings);

}  // namespace VextoriaHost
