#pragma once

#include <cstdint>

// Sample-rate reducer: holds one input frame for holdLen frames and mixes the held
// frame with the input. Never allocates.
class BitReduzer
{
public:
    // 0..1 → hold length 1..25 frames; NaN is refused (nothing changes).
    void setReduceRate(float value) noexcept;
    // 0..1 share of the held frame; clamped, NaN is refused.
    void setDryWet(float value) noexcept;

    int32_t holdLength() const noexcept { return holdLen; } // frames, 1..25

    // One frame in place. Audio thread.
    void process(float& l, float& r) noexcept;

private:
    static constexpr int32_t kMaxHold = 25; // frames

    uint64_t counter = 0; // frames processed; 64 bits so the count never wraps
    int32_t holdLen = 1;  // frames, 1..kMaxHold
    float heldL = 0.0f;
    float heldR = 0.0f;
    float mix = 0.5f;     // 0..1
};
