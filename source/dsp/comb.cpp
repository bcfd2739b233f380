#include "comb.h"

#include "Denormal.h"

void comb::mute() noexcept
{
    delay.mute();
    filterstore = 0.0f;
}

void comb::setdamp(float val) noexcept
{
    damp1 = val;
    damp2 = 1.0f - val;
}

float comb::process(float input) noexcept
{
    float output = delay.oldest();
    undenormalise(output);
    filterstore = output * damp2 + filterstore * damp1;
    undenormalise(filterstore);
    delay.replaceOldest(input + filterstore * feedback);
    return output;
}
