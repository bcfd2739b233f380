// The controller's own state, the processor's state as the controller reads it, and the
// user's saved defaults read at initialisation.
#include "ControllerHarness.h"

#include "dsp/FactoryBank.h"

#include <cstring>
#include <limits>

namespace ControllerTest {
namespace {

using StateTest = ControllerFixture;
using HiddenCalls = std::vector<RecordingEditor::HiddenCall>;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const std::vector<double> kHiddenDefaults {0, 0, 0, 1, 0, 0, 0};

// A stream that takes only so many bytes, like a full disk.
struct FullStream : MemoryStream {
    explicit FullStream(int32 room) : room(room) {}
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        const int32 taken = std::min(numBytes, room);
        room -= taken;
        if (numBytesWritten)
            *numBytesWritten = taken;
        return taken == numBytes ? MemoryStream::write(buffer, numBytes, nullptr) : kResultFalse;
    }
    int32 room;
};

TEST_F(StateTest, the_state_is_a_marker_and_seven_values_a_new_controller_takes_but_for_the_view_size)
{
    const std::vector<double> values {0.25, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75};
    for (int32_t index = 0; index < 7; ++index)
        controller->getHiddenParameters().setParamValue(index, values[index]);
    auto stream = owned(new MemoryStream);
    ASSERT_EQ(controller->getState(stream), kResultOk);
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    EXPECT_EQ(std::vector<uint8_t>(data, data + stream->getSize()), controllerState(1, values));
    for (int32 room : {0, 4, 8, 40, 63, 64})
        EXPECT_EQ(controller->getState(owned(new FullStream(room))), room < 64 ? kResultFalse : kResultOk) << room;
    EXPECT_EQ(controller->getState(nullptr), kResultFalse);

    initialise();
    controller->setEditor(&editor);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(controller->setState(stream), kResultOk);
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75}));
    EXPECT_EQ(editor.hiddenCalls, (HiddenCalls {{1, 1.0}, {2, 0.5}, {3, 0.7}, {4, 1.0}, {5, 1.0}, {6, 0.75}}));
}

TEST_F(StateTest, broken_states_are_refused_whole_and_values_out_of_range_one_by_one_unechoed)
{
    auto cutShort = controllerState(1, {0, 1, 1, 0.5, 1, 1, 1});
    cutShort.resize(cutShort.size() - 4);
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"marker 2", controllerState(2, {0, 1, 1, 1, 1, 1, 1})},
        {"marker in the high word", controllerState(uint64_t(1) << 32, {0, 1, 1, 1, 1, 1, 1})},
        {"four doubles", controllerState(1, {0, 1, 1, 0.5})}, {"six doubles and a half", cutShort},
        {"marker cut short", {1, 0, 0}}, {"empty", {}},
    };
    controller->setEditor(&editor);
    for (const auto& [what, bytes] : cases)
        EXPECT_EQ(controller->setState(streamOf(bytes)), kResultFalse) << what;
    EXPECT_EQ(controller->setState(nullptr), kResultFalse);
    EXPECT_EQ(hiddenValues(), kHiddenDefaults);
    EXPECT_TRUE(editor.hiddenCalls.empty());

    ASSERT_EQ(controller->setState(streamOf(controllerState(1, {0.75, 1, 1.5, kNaN, -0.5, 1, 0.25}))), kResultOk);
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0, 1, 0, 1, 0, 1, 0.25}));
    EXPECT_EQ(editor.hiddenCalls, (HiddenCalls {{1, 1.0}, {5, 1.0}, {6, 0.25}}));
}

TEST_F(StateTest, the_processor_state_sets_the_parameters_it_holds_but_never_the_program)
{
    // Factory program 0's record: int32 version, int32 38, the values, int32 7, the hidden values.
    std::vector<uint8_t> record(factoryBank(), factoryBank() + kProgramChunkSize);
    auto setParam = [&](std::vector<uint8_t>& bytes, int32_t id, double value) {
        std::memcpy(bytes.data() + 8 + 8 * id, &value, sizeof value);
    };
    // A count past its limit, the hidden block cut short, nothing: GateSize 0.1 is never taken.
    setParam(record, 1, 0.1);
    std::vector<uint8_t> tooMany = record, tooManyHidden = record, cut(record.begin(), record.end() - 1);
    tooMany[4] = 39;
    tooManyHidden[8 + 8 * 38] = 8;
    for (const std::vector<uint8_t>& refused : {tooMany, tooManyHidden, cut, std::vector<uint8_t> {}})
        EXPECT_EQ(controller->setComponentState(streamOf(refused)), kResultFalse) << refused.size();
    EXPECT_EQ(controller->setComponentState(nullptr), kResultFalse);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.85) << "refused records change nothing";

    // GateSize, Reverse Amt not a number (kept), FX Select, a program number, Bypass.
    for (auto [id, value] : {std::pair {1, 0.25}, {2, kNaN}, {16, 0.5}, {36, 0.9}, {37, 1.0}})
        setParam(record, id, value);
    ASSERT_EQ(controller->setComponentState(streamOf(record)), kResultOk);
    for (auto [id, value] : {std::pair {1, 0.25}, {2, 0.4}, {16, 0.5}, {37, 1.0}, {36, 0.0}})
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(id), value) << id;
    EXPECT_EQ(controller->getCurrentProgram(), 0);
    EXPECT_EQ(hiddenValues(), kHiddenDefaults) << "hidden values come from the controller state only";
    EXPECT_TRUE(handler.restarts.empty());
    // A record of three values sets only those.
    record.resize(8 + 8 * 3 + 4);
    record[4] = 3;
    std::fill(record.end() - 4, record.end(), 0);
    ASSERT_EQ(controller->setComponentState(streamOf(record)), kResultOk);
    for (auto [id, value] : {std::pair {0, 0.0}, {1, 0.25}, {2, 0.4}, {16, 0.5}, {37, 1.0}})
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(id), value) << id;
}

TEST_F(StateTest, saved_defaults_apply_only_behind_an_open_gate)
{
    const std::string keys = "size=0.5\ndarkmode=1\nscopestyle=0.5\nknobspeed=0.25\nmovetoast=1\neditfx=1\n";
    // The settings file's own tests cover the ways of writing the gate and the numbers.
    const std::pair<std::string, std::vector<double>> cases[] = {
        {"", kHiddenDefaults},
        {"[Plugin]\nactive=1.000000\n" + keys, {0.5, 1, 0.5, 0.25, 1, 1, 0}},
        {"[Plugin]\nactive=0.000000\n" + keys, kHiddenDefaults},
        {"[Other]\nactive=1\n" + keys, kHiddenDefaults},
        {"[Plugin]\nactive=1\nknobspeed=2\nsize=-0.5\ndarkmode=1\n", {0, 1, 0, 1, 0, 0, 0}}, // one by one
        {"[Plugin]\nactive=1\nknobspeed=\neditfx=nan\n", kHiddenDefaults},
        {"[Plugin]\nactive=1\nfxtab=0.75\n", kHiddenDefaults}, // the FX tab has no key
    };
    for (const auto& [file, hidden] : cases) {
        writeSettings(file);
        initialise();
        EXPECT_EQ(hiddenValues(), hidden) << file;
    }
    setenv("HOME", "", 1); // an empty home reads nothing and still initialises
    initialise();
    EXPECT_EQ(hiddenValues(), kHiddenDefaults);
}

} // namespace
} // namespace ControllerTest
