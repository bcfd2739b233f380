#pragma once
// Audio held by the host between files, generators and the plug-in: one float vector per channel.

#include <cstdint>
#include <vector>

namespace VextoriaHost {

struct AudioClip {
    double sampleRate = 44100.0;             // Hz
    std::vector<std::vector<float>> channels; // all the same length

    AudioClip() = default;
    AudioClip(int32_t channelCount, int64_t frames, double rate);

    int32_t channelCount() const { return static_cast<int32_t>(channels.size()); }
    int64_t frames() const { return channels.empty() ? 0 : static_cast<int64_t>(channels[0].size()); }
};

struct Levels {
    float peak = 0.f;  // largest magnitude over all channels
    float rms = 0.f;   // over all channels and frames
};

Levels measureLevels(const AudioClip& clip);

}  // namespace VextoriaHost
