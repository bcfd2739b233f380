#pragma once
// Integration helpers: the bundle in a fresh host, the common slicer settings, a repeating instance.

#include "host/PluginHost.h"
#include "host/ProcessData.h"
#include "host/Renderer.h"
#include "host/TestLoop.h"

#include "ids.h"

#include <gtest/gtest.h>

#include <memory>

namespace VextoriaTest {

using Parameters = std::vector<std::pair<Steinberg::Vst::ParamID, double>>;

constexpr int64_t kBar = 88200;   // samples at 120 BPM and 44.1 kHz
constexpr int64_t kSlice = 11025; // two slices per beat

inline std::unique_ptr<VextoriaHost::PluginHost> loadBundle()
{
    return std::make_unique<VextoriaHost::PluginHost>(VEXTORIA_BUNDLE_PATH);
}

// The slicer on with every choice but the repeat switched off and the gate fully open.
inline Parameters repeatOnly(double sliceAmount, const Parameters& extra = {})
{
    Parameters parameters = {{Vextoria3Ids::kActive, 1.0},   {Vextoria3Ids::kSliceAmt, sliceAmount},
                             {Vextoria3Ids::kGateSize, 1.0}, {Vextoria3Ids::kReverseAmt, 0.0},
                             {Vextoria3Ids::kRollAmt, 0.0},  {Vextoria3Ids::kPitchAmt, 0.0},
                             {Vextoria3Ids::kPanAmt, 0.0},   {Vextoria3Ids::kFxAmt, 0.0}};
    parameters.insert(parameters.end(), extra.begin(), extra.end());
    return parameters;
}

// An instance reseeding at every transport start, so equal parameters render equal; each render sets all it needs.
class ReplayingInstance {
public:
    VextoriaHost::AudioClip render(const VextoriaHost::AudioClip& input, Parameters parameters)
    {
        parameters.push_back({Vextoria3Ids::kReplayRndSeq, 0.5});
        return VextoriaHost::render(*host, input, {512, 120.0, parameters}).output;
    }
    int64_t tailSamples() const { return host->processor()->getTailSamples(); }

private:
    std::unique_ptr<VextoriaHost::PluginHost> host = loadBundle();
};

} // namespace VextoriaTest
