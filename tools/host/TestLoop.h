#pragma once
// Generated input for renders and tests, so no recorded audio is needed.

#include "host/AudioClip.h"

namespace VextoriaHost {

struct LoopSettings {
    double sampleRate = 44100.0;  // Hz
    double tempo = 120.0;         // beats per minute, 4 beats per bar
    int32_t bars = 1;
    int32_t channels = 2;         // 1 or 2
};

// A drum-like loop: kicks on beats 1 and 3, noise snares on 2 and 4, clicks on every eighth
// and a short tone per beat. Stereo puts the clicks right and the tones left of centre, so a
// swapped channel shows. Peak stays below 0.9; the noise is seeded, so every call is equal.
AudioClip generateDrumLoop(const LoopSettings& settings);

// Every sample's value encodes its own frame index (modulo 2^20), exactly in 32-bit float,
// so a test can tell which input frame any output sample came from. 16-bit files lose it.
AudioClip generatePositionSignal(int64_t frames, int32_t channels, double sampleRate);
float positionSample(int64_t frameIndex);
int64_t positionOfSample(float value);  // the frame index modulo 2^20

constexpr int64_t kPositionPeriod = int64_t {1} << 20;  // frames before the code repeats

}  // namespace VextoriaHost
