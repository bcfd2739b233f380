#pragma once
// The test loop played through a plug-in on an audio thread of its own, block by block at the
// pace of real time, as a host's audio callback plays it, until the playback is destroyed.

#include "probe/offline_render.h"

#include <atomic>
#include <thread>

namespace probe::testing {

class LivePlayback {
public:
    // Prepares the plug-in for stereo at 44.1 kHz in real-time mode and starts playing; see error().
    explicit LivePlayback(juce::AudioPluginInstance& plugin);
    // Stops the audio thread, then releases the plug-in.
    ~LivePlayback();
    LivePlayback(const LivePlayback&) = delete;
    LivePlayback& operator=(const LivePlayback&) = delete;

    // Empty while playing; why nothing plays otherwise.
    const juce::String& error() const { return renderer.error(); }

private:
    void play();

    const RenderSettings settings;  // stereo, 44.1 kHz, real-time mode
    BlockRenderer renderer;
    juce::AudioBuffer<float> loop;    // stereo, played over and over
    juce::AudioBuffer<float> output;  // audio thread
    std::atomic<bool> stopping{false};
    std::thread audioThread;
};

}  // namespace probe::testing
