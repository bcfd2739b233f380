#include "HiddenParameters.h"

#include <cmath>

HiddenParameters::HiddenParameters() noexcept : value {0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0}
{
}

double HiddenParameters::getParamValue(int32_t index) const noexcept
{
    return index >= 0 && index < count ? value[index] : 0.0;
}

bool HiddenParameters::setParamValue(int32_t index, double newValue) noexcept
{
    // NaN fails every comparison, so it is refused by name rather than by range.
    if (index < 0 || index >= count || std::isnan(newValue) || newValue < 0.0 || newValue > 1.0)
        return false;
    value[index] = newValue;
    return true;
}
