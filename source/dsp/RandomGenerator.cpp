#include "RandomGenerator.h"

void RandomGenerator::seed(uint32_t value) noexcept
{
    // The first words come from a Lehmer generator (16807, modulus 2^31 - 1) run in
    // Schrage's form on the seed read as a signed 32-bit number, as the C library does.
    int32_t word = value == 0 ? 1 : static_cast<int32_t>(value);
    state[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < kDegree; ++i)
    {
        const int32_t high = word / 127773;
        const int32_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0)
            word += kMax;
        state[i] = static_cast<uint32_t>(word);
    }
    // The next three words are copies of the first three, so the ring already holds
    // them: the sum recurrence starts three words in.
    front = kSeparation;
    for (int i = 0; i < kDiscarded; ++i)
        next();
}

int32_t RandomGenerator::next() noexcept
{
    // New word = word kDegree back + word kSeparation back (mod 2^32); the oldest word
    // (kDegree back) is the one it replaces.
    const int tap = (front + kDegree - kSeparation) % kDegree;
    const uint32_t word = state[front] + state[tap];
    state[front] = word;
    front = (front + 1) % kDegree;
    return static_cast<int32_t>(word >> 1);
}
