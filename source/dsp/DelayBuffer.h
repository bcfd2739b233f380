#pragma once

#include <algorithm>
#include <cassert>

// Circular delay line over storage owned by someone else: each sample reads the oldest
// value and then replaces it, so the delay is the buffer's size.
class DelayBuffer
{
public:
    // size >= 1 floats; the storage is not cleared here (see mute).
    void setbuffer(float* buf, int size) noexcept
    {
        assert(buf != nullptr && size >= 1);
        buffer = buf;
        bufsize = size;
        bufidx = 0;
    }

    void mute() noexcept { std::fill(buffer, buffer + bufsize, 0.0f); }

    float oldest() const noexcept { return buffer[bufidx]; }

    void replaceOldest(float value) noexcept
    {
        buffer[bufidx] = value;
        if (++bufidx >= bufsize)
            bufidx = 0;
    }

private:
    float* buffer = nullptr;
    int bufsize = 0; // samples
    int bufidx = 0;  // the oldest sample, next to be read and replaced
};
