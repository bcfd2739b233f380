#include "HeldNotes.h"

int32_t HeldNotes::press(int32_t pitch, int32_t slicesPerBar, int32_t current) noexcept
{
    if (!selectsSlices(pitch) || slicesPerBar <= 0)
        return current;
    stamps[static_cast<size_t>(pitch)] = nextStamp++;
    return (pitch - kFirstSlicePitch) % slicesPerBar;
}

int32_t HeldNotes::release(int32_t pitch, int32_t slicesPerBar, int32_t current) noexcept
{
    if (!selectsSlices(pitch) || slicesPerBar <= 0)
        return current;
    stamps[static_cast<size_t>(pitch)] = 0;

    int32_t latestPitch = -1;
    uint64_t latestStamp = 0;
    for (int32_t p = 0; p < 128; ++p)
    {
        if (stamps[static_cast<size_t>(p)] > latestStamp)
        {
            latestStamp = stamps[static_cast<size_t>(p)];
            latestPitch = p;
        }
    }
    return latestPitch < 0 ? -1 : (latestPitch - kFirstSlicePitch) % slicesPerBar;
}
