// The processor as JUCE's VST3 host drives it, and the probe's own tools (WAV files, command line).

#include "probe/probe.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace probe::testing {
namespace {

const juce::String bundlePath = VEXTORIA_BUNDLE, processorClassName = "VextoriaPRO";
const auto mono = juce::AudioChannelSet::mono(), stereo = juce::AudioChannelSet::stereo();
constexpr int activeId = 0, gateSizeId = 1, bypassId = 37, parameterCount = 38;

// Sample-exact equality, reporting the first difference.
void expectIdentical(const juce::AudioBuffer<float>& actual, const juce::AudioBuffer<float>& expected)
{
    ASSERT_EQ(actual.getNumChannels(), expected.getNumChannels());
    ASSERT_EQ(actual.getNumSamples(), expected.getNumSamples());
    for (int channel = 0; channel < expected.getNumChannels(); ++channel)
        for (int i = 0; i < expected.getNumSamples(); ++i)
            ASSERT_EQ(actual.getSample(channel, i), expected.getSample(channel, i))
                << "channel " << channel << ", sample " << i;
}

// The program record (version, N values, M hidden), base64 in JUCE's "IComponent" XML element.
size_t valueOffset(int id) { return 8 + 8 * static_cast<size_t>(id); }

// The value at offset of a record, or zero when the record is too short to hold it.
template <typename Value>
Value readAt(const juce::MemoryBlock& record, size_t offset)
{
    Value value{};
    if (offset + sizeof(Value) <= record.getSize())
        record.copyTo(&value, static_cast<int>(offset), sizeof(Value));
    return value;
}

template <typename Value>
juce::MemoryBlock writtenAt(juce::MemoryBlock record, size_t offset, Value value)
{
    EXPECT_LE(offset + sizeof(Value), record.getSize());
    record.copyFrom(&value, static_cast<int>(offset), sizeof(Value));
    return record;
}

class LoadedPluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loaded = loadClass(bundlePath, processorClassName);
        ASSERT_NE(loaded.instance, nullptr) << loaded.error.toStdString();
        record = savedRecord();
    }
    juce::AudioPluginInstance& plugin() { return *loaded.instance; }

    // The input rendered (by default at 44.1 kHz in blocks of 512), expecting no error.
    juce::AudioBuffer<float> rendered(const juce::AudioBuffer<float>& input, RenderSettings settings = {})
    {
        auto result = render(plugin(), input, settings);
        EXPECT_EQ(result.error, "");
        return result.output;
    }

    static juce::MemoryBlock hostState(juce::AudioPluginInstance& plugin)
    {
        juce::MemoryBlock state;
        plugin.getStateInformation(state);
        return state;
    }
    static std::unique_ptr<juce::XmlElement> stateXml(const juce::MemoryBlock& state)
    {
        return juce::AudioProcessor::getXmlFromBinary(state.getData(), static_cast<int>(state.getSize()));
    }
    static juce::MemoryBlock recordIn(const juce::MemoryBlock& state)  // empty when there is none
    {
        const auto xml = stateXml(state);
        const auto* element = xml != nullptr ? xml->getChildByName("IComponent") : nullptr;
        juce::MemoryBlock found;
        return element != nullptr && found.fromBase64Encoding(element->getAllSubText()) ? found : juce::MemoryBlock{};
    }
    juce::MemoryBlock savedRecord() { return recordIn(hostState(plugin())); }

    // The record saved right after loading, with GateSize moved away from its default 0.85.
    juce::MemoryBlock editedRecord(double gateSize) const
    {
        return writtenAt(record, valueOffset(gateSizeId), gateSize);
    }

    // Restores the host state with its record replaced by newRecord.
    void restoreRecord(const juce::MemoryBlock& newRecord)
    {
        auto xml = stateXml(hostState(plugin()));
        ASSERT_NE(xml, nullptr);
        xml->deleteAllChildElementsWithTagName("IComponent");
        xml->createNewChildElement("IComponent")->addTextElement(newRecord.toBase64Encoding());
        juce::MemoryBlock state;
        juce::AudioProcessor::copyXmlToBinary(*xml, state);
        plugin().setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    }

    juce::ScopedJuceInitialiser_GUI juceRuntime;  // declared first: it outlives the plug-in
    LoadedPlugin loaded;
    juce::MemoryBlock record;  // as saved right after loading
};

