#pragma once

#include <array>
#include <cstdint>

// The additive-feedback generator behind the C library's rand(), reproduced so that
// the DSP core owns its own seeded sequence: seed(s) followed by next() gives the same
// values as srand(s) followed by rand() (degree 31, separation 3). Never allocates.
class RandomGenerator
{
public:
    static constexpr int32_t kMax = 2147483647; // largest value next() returns

    RandomGenerator() noexcept { seed(1); } // rand() without srand() starts from seed 1

    // Restarts the sequence; seed 0 behaves as seed 1, as in the C library.
    void seed(uint32_t value) noexcept;

    // Next value, 0 to kMax. Audio thread.
    int32_t next() noexcept;

private:
    static constexpr int kDegree = 31;     // words of state
    static constexpr int kSeparation = 3;  // the second tap lies this many words back
    static constexpr int kDiscarded = 310; // outputs thrown away after seeding

    std::array<uint32_t, kDegree> state {}; // ring of the last kDegree words
    int front = 0;                          // index of the oldest word, the next to be replaced
};
