// Programs: the record's bytes and every record the reader must refuse, the DSP object's
// sixteen programs with their hand-over to the audio thread, and the factory bank.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "RecordBytes.h"
#include "ScopedHome.h"
#include "dsp/FactoryBank.h"
#include "dsp/Vextoria3FX.h"

extern "C" const std::array<uint8_t, 5952> bank;
extern "C" const int32_t bank_size;

namespace {
// Values id / 100 and hidden values index / 10, so each slot names itself.
std::vector<uint8_t> steppedRecord(int32_t paramCount, int32_t hiddenCount)
{
    return makeRecord(paramCount, hiddenCount, [](int32_t id) { return id / 100.0; },
                      [](int32_t index) { return index / 10.0; });
}

void overwriteInt(std::vector<uint8_t>& bytes, size_t offset, int32_t value)
{
    std::vector<uint8_t> encoded;
    insert_int(encoded, value);
    std::memcpy(bytes.data() + offset, encoded.data(), 4);
}
} // namespace

TEST(ProgramRecord, RefusesCountsOutsideTheirSlotsHugeCountsAndEveryTruncation)
{
    for (const auto& [paramCount, hiddenCount] : {std::pair{39, 7}, {38, 8}, {-1, 7}, {38, -1}, {INT32_MIN, 0}}) {
        std::vector<uint8_t> bytes = steppedRecord(38, 7);
        bytes.resize(4096, 0); // far more bytes than any valid record needs
        overwriteInt(bytes, 4, paramCount);
        overwriteInt(bytes, 8 + 8 * static_cast<size_t>(paramCount >= 0 && paramCount <= 39 ? paramCount : 38), hiddenCount);
        EXPECT_FALSE(readProgramChunk(bytes.data(), bytes.size())) << paramCount << ", " << hiddenCount;
    }
    for (const int32_t huge : {INT32_MAX, INT32_MAX - 1, 0x20000000, 0x1FFFFFFF}) {
        for (const size_t offset : {size_t{4}, size_t{312}}) {
            std::vector<uint8_t> bytes = steppedRecord(38, 7);
            overwriteInt(bytes, offset, huge);
            EXPECT_FALSE(readProgramChunk(bytes.data(), bytes.size())) << huge << " at " << offset;
        }
    }
    for (const auto& [paramCount, hiddenCount] : {std::pair{38, 7}, {10, 0}, {0, 3}}) {
        const std::vector<uint8_t> bytes = steppedRecord(paramCount, hiddenCount);
        for (size_t size = 0; size < bytes.size(); ++size) {
            // A copy of exactly size bytes, so the sanitizers catch any read beyond it.
            const std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_FALSE(readProgramChunk(truncated.data(), truncated.size())) << size;
        }
    }
    EXPECT_FALSE(readProgramChunk(nullptr, 372));
}

TEST(ProgramRecord, StoringClampsValuesAndLeavesSlotsPastTheCounts)
{
    const double values[] = {-4.0, std::numeric_limits<double>::quiet_NaN(), 9.0};
    const std::vector<uint8_t> bytes =
        makeRecord(3, 1, [&](int32_t id) { return values[id]; }, [](int32_t) { return 0.25; });
    Vextoria3Preset program;
    storeProgramRecord(readProgramChunk(bytes.data(), bytes.size()).value(), program);
    // -4, NaN and 9 clamped; id 4 and hidden 3 past the counts keep their defaults.
    EXPECT_EQ(std::vector<float>({program.params[0], program.params[1], program.params[2], program.params[4]}),
              std::vector<float>({0.0f, 0.0f, 1.0f, 0.35f}));
    EXPECT_EQ(std::vector<float>({program.hidden[0], program.hidden[3]}), std::vector<float>({0.25f, 1.0f}));
}

class ProgramStore : public ::testing::Test {
protected:
    std::vector<uint8_t> chunk(bool single = true)
    {
        std::vector<uint8_t> bytes;
        const int32_t size = fx.getChunk(bytes, single);
        EXPECT_EQ(size, static_cast<int32_t>(bytes.size()));
        return bytes;
    }
    ProgramRecord saved()
    {
        const std::vector<uint8_t> bytes = chunk();
        return readProgramChunk(bytes.data(), bytes.size()).value();
    }
    ScopedHome home;
    Vextoria3FX fx;
};

