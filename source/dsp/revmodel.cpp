#include "revmodel.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kFixedGain = 0.015f;
constexpr float kScaleWet = 3.0f;
constexpr float kScaleDry = 2.0f;
constexpr float kScaleDamp = 0.4f;
constexpr float kScaleRoom = 0.28f;
constexpr float kOffsetRoom = 0.7f;
constexpr float kAllpassFeedback = 0.5f;
constexpr float kFreezeMode = 0.5f;

constexpr float kInitialRoom = 0.5f;
constexpr float kInitialDamp = 0.5f;
constexpr float kInitialWet = 1.0f / kScaleWet;
constexpr float kInitialDry = 0.0f;
constexpr float kInitialWidth = 1.0f;
constexpr float kInitialMode = 0.0f;
} // namespace

revmodel::revmodel() noexcept
{
    float* next = delayStorage.data();
    auto carve = [&next](auto& filter, int size) {
        filter.setbuffer(next, size);
        next += size;
    };
    for (int i = 0; i < kNumCombs; ++i)
    {
        carve(combL[i], reverbtuning::kCombs[i]);
        carve(combR[i], reverbtuning::kCombs[i] + reverbtuning::kStereoSpread);
    }
    for (int i = 0; i < kNumAllpasses; ++i)
    {
        carve(allpassL[i], reverbtuning::kAllpasses[i]);
        carve(allpassR[i], reverbtuning::kAllpasses[i] + reverbtuning::kStereoSpread);
        allpassL[i].setfeedback(kAllpassFeedback);
        allpassR[i].setfeedback(kAllpassFeedback);
    }

    setwet(kInitialWet);
    setroomsize(kInitialRoom);
    setdry(kInitialDry);
    setdamp(kInitialDamp);
    setwidth(kInitialWidth);
    setmode(kInitialMode);
    mute();
}

bool revmodel::frozen() const noexcept
{
    return mode >= kFreezeMode;
}

void revmodel::mute() noexcept
{
    if (frozen())
        return;
    for (int i = 0; i < kNumCombs; ++i)
    {
        combL[i].mute();
        combR[i].mute();
    }
    for (int i = 0; i < kNumAllpasses; ++i)
    {
        allpassL[i].mute();
        allpassR[i].mute();
    }
}

revmodel::Wet revmodel::processWet(float inputL, float inputR) noexcept
{
    // Both channels' combs hear the same mono sum; only the tuning differs.
    const float input = (inputL + inputR) * gain;
    float outL = 0.0f;
    float outR = 0.0f;
    for (int i = 0; i < kNumCombs; ++i)
    {
        outL += combL[i].process(input);
        outR += combR[i].process(input);
    }
    for (int i = 0; i < kNumAllpasses; ++i)
    {
        outL = allpassL[i].process(outL);
        outR = allpassR[i].process(outR);
    }
    return {outL * wet1 + outR * wet2, outR * wet1 + outL * wet2};
}

void revmodel::process(float& l, float& r) noexcept
{
    const Wet out = processWet(l, r);
    l = out.left + l * dry;
    r = out.right + r * dry;
}

void revmodel::processreplace(const float* inputL, const float* inputR, float* outputL, float* outputR,
                              long numsamples, int skip) noexcept
{
    for (long i = 0; i < numsamples; ++i, inputL += skip, inputR += skip, outputL += skip, outputR += skip)
    {
        const Wet out = processWet(*inputL, *inputR);
        *outputL = out.left + *inputL * dry;
        *outputR = out.right + *inputR * dry;
    }
}

void revmodel::processmix(const float* inputL, const float* inputR, float* outputL, float* outputR,
                          long numsamples, int skip) noexcept
{
    for (long i = 0; i < numsamples; ++i, inputL += skip, inputR += skip, outputL += skip, outputR += skip)
    {
        const Wet out = processWet(*inputL, *inputR);
        *outputL += out.left + *inputL * dry;
        *outputR += out.right + *inputR * dry;
    }
}

double revmodel::decaySamples(float roomSize, double attenuation) noexcept
{
    const float clamped = std::isnan(roomSize) ? 1.0f : std::clamp(roomSize, 0.0f, 1.0f);
    const double feedback = clamped * kScaleRoom + kOffsetRoom;
    constexpr int kLongestLoop = reverbtuning::kCombs.back() + reverbtuning::kStereoSpread;
    return std::log(attenuation) / std::log(feedback) * kLongestLoop;
}

void revmodel::update() noexcept
{
    wet1 = wet * (width / 2.0f + 0.5f);
    wet2 = wet * ((1.0f - width) / 2.0f);

    if (frozen())
    {
        roomsize1 = 1.0f; // endless sustain
        damp1 = 0.0f;
        gain = 0.0f;      // and nothing new enters
    }
    else
    {
        roomsize1 = roomsize;
        damp1 = damp;
        gain = kFixedGain;
    }

    for (int i = 0; i < kNumCombs; ++i)
    {
        combL[i].setfeedback(roomsize1);
        combR[i].setfeedback(roomsize1);
        combL[i].setdamp(damp1);
        combR[i].setdamp(damp1);
    }
}

void revmodel::setroomsize(float value) noexcept
{
    roomsize = value * kScaleRoom + kOffsetRoom;
    update();
}

float revmodel::getroomsize() const noexcept
{
    return (roomsize - kOffsetRoom) / kScaleRoom;
}

void revmodel::setdamp(float value) noexcept
{
    damp = value * kScaleDamp;
    update();
}

float revmodel::getdamp() const noexcept
{
    return damp / kScaleDamp;
}

void revmodel::setwet(float value) noexcept
{
    wet = value * kScaleWet;
    update();
}

float revmodel::getwet() const noexcept
{
    return wet / kScaleWet;
}

void revmodel::setdry(float value) noexcept
{
    dry = value * kScaleDry; // read directly by process, so no update
}

float revmodel::getdry() const noexcept
{
    return dry / kScaleDry;
}

void revmodel::setwidth(float value) noexcept
{
    width = value;
    update();
}

float revmodel::getwidth() const noexcept
{
    return width;
}

void revmodel::setmode(float value) noexcept
{
    mode = value;
    update();
}

float revmodel::getmode() const noexcept
{
    return frozen() ? 1.0f : 0.0f;
}

void setReverbDryWet(revmodel& reverb, float mix) noexcept
{
    reverb.setdry(std::min(1.0f - mix, 0.5f));
    reverb.setwet(mix * 0.5f);
}
