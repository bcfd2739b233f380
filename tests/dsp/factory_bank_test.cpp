// The factory bank: its bytes, every value of every program, the names.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

#include "dsp/FactoryBank.h"
#include "dsp/ProgramChunk.h"

extern "C" const std::array<uint8_t, 5952> bank;
extern "C" const int32_t bank_size;

namespace {

constexpr int32_t kRows = 45; // ids 0..37, then hidden 0..6

// The published values, three decimals, programs 0..15; the rows not listed (ids 12, 13,
// 32, 34..37 and hidden 0 and 1) are zero in every program.
const std::pair<int32_t, std::array<double, 16>> kExpected[] = {
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
    {40, {0, 1, 1, 0, 0.5, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0}},  // hidden 2
    {41, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},    // hidden 3
    {42, {0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1}},    // hidden 4
    {43, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},    // hidden 5
    {44, {0, 0.75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}, // hidden 6
};

const char* const kExpectedNames[16] = {
    "Default", "Rythmrepeat", "esreveR", "RollWarfare", "Blast N Break", "Glitch Patrol",
    "Lightbreaker", "Snoop Scratchy Scratch", "DefaultMidiSlicer", "Pure Dynamite",
    "TurboSlicer", "Banana Break", "RollPitchCopter", "Filtrogater", "Dr Feelgood", "Golden Gate",
};

std::array<std::array<double, 16>, kRows> expectedTable()
{
    std::array<std::array<double, 16>, kRows> table{};
    for (const auto& [row, values] : kExpected)
        table[row] = values;
    return table;
}

std::array<ProgramRecord, 16> readBank()
{
    std::array<ProgramRecord, 16> records{};
    size_t offset = 0;
    for (ProgramRecord& record : records) {
        size_t consumed = 0;
        const std::optional<ProgramRecord> read =
            readProgramChunk(factoryBank() + offset, static_cast<size_t>(factoryBankSize()) - offset, &consumed);
        EXPECT_TRUE(read);
        if (read)
            record = *read;
        offset += consumed;
    }
    EXPECT_EQ(offset, 5952u);
    return records;
}

double valueAt(const ProgramRecord& record, int32_t row)
{
    return row < 38 ? record.params[row] : record.hidden[row - 38];
}

} // namespace

TEST(FactoryBank, IsSixteenFullRecordsAlsoUnderTheExportedNames)
{
    EXPECT_EQ(factoryBankSize(), 5952);
    EXPECT_EQ(bank_size, 5952);
    EXPECT_EQ(std::memcmp(bank.data(), factoryBank(), 5952), 0);
    for (const ProgramRecord& record : readBank()) {
        EXPECT_EQ(record.paramCount, 38);
        EXPECT_EQ(record.hiddenCount, 7);
    }
    for (int32_t program = 0; program < 16; ++program)
        EXPECT_STREQ(factoryProgramName(program), kExpectedNames[program]);
    EXPECT_EQ(factoryProgramName(-1), nullptr);
    EXPECT_EQ(factoryProgramName(16), nullptr);
}

TEST(FactoryBank, EveryValueIsAFloatRoundingToThePublishedValue)
{
    const std::array<ProgramRecord, 16> records = readBank();
    const auto expected = expectedTable();
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t program = 0; program < 16; ++program) {
            const double value = valueAt(records[program], row);
            EXPECT_EQ(value, static_cast<double>(static_cast<float>(value))) << "row " << row << " program " << program;
            EXPECT_NEAR(value, expected[row][program], 0.0005) << "row " << row << " program " << program;
        }
    }
    // Semitone ranges are whole semitones.
    for (int32_t program = 0; program < 16; ++program)
        EXPECT_EQ(static_cast<int32_t>(12.0f * static_cast<float>(records[program].params[9])),
                  std::lround(expected[9][program] * 12.0)) << program;
}

TEST(FactoryBank, ValuesThatStandForBinaryFractionsAreExact)
{
    const std::array<ProgramRecord, 16> records = readBank();
    EXPECT_EQ(records[1].params[1], 0.890625);  // 0.891
    EXPECT_EQ(records[11].params[1], 0.890625);
    EXPECT_EQ(records[5].params[1], 0.7578125); // 0.758
    EXPECT_EQ(records[8].params[1], 0.953125);  // 0.953
    EXPECT_EQ(records[10].params[1], 0.984375); // 0.984
    EXPECT_EQ(records[3].params[3], 0.8125);    // 0.812
    EXPECT_EQ(records[2].params[16], 0.75);
    EXPECT_EQ(records[1].hidden[6], 0.75);
    EXPECT_EQ(records[0].params[1], static_cast<double>(0.85f)); // no binary fraction near 0.85
}

TEST(FactoryBank, FirstProgramIsTheDefaultsButForPitchBend)
{
    const ProgramRecord first = readBank()[0];
    const Vextoria3Preset defaults;
    for (int32_t id = 0; id < 38; ++id)
        EXPECT_EQ(first.params[id], id == 34 ? 0.0 : static_cast<double>(defaults.params[id].load())) << id;
    for (int32_t index = 0; index < 7; ++index)
        EXPECT_EQ(first.hidden[index], static_cast<double>(defaults.hidden[index].load())) << index;
}
