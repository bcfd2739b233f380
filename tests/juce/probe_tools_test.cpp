// The probe's own tools: WAV files, the generated loop, parameter settings and the command line.

#include "probe/parameter_access.h"
#include "probe/probe_options.h"
#include "probe/test_loop.h"
#include "probe/transport_play_head.h"
#include "probe/wav_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace probe::testing {
namespace {

const juce::File outputFolder(VEXTORIA_TEST_OUTPUT);

TEST(WavFiles, AWrittenFileReadsBackSampleExact)
{
    const WavAudio written{makeTestLoop(2, 48000.0, 120.0, 0.25), 48000.0};
    const auto file = outputFolder.getChildFile("probe-round-trip.wav");
    ASSERT_EQ(writeWav(file, written), "");
    ASSERT_EQ(writeWav(file, written), "");  // replacing an existing file is fine

    const auto read = readWav(file);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.audio.sampleRate, 48000.0);
    ASSERT_EQ(read.audio.samples.getNumChannels(), 2);
    ASSERT_EQ(read.audio.samples.getNumSamples(), written.samples.getNumSamples());
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < written.samples.getNumSamples(); ++i)
            ASSERT_EQ(read.audio.samples.getSample(channel, i), written.samples.getSample(channel, i));
}

TEST(WavFiles, PathsThatAreNotRegularFilesAreRefusedAndLeftAlone)
{
    const WavAudio audio{makeTestLoop(1, 44100.0, 120.0, 0.01), 44100.0};
    const auto folder = outputFolder.getChildFile("probe-folder.wav");
    ASSERT_TRUE(folder.createDirectory());
    const auto pipe = outputFolder.getChildFile("probe-pipe.wav");
    pipe.deleteFile();
    ASSERT_EQ(mkfifo(pipe.getFullPathName().toRawUTF8(), 0600), 0);

    for (const auto& path : {folder, pipe, juce::File("/dev/null")}) {
        EXPECT_TRUE(writeWav(path, audio).contains("not a regular file")) << path.getFullPathName();
        EXPECT_TRUE(readWav(path).error.contains("not a regular file")) << path.getFullPathName();
    }
    EXPECT_TRUE(folder.isDirectory());
    EXPECT_EQ(folder.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0);
    pipe.deleteFile();
}

TEST(WavFiles, FilesThatAreNoMonoOrStereoWavAreRefused)
{
    const auto text = outputFolder.getChildFile("probe-not-audio.wav");
    ASSERT_TRUE(text.replaceWithText("no audio in here"));
    EXPECT_TRUE(readWav(text).error.contains("not a WAV file"));
    EXPECT_EQ(writeWav(text, WavAudio{}), "nothing to write: no channels or no sample rate");
    EXPECT_EQ(text.loadFileAsString(), "no audio in here");

    const auto threeChannels = outputFolder.getChildFile("probe-three-channels.wav");
    ASSERT_EQ(writeWav(threeChannels, {makeTestLoop(3, 44100.0, 120.0, 0.01), 44100.0}), "");
    EXPECT_TRUE(readWav(threeChannels).error.contains("only mono and stereo"));
}

TEST(TestLoop, IsTheSameOnEveryCallAndDiffersBetweenChannels)
{
    const auto first = makeTestLoop(2, 44100.0, 120.0, 0.5);
    const auto second = makeTestLoop(2, 44100.0, 120.0, 0.5);
    ASSERT_EQ(first.getNumSamples(), 22050);
    EXPECT_GT(first.getMagnitude(0, 0, first.getNumSamples()), 0.1f);
    EXPECT_LE(first.getMagnitude(0, first.getNumSamples()), 1.0f);
    bool channelsDiffer = false;
    for (int i = 0; i < first.getNumSamples(); ++i) {
        ASSERT_EQ(first.getSample(0, i), second.getSample(0, i));
        ASSERT_EQ(first.getSample(1, i), second.getSample(1, i));
        channelsDiffer = channelsDiffer || first.getSample(0, i) != first.getSample(1, i);
    }
    EXPECT_TRUE(channelsDiffer);
}

