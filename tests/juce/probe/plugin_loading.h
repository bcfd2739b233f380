#pragma once
// Loading a VST3 bundle's classes through JUCE's VST3 format, the way a JUCE-based host does.

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace probe {

// The audio classes that the bundle offers, as the host's scan sees them (empty when none).
juce::OwnedArray<juce::PluginDescription> listClasses(const juce::String& bundlePath);

struct LoadedPlugin {
    std::unique_ptr<juce::AudioPluginInstance> instance;  // null when loading failed
    juce::String error;                                   // why, when it failed
};

// Creates the class named className (the first class when empty); call on the message thread.
LoadedPlugin loadClass(const juce::String& bundlePath, const juce::String& className,
                       double sampleRate, int blockSize);

}  // namespace probe
