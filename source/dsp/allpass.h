#pragma once

#include "DelayBuffer.h"

// Schroeder allpass of the reverb's diffusion chain. The delay storage belongs to the owner.
class allpass
{
public:
    // size >= 1 floats; the storage is not cleared here (see mute).
    void setbuffer(float* buf, int size) noexcept { delay.setbuffer(buf, size); }
    void mute() noexcept { delay.mute(); }

    void setfeedback(float val) noexcept { feedback = val; }
    float getfeedback() const noexcept { return feedback; }

    // One sample in, one out. Audio thread.
    float process(float input) noexcept;

private:
    float feedback = 0.0f;
    DelayBuffer delay;
};
