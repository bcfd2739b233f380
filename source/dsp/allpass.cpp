#include "allpass.h"

#include "Denormal.h"

float allpass::process(float input) noexcept
{
    float bufout = delay.oldest();
    undenormalise(bufout);
    delay.replaceOldest(input + bufout * feedback);
    return bufout - input;
}
