// The program record: byte layout, round trip, and every record the reader must refuse.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstring>
#include <vector>

#include "dsp/ProgramChunk.h"

namespace {

// A record with the given counts and values value(i) = i / 100, hidden h(i) = i / 10.
std::vector<uint8_t> makeRecord(int32_t paramCount, int32_t hiddenCount)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, 1);
    insert_int(bytes, paramCount);
    for (int32_t id = 0; id < paramCount; ++id)
        insert_double(bytes, id / 100.0);
    insert_int(bytes, hiddenCount);
    for (int32_t index = 0; index < hiddenCount; ++index)
        insert_double(bytes, index / 10.0);
    return bytes;
}

void overwriteInt(std::vector<uint8_t>& bytes, size_t offset, int32_t value)
{
    std::vector<uint8_t> encoded;
    insert_int(encoded, value);
    std::memcpy(bytes.data() + offset, encoded.data(), 4);
}

} // namespace

TEST(ProgramRecordWriter, AppendsLittleEndianBytesWhateverTheHostOrder)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, 0x01020304);
    insert_int(bytes, -2);
    insert_double(bytes, 1.0); // 0x3FF0000000000000
    const std::vector<uint8_t> expected = {0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF,
                                           0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(bytes, expected);
}

TEST(ProgramRecordWriter, WritesOneFullRecordOfAProgram)
{
    Vextoria3Preset program;
    program.params[1] = 0.25f;
    program.hidden[6] = 0.75f;
    std::vector<uint8_t> bytes;
    writeProgramChunk(bytes, program);
    ASSERT_EQ(bytes.size(), 372u);
    EXPECT_EQ(bytes.size(), kProgramChunkSize);

    const std::optional<ProgramRecord> record = readProgramChunk(bytes.data(), bytes.size());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->paramCount, 38);
    EXPECT_EQ(record->hiddenCount, 7);
    EXPECT_EQ(record->params[1], 0.25);
    EXPECT_EQ(record->params[0], 0.0);
    EXPECT_EQ(record->params[34], 0.5);
    EXPECT_EQ(record->params[11], 1.0);
    EXPECT_EQ(record->params[25], static_cast<double>(0.6f)); // float widened, not re-rounded
    EXPECT_EQ(record->hidden[3], 1.0);
    EXPECT_EQ(record->hidden[6], 0.75);
}

TEST(ProgramRecordReader, TakesShortValidRecordsAndReportsTheirSize)
{
    const std::vector<uint8_t> bytes = makeRecord(10, 0);
    ASSERT_EQ(bytes.size(), 92u);
    size_t consumed = 0;
    const std::optional<ProgramRecord> record = readProgramChunk(bytes.data(), bytes.size(), &consumed);
    ASSERT_TRUE(record);
    EXPECT_EQ(consumed, 92u);
    EXPECT_EQ(record->paramCount, 10);
    EXPECT_EQ(record->hiddenCount, 0);
    EXPECT_DOUBLE_EQ(record->params[9], 0.09);

    const std::vector<uint8_t> empty = makeRecord(0, 0);
    ASSERT_TRUE(readProgramChunk(empty.data(), empty.size(), &consumed));
    EXPECT_EQ(consumed, 12u);
}

TEST(ProgramRecordReader, ReadsOnlyItsOwnRecordFromLongerData)
{
    std::vector<uint8_t> bytes = makeRecord(38, 7);
    const std::vector<uint8_t> second = makeRecord(5, 1);
    bytes.insert(bytes.end(), second.begin(), second.end());
    size_t consumed = 0;
    ASSERT_TRUE(readProgramChunk(bytes.data(), bytes.size(), &consumed));
    EXPECT_EQ(consumed, 372u);
    const std::optional<ProgramRecord> next = readProgramChunk(bytes.data() + consumed, bytes.size() - consumed);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->paramCount, 5);
}

TEST(ProgramRecordReader, RefusesCountsOutsideTheirSlots)
{
    struct Case {
        int32_t paramCount, hiddenCount;
    };
    for (const Case bad : {Case{39, 7}, Case{38, 8}, Case{-1, 7}, Case{38, -1}, Case{INT32_MIN, 0}}) {
        // Give the reader far more bytes than any valid record needs.
        std::vector<uint8_t> bytes = makeRecord(38, 7);
        bytes.resize(4096, 0);
        overwriteInt(bytes, 4, bad.paramCount);
        const int32_t paramCount = bad.paramCount >= 0 && bad.paramCount <= 39 ? bad.paramCount : 38;
        overwriteInt(bytes, 8 + 8 * static_cast<size_t>(paramCount), bad.hiddenCount);
        EXPECT_FALSE(readProgramChunk(bytes.data(), bytes.size()))
            << "N = " << bad.paramCount << ", M = " << bad.hiddenCount;
    }
}

TEST(ProgramRecordReader, RefusesHugeCountsWithoutOverflowing)
{
    for (const int32_t huge : {INT32_MAX, INT32_MAX - 1, 0x20000000, 0x1FFFFFFF}) {
        std::vector<uint8_t> bytes = makeRecord(38, 7);
        overwriteInt(bytes, 4, huge);
        EXPECT_FALSE(readProgramChunk(bytes.data(), bytes.size())) << huge;
        bytes = makeRecord(38, 7);
        overwriteInt(bytes, 312, huge);
        EXPECT_FALSE(readProgramChunk(bytes.data(), bytes.size())) << huge;
    }
}

TEST(ProgramRecordReader, RefusesEveryTruncationOfARecord)
{
    for (const auto& [paramCount, hiddenCount] : {std::pair{38, 7}, std::pair{10, 0}, std::pair{0, 3}}) {
        const std::vector<uint8_t> bytes = makeRecord(paramCount, hiddenCount);
        for (size_t size = 0; size < bytes.size(); ++size) {
            // A copy of exactly size bytes, so the sanitizers catch any read beyond it.
            const std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_FALSE(readProgramChunk(truncated.data(), truncated.size())) << size;
        }
        EXPECT_TRUE(readProgramChunk(bytes.data(), bytes.size()));
    }
    EXPECT_FALSE(readProgramChunk(nullptr, 372));
}

TEST(ProgramRecordStore, ClampsValuesAndLeavesSlotsPastTheCounts)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, 1);
    insert_int(bytes, 3);
    insert_double(bytes, -4.0);
    insert_double(bytes, std::bit_cast<double>(0x7FF8000000000000ull)); // NaN
    insert_double(bytes, 9.0);
    insert_int(bytes, 1);
    insert_double(bytes, 0.25);
    const std::optional<ProgramRecord> record = readProgramChunk(bytes.data(), bytes.size());
    ASSERT_TRUE(record);

    Vextoria3Preset program;
    storeProgramRecord(*record, program);
    EXPECT_EQ(program.params[0].load(), 0.0f);
    EXPECT_EQ(program.params[1].load(), 0.0f);
    EXPECT_EQ(program.params[2].load(), 1.0f);
    EXPECT_EQ(program.params[3].load(), 0.0f);  // default kept
    EXPECT_EQ(program.params[4].load(), 0.35f); // default kept
    EXPECT_EQ(program.hidden[0].load(), 0.25f);
    EXPECT_EQ(program.hidden[3].load(), 1.0f);
}
