#include "dsp/HeldNotes.h"

#include <gtest/gtest.h>

namespace {
constexpr int32_t kEightSlices = 8;
} // namespace

TEST(HeldNotes, PitchSelectsSliceModuloSlicesPerBarAndStrayEventsAreSafe)
{
    HeldNotes notes;
    EXPECT_EQ(notes.press(36, kEightSlices, -1), 0);
    EXPECT_EQ(notes.press(43, kEightSlices, 0), 7);
    EXPECT_EQ(notes.press(44, kEightSlices, 7), 0);
    EXPECT_EQ(notes.press(35, kEightSlices, 0), 0) << "below 36 changes nothing";
    EXPECT_EQ(notes.press(43, 4, 0), 3);

    HeldNotes stray;
    EXPECT_EQ(stray.release(50, kEightSlices, 3), -1) << "a never-pressed note with none held selects none";
    EXPECT_EQ(stray.press(128, kEightSlices, 5), 5);
    EXPECT_EQ(stray.press(-1, kEightSlices, 5), 5);
    EXPECT_EQ(stray.release(1000, kEightSlices, 5), 5);
    EXPECT_EQ(stray.press(40, 0, 5), 5);
}

TEST(HeldNotes, ReleaseHandsBackToTheLatestHeldNote)
{
    HeldNotes notes;
    int32_t slice = notes.press(40, kEightSlices, -1);
    slice = notes.press(38, kEightSlices, slice);
    EXPECT_EQ(slice, 2);
    slice = notes.release(38, kEightSlices, slice);
    EXPECT_EQ(slice, 4);
    slice = notes.release(40, kEightSlices, slice);
    EXPECT_EQ(slice, -1);

    slice = notes.press(40, kEightSlices, slice);
    slice = notes.press(38, kEightSlices, slice);
    slice = notes.release(40, kEightSlices, slice);
    EXPECT_EQ(slice, 2) << "38 is still the latest held";

    HeldNotes many;
    slice = -1;
    for (int32_t p = 36; p < 128; ++p)
        slice = many.press(p, 16, slice);
    for (int32_t p = 127; p > 40; --p)
        slice = many.release(p, 16, slice);
    EXPECT_EQ(slice, (40 - 36) % 16);
}