TEST_F(LoadedPluginTest, TheBundleOffersOneProcessorClassOfItsMakerWithStereoBusesAndMidi)
{
    // The host lists audio classes only: the controller class is paired, not offered.
    const auto classes = listClasses(bundlePath);
    ASSERT_EQ(classes.size(), 1);
    const auto& c = *classes[0];
    EXPECT_EQ(c.name + " by " + c.manufacturerName + ", " + c.pluginFormatName + " " + c.category + " " + c.version
                  + (c.isInstrument ? ", instrument, " : ", effect, ") + juce::String(c.numInputChannels) + " in / "
                  + juce::String(c.numOutputChannels) + " out",
              processorClassName + " by Harlowmint, VST3 Fx 1.3.2.1, effect, 2 in / 2 out");

    ASSERT_TRUE(plugin().getBusCount(true) == 1 && plugin().getBusCount(false) == 1);
    EXPECT_EQ(plugin().getName() + ": " + plugin().getBus(true, 0)->getName() + " ("
                  + juce::String(plugin().getTotalNumInputChannels()) + ") to " + plugin().getBus(false, 0)->getName()
                  + " (" + juce::String(plugin().getTotalNumOutputChannels()) + ")"
                  + (plugin().acceptsMidi() ? ", MIDI in" : ""),
              processorClassName + ": Stereo In (2) to Stereo Out (2), MIDI in");

    for (const auto& [bundle, className, reason] :
         {std::tuple{juce::String("/nonexistent/Missing.vst3"), processorClassName, "no VST3 bundle"},
          {bundlePath, juce::String("NoSuchClass"), "no class named \"NoSuchClass\""}}) {
        const auto refused = loadClass(bundle, className);
        EXPECT_TRUE(refused.instance == nullptr && refused.error.contains(reason)) << refused.error;
    }
}

TEST_F(LoadedPluginTest, BusesAreMonoOrStereoAndTheInputPassesUnchangedAtEveryLayoutRateBlockSizeAndTransport)
{
    const auto surround = juce::AudioChannelSet::create5point1();
    for (const auto& [in, out, supported] : {std::tuple{stereo, stereo, true}, {mono, mono, true},
                                             {stereo, mono, false}, {mono, stereo, false}, {surround, surround, false}})
        EXPECT_EQ(plugin().checkBusesLayoutSupported({{in}, {out}}), supported) << in.getDescription();
    ASSERT_TRUE(plugin().setBusesLayout({{mono}, {mono}}));
    EXPECT_FALSE(plugin().setBusesLayout({{mono}, {stereo}}));
    EXPECT_EQ(std::pair(plugin().getTotalNumInputChannels(), plugin().getTotalNumOutputChannels()), std::pair(1, 1));

    // Channels, rate, block, playing; row 1 on the refused layout's mono buses, stereo rows switch back.
    for (const auto& [channels, rate, blockSize, playing] :
         {std::tuple{1, 44100.0, 512, true}, {2, 44100.0, 512, true}, {2, 48000.0, 1, true}, {1, 96000.0, 4096, true},
          {2, 96000.0, 333, false}, {1, 48000.0, 4096, false}}) {
        SCOPED_TRACE(juce::String(channels) + " channels at " + juce::String(rate) + " Hz in blocks of "
                     + juce::String(blockSize) + (playing ? ", playing" : ", stopped"));
        const auto input = makeTestLoop(channels, rate, 120.0, 1.3);
        expectIdentical(rendered(input, {rate, blockSize, 120.0, playing}), input);
    }
}

TEST_F(LoadedPluginTest, TheSavedStateIsOneProgramRecordOfTheLiveValuesAndBypassSetByNamePassesTheInput)
{
    ASSERT_EQ(record.getSize(), 372u);
    EXPECT_EQ(readAt<int32_t>(record, 4), parameterCount);
    EXPECT_EQ(readAt<int32_t>(record, valueOffset(parameterCount)), 7);  // hidden values
    EXPECT_EQ(readAt<double>(record, valueOffset(activeId)), 0.0);
    EXPECT_EQ(readAt<double>(record, valueOffset(gateSizeId)), double(0.85f));
    EXPECT_EQ(readAt<double>(record, valueOffset(bypassId)), 0.0);

    EXPECT_FALSE(setParameter(plugin(), "No Such Parameter", 1.0f));  // sets nothing
    EXPECT_EQ(savedRecord(), record);
    ASSERT_NE(findParameter(plugin(), "Bypass"), nullptr);
    EXPECT_EQ(plugin().getBypassParameter(), findParameter(plugin(), "Bypass"));

    // With the slicer switched on, only the bypass path can give the input back unchanged.
    ASSERT_TRUE(setParameter(plugin(), "Active", 1.0f));
    ASSERT_TRUE(setParameter(plugin(), "Bypass", 1.0f));
    const auto input = makeTestLoop(2, 44100.0, 120.0, 1.0);
    expectIdentical(rendered(input), input);
    EXPECT_EQ(readAt<double>(savedRecord(), valueOffset(activeId)), 1.0);
    EXPECT_EQ(readAt<double>(savedRecord(), valueOffset(bypassId)), 1.0);

    ASSERT_TRUE(setParameter(plugin(), "Bypass", 0.0f));
    rendered(input);
    EXPECT_EQ(readAt<double>(savedRecord(), valueOffset(bypassId)), 0.0);
}

