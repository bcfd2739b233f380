#pragma once
// Shared set-up of the tests through JUCE's host: the message thread, a fresh processor, and the
// processor's own program record inside the state blob the host saves.

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

    // The input rendered (by default at 44.1 kHz in blocks of 512), expecting no error.
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

// JUCE's blob: an XML element holding the component's and the controller's states in base64.
inline std::unique_ptr<juce::XmlElement> stateXml(const juce::MemoryBlock& hostState)
{
    return juce::AudioProcessor::getXmlFromBinary(hostState.getData(), static_cast<int>(hostState.getSize()));
}

// The component's program record in a host's blob (empty when there is none): int32 version,
// int32 N, N float64 values by id, int32 M, M float64 hidden values.
inline juce::MemoryBlock recordIn(const juce::MemoryBlock& hostState)
{
    const auto xml = stateXml(hostState);
    const auto* element = xml != nullptr ? xml->getChildByName("IComponent") : nullptr;
    juce::MemoryBlock record;
    return element != nullptr && record.fromBase64Encoding(element->getAllSubText()) ? record : juce::MemoryBlock{};
}
inline juce::MemoryBlock savedRecord(juce::AudioPluginInstance& plugin) { return recordIn(hostState(plugin)); }
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
            ASSERT_EQ(actual.getSample(channel, i), expected.getSample(channel, i))
                << "channel " << channel << ", sample " << i;
}

}  // namespace probe::testing
