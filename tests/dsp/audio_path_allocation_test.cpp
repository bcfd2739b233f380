// The audio thread's whole path allocates nothing: every effect, stretch mode with pitched
// slices throughout, freeze, notes, program changes and records handed over from the UI thread.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "AllocationCounter.h"
#include "EngineRig.h"
#include "dsp/ProgramChunk.h"
#include "ids.h"

namespace {

using namespace Vextoria3Ids;

TEST(AudioPath, AllocatesNothingWhileTheSlicerPlays)
{
    constexpr double kRate = 44100.0;
    constexpr int32_t kBlock = 128;
    EngineRig rig(kRate, 2, kBlock, 140.0);
    Vextoria3FX& fx = *rig.fx;
    rig.set({{kActive, 1.0}, {kFxAmt, 1.0}, {kFxSelect, 1.0}, {kPitchAmt, 1.0}, {kPanAmt, 1.0}, {kRollAmt, 0.7},
             {kReverseAmt, 0.6}, {kSliceAmt, 0.5}, {kStretch, 1.0}, {kSliceSize, 1.0}});

    std::vector<uint8_t> record;
    ASSERT_EQ(fx.getChunk(record, true), 372);

    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    const float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    const auto bar = static_cast<int64_t>(4 * kRate * 60.0 / 140.0);

    long allocations = 0;
    int64_t position = 0;
    for (int32_t block = 0; position < 12 * bar; ++block, position += kBlock) {
        for (int32_t i = 0; i < kBlock; ++i)
            left[static_cast<size_t>(i)] = right[static_cast<size_t>(i)] =
                0.5f * std::sin(static_cast<float>(position + i) * 0.03f);
        if (block % 97 == 0) { // the UI thread's part
            ASSERT_TRUE(fx.postChunk(record.data(), static_cast<int32_t>(record.size())));
        }

        HostTimeInfo& time = fx.timeInfo;
        time.projectTimeSamples = position;
        time.projectTimeMusic = static_cast<double>(position) / time.samplesPerBeat;
        AllocationCounter::Scope scope;
        fx.applyPendingChunk();
        fx.setParameter(kFxSelect, (block / 50 % 5) / 4.0);
        fx.setParameter(kFreeze, block / 200 % 2);
        fx.setParameter(kTrigMode, block / 300 % 2);
        if (block % 400 == 399)
            fx.setParameter(kFactoryPresets, (block / 400 % 16) / 16.0);
        fx.setParameter(kStretch, 1.0); // the stretch feed runs whatever the program
        fx.setParameter(kPitchAmt, 1.0);
        fx.startProcessMIDI();
        if (block % 10 == 0)
            fx.noteOn(36 + block / 10 % 16, 100, 3);
        if (block % 10 == 5)
            fx.noteOff(36 + block / 10 % 16, 0, 7);
        fx.endProcessMIDI();
        fx.process(in, out, kBlock);
        allocations += scope.allocations();
    }
    EXPECT_EQ(allocations, 0);
}

} // namespace
