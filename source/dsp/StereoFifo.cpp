#include "StereoFifo.h"

#include <cassert>
#include <cstddef>

void StereoFifo::reserve(int frames)
{
    assert(frames > 0);
    for (auto& channel : ring)
        channel.assign(static_cast<std::size_t>(frames), 0.0f);
    clear();
}

void StereoFifo::clear() noexcept
{
    readIndex = 0;
    count = 0;
}

void StereoFifo::pushFrame(float left, float right) noexcept
{
    const int size = capacity();
    assert(size > 0);
    if (count == size)
    {
        readIndex = (readIndex + 1) % size; // drop the oldest frame
        --count;
    }
    const int writeIndex = (readIndex + count) % size;
    ring[0][writeIndex] = left;
    ring[1][writeIndex] = right;
    ++count;
}

void StereoFifo::pushSilence(int frames) noexcept
{
    for (int i = 0; i < frames; ++i)
        pushFrame(0.0f, 0.0f);
}

void StereoFifo::repeatNewest(int frames) noexcept
{
    if (count == 0)
    {
        pushSilence(frames);
        return;
    }
    const int size = capacity();
    const int span = frames < count ? frames : count;
    const int first = (readIndex + count - span) % size; // ring positions stay put while pushing
    for (int i = 0; i < frames; ++i)
    {
        const int from = (first + i % span) % size;
        pushFrame(ring[0][from], ring[1][from]);
    }
}

void StereoFifo::push(const float* const* frames, int numFrames) noexcept
{
    for (int i = 0; i < numFrames; ++i)
        pushFrame(frames[0][i], frames[1][i]);
}

int StereoFifo::pop(float* const* out, int numFrames) noexcept
{
    const int size = capacity();
    const int taken = numFrames < count ? numFrames : count;
    for (int i = 0; i < taken; ++i)
    {
        out[0][i] = ring[0][readIndex];
        out[1][i] = ring[1][readIndex];
        readIndex = (readIndex + 1) % size;
    }
    count -= taken;
    return taken;
}
