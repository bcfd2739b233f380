#pragma once
// Host-side access to a plug-in's parameters by the names it gives them.

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

namespace probe {

// The parameter whose full name is name, or null.
juce::AudioProcessorParameter* findParameter(juce::AudioProcessor& processor, const juce::String& name);

struct ParameterSetting {
    juce::String name;
    float value = 0.0f;  // normalised, 0..1
};

// Reads "name=value" with a normalised value 0..1; nothing for any other text.
std::optional<ParameterSetting> parseParameterSetting(const juce::String& text);

// Sets the named parameter as a host's automation would; false (nothing set) when there is none.
bool applyParameterSetting(juce::AudioProcessor& processor, const ParameterSetting& setting);

}  // namespace probe
