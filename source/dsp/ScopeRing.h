#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// One signed byte per output sample for the editor's oscilloscope.
// Single producer (audio thread) owns writeIndex, single consumer (UI thread) owns
// readIndex. Holds at most kCapacity - 1 bytes: when full, new samples are dropped.
class ScopeRing
{
public:
    static constexpr int32_t kCapacity = 16384;
    static constexpr int32_t kMaxBytes = kCapacity - 1;

    // audio thread: appends the mean of left and right for each sample
    void write(const float* left, const float* right, int32_t sampleCount) noexcept;
    // UI thread: moves every pending byte into out (up to kMaxBytes), returns the count
    int32_t drain(std::array<int8_t, kMaxBytes>& out) noexcept;

    void clear() noexcept;

    // (left + right) / 2 scaled to 127; louder samples wrap around in 8 bits
    static int8_t toScopeByte(float left, float right) noexcept;

private:
    std::array<int8_t, kCapacity> bytes{};
    std::atomic<int32_t> writeIndex{0}; // 0..kCapacity-1, audio thread
    std::atomic<int32_t> readIndex{0};  // 0..kCapacity-1, UI thread
};
