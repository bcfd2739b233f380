#pragma once
#include <algorithm>
#include <cstdint>
#include <limits>
#include <type_traits>

// The transport values the engine runs on. Inside these ranges every length and position the
// engine derives fits its integer types; a host value outside them keeps the last good one.
namespace TransportLimits {

inline constexpr double kMinTempo = 1.0;            // beats per minute
inline constexpr double kMaxTempo = 1000.0;         // beats per minute
inline constexpr double kMinSampleRate = 1000.0;    // Hz
inline constexpr double kMaxSampleRate = 768000.0;  // Hz
inline constexpr double kMaxQuarterNotes = 1e9;     // |position|, about 15 years at 120 BPM
inline constexpr double kMinSamplesPerBeat = kMinSampleRate * 60.0 / kMaxTempo;
inline constexpr double kMaxSamplesPerBeat = kMaxSampleRate * 60.0 / kMinTempo;

// NaN fails both comparisons, so it is never usable.
constexpr bool isUsableTempo(double tempo) noexcept
{
    return tempo >= kMinTempo && tempo <= kMaxTempo;
}

constexpr bool isUsableSampleRate(double rate) noexcept
{
    return rate >= kMinSampleRate && rate <= kMaxSampleRate;
}

constexpr bool isUsableSamplesPerBeat(double samplesPerBeat) noexcept
{
    return samplesPerBeat >= kMinSamplesPerBeat && samplesPerBeat <= kMaxSamplesPerBeat;
}

// A musical position held inside +-kMaxQuarterNotes; NaN stays NaN for the caller to refuse.
inline double boundedQuarterNotes(double quarterNotes) noexcept
{
    return std::clamp(quarterNotes, -kMaxQuarterNotes, kMaxQuarterNotes);
}

} // namespace TransportLimits

// value truncated toward zero into Int; values beyond Int's range give its end, NaN gives 0.
// Unlike a plain cast this is defined for every double.
template <typename Int>
constexpr Int saturatingCast(double value) noexcept
{
    static_assert(std::is_integral_v<Int> && std::is_signed_v<Int>);
    // Both bounds are powers of two, so they are exact doubles.
    constexpr double lowest = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double beyondHighest = -lowest;
    if (value != value)
        return 0;
    if (value <= lowest)
        return std::numeric_limits<Int>::min();
    if (value >= beyondHighest)
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

// a + b held inside int64's range.
inline int64_t saturatingAdd(int64_t a, int64_t b) noexcept
{
    int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}
