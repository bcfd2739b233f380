#pragma once
// Shared set-up of the tests through JUCE's host: the message thread and a fresh processor.

#include "probe/component_state.h"
#include "probe/plugin_loading.h"

#include <gtest/gtest.h>

#include <cstring>

namespace probe::testing {

inline const juce::String bundlePath = VEXTORIA_BUNDLE;
inline const juce::String processorClassName = "VextoriaPRO";
constexpr double defaultSampleRate = 44100.0;  // Hz
constexpr int defaultBlockSize = 512;          // samples

class LoadedPluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loaded = loadClass(bundlePath, processorClassName, defaultSampleRate, defaultBlockSize);
        ASSERT_NE(loaded.instance, nullptr) << loaded.error.toStdString();
    }

    juce::AudioPluginInstance& plugin() { return *loaded.instance; }

    // Declared first, so the runtime outlives the plug-in.
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    LoadedPlugin loaded;
};

inline juce::MemoryBlock hostState(juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock state;
    plugin.getStateInformation(state);
    return state;
}

// The plug-in's own component state as the host saved it (empty when the host saved none).
inline juce::MemoryBlock savedComponentState(juce::AudioPluginInstance& plugin)
{
    return componentState(hostState(plugin)).value_or(juce::MemoryBlock{});
}

// Program record: int32 version, int32 N, N float64 values by id, int32 M, M float64 hidden values.
inline size_t recordValueOffset(int id) { return 8 + 8 * static_cast<size_t>(id); }

// The value at offset of a record, or a zero value when the record is too short to hold it.
template <typename Value>
Value readRecord(const juce::MemoryBlock& record, size_t offset)
{
    Value value{};
    if (offset + sizeof(Value) <= record.getSize())
        std::memcpy(&value, static_cast<const char*>(record.getData()) + offset, sizeof(Value));
    return value;
}

// Sample-exact equality of two buffers, reporting the first difference.
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
