#pragma once

class RandomGenerator;

// Resonant four-stage filter (low-, high-, band-pass, band-reject). Each call draws one
// value from the shared generator and adds it, scaled to about 1e-5, as noise that keeps
// the stages out of the denormal range; that draw is part of the replayable sequence.
class CHighLifeFilter
{
public:
    enum Mode
    {
        kLowPass = 1,
        kHighPass = 2,
        kBandPass = 3,
        kBandReject = 4
    };

    // The generator must outlive the filter.
    explicit CHighLifeFilter(RandomGenerator& random) noexcept;

    void clear_filter() noexcept; // zeroes the state

    // One sample; cutoff 0.01..1, resonance 0.1..1. Any other mode returns 0 but still
    // draws and updates the state. Audio thread.
    float work(float in, float cutoff, float resonance, int mode) noexcept;

private:
    RandomGenerator& random;
    float k = 0.0f;  // feedback amount
    float p = 0.0f;  // stage coefficient
    float f = 0.0f;  // stage feedback coefficient, 2p - 1
    float b0 = 0.0f; // last filter input
    float b1 = 0.0f; // the four stage outputs
    float b2 = 0.0f;
    float b3 = 0.0f;
    float b4 = 0.0f;
};
