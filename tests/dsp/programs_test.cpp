// Programs: record bytes, records the reader refuses, and the hand-over to the audio thread.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "RecordBytes.h"
#include "ScopedHome.h"
#include "dsp/Vextoria3FX.h"
#include "ids.h"

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

TEST(ProgramRecord, RefusesBadCountsAndEveryTruncationAndStoringClampsTheValues)
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
    // Storing clamps the values; slots past the counts keep their defaults.
    const double values[] = {-4.0, std::numeric_limits<double>::quiet_NaN(), 9.0};
    const std::vector<uint8_t> bytes =
        makeRecord(3, 1, [&](int32_t id) { return values[id]; }, [](int32_t) { return 0.25; });
    Vextoria3Preset program;
    storeProgramRecord(readProgramChunk(bytes.data(), bytes.size()).value(), program);
    EXPECT_EQ(std::vector<float>({program.params[0], program.params[1], program.params[2], program.params[4]}),
              std::vector<float>({0.0f, 0.0f, 1.0f, 0.35f}));
    EXPECT_EQ(std::vector<float>({program.hidden[0], program.hidden[3]}), std::vector<float>({0.25f, 1.0f}));
}

TEST(ProgramStore, RefusedRecordsChangeNothingAPostedOneWaitsForTheAudioThreadAndTheFactoryBankReplacesAll)
{
    ScopedHome home;
    Vextoria3FX fx;
    const auto chunk = [&fx](bool single) {
        std::vector<uint8_t> bytes;
        const int32_t size = fx.getChunk(bytes, single);
        EXPECT_EQ(size, static_cast<int32_t>(bytes.size()));
        return bytes;
    };
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

    const std::vector<uint8_t> bytes = uniformRecord(0.875), second = uniformRecord(0.75);
    ASSERT_TRUE(fx.postChunk(bytes.data(), 372));
    EXPECT_EQ(fx.getParameter(1), 0.3f) << "not applied yet";
    // Hidden values answered during a save also reach the waiting record.
    const double answered[7] = {0.0, 1.0, 0.5, 1.0, 0.0, 1.0, 0.75};
    fx.setHiddenValues(answered, 7);
    const std::vector<uint8_t> saved = chunk(true);
    const ProgramRecord pending = readProgramChunk(saved.data(), saved.size()).value();
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
    // The factory bank replaces all: names, and two sums of the 45 values per program, plain and row-weighted.
    fx.loadFactoryBank();
    const char* names[16] = {"Default", "Rythmrepeat", "esreveR", "RollWarfare", "Blast N Break", "Glitch Patrol",
        "Lightbreaker", "Snoop Scratchy Scratch", "DefaultMidiSlicer", "Pure Dynamite", "TurboSlicer", "Banana Break",
        "RollPitchCopter", "Filtrogater", "Dr Feelgood", "Golden Gate"};
    const double sums[16] = {16.65, 18.968, 16.174, 21.024, 18.379, 22.74, 16.552, 19.223, 15.962, 17.182, 20.316,
                             18.639, 22.327, 14.128, 19.623, 19.018};
    const double byRow[16] = {350, 451.316, 362.17, 444.2, 390.906, 434.255, 358.801, 412.404, 359.006, 329.875,
                              448.029, 391.747, 465.959, 337.247, 425.916, 380.608};
    for (int32_t index = 0; index < 16; ++index) {
        const Vextoria3Preset& program = fx.getProgram(index);
        double sum = 0.0, weighted = 0.0;
        for (int32_t row = 0; row < 45; ++row) {
            const float value = row < 38 ? program.params[row] : program.hidden[row - 38];
            sum += value;
            weighted += (row + 1) * value;
        }
        EXPECT_EQ(program.name, names[index]);
        EXPECT_NEAR(sum, sums[index], 0.003) << index;
        EXPECT_NEAR(weighted, byRow[index], 0.01) << index;
    }
    // A pitch range is whole semitones: RollPitchCopter's 0.083 is one.
    EXPECT_EQ(static_cast<int32_t>(12.0f * fx.getProgram(12).params[Vextoria3Ids::kPitchRange]), 1);
}
