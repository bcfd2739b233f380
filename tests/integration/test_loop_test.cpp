// The generated inputs: a repeatable drum loop and a signal that names its own positions.

#include "host/HostError.h"
#include "host/TestLoop.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VextoriaHost;

TEST(TestLoop, DrumLoopIsRepeatableBarLongAndBelowFullScale)
{
    const AudioClip first = generateDrumLoop({44100.0, 120.0, 2, 2});
    const AudioClip second = generateDrumLoop({44100.0, 120.0, 2, 2});
    EXPECT_EQ(first.channels, second.channels);
    EXPECT_EQ(first.frames(), 2 * 4 * 22050);
    const Levels levels = measureLevels(first);
    EXPECT_LT(levels.peak, 0.9f);
    EXPECT_GT(levels.rms, 0.01f);
    EXPECT_NE(first.channels[0], first.channels[1]) << "stereo channels differ, so a swap shows";
    EXPECT_GT(std::fabs(first.channels[0][100]), 0.01f) << "the first beat starts at frame 0";
    EXPECT_EQ(generateDrumLoop({48000.0, 100.0, 1, 1}).channelCount(), 1);
    EXPECT_THROW(generateDrumLoop({44100.0, 0.0, 1, 2}), HostError);
    EXPECT_THROW(generateDrumLoop({44100.0, 120.0, 1, 3}), HostError);
}

TEST(TestLoop, PositionSignalDecodesToItsFrameIndexAcrossTheWrap)
{
    for (int64_t index : {int64_t {0}, int64_t {1}, int64_t {88199}, kPositionPeriod / 2, kPositionPeriod - 1,
                          kPositionPeriod, kPositionPeriod + 12345}) {
        const float value = positionSample(index);
        EXPECT_GE(value, -1.f);
        EXPECT_LT(value, 1.f);
        EXPECT_EQ(positionOfSample(value), index % kPositionPeriod) << index;
    }
    const AudioClip clip = generatePositionSignal(70000, 2, 44100.0);
    for (int64_t i = 0; i < clip.frames(); i += 997)
        EXPECT_EQ(positionOfSample(clip.channels[1][static_cast<size_t>(i)]), i);
}
