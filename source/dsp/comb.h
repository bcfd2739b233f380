#pragma once

#include "DelayBuffer.h"

// Lowpass-feedback comb filter of the reverb. The delay storage belongs to the owner.
class comb
{
public:
    // size >= 1 floats; the storage is not cleared here (see mute).
    void setbuffer(float* buf, int size) noexcept { delay.setbuffer(buf, size); }
    void mute() noexcept; // clears the delay line and the filter memory

    void setdamp(float val) noexcept; // 0..1, share of the previous filter output kept
    float getdamp() const noexcept { return damp1; }
    void setfeedback(float val) noexcept { feedback = val; }
    float getfeedback() const noexcept { return feedback; }

    // One sample in, the delayed sample out. Audio thread.
    float process(float input) noexcept;

private:
    float feedback = 0.0f;
    float filterstore = 0.0f; // lowpass memory
    float damp1 = 0.0f;
    float damp2 = 1.0f;       // 1 - damp1
    DelayBuffer delay;
};
