#pragma once
#include "AudioBuffer.h"
#include "TimeStretcher.h"

#include <cstdint>

// Feeds the recorded input into the stretched rings a piece of 64 samples at a time, one
// chunk of 1024 samples behind the recorder, so that the stretcher's work is spread evenly
// over the samples and its output depends only on the recorded count, never on how the
// host cuts its blocks. The transposition and the mode in force when a chunk is complete
// hold for the whole chunk. Both rings advance by the same count as the live ones; in
// stretch mode stretched index k holds the stretcher's output for live index k - latency,
// outside stretch mode the rings are skipped unwritten (nothing reads them) and the
// stretcher stands idle.
class StretchFeed {
public:
    static constexpr int32_t kChunkSize = 1024;                      // samples
    static constexpr int32_t kPieceSize = TimeStretcher::kPieceSize; // samples

    // Set-up thread (allocates, slow): reconfigures and clears the stretcher when the
    // rate changes; false and no change for rates the stretcher refuses.
    bool setSamplerate(double sampleRate);
    // Audio thread: transposition of the chunks completed from now on, -12..12
    // semitones; others are refused.
    void setSemitones(int32_t shift) noexcept;

    // Audio thread, once per recorded sample: gathers the sample and, every 64 samples,
    // writes the next processed piece to the two rings.
    void push(float left, float right, bool stretchMode, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept;

    // Audio thread: whether a play at rate 1 that starts at live index start and reaches
    // back to live index lowest (the start itself, or earlier for a reverse) finds only
    // stretcher output in the stretched rings, whose write index is given: the start plus
    // the latency lies at least one piece behind what is written (the rest is written
    // while it plays), and everything it reads came out of the current run of stretch mode.
    bool holdsStretched(int64_t start, int64_t lowest, uint32_t stretchedWriteIndex) const noexcept;

    int32_t getLatency() const noexcept { return stretcher.latency(); }
    int32_t getSemitones() const noexcept { return semitones; }

private:
    void startChunk(bool stretchMode) noexcept;
    void feedPiece(int64_t first, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept;

    static constexpr int32_t kGathered = 2 * kChunkSize; // the chunk being fed and the one gathering

    TimeStretcher stretcher{TimeStretcher::Unconfigured{}}; // configured by the first activation
    float gathered[2][kGathered] = {}; // recorded samples, left and right, by count modulo kGathered
    float output[2][kPieceSize] = {};  // the processed piece
    int64_t pushed = 0;                // samples pushed so far
    bool chunkStretched = false;       // the chunk being fed goes through the stretcher
    int64_t stretchedRun = 0;          // samples written by the stretcher since stretch mode last began
    int32_t semitones = 0;             // transposition for the chunks completed from now on
};
