#pragma once
#include <cstdint>

// The musical clock of the recorder and the slicer: samples since the last slice, beat and
// bar start, in step with the host's position. A block that continues the previous one carries the
// clock on; anything else (first block, a start, a jump, a loop) re-reads the position.
class SliceClock {
public:
    struct Starts {
        bool bar = false;
        bool beat = false;
        bool slice = false;
        bool slicesPerBeatChanged = false; // a beat start took the pending slice count
    };

    // Block start: position in quarter notes, samples per beat (> 0), slices per beat in
    // force (1, 2 or 4), whether the transport plays, and the slice count asked for
    // (1, 2 or 4), which takes effect at the next beat start. Audio thread.
    void beginBlock(double quarterNotes, double samplesPerBeat, int32_t slicesPerBeat, bool playing,
                    int32_t pendingSlicesPerBeat = 0) noexcept;
    // One sample: which starts fall on it; then every position grows by one sample.
    Starts step() noexcept;
    double sliceLength() const noexcept { return sliceLen; } // samples, as now in force
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

    void takePendingSliceCount() noexcept;

    double sliceLen = 11025.0;   // samples; changes only at a beat start
    double barLen = 88200.0;     // samples
    bool firstSample = false;    // force starts on the block's first sample
    bool running = false;        // a previous block exists
    bool wasPlaying = false;
    double blockStartQuarters = 0.0; // position of this block's first sample
    double blockSamplesPerBeat = 22050.0;
    int32_t blockSlicesPerBeat = 2;   // in force when the block began
    int32_t pendingSlicesPerBeat = 2; // asked for; taken at a beat start
    int64_t blockStartSample = 0;     // absolute index of the block's first sample
    int64_t samplesIntoBlock = 0;
    double nextQuarters = 0.0;   // where a continuing block starts
};
