#pragma once

#include <array>
#include <memory>

#include "StereoFifo.h"

namespace RubberBand
{
class RubberBandStretcher;
}

// Pitch shifter that keeps duration, for two channels, fed in small fixed pieces: every
// call takes exactly kPieceSize frames and gives exactly kPieceSize frames back, delayed
// by a fixed latency() in samples at every transposition. Pieces no longer than one of
// the shifter's hops spread its spectral work evenly over the calls, and its output does
// not depend on how a caller groups them.
//
// A sample rate's measurements (the delay each transposition adds, the reserve of output
// that keeps a piece always ready, the latency) are taken once per process, by the first
// instance configured for it, and shared with every later one; each instance warms its own
// shifter up at every semitone, so that processing never allocates.
class TimeStretcher
{
public:
    static constexpr int kChannels = 2;
    static constexpr int kPieceSize = 64;    // frames per call
    static constexpr int kMaxSemitones = 12; // transposition range is -12..12 semitones

    TimeStretcher(); // configured for 44100 Hz
    // Not configured until setSamplerate: spares a configuration that the first
    // activation at another rate would throw away. Gives silence until configured.
    struct Unconfigured {};
    explicit TimeStretcher(Unconfigured) noexcept;
    ~TimeStretcher();
    TimeStretcher(const TimeStretcher&) = delete;
    TimeStretcher& operator=(const TimeStretcher&) = delete;

    // Set-up thread (allocates; a few hundred milliseconds for the first instance at a
    // rate in the process, about ten milliseconds after that). Rebuilds and clears the shifter when the rate
    // changes; a rate outside 8000 to 384000 Hz is refused (returns false, nothing
    // changes). The rate is narrowed to single precision first.
    bool setSamplerate(double sampleRate);
    double samplerate() const noexcept { return rate; }
    bool configured() const noexcept { return stretcher != nullptr; }

    // Audio thread, from the next piece on. -kMaxSemitones..kMaxSemitones; others are refused.
    bool setSemitones(int semitones) noexcept;

    // The factor a shift transposes by: within 0.03 cent of 2^(s/12), chosen so that the
    // shifter's resampler changes to it at no extra cost (its ratio is a fraction of
    // small terms). Undefined outside -kMaxSemitones..kMaxSemitones.
    static double transposition(int semitones) noexcept;

    // Audio thread: kPieceSize frames per channel in and out; the buffers may not overlap.
    // Non-finite input samples are taken as silence.
    void process(const float* const* input, float* const* output) noexcept;

    // Samples between a frame going in and the same frame coming out.
    int latency() const noexcept { return calibration.latency; }

    static constexpr int kNumShifts = 2 * kMaxSemitones + 1;
    // What one sample rate needs measured.
    struct Calibration {
        std::array<int, kNumShifts> shiftDelay {}; // samples each transposition adds to factor 1's delay
        int outputDelay = 0;                       // frames of silence queued ahead of the first output
        int latency = 0;                           // samples, the whole chain's
    };

private:
    std::unique_ptr<RubberBand::RubberBandStretcher> makeShifter(int channels) const;
    Calibration measure();
    void primeAtUnity();
    void restart();
    void warmUp();
    // Plays a tone with noise through the warm-up sequence, piecesPerRatio pieces per
    // factor: onFactor(semitones) as each factor is set, afterPiece(frames fed) after each piece.
    template <typename OnFactor, typename AfterPiece>
    void playWarmUpSequence(int piecesPerRatio, OnFactor&& onFactor, AfterPiece&& afterPiece);
    std::array<int, kNumShifts> measureShiftDelays();
    int measureLatency();
    int measureShortfall();
    void compensateDelayChange(int from, int to) noexcept;
    void collectOutput() noexcept;
    void feedSilence(int frames);
    template <typename Consume>
    void retrieveAll(Consume&& consume) noexcept; // hands each retrieved chunk's size to consume

    std::unique_ptr<RubberBand::RubberBandStretcher> stretcher;
    StereoFifo pending;                                              // shifted frames not yet given out
    std::array<std::array<float, 1024>, kChannels> scratch {};       // retrieve buffer
    std::array<std::array<float, kPieceSize>, kChannels> finiteInput {}; // input with NaN and infinity zeroed
    Calibration calibration;
    double rate = 0.0;    // Hz
    int semitones = 0;    // in force
    int framesToSkip = 0; // shifter output still to be discarded to keep the alignment
};
