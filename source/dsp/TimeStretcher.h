#pragma once

#include <array>
#include <memory>

#include "StereoFifo.h"

namespace RubberBand
{
class RubberBandStretcher;
}

// Pitch shifter that keeps duration, for two channels in fixed blocks: every call takes
// exactly kBlockSize frames and gives exactly kBlockSize frames back, delayed by a fixed
// latency() in samples at every transposition. The transposition may change before any
// block; the sample rate only off the audio thread. Configuration warms the shifter up
// at every semitone it can be given, so that processing never allocates, and measures
// the delay each transposition adds, so that it can be taken out again.
class TimeStretcher
{
public:
    static constexpr int kChannels = 2;
    static constexpr int kBlockSize = 1024;  // frames per call
    static constexpr int kMaxSemitones = 12; // transposition range is -12..12 semitones

    TimeStretcher(); // configured for 44100 Hz
    // Not configured until setSamplerate: spares a configuration that the first
    // activation at another rate would throw away. Gives silence until configured.
    struct Unconfigured {};
    explicit TimeStretcher(Unconfigured) noexcept;
    ~TimeStretcher();
    TimeStretcher(const TimeStretcher&) = delete;
    TimeStretcher& operator=(const TimeStretcher&) = delete;

    // Set-up thread (allocates, takes a few hundred milliseconds). Rebuilds and clears
    // the shifter when the rate changes; a rate outside 8000 to 384000 Hz is refused
    // (returns false, nothing changes). The rate is narrowed to single precision first.
    bool setSamplerate(double sampleRate);
    double samplerate() const noexcept { return rate; }
    bool configured() const noexcept { return stretcher != nullptr; }

    // Audio thread. -kMaxSemitones..kMaxSemitones, factor 2^(s/12); others are refused.
    bool setSemitones(int semitones) noexcept;

    // Audio thread: kBlockSize frames per channel in and out; the buffers may not overlap.
    // Non-finite input samples are taken as silence.
    void process(const float* const* input, float* const* output) noexcept;

    // Samples between a frame going in and the same frame coming out.
    int latency() const noexcept { return totalLatency; }

private:
    static constexpr int kNumShifts = 2 * kMaxSemitones + 1;

    void primeAtUnity();
    void restart(int outputDelay);
    void measureShiftDelays();
    int measureLatency(int outputDelay);
    int measureShortfall();
    void compensateDelayChange(int from, int to) noexcept;
    void collectOutput() noexcept;
    void feedSilence(int frames);
    template <typename Consume>
    void retrieveAll(Consume&& consume) noexcept; // hands each retrieved chunk's size to consume

    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher;
    StereoFifo pending;                                              // shifted frames not yet given out
    std::array<std::array<float, kBlockSize>, kChannels> scratch {};     // retrieve buffer
    std::array<std::array<float, kBlockSize>, kChannels> finiteInput {}; // input with NaN and infinity zeroed
    std::array<int, kNumShifts> shiftDelay {}; // samples each transposition adds to factor 1's delay
    double rate = 0.0;    // Hz
    int semitones = 0;    // in force
    int framesToSkip = 0; // shifter output still to be discarded to keep the alignment
    int totalLatency = 0; // samples
};
