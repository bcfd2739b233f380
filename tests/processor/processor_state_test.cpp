#include "ProcessorFixture.h"

#include "ids.h"

using namespace ProcessorTest;

namespace {

constexpr size_t kRecordSize = 372;

double patternParam(int32 id)
{
    if (id == Vextoria3Ids::kFreeze || id == Vextoria3Ids::kBypass)
        return 0.0; // keep the engine plain
    if (id == Vextoria3Ids::kFactoryPresets)
        return 0.75;
    return (id + 1) / 64.0 + 0.001;
}
double patternHidden(int32 index) { return (index + 1) / 8.0; }

struct State : ProcessorFixture
{
    // The live record with every slot set to a value of its own.
    Bytes patterned()
    {
        Bytes record = state();
        for (int32 id = 0; id < 38; ++id)
            record = withParam(record, id, patternParam(id));
        for (int32 index = 0; index < 7; ++index)
            writeAt(record, kHiddenOffset + 8 * index, patternHidden(index));
        return record;
    }
};

} // namespace

TEST_F(State, RestoredRecordComesBackNarrowedWithTheDerivedSlotsRewritten)
{
    ASSERT_EQ(restore(patterned()), kResultOk);
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
        EXPECT_EQ(readAt<double>(record, paramOffset(id)), expected) << "id " << id;
    }
    for (int32 index = 0; index < 7; ++index)
        EXPECT_EQ(readAt<double>(record, kHiddenOffset + 8 * index), static_cast<float>(patternHidden(index)));
}

TEST_F(State, ShortRecordWithoutHiddenValuesKeepsTheOtherSlots)
{
    Bytes record = patterned();
    const Bytes before = state();
    writeAt<int32>(record, 4, 10);
    record.resize(paramOffset(10) + 4);
    writeAt<int32>(record, paramOffset(10), 0); // no hidden values
    ASSERT_EQ(restore(record), kResultOk);
    const Bytes after = state();
    EXPECT_EQ(readAt<double>(after, paramOffset(9)), static_cast<float>(patternParam(9)));
    EXPECT_EQ(readAt<double>(after, paramOffset(10)), readAt<double>(before, paramOffset(10)));
    EXPECT_EQ(Bytes(after.begin() + kHiddenOffset, after.end()), Bytes(before.begin() + kHiddenOffset, before.end()));
}

TEST_F(State, HugeCountsStubsAndMissingStreamsAreRefusedAndChangeNothing)
{
    const Bytes before = state();
    Bytes hugeHidden = patterned();
    writeAt<int32>(hugeHidden, kHiddenOffset - 4, 0x7FFFFFFF);
    EXPECT_EQ(restore(hugeHidden), kResultFalse);
    EXPECT_EQ(restore(Bytes {1, 0, 0}), kResultFalse);
    EXPECT_EQ(processor->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(state(), before);
}

TEST_F(State, RecordIsReadFromTheStreamsCurrentPosition)
{
    Bytes prefixed(40, 0xEE);
    const Bytes record = patterned();
    prefixed.insert(prefixed.end(), record.begin(), record.end());
    auto stream = streamOf(prefixed);
    stream->seek(40, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(processor->setState(stream), kResultOk);
    EXPECT_FLOAT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), static_cast<float>(patternParam(1)));
}

TEST_F(State, WhileActiveARecordWaitsForTheNextBlockOrTheDeactivation)
{
    const float expected = static_cast<float>(patternParam(Vextoria3Ids::kGateSize));
    for (bool deactivate : {false, true})
    {
        SCOPED_TRACE(deactivate ? "deactivation" : "next block");
        ASSERT_EQ(restore(withParam(state(), Vextoria3Ids::kGateSize, 0.0)), kResultOk);
        ASSERT_EQ(processor->setActive(true), kResultOk);
        ASSERT_EQ(restore(patterned()), kResultOk);
        EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.0f) << "not applied yet";
        // A save in between already reports the waiting record.
        EXPECT_EQ(readAt<double>(state(), paramOffset(Vextoria3Ids::kGateSize)), expected);

        ProcessBlock block(2, 2, kMaxBlock);
        if (deactivate)
            ASSERT_EQ(processor->setActive(false), kResultOk);
        else
            ASSERT_EQ(run(block, 64), kResultOk);
        EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), expected);

        // A refused record never reaches the waiting slot.
        ASSERT_EQ(processor->setActive(true), kResultOk);
        const Bytes before = state();
        Bytes tooMany = patterned();
        writeAt<int32>(tooMany, 4, 39);
        EXPECT_EQ(restore(tooMany), kResultFalse);
        ASSERT_EQ(run(block, 64), kResultOk);
        EXPECT_EQ(state(), before);
        ASSERT_EQ(processor->setActive(false), kResultOk);
    }
}
