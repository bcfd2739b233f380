#include "AudioBuffer.h"

#include <algorithm>
#include <cmath>

AudioBuffer::AudioBuffer()
    : data(new float[size]()) // zeroed now, so the audio thread never meets a fresh page
{
}

void AudioBuffer::copyRange(const AudioBuffer& source, int64_t start, uint32_t count) noexcept
{
    count = std::min(count, size);
    auto from = static_cast<uint32_t>(static_cast<uint64_t>(start) & mask);
    while (count > 0) {
        const uint32_t run = std::min(count, size - from); // up to the ring's end
        std::copy_n(source.data.get() + from, run, data.get() + from);
        from = (from + run) & mask;
        count -= run;
    }
}

void AudioBuffer::copy(const AudioBuffer& source) noexcept
{
    copyRange(source, 0, size);
    writeIndex = source.writeIndex;
    readPos = std::trunc(source.readPos);
}
