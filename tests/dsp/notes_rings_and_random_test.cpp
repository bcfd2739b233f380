// Held notes choosing slices, the rings the editor drains, and the rand() replay.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <vector>

#include "dsp/HeldNotes.h"
#include "dsp/MidiEventRing.h"
#include "dsp/RandomGenerator.h"
#include "dsp/ScopeRing.h"

TEST(HeldNotes, PitchSelectsSliceModuloSlicesPerBarAndReleaseHandsBackToTheLatestHeld)
{
    HeldNotes notes;
    // pitch, slices per bar, slice before, slice after: from 36 on, modulo the count.
    for (const auto& [pitch, slices, before, after] : {std::tuple{36, 8, -1, 0}, {43, 8, 0, 7}, {44, 8, 7, 0}, {35, 8, 3, 3},
                                                       {43, 4, 0, 3}, {128, 8, 5, 5}, {-1, 8, 5, 5}, {40, 0, 5, 5}})
        EXPECT_EQ(notes.press(pitch, slices, before), after) << pitch << " of " << slices;
    HeldNotes held;
    EXPECT_EQ(held.release(50, 8, 3), -1) << "a never-pressed note with none held selects none";
    EXPECT_EQ(held.release(1000, 8, 5), 5);
    int32_t slice = -1;
    for (const int32_t pitch : {127, 40, 38})
        slice = held.press(pitch, 16, slice);
    EXPECT_EQ(slice, 2);
    EXPECT_EQ(slice = held.release(40, 16, slice), 2) << "38 is still the latest held";
    EXPECT_EQ(slice = held.release(38, 16, slice), (127 - 36) % 16) << "the top key is held too";
    EXPECT_EQ(held.release(127, 16, slice), -1);
}

TEST(EditorRings, NotesAreDrainedOnceInEventOrderOverflowKeepsTheNewestAndScopeBytesAreMeans)
{
    MidiEventRing ring;
    ring.addNoteOn(40, 100, 3);
    ring.addNoteOn(38, 90, 17);
    ring.addNoteOff(40, 0, 64);
    EXPECT_FALSE(ring.hasNotes()) << "the flag rises only when the block ends";
    ring.endBlock();
    ASSERT_TRUE(ring.hasNotes());
    std::array<MidiNoteRecord, MidiEventRing::kCapacity> out{};
    ASSERT_EQ(ring.drain(out), 3);
    ring.clearFlag(); // the records' fields: the DSP object's note test
    EXPECT_EQ(std::tuple(out[0].pitch, out[1].pitch, out[2].type), std::tuple(40, 38, MidiEventRing::kNoteOff));
    ring.endBlock(); // nothing new
    EXPECT_FALSE(ring.hasNotes());
    EXPECT_EQ(ring.drain(out), 0);

    for (int32_t i = 0; i < 300; ++i)
        ring.addNoteOn(i % 128, 1, i);
    ASSERT_EQ(ring.drain(out), MidiEventRing::kCapacity);
    EXPECT_EQ(out.front().sampleOffset, 300 - 128);
    EXPECT_EQ(out.back().sampleOffset, 299);

    // Scope bytes are the scaled mean of both channels and stay defined beyond any range.
    const float nan = std::numeric_limits<float>::quiet_NaN(), infinity = std::numeric_limits<float>::infinity();
    for (const auto& [left, right, byte] : {std::tuple{1.0f, 1.0f, 127}, {-0.5f, -0.5f, -63}, {0.004f, 0.004f, 0},
                                            {-1.0f, 1.0f, 0}, {2.0f, 2.0f, -2}, {nan, 0.0f, 0}, {infinity, 0.0f, -1}})
        EXPECT_EQ(ScopeRing::toScopeByte(left, right), byte) << left << ", " << right << " (louder samples wrap)";
    const float huge = std::numeric_limits<float>::max(); // defined (for the sanitizers) beyond any range
    EXPECT_EQ(ScopeRing::toScopeByte(huge, huge), ScopeRing::toScopeByte(huge, huge));
}

// The generator replays rand() after srand() for any seed; a fresh one and seed 0 behave as seed 1.
TEST(RandomGenerator, ReproducesTheCLibrarySequenceForEverySeed)
{
    for (uint32_t seed : {0u, 1u, 2u, 12345u, 0x7fffffffu, 0x80000000u, 3000000000u, 0xffffffffu}) {
        RandomGenerator generator;
        for (int round = 0; round < 2; ++round) { // reseeding replays
            generator.seed(seed);
            std::srand(seed == 0 ? 1 : seed);
            for (int i = 0; i < 5000; ++i)
                ASSERT_EQ(generator.next(), std::rand()) << "seed " << seed << ", draw " << i;
        }
    }
    RandomGenerator fresh;
    std::srand(1);
    EXPECT_EQ(fresh.next(), std::rand());
}
