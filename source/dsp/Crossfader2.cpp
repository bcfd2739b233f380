#include "Crossfader2.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {
// The fade must last at least one sample and stay a sane size.
bool isUsableLength(double samples)
{
    return std::isfinite(samples) && samples >= 1.0 && samples <= 1 << 20;
}
} // namespace

Crossfader2::Crossfader2()
{
    init();
}

void Crossfader2::init()
{
    currentL = currentR = 0.0f;
    fadeLen = static_cast<int32_t>(std::floor(sampleRate * fadeTimeMs / 1000.0));
    fadePos = fillPos = fadeLen;
    const auto length = static_cast<size_t>(fadeLen);
    gain.resize(length);
    fade[0].resize(length);
    fade[1].resize(length);
    for (size_t i = 0; i < length; ++i) {
        const double ramp = static_cast<double>(i) / fadeLen;
        gain[i] = type == kLinear ? ramp : std::sqrt(ramp);
    }
}

bool Crossfader2::configure(double newSampleRate, double milliseconds)
{
    if (!isUsableLength(newSampleRate * milliseconds / 1000.0))
        return false;
    sampleRate = newSampleRate;
    fadeTimeMs = milliseconds;
    init();
    return true;
}

bool Crossfader2::setTime(double milliseconds)
{
    return configure(sampleRate, milliseconds);
}

bool Crossfader2::setSamplerate(int32_t newSampleRate)
{
    return configure(newSampleRate, fadeTimeMs);
}

bool Crossfader2::setType(CrossfadeType newType)
{
    if (newType != kLinear && newType != kSquareRoot)
        return false;
    type = newType;
    init();
    return true;
}

void Crossfader2::setFadeOutBuffer(float left, float right) noexcept
{
    const float start[2] = {left, right};
    for (uint32_t channel = 0; channel < 2; ++channel)
        rampDown(channel, 0, start[channel], static_cast<double>(start[channel]) / fadeLen);
}

void Crossfader2::rampDown(uint32_t channel, uint32_t from, double value, double step) noexcept
{
    // Repeated subtraction in double precision, stored as float.
    for (auto i = static_cast<int32_t>(from); i < fadeLen; ++i, value -= step)
        fade[channel][static_cast<size_t>(i)] = static_cast<float>(value);
}

void Crossfader2::setFadeOutBuffer(const float* const* buffer, uint32_t sampleCount, bool forward) noexcept
{
    const uint32_t copied = std::min(sampleCount, static_cast<uint32_t>(fadeLen));
    for (uint32_t channel = 0; channel < 2; ++channel) {
        const float* source = buffer[channel];
        for (uint32_t i = 0; i < copied; ++i)
            fade[channel][i] = forward ? source[i] : *(source - static_cast<std::ptrdiff_t>(i));
        if (copied < static_cast<uint32_t>(fadeLen)) {
            // The ramp continues below the last copied sample, so it has no step of its own.
            const float last = copied > 0 ? fade[channel][copied - 1] : 0.0f;
            const double step = static_cast<double>(last) / (fadeLen - copied + 1);
            rampDown(channel, copied, last - step, step);
        }
    }
}

void Crossfader2::start() noexcept
{
    fadePos = 0;
}

void Crossfader2::start(const float* const* buffer) noexcept
{
    for (uint32_t channel = 0; channel < 2; ++channel)
        std::copy_n(buffer[channel], fadeLen, fade[channel].begin());
    fadePos = 0;
}

template <typename Sample>
void Crossfader2::mix(Sample& left, Sample& right, float fadeLeft, float fadeRight) noexcept
{
    const double g = gain[static_cast<size_t>(fadePos)];
    left = static_cast<Sample>(fadeLeft * (1.0 - g) + left * g);
    right = static_cast<Sample>(right * g + fadeRight * (1.0 - g));
    currentL = static_cast<float>(left);
    currentR = static_cast<float>(right);
    ++fadePos;
}

void Crossfader2::process(double& left, double& right) noexcept
{
    if (isFading())
        mix(left, right, fade[0][static_cast<size_t>(fadePos)], fade[1][static_cast<size_t>(fadePos)]);
}

void Crossfader2::process(float& left, float& right) noexcept
{
    if (isFading())
        mix(left, right, fade[0][static_cast<size_t>(fadePos)], fade[1][static_cast<size_t>(fadePos)]);
}

void Crossfader2::process(float& left, float& right, float fadeLeft, float fadeRight) noexcept
{
    if (isFading())
        mix(left, right, fadeLeft, fadeRight);
}

void Crossfader2::fillBuffer(float left, float right) noexcept
{
    if (fillPos >= fadeLen)
        return;
    fade[0][static_cast<size_t>(fillPos)] = left;
    fade[1][static_cast<size_t>(fillPos)] = right;
    ++fillPos;
}

void Crossfader2::getCurrentValue(float& left, float& right) const noexcept
{
    left = currentL;
    right = currentR;
}
