#include "SliceDecider.h"

#include <array>
#include <cstddef>

namespace {

// Which slice of the previous bar a repeat plays, weighted towards the bar's strong slices.
constexpr std::array<int32_t, 9> kPickOneSlicePerBeat = {0, 0, 1, 1, 1, 2, 2, 3, 3};
constexpr std::array<int32_t, 21> kPickTwoSlicesPerBeat = {0, 0, 1, 2, 2, 2, 2, 3, 3, 4, 4,
                                                           4, 5, 5, 6, 6, 6, 6, 6, 7, 7};
constexpr std::array<int32_t, 31> kPickFourSlicesPerBeat = {0,  0,  0,  0,  2,  2,  2,  4,  4,  4,  4,
                                                            4,  6,  6,  6,  8,  8,  8,  8,  8,  8,  10,
                                                            10, 10, 12, 12, 12, 12, 12, 14, 14};

template <size_t N>
int32_t pick(const std::array<int32_t, N>& table, float u) noexcept
{
    constexpr auto lastIndex = static_cast<float>(N - 1);
    auto index = static_cast<int32_t>(u * lastIndex);
    if (index < 0)
        index = 0;
    if (index > static_cast<int32_t>(N - 1))
        index = static_cast<int32_t>(N - 1);
    return table[static_cast<size_t>(index)];
}

} // namespace

int32_t SliceDecider::pickFromTable(int32_t slicesPerBeat, float u) noexcept
{
    switch (slicesPerBeat)
    {
    case 1: return pick(kPickOneSlicePerBeat, u);
    case 4: return pick(kPickFourSlicesPerBeat, u);
    default: return pick(kPickTwoSlicesPerBeat, u);
    }
}
