#include "ScopeRing.h"

#include <cmath>

int8_t ScopeRing::toScopeByte(float left, float right) noexcept
{
    const float sum = left + right;
    double scaled = static_cast<double>(sum) * 0.5 * 127.0;
    // Keep the conversion defined for any input: NaN reads as silence and huge values
    // are held inside the int32 range before the 8-bit wrap.
    if (std::isnan(scaled))
        scaled = 0.0;
    scaled = std::fmax(-2147483648.0, std::fmin(2147483647.0, scaled));
    const auto whole = static_cast<int32_t>(scaled);
    return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(whole) & 0xFFu));
}

void ScopeRing::write(const float* left, const float* right, int32_t sampleCount) noexcept
{
    const int32_t read = readIndex.load(std::memory_order_acquire);
    int32_t write = writeIndex.load(std::memory_order_relaxed);
    for (int32_t i = 0; i < sampleCount; ++i)
    {
        const int32_t next = write + 1 == kCapacity ? 0 : write + 1;
        if (next == read)
            break; // full: the rest of the block is dropped
        bytes[static_cast<size_t>(write)] = toScopeByte(left[i], right[i]);
        write = next;
    }
    writeIndex.store(write, std::memory_order_release);
}

int32_t ScopeRing::drain(std::array<int8_t, kMaxBytes>& out) noexcept
{
    const int32_t write = writeIndex.load(std::memory_order_acquire);
    int32_t read = readIndex.load(std::memory_order_relaxed);
    int32_t count = 0;
    while (read != write)
    {
        out[static_cast<size_t>(count++)] = bytes[static_cast<size_t>(read)];
        read = read + 1 == kCapacity ? 0 : read + 1;
    }
    readIndex.store(read, std::memory_order_release);
    return count;
}

void ScopeRing::clear() noexcept
{
    bytes.fill(0);
    writeIndex.store(0, std::memory_order_relaxed);
    readIndex.store(0, std::memory_order_relaxed);
}
