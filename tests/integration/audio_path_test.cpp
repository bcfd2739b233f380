// Audio through the bundle: the bypass path and the inactive slicer hand the input on
// unchanged in stereo and mono, at any block size and whatever the slicer's other settings.

#include "BundleUnderTest.h"

#include "host/Renderer.h"
#include "host/TestLoop.h"

#include <cmath>

using namespace VextoriaHost;
using namespace VextoriaTest;

namespace {

struct PathCase {
    int32_t channels;
    int32_t blockSize;
    double sampleRate;
};

class AudioPath : public ::testing::TestWithParam<PathCase> {};

}  // namespace

TEST_P(AudioPath, BypassAndTheInactiveSlicerHandTheInputOnUnchanged)
{
    const AudioClip input = generateDrumLoop({GetParam().sampleRate, 120.0, 2, GetParam().channels});
    const struct {
        const char* name;
        Parameters parameters;
    } paths[] = {{"bypass with the slicer active",
                  {{Vextoria3Ids::kActive, 1.0}, {Vextoria3Ids::kNoDirect, 1.0}, {Vextoria3Ids::kBypass, 1.0}}},
                 {"inactive slicer", repeatOnly(1.0, {{Vextoria3Ids::kActive, 0.0}, {Vextoria3Ids::kBypass, 0.0},
                                                      {Vextoria3Ids::kReverseAmt, 1.0}, {Vextoria3Ids::kFxAmt, 1.0}})}};
    for (const auto& path : paths) {
        auto host = loadBundle();
        const AudioClip output = render(*host, input, {GetParam().blockSize, 120.0, path.parameters}).output;
        ASSERT_EQ(output.channelCount(), input.channelCount()) << path.name;
        ASSERT_EQ(output.frames(), input.frames()) << path.name;
        for (int32_t c = 0; c < input.channelCount(); ++c) {
            size_t mismatches = 0;
            for (size_t i = 0; i < input.channels[c].size(); ++i)
                mismatches += std::fabs(input.channels[c][i] - output.channels[c][i]) > 1e-6f ? 1 : 0;
            EXPECT_EQ(mismatches, 0u) << path.name << ", channel " << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LayoutsBlocksAndRates, AudioPath,
                         ::testing::Values(PathCase {2, 512, 44100.0}, PathCase {1, 512, 44100.0},
                                           PathCase {2, 1, 48000.0}, PathCase {1, 333, 96000.0},
                                           PathCase {2, 4096, 44100.0}));
