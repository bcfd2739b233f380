#pragma once
// Shared set-up of the tests through JUCE's host: the message thread and a fresh processor.

#include "probe/probe.h"

#include <gtest/gtest.h>

#include <cstring>

namespace probe::testing {

inline const juce::String bundlePath = VEXTORIA_BUNDLE;
inline const juce::String processorClassName = "VextoriaPRO";

class LoadedPluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loaded = loadClass(bundlePath, processorClassName);
        ASSERT_NE(loaded.instance, nullptr) << loaded.error.toStdString();
    }
    juce::AudioPluginInstance& plugin() { return *loaded.instance; }

    // Renders input with the default settings (44.1 kHz, blocks of 512) and expects no error.
    juce::AudioBuffer<float> rendered(const juce::AudioBuffer<float>& input, RenderSettings settings = {})
    {
        auto result = render(plugin(), input, settings);
        EXPECT_EQ(result.error, "");
        return result.output;
    }

    juce::ScopedJuceInitialiser_GUI juceRuntime;  // declared first: it outlives the plug-in
    LoadedPlugin loaded;
};

inline juce::MemoryBlock hostState(juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock state;
    plugin.getStateInformation(state);
    return state;
}

inline std::unique_ptr<juce::XmlElement> readStateBlob(const juce::MemoryBlock& hostState)
{
    return juce::AudioProcessor::getXmlFromBinary(hostState.getData(), static_cast<int>(hostState.getSize()));
}

// The component's bytes in the blob a JUCE host saves; nothing when it holds none.
inline std::optional<juce::MemoryBlock> componentState(const juce::MemoryBlock& hostState)
{
    const auto blob = readStateBlob(hostState);
    const auto* element = blob != nullptr ? blob->getChildByName("IComponent") : nullptr;
    juce::MemoryBlock bytes;
    if (element == nullptr || !bytes.fromBase64Encoding(element->getAllSubText()))
        return std::nullopt;
    return bytes;
}

// The plug-in's own program record as the host saved it (empty when it saved none). The record:
// int32 version, int32 N, N float64 values by id, int32 M, M float64 hidden values.
inline juce::MemoryBlock savedRecord(juce::AudioPluginInstance& plugin)
{
    return componentState(hostState(plugin)).value_or(juce::MemoryBlock{});
}
inline size_t recordValueOffset(int id) { return 8 + 8 * static_cast<size_t>(id); }

// The value at offset of a record, or zero when the record is too short to hold it.
template <typename Value>
Value readRecord(const juce::MemoryBlock& record, size_t offset)
{
    Value value{};
    if (offset + sizeof(Value) <= record.getSize())
        std::memcpy(&value, static_cast<const char*>(record.getData()) + offset, sizeof(Value));
    return value;
}

// Sample-exact equality, reporting the first difference.
inline void expectIdentical(const juce::AudioBuffer<float>& actual, const juce::AudioBuffer<float>& expected)
{
    ASSERT_EQ(actual.getNumChannels(), expected.getNumChannels());
    ASSERT_EQ(actual.getNumSamples(), expected.getNumSamples());
    for (int channel = 0; channel < expected.getNumChannels(); ++channel)
        for (int i = 0; i < expected.getNumSamples(); ++i)
            ASSERT_EQ(actual.getSample(channel, i), expected.getSample(channel, i)) << "channel " << channel << ", sample " << i;
}

}  // namespace probe::testing
