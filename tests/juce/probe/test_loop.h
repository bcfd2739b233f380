#pragma once
// A generated drum-like test loop, the same on every run, so renders can be compared.

#include <juce_audio_basics/juce_audio_basics.h>

namespace probe {

// numChannels >= 1, sampleRate and tempo > 0, seconds >= 0. Channels differ from each other,
// so a swapped or copied channel shows.
juce::AudioBuffer<float> makeTestLoop(int numChannels, double sampleRate, double tempo, double seconds);

}  // namespace probe
