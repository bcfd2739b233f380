#include "allpass.h"

#include <algorithm>
#include <cassert>

#include "Denormal.h"

void allpass::setbuffer(float* buf, int size) noexcept
{
    assert(buf != nullptr && size >= 1);
    buffer = buf;
    bufsize = size;
    bufidx = 0;
}

void allpass::mute() noexcept
{
    std::fill(buffer, buffer + bufsize, 0.0f);
}

float allpass::process(float input) noexcept
{
    float bufout = buffer[bufidx];
    undenormalise(bufout);
    const float output = bufout - input;
    buffer[bufidx] = input + bufout * feedback;
    if (++bufidx >= bufsize)
        bufidx = 0;
    return output;
}
