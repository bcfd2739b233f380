// With the default program ("Active" off) the processor hands its input through unchanged,
// whatever the buses, rate, block size and transport.

#include "loaded_plugin_fixture.h"

#include "probe/offline_render.h"
#include "probe/test_loop.h"

namespace probe::testing {
namespace {

struct PassThroughCase {
    int numChannels;
    double sampleRate;  // Hz
    int blockSize;      // samples
    bool playing;
};

// Names each case, such as "stereo_44100Hz_blocks512_playing".
std::string caseName(const ::testing::TestParamInfo<PassThroughCase>& info)
{
    const auto& c = info.param;
    return std::string(c.numChannels == 1 ? "mono" : "stereo") + "_" + std::to_string(int(c.sampleRate)) + "Hz_blocks"
           + std::to_string(c.blockSize) + (c.playing ? "_playing" : "_stopped");
}

class PassThrough : public LoadedPluginTest, public ::testing::WithParamInterface<PassThroughCase> {};

TEST_P(PassThrough, OutputEqualsInput)
{
    const auto& param = GetParam();
    constexpr double tempo = 120.0;
    const auto input = makeTestLoop(param.numChannels, param.sampleRate, tempo, 1.3);
    const auto rendered = render(plugin(), input, {param.sampleRate, param.blockSize, tempo, param.playing});
    ASSERT_TRUE(rendered.error.isEmpty()) << rendered.error.toStdString();
    expectIdentical(rendered.output, input);
}

INSTANTIATE_TEST_SUITE_P(BusesRatesAndBlocks, PassThrough,
                         ::testing::Values(PassThroughCase{2, 44100.0, 512, true},
                                           PassThroughCase{1, 44100.0, 512, true},
                                           PassThroughCase{2, 48000.0, 1, true},
                                           PassThroughCase{1, 96000.0, 4096, true},
                                           PassThroughCase{2, 96000.0, 333, false},
                                           PassThroughCase{1, 48000.0, 4096, false}),
                         caseName);

}  // namespace
}  // namespace probe::testing
