#include "dsp/RandomGenerator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

// The generator must replay exactly what the C library's rand() gives after srand(),
// for small, large and sign-bit seeds alike.
TEST(RandomGenerator, ReproducesTheCLibrarySequenceForEverySeed)
{
    for (uint32_t seed : {1u, 2u, 12345u, 0x7fffffffu, 0x80000000u, 3000000000u, 0xffffffffu})
    {
        RandomGenerator generator;
        generator.seed(seed);
        std::srand(seed);
        for (int i = 0; i < 5000; ++i)
            ASSERT_EQ(generator.next(), std::rand()) << "seed " << seed << ", draw " << i;
    }
}

TEST(RandomGenerator, StartsAsSeedOneAndTreatsSeedZeroAsOne)
{
    RandomGenerator fresh;
    RandomGenerator zero;
    zero.seed(0);
    std::srand(1);
    for (int i = 0; i < 100; ++i)
    {
        const int expected = std::rand();
        EXPECT_EQ(fresh.next(), expected);
        EXPECT_EQ(zero.next(), expected);
    }
}

TEST(RandomGenerator, ReseedingReplaysAndValuesStayInRange)
{
    RandomGenerator generator;
    generator.seed(99);
    int32_t first[64];
    for (int32_t& value : first)
        value = generator.next();
    generator.seed(99);
    for (int32_t value : first)
        EXPECT_EQ(generator.next(), value);
    for (int i = 0; i < 100000; ++i)
    {
        const int32_t value = generator.next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RandomGenerator::kMax);
    }
}
