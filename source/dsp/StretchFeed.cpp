#include "StretchFeed.h"

#include <algorithm>
#include <cmath>

bool StretchFeed::setSamplerate(double newSampleRate)
{
    if (!(std::isfinite(newSampleRate) && newSampleRate > 0.0))
        return false;
    sampleRate = newSampleRate;
    return true;
}

void StretchFeed::setSemitones(int32_t shift) noexcept
{
    semitones = shift;
}

void StretchFeed::push(float left, float right, bool stretchMode, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept
{
    if (fill == kBlockSize) {
        fill = 0;
        processBlock(stretchMode);
        for (int32_t i = 0; i < kBlockSize; ++i) {
            outLeft.write(output[0][i]);
            outRight.write(output[1][i]);
        }
    }
    input[0][fill] = left;
    input[1][fill] = right;
    ++fill;
}

void StretchFeed::processBlock(bool stretchMode) noexcept
{
    // The time stretcher belongs here: in stretch mode it transposes the input block
    // into the output block and sets the latency to its block length. Outside stretch
    // mode the block passes unchanged, as it does for now in both modes.
    (void)stretchMode;
    for (int32_t channel = 0; channel < 2; ++channel)
        std::copy_n(input[channel], kBlockSize, output[channel]);
}
