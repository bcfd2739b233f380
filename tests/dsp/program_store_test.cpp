// The DSP object's programs: switching, records in and out, and the hand-over to the
// audio thread.
#include <gtest/gtest.h>

#include "RecordBytes.h"
#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"

class ProgramStore : public ::testing::Test {
protected:
    ProgramStore() { fx.loadFactoryBank(); }

    std::vector<uint8_t> chunk(bool single = true)
    {
        std::vector<uint8_t> bytes;
        const int32_t size = fx.getChunk(bytes, single);
        EXPECT_EQ(size, static_cast<int32_t>(bytes.size()));
        return bytes;
    }
    double savedValue(int32_t id) { return record().params[id]; }
    ProgramRecord record()
    {
        const std::vector<uint8_t> bytes = chunk();
        return readProgramChunk(bytes.data(), bytes.size()).value();
    }

    ScopedHome home;
    Vextoria3FX fx;
};

TEST_F(ProgramStore, BankIsLoadedButNotAppliedAndEditsStayWithTheirProgram)
{
    EXPECT_EQ(fx.getProgram(3).name, "RollWarfare");
    EXPECT_EQ(fx.getParameter(3), 0.0f);
    fx.setParameter(36, 3.0 / 16.0);
    EXPECT_EQ(fx.getCurrentProgram(), 3);
    EXPECT_EQ(fx.getParameter(3), 0.8125f);

    fx.setProgram(2);
    fx.setParameter(1, 0.33);
    fx.setProgram(5);
    EXPECT_EQ(fx.getParameter(1), fx.getProgram(5).params[1].load());
    fx.setProgram(2);
    EXPECT_EQ(fx.getParameter(1), 0.33f);
    fx.setProgram(16);
    fx.setProgram(-1);
    EXPECT_EQ(fx.getCurrentProgram(), 2);
}

TEST_F(ProgramStore, ParametersAndStateOfAFreshObjectAreTheDefaults)
{
    const ProgramRecord saved = record();
    const Vextoria3Preset defaults;
    for (int32_t id = 0; id < 38; ++id) {
        const float expected = (id == 12 || id == 35 || id == 36) ? 0.0f : defaults.params[id].load();
        EXPECT_EQ(fx.getParameter(id), expected) << id;
        EXPECT_EQ(saved.params[id], static_cast<double>(expected)) << id;
    }
    for (int32_t index = 0; index < 7; ++index)
        EXPECT_EQ(saved.hidden[index], index == 3 ? 1.0 : 0.0);
    EXPECT_EQ(chunk(false).size(), 16u * 372u);
}

TEST_F(ProgramStore, RestoredRecordsApplyOnlyTheirValuesAndKeepTheProgramNumber)
{
    const std::vector<uint8_t> full = makeRecord(
        38, 7, [](int32_t id) { return id == 36 ? 0.75 : id == 13 ? 1.0 : 0.25; }, [](int32_t) { return 1.0; });
    ASSERT_TRUE(fx.setChunk(full.data(), static_cast<int32_t>(full.size()), true));
    EXPECT_EQ(fx.getCurrentProgram(), 0);
    EXPECT_EQ(fx.getParameter(13), 1.0f);
    EXPECT_EQ(fx.getParameter(34), 0.5f) << "pitch bend is never restored";
    EXPECT_EQ(fx.getProgram(0).hidden[6].load(), 1.0f);
    EXPECT_EQ(savedValue(1), 0.25);

    fx.setParameter(20, 0.125); // a live edit the short record does not carry
    const std::vector<uint8_t> shortRecord = makeRecord(10, 0, [](int32_t) { return 0.625; }, {});
    ASSERT_TRUE(fx.setChunk(shortRecord.data(), 92, true));
    EXPECT_EQ(fx.getParameter(9), 0.625f);
    EXPECT_EQ(fx.getParameter(10), 0.25f);
    EXPECT_EQ(fx.getParameter(20), 0.125f);
}

TEST_F(ProgramStore, RefusedRecordsChangeNothing)
{
    fx.setParameter(1, 0.3);
    const std::vector<uint8_t> before = chunk(false);
    std::vector<uint8_t> tooMany = uniformRecord(0.9);
    tooMany[4] = 39;
    const std::vector<uint8_t> full = uniformRecord(0.9);
    EXPECT_FALSE(fx.setChunk(tooMany.data(), 372, true));
    EXPECT_FALSE(fx.setChunk(full.data(), 371, true));
    EXPECT_FALSE(fx.setChunk(full.data(), 0, true));
    EXPECT_FALSE(fx.setChunk(nullptr, 372, true));
    EXPECT_FALSE(fx.setChunk(full.data(), 372, false)) << "a bank needs all sixteen";
    EXPECT_FALSE(fx.postChunk(tooMany.data(), 372));
    EXPECT_FALSE(fx.readPrograms(full.data(), 200, false));
    const double hidden[7] = {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
    fx.setHiddenValues(nullptr, 7);
    fx.setHiddenValues(hidden, -3);
    fx.applyPendingChunk();
    EXPECT_EQ(chunk(false), before);
}

TEST_F(ProgramStore, BankRecordsReplaceAllProgramsAndHiddenValuesOnlyTheCurrent)
{
    fx.setProgram(4);
    std::vector<uint8_t> bytes;
    for (int32_t program = 0; program < 16; ++program) {
        const std::vector<uint8_t> record = uniformRecord(program / 16.0);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    ASSERT_TRUE(fx.setChunk(bytes.data(), static_cast<int32_t>(bytes.size()), false));
    EXPECT_EQ(fx.getProgram(9).params[2].load(), 9.0f / 16.0f);
    EXPECT_EQ(fx.getParameter(2), 4.0f / 16.0f);
    EXPECT_EQ(fx.getCurrentProgram(), 4);

    const double values[7] = {0.5, 1.0, 0.0, 0.25, 2.0, 0.0, 0.75};
    fx.setHiddenValues(values, 7);
    EXPECT_EQ(fx.getProgram(4).hidden[4].load(), 1.0f) << "clamped";
    EXPECT_EQ(fx.getProgram(5).hidden[1].load(), 5.0f / 16.0f);
    EXPECT_EQ(record().hidden[6], 0.75);
}

TEST_F(ProgramStore, PostedRecordWaitsForTheAudioThreadAndIsReportedMeanwhile)
{
    const std::vector<uint8_t> bytes = uniformRecord(0.875);
    ASSERT_TRUE(fx.postChunk(bytes.data(), 372));
    EXPECT_EQ(fx.getParameter(1), 0.85f) << "not applied yet";
    const std::vector<uint8_t> pending = chunk();
    EXPECT_EQ(savedValue(1), 0.875);
    EXPECT_EQ(savedValue(36), 0.0);
    EXPECT_EQ(savedValue(34), 0.5);

    fx.applyPendingChunk();
    EXPECT_EQ(fx.getParameter(1), 0.875f);
    EXPECT_EQ(chunk(), pending);
    fx.setParameter(1, 0.5); // nothing left in the mailbox to apply again
    fx.applyPendingChunk();
    EXPECT_EQ(fx.getParameter(1), 0.5f);

    const std::vector<uint8_t> second = uniformRecord(0.75);
    ASSERT_TRUE(fx.postChunk(bytes.data(), 372));
    ASSERT_TRUE(fx.postChunk(second.data(), 372));
    fx.applyPendingChunk();
    EXPECT_EQ(fx.getParameter(2), 0.75f) << "a newer post replaces one not yet taken";
}
