// The headless host's parts: generated inputs, WAVE files, queues, transport and buffers.

#include "host/HostError.h"
#include "host/ProcessData.h"
#include "host/TestLoop.h"
#include "host/WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using namespace VextoriaHost;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string outputPath(const std::string& name) { return std::string(VEXTORIA_TEST_OUTPUT) + "/" + name; }

} // namespace

TEST(TestLoop, DrumLoopIsRepeatableAndPositionsDecodeToTheirFrameAcrossTheWrap)
{
    const AudioClip loop = generateDrumLoop({44100.0, 120.0, 2, 2});
    EXPECT_EQ(loop.channels, generateDrumLoop({44100.0, 120.0, 2, 2}).channels);
    EXPECT_NE(loop.channels[0], loop.channels[1]) << "stereo channels differ, so a swap shows";
    EXPECT_THROW(generateDrumLoop({44100.0, 0.0, 1, 2}), HostError);
    EXPECT_THROW(generateDrumLoop({44100.0, 120.0, 1, 3}), HostError);
    for (int64_t index : {0L, 88199L, kPositionPeriod - 1, kPositionPeriod, kPositionPeriod + 12345})
        EXPECT_EQ(positionOfSample(positionSample(index)), index % kPositionPeriod) << index;
}

TEST(WavFile, FloatRoundTripsExactlyPcm16WithinOneStepAndOverwritesReplaceTheFile)
{
    for (int32_t channels : {1, 2})
    {
        const AudioClip clip = generatePositionSignal(5000, channels, 48000.0);
        writeWav(outputPath("float.wav"), clip, WavFormat::float32);
        const AudioClip back = readWav(outputPath("float.wav"));
        EXPECT_EQ(back.sampleRate, 48000.0);
        EXPECT_EQ(back.channels, clip.channels);
    }
    AudioClip clip = generateDrumLoop({44100.0, 140.0, 1, 2});
    clip.channels[0][10] = 1.5f;
    clip.channels[1][10] = -3.0f;
    writeWav(outputPath("float.wav"), clip, WavFormat::pcm16); // shorter than the file it replaces
    EXPECT_EQ(std::filesystem::file_size(outputPath("float.wav")), 44u + 4u * static_cast<size_t>(clip.frames()));
    const AudioClip back = readWav(outputPath("float.wav"));
    ASSERT_EQ(back.frames(), clip.frames());
    for (size_t c = 0; c < 2; ++c)
        for (size_t i = 11; i < clip.channels[c].size(); ++i)
            ASSERT_NEAR(back.channels[c][i], clip.channels[c][i], 1.f / 32768.f) << c << ", " << i;
    EXPECT_NEAR(back.channels[0][10], 1.f, 1.f / 32768.f) << "overloads clip";
    EXPECT_EQ(back.channels[1][10], -1.f);
}

TEST(WavFile, RefusesToWriteAnythingButARegularFileAndToReadMalformedFiles)
{
    const AudioClip clip = generatePositionSignal(64, 2, 44100.0);
    std::filesystem::create_directories(outputPath("a-folder.wav"));
    EXPECT_THROW(writeWav(outputPath("a-folder.wav"), clip, WavFormat::float32), HostError);
    EXPECT_TRUE(std::filesystem::is_directory(outputPath("a-folder.wav")));
    EXPECT_THROW(writeWav("/dev/null", clip, WavFormat::float32), HostError);
    EXPECT_THROW(writeWav(outputPath("no-such-folder/x.wav"), clip, WavFormat::float32), HostError);
    std::filesystem::remove(outputPath("surround.wav"));
    EXPECT_THROW(writeWav(outputPath("surround.wav"), AudioClip(3, 100, 44100.0), WavFormat::float32), HostError);
    EXPECT_FALSE(std::filesystem::exists(outputPath("surround.wav")));

    writeWav(outputPath("good.wav"), clip, WavFormat::pcm16);
    std::ifstream in(outputPath("good.wav"), std::ios::binary);
    const std::vector<char> good(std::istreambuf_iterator<char>(in), {});
    const std::pair<const char*, std::function<void(std::vector<char>&)>> broken[] = {
        {"truncated data", [](auto& b) { b.resize(b.size() - 3); }},
        {"header only", [](auto& b) { b.resize(12); }},
        {"not RIFF", [](auto& b) { b[0] = 'X'; }},
        {"24 bits", [](auto& b) { b[34] = 24; }},
        {"six channels", [](auto& b) { b[22] = 6; }},
        {"a-law", [](auto& b) { b[20] = 6; }},
        {"huge chunk", [](auto& b) { b[40] = b[41] = b[42] = b[43] = static_cast<char>(0xFF); }},
        {"empty", [](auto& b) { b.clear(); }}};
    for (const auto& [name, breakFile] : broken)
    {
        std::vector<char> bytes = good;
        breakFile(bytes);
        std::ofstream(outputPath("broken.wav"), std::ios::binary).write(bytes.data(), std::ssize(bytes));
        EXPECT_THROW(readWav(outputPath("broken.wav")), HostError) << name;
    }
    for (const std::string& path : {outputPath("missing.wav"), outputPath(""), std::string("/dev/zero")})
        EXPECT_THROW(readWav(path), HostError) << path;
}

