#pragma once
#include "AudioBuffer.h"
#include "TimeStretcher.h"

#include <cstdint>

// Feeds the recorded input, a block of 1024 samples at a time, into the stretched
// rings. Both rings grow by the same count as the live ones. In stretch mode each block
// goes through the time stretcher, so stretched index k holds the stretcher's output for
// live index k - latency; outside stretch mode a block is copied unchanged and the
// stretcher stands idle.
class StretchFeed {
public:
    static constexpr int32_t kBlockSize = TimeStretcher::kBlockSize; // samples per channel

    // Set-up thread (allocates, slow): reconfigures and clears the stretcher when the
    // rate changes; false and no change for rates the stretcher refuses.
    bool setSamplerate(double sampleRate);
    // Audio thread: transposition of later blocks, -12..12 semitones; others are refused.
    void setSemitones(int32_t shift) noexcept;

    // Audio thread, once per recorded sample: appends the sample and, when a whole
    // block has gathered, writes the processed block to the two rings.
    void push(float left, float right, bool stretchMode, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept;

    // Audio thread: whether a play at rate 1 that starts at live index start and reaches
    // back to live index lowest (the start itself, or earlier for a reverse) finds only
    // stretcher output in the stretched rings, whose write index is given: the start plus
    // the latency lies at least one block behind what is written (the rest is written
    // while it plays), and everything it reads came out of the current run of stretch mode.
    bool holdsStretched(int64_t start, int64_t lowest, uint32_t stretchedWriteIndex) const noexcept;

    int32_t getLatency() const noexcept { return stretcher.latency(); }
    int32_t getSemitones() const noexcept { return semitones; }

private:
    void processBlock(bool stretchMode) noexcept;

    TimeStretcher stretcher{TimeStretcher::Unconfigured{}}; // configured by the first activation
    float input[2][kBlockSize] = {};  // gathered samples, left and right
    float output[2][kBlockSize] = {}; // the processed block
    int32_t fill = 0;                 // samples gathered since the last block
    int64_t stretchedRun = 0;         // samples written by the stretcher since stretch mode last began
    int32_t semitones = 0;            // transposition for the stretcher
};
