// The controller's own state and the processor's state as the controller reads it.
#include "ControllerHarness.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "dsp/ProgramChunk.h"

namespace ControllerTest {
namespace {

using StateTest = ControllerFixture;

std::vector<double> defaultParams()
{
    return {0, 0.85, 0.4, 0, 0.35, 0, 0.5, 0.5, 1, 0.5, 0, 1, 0, 0, 0, 0, 1, 0, 0.4,
            0.45, 1, 0.65, 0.95, 0.5, 0.5, 0.6, 0, 0, 1, 1, 1, 1, 0, 0.5, 0.5, 0, 0, 0};
}

TEST_F(StateTest, a_fresh_controller_writes_64_bytes_of_marker_and_hidden_defaults)
{
    auto stream = owned(new MemoryStream);
    ASSERT_EQ(controller->getState(stream), kResultOk);
    EXPECT_EQ(bytesOf(*stream), controllerState(1, {0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(bytesOf(*stream).size(), 64u);
    EXPECT_EQ(controller->getState(nullptr), kResultFalse);
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

TEST_F(StateTest, a_state_that_cannot_be_written_whole_is_reported)
{
    for (int32 room : {0, 4, 8, 40, 63}) {
        auto stream = owned(new FullStream(room));
        EXPECT_EQ(controller->getState(stream), kResultFalse) << room;
    }
    auto stream = owned(new FullStream(64));
    EXPECT_EQ(controller->getState(stream), kResultOk);
}

TEST_F(StateTest, a_written_state_reads_back_into_a_new_controller_but_for_the_view_size)
{
    auto& source = controller->getHiddenParameters();
    const double values[] = {0.25, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75};
    for (int32_t index = 0; index < 7; ++index)
        source.setParamValue(index, values[index]);
    auto stream = owned(new MemoryStream);
    ASSERT_EQ(controller->getState(stream), kResultOk);

    initialise();
    controller->setEditor(&editor);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(controller->setState(stream), kResultOk);
    EXPECT_EQ(hiddenValues(*controller), (std::vector<double>{0, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75}));
    ASSERT_EQ(editor.hiddenCalls.size(), 6u);
    EXPECT_EQ(editor.hiddenCalls.front().index, 1);
}

TEST_F(StateTest, broken_controller_states_are_refused_and_change_nothing)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"marker 2", controllerState(2, {0, 1, 1, 1, 1, 1, 1})},
        {"marker in the high word", controllerState(uint64_t(1) << 32, {0, 1, 1, 1, 1, 1, 1})},
        {"four doubles", controllerState(1, {0, 1, 1, 0.5})},
        {"six doubles and a half", [] {
             auto bytes = controllerState(1, {0, 1, 1, 0.5, 1, 1, 1});
             bytes.resize(bytes.size() - 4);
             return bytes;
         }()},
        {"marker cut short", {1, 0, 0}},
        {"empty", {}},
    };
    controller->setEditor(&editor);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(controller->setState(streamOf(test.bytes)), kResultFalse);
        EXPECT_EQ(hiddenValues(*controller), (std::vector<double>{0, 0, 0, 1, 0, 0, 0}));
        EXPECT_TRUE(editor.hiddenCalls.empty());
    }
    EXPECT_EQ(controller->setState(nullptr), kResultFalse);
}

TEST_F(StateTest, values_out_of_range_are_refused_one_by_one_but_still_reach_the_editor)
{
    controller->setEditor(&editor);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ASSERT_EQ(controller->setState(streamOf(controllerState(1, {0.75, 1, 1.5, nan, -0.5, 1, 0.25}))), kResultOk);
    EXPECT_EQ(hiddenValues(*controller), (std::vector<double>{0, 1, 0, 1, 0, 1, 0.25}));
    ASSERT_EQ(editor.hiddenCalls.size(), 6u);
    EXPECT_EQ(editor.hiddenCalls[1].index, 2);
    EXPECT_DOUBLE_EQ(editor.hiddenCalls[1].value, 1.5);
}

TEST_F(StateTest, the_processor_state_sets_every_parameter_but_the_program)
{
    std::vector<double> params = defaultParams();
    params[1] = 0.25;  // GateSize
    params[16] = 0.5;  // FX Select
    params[36] = 0.9;  // a program number, never applied from a state
    params[37] = 1.0;  // Bypass
    const std::vector<double> hidden {0, 1, 1, 1, 1, 1, 1};
    ASSERT_EQ(controller->setComponentState(streamOf(programRecord(38, params, 7, hidden))), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.25);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(16), 0.5);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(37), 1.0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(36), 0.0);
    EXPECT_EQ(controller->getCurrentProgram(), 0);
    EXPECT_EQ(hiddenValues(*controller), (std::vector<double>{0, 0, 0, 1, 0, 0, 0})); // from the controller state only
    EXPECT_TRUE(handler.restarts.empty());
}

TEST_F(StateTest, a_short_record_sets_only_the_values_it_holds)
{
    ASSERT_EQ(controller->setComponentState(streamOf(programRecord(0, {}, 0, {}))), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.85);
    ASSERT_EQ(controller->setComponentState(streamOf(programRecord(3, {1, 0.1, 0.2}, 0, {}))), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 1.0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(2), 0.2);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(3), 0.0);
}

TEST_F(StateTest, records_the_processor_refuses_are_refused_and_change_nothing)
{
    const std::vector<double> hidden(7, 0.0);
    std::vector<double> params = defaultParams();
    params[1] = 0.1;
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    auto full = programRecord(38, params, 7, hidden);
    const Case cases[] = {
        {"hidden block missing", programRecord(38, params, 7, {})},
        {"cut in the parameters", std::vector<uint8_t>(full.begin(), full.begin() + 100)},
        {"too many parameters", programRecord(39, params, 7, hidden)},
        {"negative parameter count", programRecord(-1, params, 7, hidden)},
        {"too many hidden values", programRecord(38, params, 8, hidden)},
        {"header only", {1, 0, 0, 0}},
        {"empty", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(controller->setComponentState(streamOf(test.bytes)), kResultFalse);
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.85);
    }
    EXPECT_EQ(controller->setComponentState(nullptr), kResultFalse);
}

TEST_F(StateTest, a_state_value_that_is_no_number_keeps_its_parameter)
{
    std::vector<double> params = defaultParams();
    params[1] = std::numeric_limits<double>::quiet_NaN();
    params[2] = 0.75;
    ASSERT_EQ(controller->setComponentState(streamOf(programRecord(38, params, 7, std::vector<double>(7, 0.0)))),
              kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.85);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(2), 0.75);
}

} // namespace
} // namespace ControllerTest
