#pragma once
#include <cstdint>

// The musical clock of the recorder: samples since the last slice, beat and bar start, in
// step with the host's position. A block that continues the previous one carries the
// clock on; anything else (first block, a start, a jump, a loop) re-reads the position.
class SliceClock {
public:
    struct Starts {
        bool bar = false;
        bool slice = false;
    };

    // Block start: position in quarter notes, samples per beat (> 0), slices per beat
    // (1, 2 or 4), whether the transport plays. Audio thread.
    void beginBlock(double quarterNotes, double samplesPerBeat, int32_t slicesPerBeat, bool playing) noexcept;
    // One sample: which starts fall on it; then every position grows by one sample.
    Starts step() noexcept;
    void endBlock(int32_t sampleCount) noexcept; // remembers where the next block should start
    void reset() noexcept;                       // the next block re-reads the position
    // Where a block that continues this one starts, in quarter notes: the clock runs on from
    // there when the host gives no position.
    double expectedQuarterNotes() const noexcept { return nextQuarters; }

    double slicePos = 0.0; // samples since the last slice start
    double beatPos = 0.0;  // samples since the last beat start
    double barPos = 0.0;   // samples since the last bar start

private:
    bool continues(double quarterNotes, double samplesPerBeat, bool playing) const noexcept;

    double sliceLen = 11025.0;   // samples, fixed for the block
    double barLen = 88200.0;     // samples
    bool firstSample = false;    // force starts on the block's first sample
    bool running = false;        // a previous block exists
    bool wasPlaying = false;
    double blockStartQuarters = 0.0; // position of this block's first sample
    double blockSamplesPerBeat = 22050.0;
    double nextQuarters = 0.0;   // where a continuing block starts
};