TEST_F(LoadedPluginTest, ARestoredStateIsSavedBackCarriesToAnotherInstanceOutlivesBrokenRecordsAndIsTakenLive)
{
    restoreRecord(editedRecord(0.25));
    const auto saved = hostState(plugin());
    EXPECT_EQ(recordIn(saved), editedRecord(0.25));
    auto other = loadClass(bundlePath, processorClassName);
    ASSERT_NE(other.instance, nullptr) << other.error.toStdString();
    other.instance->setStateInformation(saved.getData(), static_cast<int>(saved.getSize()));
    EXPECT_EQ(hostState(*other.instance), saved);

    // Broken records are refused and change nothing.
    auto truncated = editedRecord(0.75);
    truncated.setSize(100);  // claims 38 values, holds 11
    const auto tooManyValues = writtenAt<int32_t>(record, 4, parameterCount + 1);
    for (const auto& broken : {juce::MemoryBlock{}, truncated, tooManyValues, writtenAt<int32_t>(record, 4, -1)}) {
        restoreRecord(broken);
        EXPECT_EQ(savedRecord(), editedRecord(0.25)) << "after a record of " << broken.getSize() << " bytes";
    }

    // Restored between two blocks, it is taken by the next.
    const auto input = makeTestLoop(2, 44100.0, 120.0, 0.1);
    juce::AudioBuffer<float> output(2, input.getNumSamples());
    BlockRenderer renderer(plugin(), 2, RenderSettings{});
    ASSERT_EQ(renderer.error(), "");
    renderer.process(input, output, 0, 512);
    restoreRecord(editedRecord(0.5));
    renderer.process(input, output, 512, 512);
    EXPECT_EQ(savedRecord(), editedRecord(0.5));
}

TEST(WavFiles, AWrittenFileReadsBackSampleExactAndWhatIsNoRegularFileIsRefusedAndLeftAlone)
{
    const juce::File outputFolder(VEXTORIA_TEST_OUTPUT);
    const auto written = makeTestLoop(2, 48000.0, 120.0, 0.25);
    const auto file = outputFolder.getChildFile("probe-written.wav");
    ASSERT_TRUE(file.replaceWithText("no audio in here"));
    ASSERT_EQ(writeWav(file, written, 48000.0), "");
    std::unique_ptr<juce::AudioFormatReader> reader(
        juce::WavAudioFormat().createReaderFor(file.createInputStream().release(), true));
    ASSERT_TRUE(reader != nullptr && reader->sampleRate == 48000.0);
    juce::AudioBuffer<float> read(static_cast<int>(reader->numChannels), static_cast<int>(reader->lengthInSamples));
    ASSERT_TRUE(reader->read(&read, 0, read.getNumSamples(), 0, true, true));
    expectIdentical(read, written);

    const auto folder = outputFolder.getChildFile("probe-folder.wav");
    const auto pipe = outputFolder.getChildFile("probe.fifo");
    ASSERT_TRUE(folder.createDirectory());
    pipe.deleteFile();
    ASSERT_EQ(mkfifo(pipe.getFullPathName().toRawUTF8(), 0600), 0);
    for (const auto& path : {folder, pipe, juce::File("/dev/null")})
        EXPECT_TRUE(writeWav(path, written, 48000.0).contains("not a regular file")) << path.getFullPathName();
    EXPECT_TRUE(folder.isDirectory() && std::filesystem::is_fifo(pipe.getFullPathName().toStdString()));
    EXPECT_EQ(folder.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0);
    pipe.deleteFile();
    const auto size = file.getSize();
    EXPECT_EQ(writeWav(file, {}, 48000.0), "nothing to write: no channels or no sample rate");
    EXPECT_EQ(writeWav(file, written, 0.0), "nothing to write: no channels or no sample rate");
    EXPECT_EQ(file.getSize(), size);
}

}  // namespace
}  // namespace probe::testing
