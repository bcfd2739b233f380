#pragma once
#include <cstdint>

// Peak follower: rises toward louder input within the attack time and falls within
// the release time, each time taken to reach 1 % of the remaining distance.
class EnvelopeFollower {
public:
    EnvelopeFollower() = default;

    // Set-up: times in ms, rate in Hz. Values that are not finite and above 0 are
    // refused (false) and change nothing.
    bool setup(double attackMs, double releaseMs, int32_t sampleRate);

    double process(float x) noexcept; // audio thread; returns the envelope
    double getEnvelope() const noexcept { return envelope; }
    double getAttackCoefficient() const noexcept { return attackCoef; }
    double getReleaseCoefficient() const noexcept { return releaseCoef; }

private:
    double envelope = 0.0;    // 0.. (peak magnitude)
    double attackCoef = 0.0;  // per-sample decay of the distance while rising
    double releaseCoef = 0.0; // per-sample decay of the distance while falling
};
