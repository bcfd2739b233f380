// The processor's state saved and restored through JUCE's host: the record it saves, a round
// trip into a second instance, a restore while rendering, and records it must refuse.

#include "loaded_plugin_fixture.h"

namespace probe::testing {
namespace {

constexpr int parameterCount = 38;
constexpr int gateSizeId = 1;

template <typename Value>
void writeAt(juce::MemoryBlock& record, size_t offset, Value value)
{
    ASSERT_LE(offset + sizeof(Value), record.getSize());
    std::memcpy(static_cast<char*>(record.getData()) + offset, &value, sizeof(Value));
}

// Restores the host state with its component record replaced by record.
void restoreRecord(juce::AudioPluginInstance& plugin, const juce::MemoryBlock& record)
{
    auto xml = stateXml(hostState(plugin));
    ASSERT_NE(xml, nullptr);
    xml->deleteAllChildElementsWithTagName("IComponent");
    xml->createNewChildElement("IComponent")->addTextElement(record.toBase64Encoding());
    juce::MemoryBlock state;
    juce::AudioProcessor::copyXmlToBinary(*xml, state);
    plugin.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
}

class StateThroughHost : public LoadedPluginTest {
protected:
    void SetUp() override
    {
        LoadedPluginTest::SetUp();
        if (!HasFatalFailure())
            record = savedRecord(plugin());
    }

    // The saved record with GateSize moved away from its default 0.85.
    juce::MemoryBlock editedRecord(double gateSize) const
    {
        auto edited = record;
        writeAt(edited, recordValueOffset(gateSizeId), gateSize);
        return edited;
    }

    juce::MemoryBlock record;  // as saved right after loading
};

TEST_F(StateThroughHost, TheSavedStateIsOneProgramRecordOfTheLiveValues)
{
    ASSERT_EQ(record.getSize(), 372u);
    EXPECT_EQ(readRecord<int32_t>(record, 4), parameterCount);
    EXPECT_EQ(readRecord<int32_t>(record, recordValueOffset(parameterCount)), 7);    // hidden values
    EXPECT_EQ(readRecord<double>(record, recordValueOffset(0)), 0.0);                     // Active off
    EXPECT_EQ(readRecord<double>(record, recordValueOffset(gateSizeId)), double(0.85f));  // GateSize
    EXPECT_EQ(readRecord<double>(record, recordValueOffset(37)), 0.0);                    // Bypass off
}

TEST_F(StateThroughHost, ARestoredStateIsSavedBackUnchangedAndCarriesToAnotherInstance)
{
    const auto edited = editedRecord(0.25);
    restoreRecord(plugin(), edited);
    const auto saved = hostState(plugin());
    EXPECT_EQ(recordIn(saved), edited);

    auto other = loadClass(bundlePath, processorClassName);
    ASSERT_NE(other.instance, nullptr) << other.error.toStdString();
    other.instance->setStateInformation(saved.getData(), static_cast<int>(saved.getSize()));
    EXPECT_EQ(hostState(*other.instance), saved);
}

TEST_F(StateThroughHost, AStateRestoredWhileRenderingIsTakenByTheNextBlock)
{
    const auto input = makeTestLoop(2, 44100.0, 120.0, 0.1);
    juce::AudioBuffer<float> output(2, input.getNumSamples());
    BlockRenderer renderer(plugin(), 2, RenderSettings{});
    ASSERT_EQ(renderer.error(), "");
    renderer.process(input, output, 0, 512);
    const auto edited = editedRecord(0.5);
    restoreRecord(plugin(), edited);
    renderer.process(input, output, 512, 512);
    EXPECT_EQ(savedRecord(plugin()), edited);
}

TEST_F(StateThroughHost, BrokenRecordsAreRefusedAndChangeNothing)
{
    const auto edited = editedRecord(0.25);
    restoreRecord(plugin(), edited);

    auto truncated = editedRecord(0.75);
    truncated.setSize(100);  // claims 38 values, holds 11
    auto tooManyValues = editedRecord(0.75);
    writeAt<int32_t>(tooManyValues, 4, parameterCount + 1);
    auto negativeCount = editedRecord(0.75);
    writeAt<int32_t>(negativeCount, 4, -1);
    for (const auto& broken : {juce::MemoryBlock{}, truncated, tooManyValues, negativeCount}) {
        restoreRecord(plugin(), broken);
        EXPECT_EQ(savedRecord(plugin()), edited) << "after a record of " << broken.getSize() << " bytes";
    }
}

}  // namespace
}  // namespace probe::testing
