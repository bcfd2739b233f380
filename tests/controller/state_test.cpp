// The controller's own state, the processor's state as the controller reads it, and the
// user's saved defaults read at initialisation.
#include "ControllerHarness.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace ControllerTest {
namespace {

using StateTest = ControllerFixture;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const std::vector<double> kHiddenDefaults {0, 0, 0, 1, 0, 0, 0};

std::vector<double> defaultParams()
{
    return {0, 0.85, 0.4, 0, 0.35, 0, 0.5, 0.5, 1, 0.5, 0, 1, 0, 0, 0, 0, 1, 0, 0.4,
            0.45, 1, 0.65, 0.95, 0.5, 0.5, 0.6, 0, 0, 1, 1, 1, 1, 0, 0.5, 0.5, 0, 0, 0};
}

// A stream that takes only so many bytes, like a full disk.
class FullStream : public MemoryStream {
public:
    explicit FullStream(int32 room) : room(room) {}
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        const int32 taken = std::min(numBytes, room);
        room -= taken;
        if (numBytesWritten)
            *numBytesWritten = taken;
        return taken == numBytes ? MemoryStream::write(buffer, numBytes, nullptr) : kResultFalse;
    }

private:
    int32 room;
};

TEST_F(StateTest, a_fresh_controller_writes_64_bytes_and_reports_a_stream_that_cannot_take_them)
{
    auto stream = owned(new MemoryStream);
    ASSERT_EQ(controller->getState(stream), kResultOk);
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    EXPECT_EQ(std::vector<uint8_t>(data, data + stream->getSize()), controllerState(1, kHiddenDefaults));
    EXPECT_EQ(controller->getState(nullptr), kResultFalse);
    for (int32 room : {0, 4, 8, 40, 63})
        EXPECT_EQ(controller->getState(owned(new FullStream(room))), kResultFalse) << room;
    EXPECT_EQ(controller->getState(owned(new FullStream(64))), kResultOk);
}

TEST_F(StateTest, a_written_state_reads_back_into_a_new_controller_but_for_the_view_size)
{
    const double values[] = {0.25, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75};
    for (int32_t index = 0; index < 7; ++index)
        controller->getHiddenParameters().setParamValue(index, values[index]);
    auto stream = owned(new MemoryStream);
    ASSERT_EQ(controller->getState(stream), kResultOk);

    initialise();
    controller->setEditor(&editor);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(controller->setState(stream), kResultOk);
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75}));
    ASSERT_EQ(editor.hiddenCalls.size(), 6u);
    EXPECT_EQ(editor.hiddenCalls.front().index, 1);
}

TEST_F(StateTest, broken_controller_states_are_refused_and_change_nothing)
{
    auto cutShort = controllerState(1, {0, 1, 1, 0.5, 1, 1, 1});
    cutShort.resize(cutShort.size() - 4);
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"marker 2", controllerState(2, {0, 1, 1, 1, 1, 1, 1})},
        {"marker in the high word", controllerState(uint64_t(1) << 32, {0, 1, 1, 1, 1, 1, 1})},
        {"four doubles", controllerState(1, {0, 1, 1, 0.5})},
        {"six doubles and a half", cutShort},
        {"marker cut short", {1, 0, 0}},
        {"empty", {}},
    };
    controller->setEditor(&editor);
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(controller->setState(streamOf(bytes)), kResultFalse) << what;
        EXPECT_EQ(hiddenValues(), kHiddenDefaults) << what;
    }
    EXPECT_TRUE(editor.hiddenCalls.empty());
    EXPECT_EQ(controller->setState(nullptr), kResultFalse);
}

TEST_F(StateTest, values_out_of_range_are_refused_one_by_one_and_only_the_taken_ones_reach_the_editor)
{
    controller->setEditor(&editor);
    ASSERT_EQ(controller->setState(streamOf(controllerState(1, {0.75, 1, 1.5, kNaN, -0.5, 1, 0.25}))), kResultOk);
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0, 1, 0, 1, 0, 1, 0.25}));
    ASSERT_EQ(editor.hiddenCalls.size(), 3u);
    for (const auto& [call, index, value] : {std::tuple{0, 1, 1.0}, {1, 5, 1.0}, {2, 6, 0.25}}) {
        EXPECT_EQ(editor.hiddenCalls[call].index, index);
        EXPECT_EQ(editor.hiddenCalls[call].value, value);
    }
}

TEST_F(StateTest, the_processor_state_sets_the_parameters_it_holds_but_never_the_program)
{
    std::vector<double> params = defaultParams();
    params[1] = 0.25;  // GateSize
    params[2] = kNaN;  // no number: Reverse Amt keeps its value
    params[16] = 0.5;  // FX Select
    params[36] = 0.9;  // a program number, never applied from a state
    params[37] = 1.0;  // Bypass
    ASSERT_EQ(controller->setComponentState(streamOf(programRecord(38, params, 7, {0, 1, 1, 1, 1, 1, 1}))), kResultOk);
    for (auto [id, value] : {std::pair {1, 0.25}, {2, 0.4}, {16, 0.5}, {37, 1.0}, {36, 0.0}})
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(id), value) << id;
    EXPECT_EQ(controller->getCurrentProgram(), 0);
    EXPECT_EQ(hiddenValues(), kHiddenDefaults); // hidden values come from the controller state only
    EXPECT_TRUE(handler.restarts.empty());

    ASSERT_EQ(controller->setComponentState(streamOf(programRecord(0, {}, 0, {}))), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.25);
    ASSERT_EQ(controller->setComponentState(streamOf(programRecord(3, {1, 0.1, 0.2}, 0, {}))), kResultOk);
    for (auto [id, value] : {std::pair {0, 1.0}, {2, 0.2}, {3, 0.0}})
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(id), value) << id;
}

TEST_F(StateTest, records_the_processor_refuses_are_refused_and_change_nothing)
{
    // The record reader's own tests cover every way a record breaks; these are a few of them.
    const std::vector<double> hidden(7, 0.0);
    std::vector<double> params = defaultParams();
    params[1] = 0.1;
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"hidden block missing", programRecord(38, params, 7, {})},
        {"too many parameters", programRecord(39, params, 7, hidden)},
        {"too many hidden values", programRecord(38, params, 8, hidden)},
        {"empty", {}},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_EQ(controller->setComponentState(streamOf(bytes)), kResultFalse) << what;
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.85) << what;
    }
    EXPECT_EQ(controller->setComponentState(nullptr), kResultFalse);
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
        SCOPED_TRACE(file);
        writeSettings(file);
        initialise();
        EXPECT_EQ(hiddenValues(), hidden);
    }
    setenv("HOME", "", 1); // an empty home reads nothing and still initialises
    initialise();
    EXPECT_EQ(hiddenValues(), kHiddenDefaults);
}

} // namespace
} // namespace ControllerTest
