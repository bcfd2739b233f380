// The program record: byte layout, round trip, and every record the reader must refuse.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>

#include "RecordBytes.h"

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

TEST(ProgramRecordWriter, WritesLittleEndianFullRecordsThatReadBack)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, 0x01020304);
    insert_int(bytes, -2);
    insert_double(bytes, 1.0);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

    Vextoria3Preset program;
    program.params[1] = 0.25f;
    program.hidden[6] = 0.75f;
    bytes.clear();
    writeProgramChunk(bytes, program);
    ASSERT_EQ(bytes.size(), 372u);
    const std::optional<ProgramRecord> record = readProgramChunk(bytes.data(), bytes.size());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->paramCount, 38);
    EXPECT_EQ(record->hiddenCount, 7);
    EXPECT_EQ(record->params[1], 0.25);
    EXPECT_EQ(record->params[34], 0.5);
    EXPECT_EQ(record->params[25], static_cast<double>(0.6f)) << "float widened, not re-rounded";
    EXPECT_EQ(record->hidden[3], 1.0);
    EXPECT_EQ(record->hidden[6], 0.75);
}

TEST(ProgramRecordReader, TakesShortRecordsAndOnlyItsOwnBytesOfLongerData)
{
    size_t consumed = 0;
    const std::vector<uint8_t> empty = steppedRecord(0, 0);
    ASSERT_TRUE(readProgramChunk(empty.data(), empty.size(), &consumed));
    EXPECT_EQ(consumed, 12u);

    std::vector<uint8_t> bytes = steppedRecord(38, 7);
    const std::vector<uint8_t> second = steppedRecord(10, 0);
    bytes.insert(bytes.end(), second.begin(), second.end());
    ASSERT_TRUE(readProgramChunk(bytes.data(), bytes.size(), &consumed));
    EXPECT_EQ(consumed, 372u);
    const std::optional<ProgramRecord> next = readProgramChunk(bytes.data() + consumed, bytes.size() - consumed, &consumed);
    ASSERT_TRUE(next);
    EXPECT_EQ(consumed, 92u);
    EXPECT_EQ(next->paramCount, 10);
    EXPECT_EQ(next->hiddenCount, 0);
    EXPECT_DOUBLE_EQ(next->params[9], 0.09);
}

TEST(ProgramRecordReader, RefusesCountsOutsideTheirSlotsAndHugeCountsWithoutOverflowing)
{
    struct Case {
        int32_t paramCount, hiddenCount;
    };
    for (const Case bad : {Case{39, 7}, Case{38, 8}, Case{-1, 7}, Case{38, -1}, Case{INT32_MIN, 0}}) {
        std::vector<uint8_t> bytes = steppedRecord(38, 7);
        bytes.resize(4096, 0); // far more bytes than any valid record needs
        overwriteInt(bytes, 4, bad.paramCount);
        const int32_t paramCount = bad.paramCount >= 0 && bad.paramCount <= 39 ? bad.paramCount : 38;
        overwriteInt(bytes, 8 + 8 * static_cast<size_t>(paramCount), bad.hiddenCount);
        EXPECT_FALSE(readProgramChunk(bytes.data(), bytes.size())) << bad.paramCount << ", " << bad.hiddenCount;
    }
    for (const int32_t huge : {INT32_MAX, INT32_MAX - 1, 0x20000000, 0x1FFFFFFF}) {
        for (const size_t offset : {size_t{4}, size_t{312}}) {
            std::vector<uint8_t> bytes = steppedRecord(38, 7);
            overwriteInt(bytes, offset, huge);
            EXPECT_FALSE(readProgramChunk(bytes.data(), bytes.size())) << huge << " at " << offset;
        }
    }
}

TEST(ProgramRecordReader, RefusesEveryTruncationOfARecord)
{
    for (const auto& [paramCount, hiddenCount] : {std::pair{38, 7}, std::pair{10, 0}, std::pair{0, 3}}) {
        const std::vector<uint8_t> bytes = steppedRecord(paramCount, hiddenCount);
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
    const double values[] = {-4.0, std::numeric_limits<double>::quiet_NaN(), 9.0};
    const std::vector<uint8_t> bytes = makeRecord(3, 1, [&](int32_t id) { return values[id]; }, [](int32_t) { return 0.25; });
    const std::optional<ProgramRecord> record = readProgramChunk(bytes.data(), bytes.size());
    ASSERT_TRUE(record);
    Vextoria3Preset program;
    storeProgramRecord(*record, program);
    EXPECT_EQ(program.params[0].load(), 0.0f);
    EXPECT_EQ(program.params[1].load(), 0.0f);
    EXPECT_EQ(program.params[2].load(), 1.0f);
    EXPECT_EQ(program.params[4].load(), 0.35f) << "default kept";
    EXPECT_EQ(program.hidden[0].load(), 0.25f);
    EXPECT_EQ(program.hidden[3].load(), 1.0f) << "default kept";
}