TEST(TransportPlayHead, ReportsTempoPositionAndBarOfTheRenderedSamples)
{
    TransportPlayHead playing(120.0, 48000.0, true);
    playing.advance(96000);
    playing.advance(60000);  // 3.25 s, 6.5 beats: in the second bar
    const auto position = playing.getPosition();
    ASSERT_TRUE(position.hasValue());
    EXPECT_EQ(position->getBpm().orFallback(0.0), 120.0);
    EXPECT_EQ(position->getTimeInSamples().orFallback(0), 156000);
    EXPECT_DOUBLE_EQ(position->getTimeInSeconds().orFallback(0.0), 3.25);
    EXPECT_DOUBLE_EQ(position->getPpqPosition().orFallback(0.0), 6.5);
    EXPECT_DOUBLE_EQ(position->getPpqPositionOfLastBarStart().orFallback(0.0), 4.0);
    EXPECT_EQ(position->getBarCount().orFallback(0), 1);
    const auto signature = position->getTimeSignature().orFallback(juce::AudioPlayHead::TimeSignature{});
    EXPECT_EQ(signature.numerator, 4);
    EXPECT_EQ(signature.denominator, 4);
    EXPECT_TRUE(position->getIsPlaying());

    const auto stopped = TransportPlayHead(90.0, 44100.0, false).getPosition();
    ASSERT_TRUE(stopped.hasValue());
    EXPECT_FALSE(stopped->getIsPlaying());
    EXPECT_EQ(stopped->getPpqPosition().orFallback(-1.0), 0.0);
    EXPECT_EQ(stopped->getBpm().orFallback(0.0), 90.0);
}

TEST(ParameterSettings, NameEqualsNormalisedValueIsReadAndAnythingElseRefused)
{
    const auto bypass = parseParameterSetting("Bypass=1");
    ASSERT_TRUE(bypass.has_value());
    EXPECT_EQ(bypass->name, "Bypass");
    EXPECT_EQ(bypass->value, 1.0f);
    const auto spaced = parseParameterSetting("Reverse Amt=0.25");
    ASSERT_TRUE(spaced.has_value());
    EXPECT_EQ(spaced->name, "Reverse Amt");
    EXPECT_EQ(spaced->value, 0.25f);

    for (const char* bad : {"Bypass", "=0.5", "Bypass=", "Bypass=1.5", "Bypass=-0.1", "Bypass=nan",
                            "Bypass=0.5x", "Bypass=inf"})
        EXPECT_FALSE(parseParameterSetting(bad).has_value()) << bad;
}

TEST(ProbeOptions, ReadsEveryOptionAndRefusesBadOnes)
{
    const auto parsed = parseProbeOptions(juce::StringArray{
        "X.vst3", "--class", "Y", "--render", "out.wav", "--input", "in.wav", "--mono", "--block", "64",
        "--rate", "96000", "--tempo", "90.5", "--seconds", "2", "--stopped", "--param", "Bypass=1",
        "--realtime", "--block-times"});
    ASSERT_EQ(parsed.error, "");
    const auto& options = parsed.options;
    EXPECT_EQ(options.bundlePath, "X.vst3");
    EXPECT_EQ(options.className, "Y");
    EXPECT_EQ(options.outputPath, "out.wav");
    EXPECT_EQ(options.inputPath, "in.wav");
    EXPECT_EQ(options.numChannels, 1);
    EXPECT_EQ(options.render.blockSize, 64);
    EXPECT_EQ(options.render.sampleRate, 96000.0);
    EXPECT_TRUE(options.sampleRateGiven);
    EXPECT_EQ(options.render.tempo, 90.5);
    EXPECT_EQ(options.loopSeconds, 2.0);
    EXPECT_FALSE(options.render.playing);
    EXPECT_TRUE(options.render.realtime);
    EXPECT_TRUE(options.blockTimes);
    ASSERT_EQ(options.parameters.size(), 1u);
    EXPECT_EQ(options.parameters[0].name, "Bypass");

    const std::vector<juce::StringArray> bad{
        {}, {"--mono"}, {"X.vst3", "--block", "0"}, {"X.vst3", "--block", "12.5"}, {"X.vst3", "--rate", "-1"},
        {"X.vst3", "--block", "1000000"}, {"X.vst3", "--seconds", "1e9"}, {"X.vst3", "--tempo", "nan"},
        {"X.vst3", "--tempo"}, {"X.vst3", "--param", "Bypass"}, {"X.vst3", "--render", ""}, {"X.vst3", "--loud"}};
    for (const auto& arguments : bad)
        EXPECT_NE(parseProbeOptions(arguments).error, "") << arguments.joinIntoString(" ");
}

}  // namespace
}  // namespace probe::testing
