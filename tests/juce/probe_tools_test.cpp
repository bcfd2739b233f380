// The probe's own tools: WAV files, the generated loop, the transport, parameter settings and
// the command line.

#include "loaded_plugin_fixture.h"

#include "probe/options.h"

#include <sys/stat.h>

namespace probe::testing {
namespace {

const juce::File outputFolder(VEXTORIA_TEST_OUTPUT);

juce::String readError(const juce::File& file)
{
    WavAudio ignored;
    return readWav(file, ignored);
}

TEST(WavFiles, AWrittenFileReadsBackSampleExact)
{
    const WavAudio written{makeTestLoop(2, 48000.0, 120.0, 0.25), 48000.0};
    const auto file = outputFolder.getChildFile("probe-round-trip.wav");
    ASSERT_EQ(writeWav(file, written), "");
    ASSERT_EQ(writeWav(file, written), "");  // replacing an existing file is fine
    WavAudio read;
    ASSERT_EQ(readWav(file, read), "");
    EXPECT_EQ(read.sampleRate, 48000.0);
    expectIdentical(read.samples, written.samples);
}

TEST(WavFiles, WhatIsNoRegularMonoOrStereoWavFileIsRefusedAndLeftAlone)
{
    const WavAudio audio{makeTestLoop(1, 44100.0, 120.0, 0.01), 44100.0};
    const auto folder = outputFolder.getChildFile("probe-folder.wav");
    ASSERT_TRUE(folder.createDirectory());
    const auto pipe = outputFolder.getChildFile("probe-pipe.wav");
    pipe.deleteFile();
    ASSERT_EQ(mkfifo(pipe.getFullPathName().toRawUTF8(), 0600), 0);
    for (const auto& path : {folder, pipe, juce::File("/dev/null")}) {
        EXPECT_TRUE(writeWav(path, audio).contains("not a regular file")) << path.getFullPathName();
        EXPECT_TRUE(readError(path).contains("not a regular file")) << path.getFullPathName();
    }
    EXPECT_TRUE(folder.isDirectory());
    EXPECT_EQ(folder.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0);
    pipe.deleteFile();

    const auto text = outputFolder.getChildFile("probe-not-audio.wav");
    ASSERT_TRUE(text.replaceWithText("no audio in here"));
    EXPECT_TRUE(readError(text).contains("not a WAV file"));
    EXPECT_EQ(writeWav(text, WavAudio{}), "nothing to write: no channels or no sample rate");
    EXPECT_EQ(text.loadFileAsString(), "no audio in here");

    const auto threeChannels = outputFolder.getChildFile("probe-three-channels.wav");
    ASSERT_EQ(writeWav(threeChannels, {makeTestLoop(3, 44100.0, 120.0, 0.01), 44100.0}), "");
    EXPECT_TRUE(readError(threeChannels).contains("only mono and stereo"));
}

TEST(TestLoop, IsTheSameOnEveryCallAndDiffersBetweenChannels)
{
    const auto loop = makeTestLoop(2, 44100.0, 120.0, 0.5);
    ASSERT_EQ(loop.getNumSamples(), 22050);
    expectIdentical(makeTestLoop(2, 44100.0, 120.0, 0.5), loop);
    EXPECT_GT(loop.getMagnitude(0, 0, loop.getNumSamples()), 0.1f);
    EXPECT_LE(loop.getMagnitude(0, loop.getNumSamples()), 1.0f);
    juce::AudioBuffer<float> difference(loop);
    difference.addFrom(0, 0, loop, 1, 0, loop.getNumSamples(), -1.0f);
    EXPECT_GT(difference.getMagnitude(0, 0, loop.getNumSamples()), 0.1f);
}

// The position a play head reports, in words.
std::string describe(const juce::AudioPlayHead& playHead)
{
    const auto p = playHead.getPosition().orFallback(juce::AudioPlayHead::PositionInfo{});
    const auto signature = p.getTimeSignature().orFallback(juce::AudioPlayHead::TimeSignature{0, 0});
    juce::String text;
    text << p.getBpm().orFallback(0.0) << " bpm in " << signature.numerator << "/" << signature.denominator
         << ", sample " << p.getTimeInSamples().orFallback(-1) << ", " << p.getTimeInSeconds().orFallback(-1.0)
         << " s, quarter " << p.getPpqPosition().orFallback(-1.0) << ", bar " << p.getBarCount().orFallback(-1)
         << " from quarter " << p.getPpqPositionOfLastBarStart().orFallback(-1.0)
         << (p.getIsPlaying() ? ", playing" : ", stopped");
    return text.toStdString();
}

TEST(TransportPlayHead, ReportsTempoPositionAndBarOfTheRenderedSamples)
{
    TransportPlayHead playing(120.0, 48000.0, true);
    playing.advance(96000);
    playing.advance(60000);  // 3.25 s, 6.5 beats: in the second bar
    EXPECT_EQ(describe(playing), "120 bpm in 4/4, sample 156000, 3.25 s, quarter 6.5, bar 1 from quarter 4, playing");
    EXPECT_EQ(describe(TransportPlayHead(90.0, 44100.0, false)),
              "90 bpm in 4/4, sample 0, 0 s, quarter 0, bar 0 from quarter 0, stopped");
}

TEST(ProbeOptions, ReadsEveryOptionAndRefusesBadOnes)
{
    const juce::StringArray everyOption{"X.vst3", "--class", "Y", "--render", "out.wav", "--input", "in.wav",
                                        "--mono", "--block", "64", "--rate", "96000", "--tempo", "90.5",
                                        "--seconds", "2", "--stopped", "--param", "Bypass=1", "--realtime",
                                        "--block-times", "--param", "Reverse Amt=0.25"};
    ProbeOptions o;
    ASSERT_EQ(parseProbeOptions(everyOption, o), "");
    EXPECT_EQ(o.bundlePath + " " + o.className + " " + o.outputPath + " " + o.inputPath, "X.vst3 Y out.wav in.wav");
    EXPECT_EQ(o.numChannels, 1);
    EXPECT_EQ(o.render.blockSize, 64);
    EXPECT_EQ(o.render.sampleRate, 96000.0);
    EXPECT_EQ(o.render.tempo, 90.5);
    EXPECT_EQ(o.loopSeconds, 2.0);
    EXPECT_TRUE(o.sampleRateGiven && !o.render.playing && o.render.realtime && o.blockTimes);
    using Setting = std::pair<juce::String, float>;
    EXPECT_EQ(o.parameters, (std::vector<Setting>{{"Bypass", 1.0f}, {"Reverse Amt", 0.25f}}));
    ProbeOptions stereo;
    EXPECT_EQ(parseProbeOptions({"X.vst3", "--mono", "--stereo"}, stereo), "");
    EXPECT_EQ(stereo.numChannels, 2);

    const std::vector<juce::StringArray> bad{
        {}, {"--mono"}, {"X.vst3", "--block", "0"}, {"X.vst3", "--block", "12.5"}, {"X.vst3", "--rate", "-1"},
        {"X.vst3", "--block", "1000000"}, {"X.vst3", "--seconds", "1e9"}, {"X.vst3", "--tempo", "nan"},
        {"X.vst3", "--tempo"}, {"X.vst3", "--render", ""}, {"X.vst3", "--loud"}};
    for (const auto& arguments : bad) {
        ProbeOptions ignored;
        EXPECT_NE(parseProbeOptions(arguments, ignored), "") << arguments.joinIntoString(" ");
    }
    for (const char* setting :
         {"Bypass", "=0.5", "Bypass=", "Bypass=1.5", "Bypass=-0.1", "Bypass=nan", "Bypass=0.5x", "Bypass=inf"}) {
        ProbeOptions ignored;
        EXPECT_NE(parseProbeOptions({"X.vst3", "--param", setting}, ignored), "") << setting;
    }
}

}  // namespace
}  // namespace probe::testing
