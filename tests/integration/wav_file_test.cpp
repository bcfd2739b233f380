// WAVE files written and read by the host: exact float round trips, 16-bit quantisation,
// and refusals that leave the file system as it was.

#include "host/HostError.h"
#include "host/TestLoop.h"
#include "host/WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using namespace VextoriaHost;

namespace {

std::string outputPath(const std::string& name) { return std::string(VEXTORIA_TEST_OUTPUT) + "/" + name; }

std::vector<char> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(WavFile, FloatRoundTripIsExactForMonoAndStereoAndOverwritesReplaceTheWholeFile)
{
    for (int32_t channels : {1, 2}) {
        const AudioClip clip = generatePositionSignal(5000, channels, 48000.0);
        const std::string path = outputPath("float" + std::to_string(channels) + ".wav");
        writeWav(path, clip, WavFormat::float32);
        const AudioClip back = readWav(path);
        EXPECT_EQ(back.sampleRate, 48000.0);
        EXPECT_EQ(back.channels, clip.channels);
        EXPECT_EQ(std::filesystem::file_size(path), 44u + 5000u * 4u * static_cast<unsigned>(channels));
    }
    // A shorter file written over a longer one leaves nothing of the old one behind.
    const std::string path = outputPath("float2.wav");
    writeWav(path, generatePositionSignal(10, 1, 44100.0), WavFormat::pcm16);
    EXPECT_EQ(std::filesystem::file_size(path), 44u + 20u);
    EXPECT_EQ(readWav(path).frames(), 10);
}

TEST(WavFile, Pcm16KeepsSamplesWithinOneStepAndClipsOverloads)
{
    AudioClip clip = generateDrumLoop({44100.0, 140.0, 1, 2});
    clip.channels[0][10] = 1.5f;
    clip.channels[1][10] = -3.0f;
    const std::string path = outputPath("pcm16.wav");
    writeWav(path, clip, WavFormat::pcm16);
    const AudioClip back = readWav(path);
    ASSERT_EQ(back.frames(), clip.frames());
    ASSERT_EQ(back.channelCount(), 2);
    float worst = 0.f;
    for (int32_t c = 0; c < 2; ++c)
        for (size_t i = 11; i < clip.channels[c].size(); ++i)
            worst = std::max(worst, std::fabs(back.channels[c][i] - clip.channels[c][i]));
    EXPECT_LE(worst, 1.f / 32768.f);
    EXPECT_NEAR(back.channels[0][10], 1.f, 1.f / 32768.f);
    EXPECT_EQ(back.channels[1][10], -1.f);
}

TEST(WavFile, RefusesToWriteAnythingButARegularFile)
{
    const AudioClip clip = generatePositionSignal(100, 2, 44100.0);
    const std::string folder = outputPath("a-folder.wav");
    std::filesystem::create_directories(folder);
    EXPECT_THROW(writeWav(folder, clip, WavFormat::float32), HostError);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_THROW(writeWav("/dev/null", clip, WavFormat::float32), HostError);
    EXPECT_THROW(writeWav(outputPath("no-such-folder/x.wav"), clip, WavFormat::float32), HostError);

    AudioClip surround(3, 100, 44100.0);
    const std::string path = outputPath("surround.wav");
    std::filesystem::remove(path);
    EXPECT_THROW(writeWav(path, surround, WavFormat::float32), HostError);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(WavFile, RefusesMalformedAndUnsupportedFiles)
{
    const std::string good = outputPath("good.wav");
    writeWav(good, generatePositionSignal(64, 2, 44100.0), WavFormat::pcm16);
    const std::vector<char> bytes = fileBytes(good);
    auto refusedVariant = [&](const std::string& name, auto change) {
        std::vector<char> variant = bytes;
        change(variant);
        const std::string path = outputPath(name);
        writeBytes(path, variant);
        EXPECT_THROW(readWav(path), HostError) << name;
    };
    refusedVariant("truncated-data.wav", [](auto& b) { b.resize(b.size() - 3); });
    refusedVariant("header-only.wav", [](auto& b) { b.resize(12); });
    refusedVariant("not-riff.wav", [](auto& b) { b[0] = 'X'; });
    refusedVariant("24-bit.wav", [](auto& b) { b[34] = 24; });
    refusedVariant("six-channels.wav", [](auto& b) { b[22] = 6; });
    refusedVariant("a-law.wav", [](auto& b) { b[20] = 6; });
    refusedVariant("huge-chunk.wav", [](auto& b) { b[40] = b[41] = b[42] = b[43] = static_cast<char>(0xFF); });
    refusedVariant("empty.wav", [](auto& b) { b.clear(); });
    EXPECT_THROW(readWav(outputPath("missing.wav")), HostError);
    EXPECT_THROW(readWav(VEXTORIA_TEST_OUTPUT), HostError);
    EXPECT_THROW(readWav("/dev/zero"), HostError);
}
