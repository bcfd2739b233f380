#include "BitReduzer.h"

#include <algorithm>
#include <cmath>

void BitReduzer::setReduceRate(float value) noexcept
{
    if (std::isnan(value))
        return;
    // Clamped in float before the conversion so the hold length is never 0 and the
    // conversion never overflows.
    const float frames = std::clamp(value * 24.0f + 1.0f, 1.0f, static_cast<float>(kMaxHold));
    holdLen = static_cast<int32_t>(frames);
}

void BitReduzer::setDryWet(float value) noexcept
{
    if (std::isnan(value))
        return;
    mix = std::clamp(value, 0.0f, 1.0f);
}

void BitReduzer::process(float& l, float& r) noexcept
{
    if (counter % static_cast<uint64_t>(holdLen) == 0)
    {
        heldL = l;
        heldR = r;
    }
    ++counter;
    l = (1.0f - mix) * l + mix * heldL;
    r = (1.0f - mix) * r + mix * heldR;
}
