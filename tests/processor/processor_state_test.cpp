#include "ProcessorFixture.h"

#include "ids.h"

#include <cmath>

using namespace ProcessorTest;

namespace {

constexpr size_t kRecordSize = 372;
constexpr size_t kHiddenOffset = 316;

double patternParam(int32 id)
{
    if (id == Vextoria3Ids::kFreeze || id == Vextoria3Ids::kBypass)
        return 0.0; // keep the engine plain
    if (id == Vextoria3Ids::kFactoryPresets)
        return 0.75;
    return (id + 1) / 64.0 + 0.001;
}
double patternHidden(int32 index) { return (index + 1) / 8.0; }
double zero(int32) { return 0.0; }

size_t paramOffset(int32 id) { return 8 + 8 * static_cast<size_t>(id); }

using State = ProcessorFixture;

} // namespace

TEST_F(State, FreshProcessorSavesTheDefaultProgramRecord)
{
    const Bytes record = state();
    ASSERT_EQ(record.size(), kRecordSize);
    EXPECT_EQ(readInt(record, 0), 1);
    EXPECT_EQ(readInt(record, 4), 38);
    for (int32 id = 0; id < 38; ++id)
    {
        const double expected = id == Vextoria3Ids::kPitchBend ? 0.5 : Vextoria3Defaults::kParams[id];
        EXPECT_EQ(readDouble(record, paramOffset(id)), static_cast<double>(static_cast<float>(expected))) << "id " << id;
    }
    EXPECT_EQ(readInt(record, 312), 7);
    const double hidden[7] = {0, 0, 0, 1, 0, 0, 0};
    for (int32 index = 0; index < 7; ++index)
        EXPECT_EQ(readDouble(record, kHiddenOffset + 8 * index), hidden[index]);
}

TEST_F(State, RestoredRecordComesBackNarrowedWithTheDerivedSlotsRewritten)
{
    ASSERT_EQ(restore(makeRecord(38, 7, patternParam, patternHidden)), kResultOk);
    EXPECT_EQ(dsp().getCurrentProgram(), 0); // id 36 = 0.75 selects nothing

    const Bytes record = state();
    ASSERT_EQ(record.size(), kRecordSize);
    for (int32 id = 0; id < 38; ++id)
    {
        double expected = static_cast<float>(patternParam(id));
        if (id == Vextoria3Ids::kRetired12 || id == Vextoria3Ids::kModWheel || id == Vextoria3Ids::kFactoryPresets)
            expected = 0.0;
        if (id == Vextoria3Ids::kPitchBend)
            expected = 0.5; // the live pitch bend, never restored
        EXPECT_EQ(readDouble(record, paramOffset(id)), expected) << "id " << id;
    }
    for (int32 index = 0; index < 7; ++index)
        EXPECT_EQ(readDouble(record, kHiddenOffset + 8 * index), static_cast<float>(patternHidden(index)));
}

TEST_F(State, ShortValidRecordSetsOnlyItsSlots)
{
    ASSERT_EQ(restore(makeRecord(10, 0, patternParam, zero)), kResultOk);
    const Bytes record = state();
    EXPECT_EQ(readDouble(record, paramOffset(9)), static_cast<float>(patternParam(9)));
    EXPECT_EQ(readDouble(record, paramOffset(10)), Vextoria3Defaults::kParams[10]);
    EXPECT_EQ(readDouble(record, paramOffset(18)), static_cast<float>(Vextoria3Defaults::kParams[18]));
    EXPECT_EQ(readDouble(record, kHiddenOffset + 3 * 8), 1.0);
}

TEST_F(State, BrokenOrEmptyRecordsAreRefusedAndChangeNothing)
{
    const Bytes before = state();
    Bytes truncated = makeRecord(38, 7, patternParam, patternHidden);
    truncated.pop_back();
    Bytes tooManyParams = makeRecord(39, 7, patternParam, patternHidden);
    Bytes tooManyHidden = makeRecord(38, 8, patternParam, patternHidden);
    Bytes negative = makeRecord(38, 7, patternParam, patternHidden);
    const int32 minusOne = -1;
    std::memcpy(negative.data() + 4, &minusOne, 4);
    Bytes huge = makeRecord(38, 7, patternParam, patternHidden);
    const int32 hugeCount = 0x7FFFFFFF;
    std::memcpy(huge.data() + 312, &hugeCount, 4);

    for (const Bytes* broken : {&truncated, &tooManyParams, &tooManyHidden, &negative, &huge})
        EXPECT_EQ(restore(*broken), kResultFalse);
    EXPECT_EQ(restore(Bytes {}), kResultFalse);
    EXPECT_EQ(restore(Bytes {1, 0, 0}), kResultFalse);
    EXPECT_EQ(processor->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(state(), before);
}

TEST_F(State, RecordIsReadFromTheStreamsCurrentPosition)
{
    Bytes prefixed(40, 0xEE);
    const Bytes record = makeRecord(38, 7, patternParam, patternHidden);
    prefixed.insert(prefixed.end(), record.begin(), record.end());
    auto stream = streamOf(prefixed);
    stream->seek(40, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(processor->setState(stream), kResultOk);
    EXPECT_FLOAT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), static_cast<float>(patternParam(1)));
}

TEST_F(State, WhileActiveARecordWaitsForTheNextBlock)
{
    ASSERT_EQ(processor->setActive(true), kResultOk);
    const float before = dsp().getParameter(Vextoria3Ids::kGateSize);
    ASSERT_EQ(restore(makeRecord(38, 7, patternParam, patternHidden)), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), before); // not applied yet

    // A save in between already reports the waiting record.
    EXPECT_EQ(readDouble(state(), paramOffset(1)), static_cast<float>(patternParam(1)));

    VextoriaHost::ProcessBlock block(2, 2, kMaxBlock);
    ASSERT_EQ(processor->process(block.prepare(64)), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), static_cast<float>(patternParam(1)));
}

TEST_F(State, RecordWaitingAtDeactivationIsAppliedThen)
{
    ASSERT_EQ(processor->setActive(true), kResultOk);
    ASSERT_EQ(restore(makeRecord(38, 7, patternParam, patternHidden)), kResultOk);
    ASSERT_EQ(processor->setActive(false), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), static_cast<float>(patternParam(1)));
}

TEST_F(State, RefusedRecordWhileActiveChangesNothing)
{
    ASSERT_EQ(processor->setActive(true), kResultOk);
    const Bytes before = state();
    EXPECT_EQ(restore(makeRecord(39, 7, patternParam, patternHidden)), kResultFalse);
    VextoriaHost::ProcessBlock block(2, 2, kMaxBlock);
    processor->process(block.prepare(64));
    EXPECT_EQ(state(), before);
}
