// Records handed from the UI thread to a running audio thread are never seen half applied.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "RecordBytes.h"
#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"

TEST(ProgramHandover, StateSavedWhileTheAudioThreadAppliesIsNeverTorn)
{
    ScopedHome home;
    Vextoria3FX fx;
    std::atomic<bool> running{true};
    std::thread audio([&] {
        while (running.load())
            fx.applyPendingChunk();
    });

    std::mt19937 random(1234);
    std::uniform_int_distribution<int32_t> step(0, 64);
    int32_t torn = 0, refused = 0;
    for (int32_t round = 0; round < 2000; ++round) {
        const std::vector<uint8_t> record = uniformRecord(step(random) / 64.0);
        if (!fx.postChunk(record.data(), static_cast<int32_t>(record.size())))
            ++refused;
        std::vector<uint8_t> saved;
        fx.getChunk(saved, true);
        const std::optional<ProgramRecord> read = readProgramChunk(saved.data(), saved.size());
        ASSERT_TRUE(read);
        for (int32_t id = 1; id < 12; ++id)
            torn += read->params[id] != read->params[0];
        for (int32_t index = 1; index < 7; ++index)
            torn += read->hidden[index] != read->hidden[0];
    }
    running.store(false);
    audio.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(refused, 0);
}

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