TEST_F(ProgramStore, RecordsApplyOnlyTheirValuesAndABankReplacesAllPrograms)
{
    fx.setProgram(4);
    const std::vector<uint8_t> full = makeRecord(
        38, 7, [](int32_t id) { return id == 36 ? 0.75 : id == 13 ? 1.0 : 0.25; }, [](int32_t) { return 1.0; });
    ASSERT_TRUE(fx.setChunk(full.data(), static_cast<int32_t>(full.size()), true));
    EXPECT_EQ(fx.getCurrentProgram(), 4) << "the program number is not restored";
    EXPECT_EQ(fx.getParameter(13), 1.0f);
    EXPECT_EQ(fx.getParameter(34), 0.5f) << "pitch bend is never restored";
    EXPECT_EQ(fx.getProgram(4).hidden[6].load(), 1.0f);
    fx.setParameter(20, 0.125); // a live edit the short record does not carry
    const std::vector<uint8_t> shortRecord = makeRecord(10, 0, [](int32_t) { return 0.625; }, {});
    ASSERT_TRUE(fx.setChunk(shortRecord.data(), 92, true));
    EXPECT_EQ(std::vector<float>({fx.getParameter(9), fx.getParameter(10), fx.getParameter(20)}),
              std::vector<float>({0.625f, 0.25f, 0.125f}));

    std::vector<uint8_t> bytes;
    for (int32_t program = 0; program < 16; ++program) {
        const std::vector<uint8_t> record = uniformRecord(program / 16.0);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    ASSERT_TRUE(fx.setChunk(bytes.data(), static_cast<int32_t>(bytes.size()), false));
    EXPECT_EQ(fx.getProgram(9).params[2].load(), 9.0f / 16.0f);
    EXPECT_EQ(fx.getParameter(2), 4.0f / 16.0f);
    const double values[7] = {0.5, 1.0, 0.0, 0.25, 2.0, 0.0, 0.75};
    fx.setHiddenValues(values, 7); // the current program's only
    EXPECT_EQ(fx.getProgram(4).hidden[4].load(), 1.0f) << "clamped";
    EXPECT_EQ(fx.getProgram(5).hidden[1].load(), 5.0f / 16.0f);
    EXPECT_EQ(saved().hidden[6], 0.75);
}

TEST_F(ProgramStore, RefusedRecordsChangeNothing)
{
    fx.setParameter(1, 0.3);
    const std::vector<uint8_t> before = chunk(false), full = uniformRecord(0.9);
    std::vector<uint8_t> tooMany = full;
    tooMany[4] = 39;
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

TEST_F(ProgramStore, PostedRecordWaitsForTheAudioThreadAndIsSavedMeanwhile)
{
    const std::vector<uint8_t> bytes = uniformRecord(0.875), second = uniformRecord(0.75);
    ASSERT_TRUE(fx.postChunk(bytes.data(), 372));
    EXPECT_EQ(fx.getParameter(1), 0.85f) << "not applied yet";
    // Hidden values answered during a save also reach the waiting record.
    const double answered[7] = {0.0, 1.0, 0.5, 1.0, 0.0, 1.0, 0.75};
    fx.setHiddenValues(answered, 7);
    const ProgramRecord pending = saved();
    EXPECT_EQ(std::vector<double>({pending.params[1], pending.params[36], pending.params[34]}),
              std::vector<double>({0.875, 0.0, 0.5}));
    fx.applyPendingChunk();
    EXPECT_EQ(fx.getParameter(1), 0.875f);
    for (int32_t index = 0; index < 7; ++index) {
        EXPECT_EQ(pending.hidden[index], answered[index]) << index;
        EXPECT_EQ(fx.getProgram(0).hidden[index], static_cast<float>(answered[index])) << index;
    }
    fx.setParameter(1, 0.5); // nothing left in the mailbox to apply again
    fx.applyPendingChunk();
    EXPECT_EQ(fx.getParameter(1), 0.5f);
    ASSERT_TRUE(fx.postChunk(bytes.data(), 372));
    ASSERT_TRUE(fx.postChunk(second.data(), 372));
    fx.applyPendingChunk();
    EXPECT_EQ(fx.getParameter(2), 0.75f) << "a newer post replaces one not yet taken";
}

namespace {
// The published values, three decimals, programs 0..15, rows 0..37 then hidden 0..6 as
// 38..44; the rows not listed (ids 12, 13, 32, 34..37, hidden 0 and 1) are zero throughout.
const std::pair<int32_t, std::array<double, 16>> kPublished[] = {
    {0, {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0}},
    {1, {0.85, 0.891, 1, 1, 0.93, 0.758, 1, 0.758, 0.953, 1, 0.984, 0.891, 0.797, 0.43, 0.867, 0.594}},
    {2, {0.4, 0, 1, 0.344, 0.242, 0.336, 0.375, 0.367, 0, 0.234, 0.306, 0.375, 0, 0, 0, 1}},
    {3, {0, 0.727, 0, 0.812, 1, 1, 0, 0.633, 0, 0.609, 0.664, 0.117, 1, 1, 0.391, 1}},
    {4, {0.35, 0, 0, 0.422, 0.367, 0.883, 0.219, 0.359, 0, 0.523, 0.35, 0.438, 0.273, 0, 1, 1}},
    {5, {0, 0, 0, 0, 0, 0.016, 0, 0, 0, 0.258, 0, 0.07, 1, 0, 0, 0}},
    {6, {0.5, 0.328, 0, 1, 0.82, 0.938, 0.156, 0.375, 0, 0.367, 0.5, 0.25, 1, 0, 0.562, 0}},
    {7, {0.5, 0.479, 1, 0.011, 0, 1, 1, 0.681, 0.585, 0.585, 1, 0.574, 0, 1, 0.5, 1}},
    {8, {1, 0.574, 0, 0.617, 0.521, 1, 0.191, 0.543, 0, 0.691, 1, 1, 0, 0, 0.16, 0}},
    {9, {0.5, 0.167, 0, 0.167, 0.167, 0.833, 0.417, 0.333, 0, 0.667, 0.5, 0.5, 0.083, 0, 0.417, 1}},
    {10, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1}},
    {11, {1, 1, 0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 0}},
    {14, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
    {15, {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    {16, {1, 1, 0.75, 0.75, 1, 1, 1, 0.75, 1, 1, 1, 1, 0.75, 0.5, 0.75, 0}},
    {17, {0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1}},
    {18, {0.4, 0.4, 0.31, 0.207, 0.207, 0.31, 0.31, 0.31, 0.31, 0.31, 0.4, 0.31, 0.31, 0.431, 0.31, 0.31}},
    {19, {0.45, 0.207, 0.414, 0.379, 0.379, 0.414, 0.414, 0.414, 0.414, 0.414, 0.207, 0.414, 0.414, 0.655, 0.414, 0.414}},
    {20, {1, 0.552, 1, 1, 1, 1, 1, 1, 1, 1, 0.552, 1, 1, 0.914, 1, 1}},
    {21, {0.65, 0.759, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.379, 0.65, 0.65}},
    {22, {0.95, 0.534, 0.95, 0.95, 0.95, 0.95, 0.95, 0.95, 0.95, 0.95, 0.569, 0.95, 0.95, 0.707, 0.95, 0.95}},
    {23, {0.5, 0.5, 0.5, 0.517, 0.517, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.517, 0.5, 0.5}},
    {24, {0.5, 0.5, 0.5, 0.414, 0.414, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.414, 0.5, 0.5}},
    {25, {0.6, 0.6, 0.6, 0.328, 0.328, 0.6, 0.6, 0.6, 0.6, 0.6, 0.6, 0.6, 0.6, 0.328, 0.6, 0.6}},
    {26, {0, 0.5, 0, 0.672, 0.603, 0.552, 0, 0, 1, 0, 0.534, 0, 1, 0.069, 0.552, 0}},
    {27, {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 1}},
    {28, {1, 1, 0, 1, 1, 1, 0, 0, 1, 0, 1, 1, 1, 0, 1, 0}},
    {29, {1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 1, 1, 0}},
    {30, {1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {31, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1}},
    {33, {0.5, 0.5, 0.5, 0.784, 0.784, 0.5, 0.27, 0.5, 0.5, 0.324, 0.5, 0.5, 0.5, 0.784, 0.5, 0.5}},
    {40, {0, 1, 1, 0, 0.5, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0}},
    {41, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {42, {0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1}},
    {43, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
    {44, {0, 0.75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};

const char* const kProgramNames[16] = {
    "Default", "Rythmrepeat", "esreveR", "RollWarfare", "Blast N Break", "Glitch Patrol",
    "Lightbreaker", "Snoop Scratchy Scratch", "DefaultMidiSlicer", "Pure Dynamite",
    "TurboSlicer", "Banana Break", "RollPitchCopter", "Filtrogater", "Dr Feelgood", "Golden Gate",
};
} // namespace

TEST(FactoryBank, SixteenFullRecordsOfFloatsRoundingToThePublishedValuesUnderTheirNames)
{
    EXPECT_EQ(bank_size, factoryBankSize());
    EXPECT_EQ(std::memcmp(bank.data(), factoryBank(), 5952), 0) << "also under the exported names";
    std::array<ProgramRecord, 16> records{};
    size_t offset = 0, consumed = 0;
    for (int32_t program = 0; program < 16; ++program) {
        const auto record =
            readProgramChunk(factoryBank() + offset, static_cast<size_t>(factoryBankSize()) - offset, &consumed);
        ASSERT_TRUE(record && record->paramCount == 38 && record->hiddenCount == 7) << program;
        records[program] = *record;
        offset += consumed;
        EXPECT_STREQ(factoryProgramName(program), kProgramNames[program]);
    }
    EXPECT_EQ(offset, 5952u);
    EXPECT_EQ(factoryProgramName(-1), nullptr);
    EXPECT_EQ(factoryProgramName(16), nullptr);

    std::array<std::array<double, 16>, 45> published{};
    for (const auto& [row, values] : kPublished)
        published[row] = values;
    for (int32_t row = 0; row < 45; ++row) {
        for (int32_t program = 0; program < 16; ++program) {
            const double value = row < 38 ? records[program].params[row] : records[program].hidden[row - 38];
            EXPECT_EQ(value, static_cast<double>(static_cast<float>(value))) << "row " << row << " program " << program;
            EXPECT_NEAR(value, published[row][program], 0.0005) << "row " << row << " program " << program;
        }
    }
    // Semitone ranges are whole semitones.
    for (int32_t program = 0; program < 16; ++program)
        EXPECT_EQ(static_cast<int32_t>(12.0f * static_cast<float>(records[program].params[9])),
                  std::lround(published[9][program] * 12.0)) << program;
    // Values standing for binary fractions are exact (program, id, value); 0.85 has none near.
    for (const auto& [program, id, value] : {std::tuple{1, 1, 0.890625}, {11, 1, 0.890625}, {5, 1, 0.7578125},
                                             {8, 1, 0.953125}, {10, 1, 0.984375}, {3, 3, 0.8125}, {2, 16, 0.75},
                                             {0, 1, double(0.85f)}})
        EXPECT_EQ(records[program].params[id], value) << program << ", " << id;
    EXPECT_EQ(records[1].hidden[6], 0.75);
    // A fresh object's live parameters and saved record are the first program's, but for
    // pitch bend, in sixteen full records.
    ScopedHome home;
    Vextoria3FX fx;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(fx.getChunk(bytes, false), 16 * 372);
    ASSERT_EQ(fx.getChunk(bytes, true), 372);
    const ProgramRecord fresh = readProgramChunk(bytes.data(), bytes.size()).value();
    for (int32_t id = 0; id < 38; ++id) {
        const double expected = id == 34 ? 0.5 : records[0].params[id];
        EXPECT_EQ(fresh.params[id], expected) << id;
        EXPECT_EQ(fx.getParameter(id), expected) << id;
    }
    for (int32_t index = 0; index < 7; ++index)
        EXPECT_EQ(fresh.hidden[index], records[0].hidden[index]) << index;
    fx.loadFactoryBank(); // loaded, not applied
    EXPECT_EQ(fx.getProgram(3).name, "RollWarfare");
    for (int32_t id = 0; id < 38; ++id)
        EXPECT_EQ(fx.getParameter(id), id == 34 ? 0.5 : records[0].params[id]) << id;
}
