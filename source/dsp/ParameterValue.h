#pragma once
#include <cmath>

// A normalised value as stored: clamped to 0..1 and narrowed to float; NaN reads as 0, so
// no value from a host, a record or a file can make a divisor 0 or leave a table.
inline float normalisedValue(double value) noexcept
{
    if (std::isnan(value))
        return 0.0f;
    return static_cast<float>(std::fmin(std::fmax(value, 0.0), 1.0));
}

// A switch parameter is on from half way up.
inline bool isSwitchOn(float value) noexcept
{
    return value >= 0.5f;
}
