#pragma once
#include <cstdint>

// Records the input into long rings and plays one slice at a time from them.
// Work in progress: the recorder and player are being filled in.
class Slice {
public:
    Slice();

    void setSamplerate(double sampleRate);           // UI thread (resume)
    void setSamplePerBeat(double samplesPerBeat);    // audio thread
    void record(float left, float right) noexcept;   // audio thread
    void processStretch() noexcept;                  // audio thread, right after record
    void setStart() noexcept;                        // audio thread, at a bar start
    void setSliceStart(int32_t sliceIndex) noexcept; // audio thread, 0..15
    void setFreeze(bool on) noexcept;                // audio thread

    void setPitch(double rate) noexcept;
    void setPitchSemitone(int32_t semitones) noexcept;
    void setPan(float pan) noexcept;
    void playSlice(double length, int32_t sliceIndex, bool reverse, bool roll) noexcept;
    void playSlice2(double length, int32_t sliceIndex, bool reverse, bool roll) noexcept;
    void playDirect(double length, bool roll) noexcept;
    void playFreezeDirect(double length, int32_t sliceIndex, bool reverse, bool roll) noexcept;
    void process(float& left, float& right) noexcept;
};
