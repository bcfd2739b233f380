#include "comb.h"

#include <algorithm>
#include <cassert>

#include "Denormal.h"

void comb::setbuffer(float* buf, int size) noexcept
{
    assert(buf != nullptr && size >= 1);
    buffer = buf;
    bufsize = size;
    bufidx = 0;
}

void comb::mute() noexcept
{
    std::fill(buffer, buffer + bufsize, 0.0f);
    filterstore = 0.0f;
}

void comb::setdamp(float val) noexcept
{
    damp1 = val;
    damp2 = 1.0f - val;
}

float comb::process(float input) noexcept
{
    float output = buffer[bufidx];
    undenormalise(output);
    filterstore = output * damp2 + filterstore * damp1;
    undenormalise(filterstore);
    buffer[bufidx] = input + filterstore * feedback;
    if (++bufidx >= bufsize)
        bufidx = 0;
    return output;
}
