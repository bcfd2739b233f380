#pragma once

#include <bit>
#include <cstdint>

// Zero or denormal (all exponent bits clear) becomes exactly 0, so that decaying
// feedback never drops into the slow denormal range.
inline void undenormalise(float& value) noexcept
{
    if ((std::bit_cast<uint32_t>(value) & 0x7f800000u) == 0)
        value = 0.0f;
}
