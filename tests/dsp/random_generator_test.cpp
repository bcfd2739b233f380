#include "dsp/RandomGenerator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

// The generator must replay exactly what the C library's rand() gives after srand(),
// for small, large and sign-bit seeds alike; a fresh one and seed 0 behave as seed 1.
TEST(RandomGenerator, ReproducesTheCLibrarySequenceForEverySeed)
{
    for (uint32_t seed : {0u, 1u, 2u, 12345u, 0x7fffffffu, 0x80000000u, 3000000000u, 0xffffffffu}) {
        RandomGenerator generator;
        generator.seed(seed);
        std::srand(seed == 0 ? 1 : seed);
        for (int i = 0; i < 5000; ++i)
            ASSERT_EQ(generator.next(), std::rand()) << "seed " << seed << ", draw " << i;
        generator.seed(seed);
        std::srand(seed == 0 ? 1 : seed);
        ASSERT_EQ(generator.next(), std::rand()) << "reseeding replays, seed " << seed;
    }
    RandomGenerator fresh;
    std::srand(1);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(fresh.next(), std::rand());
}