TEST(ProcessData, QueuesKeepPointsInOrderReplaceAPointAtTheSameOffsetAndAreReused)
{
    ParameterChanges changes;
    for (auto [id, offset, value] : {std::tuple {7, 200, 0.9}, {7, 0, 0.1}, {3, 5, 0.5}, {7, 100, 0.4}})
        changes.addPoint(id, offset, value);
    changes.addPoint(7, 100, 0.45); // replaces the point at 100
    ASSERT_EQ(changes.getParameterCount(), 2);
    IParamValueQueue* queue = changes.getParameterData(0);
    ASSERT_EQ(queue->getParameterId(), 7u);
    ASSERT_EQ(queue->getPointCount(), 3);
    for (auto [index, expectedOffset, expectedValue] : {std::tuple {0, 0, 0.1}, {1, 100, 0.45}, {2, 200, 0.9}})
    {
        int32 offset = -1;
        ParamValue value = -1;
        ASSERT_EQ(queue->getPoint(index, offset, value), kResultOk);
        EXPECT_EQ(std::pair(offset, value), std::pair(expectedOffset, expectedValue)) << "point " << index;
    }
    int32 offset;
    ParamValue value;
    EXPECT_EQ(queue->getPoint(3, offset, value), kInvalidArgument);
    EXPECT_EQ(queue->getPoint(-1, offset, value), kInvalidArgument);
    EXPECT_EQ(changes.getParameterData(2), nullptr);
    changes.clear();
    int32 index = -1;
    EXPECT_EQ(changes.addParameterData(9, index), queue) << "kept, so steady automation does not allocate";
    EXPECT_EQ(queue->getPointCount(), 0);
}

TEST(ProcessData, TransportAdvancesInQuartersAndBarsAndABlockNeverOutgrowsItsBuffers)
{
    TransportClock clock(44100.0, 120.0);
    clock.setPlaying(true);
    const ProcessContext& context = clock.current();
    for (int block = 0; block < 5 * 22050 / 441; ++block) // five quarters
        clock.advance(441);
    EXPECT_EQ(context.projectTimeSamples, 5 * 22050);
    EXPECT_NEAR(context.projectTimeMusic, 5.0, 1e-9);
    EXPECT_EQ(context.barPositionMusic, 4.0);
    clock.setTimeSignature(6, 8); // three quarters per bar
    EXPECT_EQ(context.barPositionMusic, 3.0);
    clock.locate(7 * 22050);
    EXPECT_EQ(context.barPositionMusic, 6.0);
    clock.setPlaying(false);
    clock.advance(512);
    EXPECT_EQ(context.projectTimeSamples, 7 * 22050) << "stopped, the position stays";
    EXPECT_EQ(context.continousTimeSamples, 5 * 22050 + 512);

    ProcessBlock block(1, 2, 64, 96000.0, 140.0);
    ProcessData& data = block.prepare(100);
    EXPECT_EQ(data.numSamples, 64);
    EXPECT_EQ(data.processContext->tempo, 140.0);
}
