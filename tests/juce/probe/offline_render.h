#pragma once
// Rendering through a hosted plug-in, offline unless asked for real-time mode: mono or stereo
// buses, fixed blocks, a playing transport; every block's processing is timed.

#include "probe/transport_play_head.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace probe {

struct RenderSettings {
    double sampleRate = 44100.0;  // Hz
    int blockSize = 512;          // samples, the most per processBlock call
    double tempo = 120.0;         // beats per minute
    bool playing = true;          // transport state reported to the plug-in
    bool realtime = false;        // process mode: real-time instead of offline
};

// Holds a plug-in prepared for one channel layout and feeds it blocks; releases it when done.
class BlockRenderer {
public:
    // numChannels 1 (mono in, mono out) or 2 (stereo in, stereo out).
    BlockRenderer(juce::AudioPluginInstance& plugin, int numChannels, const RenderSettings& settings);
    ~BlockRenderer();
    BlockRenderer(const BlockRenderer&) = delete;
    BlockRenderer& operator=(const BlockRenderer&) = delete;

    // Empty when the plug-in is prepared; otherwise why it is not (and nothing may be rendered).
    const juce::String& error() const { return failure; }

    // Processes input samples [start, start + length) into the same region of output;
    // both have numChannels channels, 1 <= length <= blockSize.
    void process(const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output, int start, int length);

private:
    juce::AudioPluginInstance& plugin;
    RenderSettings settings;
    TransportPlayHead playHead;
    juce::AudioBuffer<float> block;  // the plug-in's in-place buffer, blockSize samples
    juce::MidiBuffer midi;
    juce::String failure;
};

struct RenderResult {
    juce::AudioBuffer<float> output;  // as many channels and samples as the input
    juce::String error;               // empty on success
    double worstBlockSeconds = 0.0;   // wall-clock time of the slowest processBlock call
    double worstBlockCpuSeconds = 0.0; // the rendering thread's CPU time in the costliest call
    double totalBlockSeconds = 0.0;   // wall-clock time of all processBlock calls
    int blocks = 0;                   // processBlock calls made
};

// Renders the whole input in blocks; its channel count (1 or 2) chooses the buses.
RenderResult render(juce::AudioPluginInstance& plugin, const juce::AudioBuffer<float>& input,
                    const RenderSettings& settings);

}  // namespace probe
