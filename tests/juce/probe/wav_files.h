#pragma once
// WAV input and output of the probe; both refuse any path that is not a regular file.

#include <juce_audio_formats/juce_audio_formats.h>

namespace probe {

struct WavAudio {
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;  // Hz
};

struct WavReadResult {
    WavAudio audio;
    juce::String error;  // empty on success
};

// Reads a mono or stereo file.
WavReadResult readWav(const juce::File& file);

// Writes 32-bit float samples; an existing regular file is replaced whole, anything else
// at the path (folder, device, pipe) is refused and left alone. Returns an error or empty.
juce::String writeWav(const juce::File& file, const WavAudio& audio);

}  // namespace probe
