#include "EnvelopeFollower.h"

#include <cmath>

bool EnvelopeFollower::setup(double attackMs, double releaseMs, int32_t sampleRate)
{
    const double attackSamples = attackMs * sampleRate * 0.001;
    const double releaseSamples = sampleRate * releaseMs * 0.001;
    if (!(std::isfinite(attackSamples) && std::isfinite(releaseSamples) && attackMs > 0.0
            && releaseMs > 0.0 && sampleRate > 0))
        return false;
    attackCoef = std::pow(0.01, 1.0 / attackSamples);
    releaseCoef = std::pow(0.01, 1.0 / releaseSamples);
    return true;
}

double EnvelopeFollower::process(float x) noexcept
{
    const double magnitude = std::fabs(static_cast<double>(x));
    const double coefficient = magnitude > envelope ? attackCoef : releaseCoef;
    envelope = magnitude + (envelope - magnitude) * coefficient;
    return envelope;
}
