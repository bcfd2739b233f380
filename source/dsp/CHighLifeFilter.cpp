#include "CHighLifeFilter.h"

#include "RandomGenerator.h"

CHighLifeFilter::CHighLifeFilter(RandomGenerator& random) noexcept : random(random)
{
}

void CHighLifeFilter::clear_filter() noexcept
{
    k = p = f = 0.0f;
    b0 = b1 = b2 = b3 = b4 = 0.0f;
}

float CHighLifeFilter::work(float in, float cutoff, float resonance, int mode) noexcept
{
    const int32_t noise = random.next();

    const float q = 1.0f - cutoff;
    p = cutoff + 0.8f * cutoff * q;
    f = p + p - 1.0f;
    k = ((5.6f * q * q + (1.0f - q)) * (q * 0.5f) + 1.0f) * (resonance * 0.89f);

    const float x = static_cast<float>(noise) * 1e-14f + in - k * b4;

    const float old1 = b1;
    const float old2 = b2;
    const float old3 = b3;
    b1 = (x + b0) * p - b1 * f;
    b0 = x;
    b2 = (b1 + old1) * p - b2 * f;
    b3 = (b2 + old2) * p - b3 * f;
    b4 = (b3 + old3) * p - b4 * f;

    switch (mode)
    {
    case kLowPass:
        return b4;
    case kHighPass:
        return x - b4;
    case kBandPass:
        return 3.0f * (b3 - b4);
    case kBandReject:
        return 3.0f * (b3 - b4) - x;
    default:
        return 0.0f;
    }
}
