#pragma once
#include "AudioBuffer.h"

#include <cstdint>

// Feeds the recorded input, a block of 1024 samples at a time, into the stretched
// rings. Both rings grow by the same count as the live ones, so stretched index k
// holds what the block processing made of live index k - latency.
// For now every block passes through unchanged (latency 0); the pitch stretcher
// takes over processBlock() and reports its own latency.
class StretchFeed {
public:
    static constexpr int32_t kBlockSize = 1024; // samples per channel

    bool setSamplerate(double sampleRate);        // set-up; refuses rates not above 0
    void setSemitones(int32_t shift) noexcept;     // audio thread; transposition of later blocks

    // Audio thread, once per recorded sample: appends the sample and, when a whole
    // block has gathered, writes the processed block to the two rings.
    void push(float left, float right, bool stretchMode, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept;

    int32_t getLatency() const noexcept { return latency; }
    int32_t getSemitones() const noexcept { return semitones; }

private:
    void processBlock(bool stretchMode) noexcept;

    float input[2][kBlockSize] = {};  // gathered samples, left and right
    float output[2][kBlockSize] = {}; // the processed block
    int32_t fill = 0;                 // samples gathered since the last block
    int32_t latency = 0;              // samples between live and stretched material
    double sampleRate = 44100.0;      // Hz, for the stretcher
    int32_t semitones = 0;            // transposition for the stretcher
};
