// A record waiting for the audio thread and hidden values answered meanwhile.
#include <gtest/gtest.h>

#include "RecordBytes.h"
#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"

TEST(ProgramHandover, HiddenValuesAnsweredDuringASaveOutliveAWaitingRecord)
{
    ScopedHome home;
    Vextoria3FX fx;
    const std::vector<uint8_t> record = uniformRecord(0.25);
    ASSERT_TRUE(fx.postChunk(record.data(), static_cast<int32_t>(record.size())));
    const double answered[7] = {0.0, 1.0, 0.5, 1.0, 0.0, 1.0, 0.75};
    fx.setHiddenValues(answered, 7);

    std::vector<uint8_t> saved;
    fx.getChunk(saved, true);
    const std::optional<ProgramRecord> read = readProgramChunk(saved.data(), saved.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->params[1], 0.25) << "the waiting record's parameters are saved";
    fx.applyPendingChunk();
    for (int32_t index = 0; index < 7; ++index) {
        EXPECT_EQ(read->hidden[index], answered[index]) << index;
        EXPECT_EQ(fx.getProgram(fx.getCurrentProgram()).hidden[index], static_cast<float>(answered[index])) << index;
    }
}
