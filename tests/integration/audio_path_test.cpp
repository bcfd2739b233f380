// Audio through the bundle: the bypass path and the unprocessed path hand the input on
// unchanged in stereo and mono, at any block size.

#include "BundleUnderTest.h"

#include "host/Renderer.h"
#include "host/TestLoop.h"

#include "ids.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

namespace {

// A running stereo instance whose blocks the test shapes itself.
class OddBlocks : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = loadBundle();
        ASSERT_EQ(host->configure(BusLayout::stereo, 44100.0, kMaxBlock), Steinberg::kResultOk);
        host->start();
    }

    static void fill(float* samples, int32_t count, float value) { std::fill(samples, samples + count, value); }

    static constexpr int32_t kMaxBlock = 256;
    std::unique_ptr<PluginHost> host;
};

}  // namespace

TEST_F(OddBlocks, BlockLongerThanTheMaximumIsWrittenWhole)
{
    constexpr int32_t frames = 1000;
    ProcessBlock block(2, 2, frames);
    const AudioClip input = generateDrumLoop({44100.0, 120.0, 1, 2});
    for (int32_t c = 0; c < 2; ++c) {
        std::copy_n(input.channels[static_cast<size_t>(c)].begin(), frames, block.audio.input(c));
        fill(block.audio.output(c), frames, std::numeric_limits<float>::quiet_NaN());
    }
    block.inputChanges.addPoint(Vextoria3Ids::kBypass, 0, 1.0);
    ASSERT_EQ(host->process(block.prepare(frames)), Steinberg::kResultOk);
    for (int32_t c = 0; c < 2; ++c)
        EXPECT_TRUE(std::equal(block.audio.output(c), block.audio.output(c) + frames,
                               input.channels[static_cast<size_t>(c)].begin()))
            << "channel " << c;
}

TEST_F(OddBlocks, MissingInputBusReadsAsSilence)
{
    for (double bypass : {1.0, 0.0}) {
        ProcessBlock block(0, 2, kMaxBlock);
        for (int32_t c = 0; c < 2; ++c)
            fill(block.audio.output(c), kMaxBlock, 0.5f);
        block.inputChanges.addPoint(Vextoria3Ids::kBypass, 0, bypass);
        ASSERT_EQ(host->process(block.prepare(kMaxBlock)), Steinberg::kResultOk);
        for (int32_t c = 0; c < 2; ++c)
            EXPECT_TRUE(std::all_of(block.audio.output(c), block.audio.output(c) + kMaxBlock,
                                    [](float sample) { return sample == 0.f; }))
                << "channel " << c << ", bypass " << bypass;
    }
}

TEST_F(OddBlocks, ChangesApplyWithoutAnOutputBusOrWithoutSamples)
{
    ProcessBlock noOutputs(2, 0, kMaxBlock);
    noOutputs.inputChanges.addPoint(Vextoria3Ids::kGateSize, 0, 0.25);
    ASSERT_EQ(host->process(noOutputs.prepare(kMaxBlock)), Steinberg::kResultOk);
    ProcessBlock empty(2, 2, kMaxBlock);
    empty.inputChanges.addPoint(Vextoria3Ids::kPitchAmt, 0, 0.625);
    ASSERT_EQ(host->process(empty.prepare(0)), Steinberg::kResultOk);
    const std::vector<uint8_t> state = host->saveState();
    EXPECT_EQ(RecordView {state}.param(Vextoria3Ids::kGateSize), 0.25);
    EXPECT_EQ(RecordView {state}.param(Vextoria3Ids::kPitchAmt), 0.625);
}
