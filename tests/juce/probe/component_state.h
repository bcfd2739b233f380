#pragma once
// The plug-in's own component state inside the state blob that JUCE's VST3 host saves
// (a binary XML element holding the component's and the controller's states in base64).

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

namespace probe {

// The component's bytes, or nothing when the blob holds none.
std::optional<juce::MemoryBlock> componentState(const juce::MemoryBlock& hostState);

// The same blob with the component's bytes replaced; nothing when the blob cannot be read.
std::optional<juce::MemoryBlock> withComponentState(const juce::MemoryBlock& hostState,
                                                    const juce::MemoryBlock& component);

}  // namespace probe
