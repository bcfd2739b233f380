// Audio through the bundle: the bypass path and the unprocessed path hand the input on
// unchanged in stereo and mono, at any block size.

#include "BundleUnderTest.h"

#include "host/Renderer.h"
#include "host/TestLoop.h"

#include "ids.h"

#include <cmath>

using namespace VextoriaHost;
using namespace VextoriaTest;

namespace {

struct PathCase {
    int32_t channels;
    int32_t blockSize;
    double sampleRate;
};

void expectClipsEqual(const AudioClip& expected, const AudioClip& actual)
{
    ASSERT_EQ(actual.channelCount(), expected.channelCount());
    ASSERT_EQ(actual.frames(), expected.frames());
    for (int32_t c = 0; c < expected.channelCount(); ++c) {
        size_t mismatches = 0;
        for (size_t i = 0; i < expected.channels[c].size(); ++i)
            if (std::fabs(expected.channels[c][i] - actual.channels[c][i]) > 1e-6f)
                ++mismatches;
        EXPECT_EQ(mismatches, 0u) << "channel " << c;
    }
}

class AudioPath : public ::testing::TestWithParam<PathCase> {
protected:
    AudioClip loop() const
    {
        return generateDrumLoop({GetParam().sampleRate, 120.0, 2, GetParam().channels});
    }
    RenderSettings settings(std::vector<std::pair<Steinberg::Vst::ParamID, double>> parameters) const
    {
        RenderSettings result;
        result.blockSize = GetParam().blockSize;
        result.parameters = std::move(parameters);
        return result;
    }
};

}  // namespace

TEST_P(AudioPath, BypassCopiesTheInputEvenWithTheSlicerActive)
{
    auto host = loadBundle();
    const AudioClip input = loop();
    const RenderResult result = render(*host, input, settings({{Vextoria3Ids::kActive, 1.0},
                                                               {Vextoria3Ids::kNoDirect, 1.0},
                                                               {Vextoria3Ids::kBypass, 1.0}}));
    expectClipsEqual(input, result.output);
}

TEST_P(AudioPath, InactiveSlicerHandsTheInputOn)
{
    auto host = loadBundle();
    const AudioClip input = loop();
    const RenderResult result = render(*host, input, settings({{Vextoria3Ids::kActive, 0.0},
                                                               {Vextoria3Ids::kBypass, 0.0}}));
    expectClipsEqual(input, result.output);
}

INSTANTIATE_TEST_SUITE_P(LayoutsBlocksAndRates, AudioPath,
                         ::testing::Values(PathCase {2, 512, 44100.0}, PathCase {1, 512, 44100.0},
                                           PathCase {2, 1, 48000.0}, PathCase {1, 333, 96000.0},
                                           PathCase {2, 4096, 44100.0}));

TEST(BusLayouts, MonoAndStereoAreTakenAndMixedLayoutsRefused)
{
    auto host = loadBundle();
    Steinberg::Vst::BusInfo info {};
    EXPECT_EQ(host->configure(BusLayout::mono, 44100.0, 256), Steinberg::kResultOk);
    ASSERT_EQ(host->component()->getBusInfo(Steinberg::Vst::kAudio, Steinberg::Vst::kInput, 0, info), Steinberg::kResultOk);
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(host->configure(BusLayout::stereo, 44100.0, 256), Steinberg::kResultOk);
    ASSERT_EQ(host->component()->getBusInfo(Steinberg::Vst::kAudio, Steinberg::Vst::kOutput, 0, info), Steinberg::kResultOk);
    EXPECT_EQ(info.channelCount, 2);

    Steinberg::Vst::SpeakerArrangement stereo = Steinberg::Vst::SpeakerArr::kStereo;
    Steinberg::Vst::SpeakerArrangement mono = Steinberg::Vst::SpeakerArr::kMono;
    EXPECT_EQ(host->processor()->setBusArrangements(&stereo, 1, &mono, 1), Steinberg::kResultFalse);
    ASSERT_EQ(host->component()->getBusInfo(Steinberg::Vst::kAudio, Steinberg::Vst::kOutput, 0, info), Steinberg::kResultOk);
    EXPECT_EQ(info.channelCount, 2) << "a refused layout leaves stereo buses";
}
