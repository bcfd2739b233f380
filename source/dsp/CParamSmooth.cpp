#include "CParamSmooth.h"

#include <cmath>

CParamSmooth::CParamSmooth(double milliseconds, double sampleRate)
{
    init(milliseconds, sampleRate);
}

bool CParamSmooth::init(double milliseconds, double sampleRate)
{
    // 0.001 is taken in single precision, as the smoother always has.
    const double samples = milliseconds * static_cast<double>(0.001f) * sampleRate;
    if (!(std::isfinite(samples) && milliseconds > 0.0 && sampleRate > 0.0))
        return false;
    a = std::exp(-6.283185307179586 / samples);
    b = 1.0 - a;
    z = 0.0;
    return true;
}

double CParamSmooth::process(double x) noexcept
{
    z = x * b + z * a;
    return z;
}
