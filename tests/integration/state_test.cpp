// The component state as a host stores it: one 372-byte program record, restored exactly,
// refused whole when malformed, and following parameter changes and program changes.

#include "BundleUnderTest.h"

#include "ids.h"

#include <limits>

using namespace VextoriaHost;
using namespace VextoriaTest;

namespace {

constexpr size_t kRecordBytes = 372;

class ComponentState : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = loadBundle();
        ASSERT_EQ(host->configure(BusLayout::stereo, 44100.0, 256), Steinberg::kResultOk);
    }

    // Processes one block of silence carrying the given queue points.
    void processPoints(const std::vector<std::tuple<Steinberg::Vst::ParamID, int32_t, double>>& points)
    {
        ProcessBlock block(2, 2, 256);
        for (const auto& [id, offset, value] : points)
            block.inputChanges.addPoint(id, offset, value);
        host->start();
        processOneBlock(*host, block, 256);
    }

    std::unique_ptr<PluginHost> host;
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
        std::vector<uint8_t> record = host->saveState();
        ASSERT_EQ(record.size(), kRecordBytes);
        // Binary fractions survive the plug-in's narrowing to float exactly.
        putDouble(record, 8 + 8 * Vextoria3Ids::kGateSize, running ? 0.125 : 0.25);
        putDouble(record, 8 + 8 * Vextoria3Ids::kPitchAmt, 0.75);
        ASSERT_EQ(host->loadState(record), Steinberg::kResultOk);
        EXPECT_EQ(host->saveState(), record) << (running ? "running" : "idle");
    }
}

TEST_F(ComponentState, SavedHiddenValuesAreTheControllersOwn)
{
    // The processor asks the controller for its hidden settings on every save; this host
    // delivers the answer at once, so a restored record's hidden block does not survive.
    ASSERT_NE(host->controller(), nullptr);
    for (bool running : {false, true}) {
        if (running)
            host->start();
        std::vector<uint8_t> record = host->saveState();
        ASSERT_EQ(record.size(), kRecordBytes);
        putDouble(record, 316 + 8 * 2, 0.5);
        ASSERT_EQ(host->loadState(record), Steinberg::kResultOk);
        const std::vector<uint8_t> saved = host->saveState();
        for (int32_t index = 0; index < 7; ++index)
            EXPECT_EQ(RecordView {saved}.hidden(index), kDefaultHidden[static_cast<size_t>(index)])
                << "hidden " << index << (running ? " (running)" : " (idle)");
    }
}

TEST_F(ComponentState, MalformedRecordsAreRefusedAndChangeNothing)
{
    std::vector<uint8_t> changed = host->saveState();
    ASSERT_EQ(changed.size(), kRecordBytes);
    putDouble(changed, 8 + 8 * Vextoria3Ids::kGateSize, 0.5);
    const std::vector<uint8_t> before = host->saveState();

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
    putInt(record, 88, 0);
    ASSERT_EQ(host->loadState(record), Steinberg::kResultOk);
    const std::vector<uint8_t> state = host->saveState();
    const RecordView saved {state};
    for (int32_t id = 0; id < 10; ++id)
        EXPECT_EQ(saved.param(id), 0.125 * (id % 8)) << "id " << id;
    for (int32_t id = 10; id < 38; ++id)
        EXPECT_NEAR(saved.param(id), kDefaultParameters[static_cast<size_t>(id)], 1e-6) << "id " << id;
}

TEST_F(ComponentState, LastPointOfEachQueueIsWhatTheProcessorKeeps)
{
    processPoints({{Vextoria3Ids::kGateSize, 0, 0.1}, {Vextoria3Ids::kGateSize, 100, 0.4},
                   {Vextoria3Ids::kGateSize, 200, 0.9}, {Vextoria3Ids::kRollAmt, 255, 0.25},
                   {Vextoria3Ids::kRollAmt, 0, 0.75}});
    const std::vector<uint8_t> state = host->saveState();
    const RecordView record {state};
    EXPECT_NEAR(record.param(Vextoria3Ids::kGateSize), 0.9, 1e-6);
    EXPECT_NEAR(record.param(Vextoria3Ids::kRollAmt), 0.25, 1e-6) << "points are ordered by offset";
}

TEST_F(ComponentState, ProgramChangeReachesTheProcessor)
{
    processPoints({{Vextoria3Ids::kFactoryPresets, 0, 3.0 / 15.0}});
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
    processPoints({{Vextoria3Ids::kFactoryPresets, 0, 2.0 / 15.0}, {Vextoria3Ids::kGateSize, 0, 0.375}});
    processPoints({{Vextoria3Ids::kFactoryPresets, 0, 5.0 / 15.0}});
    EXPECT_NEAR(RecordView {host->saveState()}.param(Vextoria3Ids::kGateSize), 0.758, 0.0006);
    processPoints({{Vextoria3Ids::kFactoryPresets, 0, 2.0 / 15.0}});
    EXPECT_EQ(RecordView {host->saveState()}.param(Vextoria3Ids::kGateSize), 0.375);
}
