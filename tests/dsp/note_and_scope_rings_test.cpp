#include "dsp/MidiEventRing.h"
#include "dsp/ScopeRing.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {
using NoteRecords = std::array<MidiNoteRecord, MidiEventRing::kCapacity>;
} // namespace

TEST(NoteRing, BlockOfEventsIsDrainedOnceInEventOrderAndOverflowKeepsTheNewest)
{
    MidiEventRing ring;
    ring.addNoteOn(40, 100, 3);
    ring.addNoteOn(38, 90, 17);
    ring.addNoteOff(40, 0, 64);
    EXPECT_FALSE(ring.hasNotes()) << "the flag rises only when the block ends";
    ring.endBlock();
    ASSERT_TRUE(ring.hasNotes());
    NoteRecords out{};
    ASSERT_EQ(ring.drain(out), 3);
    ring.clearFlag();
    EXPECT_EQ(out[0].type, 1);
    EXPECT_EQ(out[0].pitch, 40);
    EXPECT_EQ(out[0].sampleOffset, 3);
    EXPECT_EQ(out[0].velocity, 100);
    EXPECT_EQ(out[2].type, 2);
    EXPECT_EQ(out[2].sampleOffset, 64);
    ring.endBlock(); // nothing new
    EXPECT_FALSE(ring.hasNotes());
    EXPECT_EQ(ring.drain(out), 0);

    for (int32_t i = 0; i < 300; ++i)
        ring.addNoteOn(i % 128, 1, i);
    ASSERT_EQ(ring.drain(out), MidiEventRing::kCapacity);
    EXPECT_EQ(out.front().sampleOffset, 300 - 128);
    EXPECT_EQ(out.back().sampleOffset, 299);
}

TEST(ScopeRing, BytesAreTheScaledMeanOfBothChannelsAndStayDefinedBeyondAnyRange)
{
    EXPECT_EQ(ScopeRing::toScopeByte(1.0f, 1.0f), 127);
    EXPECT_EQ(ScopeRing::toScopeByte(-0.5f, -0.5f), -63);
    EXPECT_EQ(ScopeRing::toScopeByte(0.004f, 0.004f), 0);
    EXPECT_EQ(ScopeRing::toScopeByte(-1.0f, 1.0f), 0);
    EXPECT_EQ(ScopeRing::toScopeByte(2.0f, 2.0f), static_cast<int8_t>(254 & 0xFF)) << "louder samples wrap";
    EXPECT_EQ(ScopeRing::toScopeByte(std::numeric_limits<float>::quiet_NaN(), 0.0f), 0);
    const float huge = std::numeric_limits<float>::max();
    EXPECT_EQ(ScopeRing::toScopeByte(huge, huge), ScopeRing::toScopeByte(huge, huge));
    EXPECT_EQ(ScopeRing::toScopeByte(std::numeric_limits<float>::infinity(), 0.0f),
              static_cast<int8_t>(0x7FFFFFFF & 0xFF));
}

TEST(ScopeRing, HoldsAtMost16383BytesAndDrainsThemAll)
{
    ScopeRing ring;
    std::vector<float> left(20000);
    for (size_t i = 0; i < left.size(); ++i)
        left[i] = static_cast<float>(i % 100) / 127.0f;
    ring.write(left.data(), left.data(), 10000);
    ring.write(left.data() + 10000, left.data() + 10000, 10000);
    std::array<int8_t, ScopeRing::kMaxBytes> out{};
    ASSERT_EQ(ring.drain(out), 16383);
    for (size_t i = 0; i < 16383; ++i)
        ASSERT_EQ(out[i], ScopeRing::toScopeByte(left[i], left[i])) << i;
    EXPECT_EQ(ring.drain(out), 0);
    // After a drain the ring takes samples again, wrapping around its end.
    ring.write(left.data(), left.data(), 5);
    ASSERT_EQ(ring.drain(out), 5);
    EXPECT_EQ(out[4], ScopeRing::toScopeByte(left[4], left[4]));
}
