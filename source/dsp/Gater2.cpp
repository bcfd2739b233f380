#include "Gater2.h"

#include <algorithm>
#include <cmath>
#include <limits>

Gater2::Gater2()
{
    init(sampleRate);
}

bool Gater2::init(int32_t newSampleRate)
{
    if (newSampleRate < kMinimumSampleRate)
        return false;
    sampleRate = newSampleRate;
    releaseLen = std::floor(4.0 * sampleRate / 1000.0);
    attackLen = std::floor(2.0 * sampleRate / 1000.0);
    releaseTable.assign(static_cast<size_t>(releaseLen), 0.0);
    for (size_t i = 0; i < releaseTable.size(); ++i)
        releaseTable[i] = std::sqrt((releaseLen - static_cast<double>(i)) / releaseLen);
    return true;
}

void Gater2::setSize(int32_t sliceLength) noexcept
{
    gateSize = sliceLength;
}

void Gater2::setValue(float gateAmount) noexcept
{
    gateValue = std::isnan(gateAmount) ? 0.0f : std::clamp(gateAmount, 0.0f, 1.0f);
    const int32_t minimumOpen = static_cast<int32_t>(sampleRate * 20 / 1000); // 20 ms
    const double open = (gateSize - releaseLen - minimumOpen) * gateValue + minimumOpen;
    openLen = std::max(static_cast<int32_t>(open), minimumOpen);
}

void Gater2::start() noexcept
{
    gatePos = 0;
    releaseStart = openLen;
}

double Gater2::gain(int32_t position) const noexcept
{
    if (position < releaseStart)
        return position <= attackLen ? position / attackLen : 1.0;
    const int32_t sinceRelease = position - releaseStart;
    return sinceRelease < releaseLen ? releaseTable[static_cast<size_t>(sinceRelease)] : 0.0;
}

float Gater2::process(float x) noexcept
{
    const double g = gain(gatePos);
    // Once closed the gain no longer changes, so the count may stop instead of overflowing.
    if (gatePos < std::numeric_limits<int32_t>::max())
        ++gatePos;
    return static_cast<float>(x * g);
}
