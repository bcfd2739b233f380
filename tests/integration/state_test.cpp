// The component state as a host stores it: one 372-byte program record, restored exactly,
// refused whole when malformed, and following parameter changes and program changes.

#include "BundleUnderTest.h"

#include <limits>

using namespace VextoriaHost;
using namespace VextoriaTest;

namespace {

constexpr size_t kRecordBytes = 372;

class ComponentState : public ConfiguredBundle {
protected:
    // Processes one block of silence carrying the given changes.
    void processChanges(const Parameters& changes)
    {
        ProcessBlock block(2, 2, kBlock);
        for (const auto& [id, value] : changes)
            block.inputChanges.addPoint(id, 0, value);
        host->start();
        processOneBlock(*host, block, kBlock);
    }
};

}  // namespace

TEST_F(ComponentState, FreshInstanceSavesTheDefaultRecord)
{
    const std::vector<uint8_t> state = host->saveState();
    ASSERT_EQ(state.size(), kRecordBytes);
    const RecordView record {state};
    EXPECT_EQ(record.intAt(0), 1);
    EXPECT_EQ(record.intAt(4), 38);
    for (int32_t id = 0; id < 38; ++id)
        EXPECT_NEAR(record.param(id), kDefaultParameters[static_cast<size_t>(id)], 1e-6) << "id " << id;
    EXPECT_EQ(record.intAt(312), 7);
    for (int32_t index = 0; index < 7; ++index)
        EXPECT_EQ(record.hidden(index), kDefaultHidden[static_cast<size_t>(index)]) << "hidden " << index;
}

TEST_F(ComponentState, RestoredRecordIsSavedBackUnchangedWhetherIdleOrRunning)
{
    for (bool running : {false, true}) {
        if (running)
            host->start();
        // Binary fractions survive the plug-in's narrowing to float exactly.
        const std::vector<uint8_t> record = withParam(
            withParam(host->saveState(), Vextoria3Ids::kGateSize, running ? 0.125 : 0.25), Vextoria3Ids::kPitchAmt, 0.75);
        ASSERT_EQ(host->loadState(record), Steinberg::kResultOk);
        EXPECT_EQ(host->saveState(), record) << (running ? "running" : "idle");
    }
}

TEST_F(ComponentState, MalformedRecordsAreRefusedAndChangeNothing)
{
    const std::vector<uint8_t> before = host->saveState();
    ASSERT_EQ(before.size(), kRecordBytes);
    const std::vector<uint8_t> changed = withParam(before, Vextoria3Ids::kGateSize, 0.5);

    std::vector<std::pair<std::string, std::vector<uint8_t>>> refused;
    refused.emplace_back("empty", std::vector<uint8_t> {});
    refused.emplace_back("one byte short", std::vector<uint8_t>(changed.begin(), changed.end() - 1));
    refused.emplace_back("header only", std::vector<uint8_t>(changed.begin(), changed.begin() + 12));
    auto withCounts = [&](int32_t params, int32_t hidden, size_t size) {
        std::vector<uint8_t> record = changed;
        record.resize(size, 0);
        putInt(record, 4, params);
        if (params >= 0 && params <= 38)
            putInt(record, 8 + 8 * static_cast<size_t>(params), hidden);
        return record;
    };
    refused.emplace_back("39 parameters", withCounts(39, 7, kRecordBytes + 8));
    refused.emplace_back("8 hidden values", withCounts(38, 8, kRecordBytes + 8));
    refused.emplace_back("negative parameter count", withCounts(-1, 7, kRecordBytes));
    refused.emplace_back("huge parameter count", withCounts(std::numeric_limits<int32_t>::max(), 7, kRecordBytes));
    refused.emplace_back("negative hidden count", withCounts(38, -1, kRecordBytes));

    for (bool running : {false, true}) {
        if (running)
            host->start();
        for (const auto& [name, bytes] : refused) {
            EXPECT_EQ(host->loadState(bytes), Steinberg::kResultFalse) << name;
            EXPECT_EQ(host->saveState(), before) << name << (running ? " (running)" : " (idle)");
        }
    }
}

TEST_F(ComponentState, ShortValidRecordSetsOnlyItsOwnSlots)
{
    // N = 10 and M = 0: 92 bytes, taking ids 0 to 9 and leaving the rest.
    std::vector<uint8_t> record(92, 0);
    putInt(record, 0, 1);
    putInt(record, 4, 10);
    for (int32_t id = 0; id < 10; ++id)
        putDouble(record, 8 + 8 * static_cast<size_t>(id), 0.125 * (id % 8));
    ASSERT_EQ(host->loadState(record), Steinberg::kResultOk);
    const std::vector<uint8_t> state = host->saveState();
    for (int32_t id = 0; id < 38; ++id)
        EXPECT_NEAR(RecordView {state}.param(id), id < 10 ? 0.125 * (id % 8) : kDefaultParameters[static_cast<size_t>(id)],
                    1e-6)
            << "id " << id;
}

TEST_F(ComponentState, ProgramChangeReachesTheProcessor)
{
    processChanges({{Vextoria3Ids::kFactoryPresets, 3.0 / 15.0}});
    const std::vector<uint8_t> state = host->saveState();
    ASSERT_EQ(state.size(), kRecordBytes);
    const RecordView record {state};
    // Program 3 of the factory bank.
    EXPECT_NEAR(record.param(Vextoria3Ids::kActive), 1.0, 1e-6);
    EXPECT_NEAR(record.param(Vextoria3Ids::kGateSize), 1.0, 1e-6);
    EXPECT_NEAR(record.param(Vextoria3Ids::kRollAmt), 1.0, 1e-6);
    EXPECT_NEAR(record.param(Vextoria3Ids::kSliceSize), 0.011, 0.0006);
    EXPECT_NEAR(record.param(Vextoria3Ids::kRoomSize), 0.517, 0.0006);
    EXPECT_EQ(record.param(Vextoria3Ids::kFactoryPresets), 0.0) << "the program number is not part of the record";
}

TEST_F(ComponentState, EditsStayWithTheirProgram)
{
    processChanges({{Vextoria3Ids::kFactoryPresets, 2.0 / 15.0}, {Vextoria3Ids::kGateSize, 0.375}});
    processChanges({{Vextoria3Ids::kFactoryPresets, 5.0 / 15.0}});
    EXPECT_NEAR(RecordView {host->saveState()}.param(Vextoria3Ids::kGateSize), 0.758, 0.0006);
    processChanges({{Vextoria3Ids::kFactoryPresets, 2.0 / 15.0}});
    EXPECT_EQ(RecordView {host->saveState()}.param(Vextoria3Ids::kGateSize), 0.375);
}

TEST_F(ComponentState, AQueueOfSeveralPointsLeavesItsLastValue)
{
    ProcessBlock block(2, 2, kBlock);
    for (auto [offset, value] : {std::pair{0, 0.125}, {100, 0.5}, {300, 0.875}})
        block.inputChanges.addPoint(Vextoria3Ids::kReverseAmt, offset, value);
    host->start();
    processOneBlock(*host, block, kBlock);
    const std::vector<uint8_t> state = host->saveState();
    ASSERT_EQ(state.size(), kRecordBytes);
    EXPECT_EQ(RecordView {state}.param(Vextoria3Ids::kReverseAmt), 0.875);
}
