#pragma once
#include "AudioBuffer.h"

#include <algorithm>

// A copy of one live ring as it was at the moment of capture, over the window of
// positions that frozen plays can read. Each position is saved just before the recorder
// overwrites it for the first time after the capture; until then the live ring itself
// still holds the captured value. So reads inside the window always see the capture,
// exactly as a whole copy would, and memory is taken only as the recorder moves through
// the window: at once for the part ahead of the capture point, a ring later for the rest.
// Outside the window, a position the recorder has overwritten reads as recorded since.
class FrozenBuffer {
public:
    // Audio thread: the capture starts now. The window reaches back from the live write
    // index and ahead of it by the given samples; together at least a ring: all of it.
    void capture(const AudioBuffer& live, uint32_t reachBack, uint32_t reachAhead) noexcept
    {
        origin = live.getWriteIndex();
        overwritten = 0;
        windowStart = (origin - std::min(reachBack, AudioBuffer::size)) & AudioBuffer::mask;
        const uint64_t length = static_cast<uint64_t>(reachBack) + reachAhead;
        windowLength = static_cast<uint32_t>(std::min<uint64_t>(length, AudioBuffer::size));
    }

    // Audio thread: call before every write into the live ring after a capture.
    void saveBeforeWrite(const AudioBuffer& live) noexcept
    {
        if (overwritten == AudioBuffer::size)
            return;
        const uint32_t next = (origin + overwritten) & AudioBuffer::mask; // where the recorder writes now
        if (inWindow(next))
            buffer.copyRange(live, next, 1);
        ++overwritten;
    }

    // The captured sample at any index inside the window (wrapping like the ring).
    float read(int64_t index, const AudioBuffer& live) const noexcept
    {
        const uint64_t sinceOrigin = (static_cast<uint64_t>(index) - origin) & AudioBuffer::mask;
        return sinceOrigin < overwritten && inWindow(index) ? buffer.read(index) : live.read(index);
    }

private:
    bool inWindow(int64_t index) const noexcept
    {
        return ((static_cast<uint64_t>(index) - windowStart) & AudioBuffer::mask) < windowLength;
    }

    AudioBuffer buffer;
    uint32_t origin = 0;                     // live write index at the capture
    uint32_t overwritten = AudioBuffer::size; // positions the recorder has overwritten since, from origin on
    uint32_t windowStart = 0;                // first position of the window
    uint32_t windowLength = 0;               // samples
};
