#pragma once

// Schroeder allpass of the reverb's diffusion chain. The delay buffer belongs to the owner.
class allpass
{
public:
    // size >= 1 floats; the buffer is not cleared here (see mute).
    void setbuffer(float* buf, int size) noexcept;
    void mute() noexcept; // clears the delay line

    void setfeedback(float val) noexcept { feedback = val; }
    float getfeedback() const noexcept { return feedback; }

    // One sample in, one out. Audio thread.
    float process(float input) noexcept;

private:
    float feedback = 0.0f;
    float* buffer = nullptr;
    int bufsize = 0; // samples
    int bufidx = 0;  // next sample to read and replace
};
