#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Which MIDI-selected slice plays: the most recently pressed held note of pitch 36 or
// above wins, and releasing it hands the choice back to the latest note still held.
class HeldNotes
{
public:
    static constexpr int32_t kFirstSlicePitch = 36; // pitch of slice 0

    // Both answer the slice now selected (-1 = none) or `current` when the event does
    // not concern slice selection (pitch below 36 or outside 0..127).
    int32_t press(int32_t pitch, int32_t slicesPerBar, int32_t current) noexcept;
    int32_t release(int32_t pitch, int32_t slicesPerBar, int32_t current) noexcept;

    void clear() noexcept { stamps.fill(0); nextStamp = 1; }

private:
    static bool selectsSlices(int32_t pitch) noexcept { return pitch >= kFirstSlicePitch && pitch <= 127; }

    std::array<uint64_t, 128> stamps{}; // 0 = not held; later presses get larger stamps
    uint64_t nextStamp = 1;             // 64-bit: cannot run out
};
