#pragma once
#include "AudioBuffer.h"

#include <algorithm>

// A copy of one live ring as it was at the moment of capture, filled a few samples
// per recorded sample instead of 32 MiB at once. Copying starts with the oldest
// samples, the ones the recorder overwrites first, and stays ahead of the recorder,
// so a position not copied yet still holds its captured value in the live ring.
// Reads therefore always see the capture, exactly as a whole copy would.
class FrozenBuffer {
public:
    static constexpr uint32_t kCopyPerSample = 8; // samples copied per recorded sample

    // Audio thread: the capture starts now; nothing is copied yet.
    void capture(const AudioBuffer& live) noexcept
    {
        origin = live.getWriteIndex();
        copied = 0;
    }

    // Audio thread: call before every write into the live ring after a capture.
    void copyAhead(const AudioBuffer& live) noexcept
    {
        if (copied == AudioBuffer::size)
            return;
        const uint32_t count = std::min(kCopyPerSample, AudioBuffer::size - copied);
        buffer.copyRange(live, static_cast<int64_t>(origin) + copied, count);
        copied += count;
    }

    // The captured sample at any index (wrapping like the ring).
    float read(int64_t index, const AudioBuffer& live) const noexcept
    {
        const uint64_t sinceOrigin = (static_cast<uint64_t>(index) - origin) & AudioBuffer::mask;
        return sinceOrigin < copied ? buffer.read(index) : live.read(index);
    }

    bool isComplete() const noexcept { return copied == AudioBuffer::size; }

private:
    AudioBuffer buffer;
    uint32_t origin = 0;                // live write index at the capture: its oldest sample
    uint32_t copied = AudioBuffer::size; // samples copied from origin on
};
