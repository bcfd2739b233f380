#pragma once
#include "AudioBuffer.h"
#include "Crossfader2.h"
#include "FrozenBuffer.h"
#include "PitchCurves.h"
#include "StretchFeed.h"

#include <array>
#include <cstdint>

// The bar recorder and slice player. Records the input without pause into long
// rings, keeps where (and at which tempo) each slice of the current and the previous
// bar began, and plays one slice at a time: live, from the previous bar, from a
// frozen capture or from the stretched copy, forwards or backwards, at a rate, with
// an optional roll and a pan. Everything but construction and setSamplerate runs on
// the audio thread; calls with unusable values are ignored and change nothing.
class Slice {
public:
    static constexpr int32_t kMaxSlices = 16; // slices per bar at most

    Slice(); // set-up: reserves the six rings (192 MiB, taken page by page as they are written)

    void setSamplerate(double sampleRate);            // set-up; only the stretcher follows the rate
    void setSamplePerBeat(double samplesPerBeat) noexcept; // > 0
    void record(float left, float right) noexcept;
    void processStretch() noexcept;                   // once per sample, right after record
    void setStart() noexcept;                         // at a bar start
    void setSliceStart(int32_t sliceIndex) noexcept;  // 0..15, at a slice start
    // On: captures the live rings (each sample saved as the recorder is about to overwrite
    // it) and the previous bar's tables; off: plays leave the capture. No change: no effect.
    void setFreeze(bool on) noexcept;

    // Engine switches, set at slice or bar starts.
    bool setPitchFx(bool on, int32_t curve) noexcept; // curve: a PitchCurves::Id
    void setRollFraction(double fraction) noexcept;   // 0 < fraction <= 1 of the play length
    void setStretchMode(bool on) noexcept;

    void setPitch(double rate) noexcept;              // play rate, > 0
    void setPitchSemitone(int32_t semitones) noexcept; // -12..12: rate and stretcher
    void setPan(float pan) noexcept;                  // 0 left .. 0.5 centre .. 1 right

    // Plays; length in samples (1 .. ring size), slice index 0..15. False: refused,
    // the current play goes on. A reverse plays the audio before the slice start.
    // Slice i of the previous bar, or of the frozen bar at the current beat length:
    bool playSlice(double length, int32_t sliceIndex, bool reverse, bool roll) noexcept;
    // From the previous bar's table at the ratio of the recorded tempo to the current:
    bool playSlice2(double length, int32_t sliceIndex, bool reverse, bool roll) noexcept;
    // The live input from the next recorded sample on, even if freeze switches on:
    bool playDirect(double length, bool roll) noexcept;
    // Slice i of the frozen bar:
    bool playFreezeDirect(double length, int32_t sliceIndex, bool reverse, bool roll) noexcept;

    void process(float& left, float& right) noexcept; // one output pair

    bool isFrozen() const noexcept { return frozen; }
    double getRate() const noexcept { return rate; }
    float getGainLeft() const noexcept { return gainL; }
    float getGainRight() const noexcept { return gainR; }
    int32_t getBarStart() const noexcept { return barStart; }
    int32_t getWriteIndex() const noexcept { return static_cast<int32_t>(liveL.getWriteIndex()); }
    int32_t getStretchSemitones() const noexcept { return stretchFeed.getSemitones(); }
    int32_t getStretchLatency() const noexcept { return stretchFeed.getLatency(); } // samples
    bool isStretchedPlay() const noexcept { return stretchedPlay; }

private:
    using SliceStarts = std::array<int32_t, kMaxSlices>;      // live write indexes
    using SliceTempos = std::array<double, kMaxSlices>;       // samples per beat

    static bool isUsableLength(double length) noexcept;
    static bool isSliceIndex(int32_t sliceIndex) noexcept { return sliceIndex >= 0 && sliceIndex < kMaxSlices; }
    void beginPlay(double length, int32_t start, bool rolling) noexcept;
    void reverseFromSliceStart(double length) noexcept;
    void beginStretchedPlay(double length) noexcept;
    void readPlayed(int64_t index, float& left, float& right) const noexcept;

    AudioBuffer liveL, liveR;             // everything recorded
    FrozenBuffer frozenL, frozenR;        // captured when freeze switches on
    AudioBuffer stretchedL, stretchedR;   // the stretch feed's output
    bool frozen = false;
    double samplesPerBeat = 22050.0;      // samples, current tempo
    int32_t barStart = 0;                 // live index where the bar that just ended began
    int32_t playStart = 0;                // anchor of the current play; a roll returns here
    int32_t playLen = 0;                  // samples
    double playPos = 0.0;                 // read position, live index space
    int32_t direction = 1;                // +1 forwards, -1 backwards
    double rate = 1.0;                    // read positions per output sample
    bool roll = false;
    bool livePlay = false;                // a direct play stays on the live rings until the next play
    float pan = 0.5f;                     // 0..1
    float gainR = 1.0f, gainL = 1.0f;     // 0..1
    SliceStarts sliceStart{}, prevSliceStart{};
    SliceTempos sliceSpb, prevSliceSpb;
    int32_t frozenBarStart = 0;
    SliceStarts frozenSliceStart{};
    SliceTempos frozenSliceSpb;
    double frozenSpb = 22050.0;           // samples per beat when freeze switched on
    Crossfader2 crossfader;               // roll fades: 441 samples, square-root gains
    bool stretchMode = false;
    bool stretchedPlay = false;           // the current play reads the stretched rings
    StretchFeed stretchFeed;
    PitchCurves pitchCurves;
    bool pitchFxOn = false;
    int32_t pitchFxId = PitchCurves::kScratch;
    double pitchPhase = 0.0;              // curve points
    double pitchStep = 0.0;               // curve points per output sample
    double rollFraction = 0.25;           // of the play length, after which a roll returns
};
