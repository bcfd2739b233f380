#pragma once
// A host transport for offline rendering: steady tempo in 4/4, position advanced by the renderer.

#include <juce_audio_basics/juce_audio_basics.h>

namespace probe {

class TransportPlayHead : public juce::AudioPlayHead {
public:
    // tempo in beats per minute (> 0), sampleRate in Hz (> 0)
    TransportPlayHead(double tempo, double sampleRate, bool playing);

    juce::Optional<PositionInfo> getPosition() const override;

    // Moves the position on by one rendered block; called between blocks.
    void advance(int numSamples) { positionSamples += numSamples; }

private:
    double tempo;                 // beats per minute
    double sampleRate;            // Hz
    bool playing;
    juce::int64 positionSamples = 0;  // samples since the start of the song
};

}  // namespace probe
