// The controller's own state, the processor's state as the controller reads it, the user's
// saved defaults, and the factory programs: switching, edits and renaming.
#include "ControllerHarness.h"

#include "dsp/FactoryBank.h"

#include <cstring>
#include <limits>

namespace ControllerTest {
namespace {

using StateTest = ControllerFixture;
using ProgramTest = ControllerFixture;
using HiddenCalls = std::vector<RecordingEditor::HiddenCall>;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const std::vector<double> kHiddenDefaults {0, 0, 0, 1, 0, 0, 0};

// A stream that takes only so many bytes, like a full disk.
struct FullStream : MemoryStream {
    explicit FullStream(int32 room) : room(room) {}
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        room -= numBytes;
        return room >= 0 ? MemoryStream::write(buffer, numBytes, numBytesWritten) : kResultFalse;
    }
    int32 room;
};

TEST_F(StateTest, a_marker_and_seven_values_written_whole_and_read_back_value_by_value_or_refused_whole)
{
    const std::vector<double> values {0.25, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75};
    for (int32_t index = 0; index < 7; ++index)
        controller->getHiddenParameters().setParamValue(index, values[index]);
    auto stream = owned(new MemoryStream);
    ASSERT_EQ(controller->getState(stream), kResultOk);
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    EXPECT_EQ(std::vector<uint8_t>(data, data + stream->getSize()), controllerState(1, values));
    for (int32 room : {0, 8, 63, 64})
        EXPECT_EQ(controller->getState(owned(new FullStream(room))), room < 64 ? kResultFalse : kResultOk) << room;
    EXPECT_EQ(controller->getState(nullptr), kResultFalse);

    initialise();
    controller->setEditor(&editor);
    for (const std::vector<uint8_t>& bytes : {controllerState(2, values), controllerState(uint64_t(1) << 32, values),
                                              controllerState(1, {0, 1, 1, 0.5}), std::vector<uint8_t> {}})
        EXPECT_EQ(controller->setState(streamOf(bytes)), kResultFalse) << bytes.size() << " bytes";
    EXPECT_EQ(controller->setState(nullptr), kResultFalse);
    EXPECT_EQ(hiddenValues(), kHiddenDefaults);
    EXPECT_TRUE(editor.hiddenCalls.empty());

    // Values out of range are refused one by one and not echoed; the view size is never a state's.
    ASSERT_EQ(controller->setState(streamOf(controllerState(1, {0.75, 0.5, 1.5, kNaN, -0.5, 1, 0.25}))), kResultOk);
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0, 0.5, 0, 1, 0, 1, 0.25}));
    EXPECT_EQ(editor.hiddenCalls, (HiddenCalls {{1, 0.5}, {5, 1.0}, {6, 0.25}}));
}

TEST_F(StateTest, the_processor_state_sets_the_parameters_it_holds_but_never_the_program)
{
    // Factory program 0's record: int32 version, int32 38, the values, int32 7, the hidden values.
    std::vector<uint8_t> record(factoryBank(), factoryBank() + kProgramChunkSize);
    auto setParam = [&](int32_t id, double value) { std::memcpy(record.data() + 8 + 8 * id, &value, sizeof value); };
    setParam(1, 0.1); // a GateSize no refused record may set
    std::vector<uint8_t> tooMany = record, tooManyHidden = record, cut(record.begin(), record.end() - 1);
    tooMany[4] = 39;
    tooManyHidden[8 + 8 * 38] = 8;
    for (const std::vector<uint8_t>& refused : {tooMany, tooManyHidden, cut})
        EXPECT_EQ(controller->setComponentState(streamOf(refused)), kResultFalse) << refused.size();
    EXPECT_EQ(controller->setComponentState(nullptr), kResultFalse);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.85);

    // GateSize, Reverse Amt not a number (kept), a program number, Bypass.
    for (auto [id, value] : {std::pair {1, 0.25}, {2, kNaN}, {36, 0.9}, {37, 1.0}})
        setParam(id, value);
    ASSERT_EQ(controller->setComponentState(streamOf(record)), kResultOk);
    for (auto [id, value] : {std::pair {1, 0.25}, {2, 0.4}, {37, 1.0}, {36, 0.0}})
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(id), value) << id;
    EXPECT_EQ(hiddenValues(), kHiddenDefaults) << "hidden values come from the controller state only";
    EXPECT_TRUE(handler.restarts.empty());
}

TEST_F(StateTest, saved_defaults_apply_only_behind_an_open_gate)
{
    const std::string keys = "size=0.5\ndarkmode=1\nscopestyle=0.5\nknobspeed=2\nmovetoast=-1\neditfx=1\nfxtab=1\n";
    // The settings file's own tests cover the ways of writing the gate and the numbers; values
    // out of range are refused one by one, and the FX tab has no key.
    const std::pair<std::string, std::vector<double>> cases[] = {
        {"[Plugin]\nactive=1.000000\n" + keys, {0.5, 1, 0.5, 1, 0, 1, 0}},
        {"[Plugin]\nactive=0.000000\n" + keys, kHiddenDefaults}, {"[Other]\nactive=1\n" + keys, kHiddenDefaults},
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

// A host's run loop: keeps the timers registered with it and runs them when told.
struct RunLoop : StandIn<Linux::IRunLoop> {
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler*, Linux::FileDescriptor) override { return kResultFalse; }
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler*) override { return kResultFalse; }
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval) override
    {
        timers.push_back(handler);
        return kResultOk;
    }
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override
    {
        std::erase(timers, handler);
        return kResultOk;
    }
    std::vector<Linux::ITimerHandler*> timers;
};

// Setting id 36 switches program and asks the host to re-read. A host may hold its own lock
// around setParamNormalized and take it again in restartComponent: with a run loop, offered by
// the handler, the host context or the editor's plug frame, the call waits for the loop's timer.
TEST_F(ProgramTest, id_36_switches_program_and_the_restart_waits_for_a_host_run_loop)
{
    for (auto [value, program] : {std::pair {1.0, 15}, {1.0 / 15.0, 1}, {1.7, 15}, {-0.2, 0}}) {
        handler.restarts.clear();
        EXPECT_EQ(controller->setParamNormalized(36, value), kResultOk);
        EXPECT_EQ(controller->getCurrentProgram(), program) << value;
        EXPECT_EQ(handler.restarts, std::vector<int32> {kParamValuesChanged});
    }
    controller->setComponentHandler(nullptr); // no host to tell: still switches
    controller->setParamNormalized(36, 0.5);
    EXPECT_EQ(controller->getCurrentProgram(), 8);

    enum class Way { handler, context, plugFrame };
    for (Way way : {Way::handler, Way::context, Way::plugFrame}) {
        SCOPED_TRACE(static_cast<int>(way));
        RunLoop loop;
        initialise(way == Way::context ? &loop : nullptr);
        handler.loop = way == Way::handler ? &loop : nullptr;
        editor.frame = way == Way::plugFrame ? &loop : nullptr;
        controller->setEditor(&editor);
        handler.restarts.clear();

        EXPECT_EQ(controller->setParamNormalized(36, 3.0 / 15.0), kResultOk);
        controller->setPresetName("Mine"); // joins the waiting call
        EXPECT_EQ(controller->getCurrentProgram(), 3);
        EXPECT_TRUE(handler.restarts.empty()) << "nothing inside the host's call";
        ASSERT_EQ(loop.timers.size(), 1u);
        loop.timers[0]->onTimer();
        EXPECT_EQ(handler.restarts, std::vector<int32> {kParamValuesChanged});
        EXPECT_TRUE(loop.timers.empty()) << "one shot";

        // A call still waiting when the host lets go is dropped with its timer.
        controller->setParamNormalized(36, 0.0);
        controller->setEditor(nullptr);
        controller->terminate();
        EXPECT_TRUE(loop.timers.empty());
        handler.loop = nullptr;
        initialise();
    }
}

TEST_F(ProgramTest, a_program_applies_its_values_and_hidden_settings_and_keeps_its_edits_across_switches)
{
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::size, 0.5);
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::fxtab, 0.5);
    controller->setParamNormalized(1, 0.2);
    controller->setEditor(&editor);
    controller->setParamNormalized(36, 1.0 / 15.0);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.890625, 1e-6); // GateSize
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(15), 1.0);      // Stretch
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0.5, 0, 1, 1, 1, 1, 0.75})) << "size is never a program's";
    EXPECT_EQ(editor.hiddenCalls, (HiddenCalls {{1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 0.75}}));

    controller->setParamNormalized(36, 0.0);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.2, 1e-6);
    EXPECT_DOUBLE_EQ(hiddenValues()[HiddenParamIndex::fxtab], 0.5);
    for (int32 program : {-1, 16}) { // outside the bank: nothing changes
        controller->setProgram(program);
        controller->copyStateToProgram(program);
        EXPECT_EQ(controller->getCurrentProgram(), 0);
        EXPECT_NEAR(controller->getParamNormalized(1), 0.2, 1e-6);
    }
}

TEST_F(ProgramTest, preset_names_are_decoded_as_utf8_with_stray_bytes_as_latin1_and_cut_to_fit)
{
    const std::pair<std::string, std::u16string> cases[] = {
        // two- and three-byte forms, a Latin-1 byte, a surrogate pair, an overlong form, a cut sequence
        {"Caf\xC3\xA9 \xE2\x82\xAC Stra\xDF" "e \xF0\x9F\x8E\xB5 \xC0\xAF \xE2\x82",
         u"Caf\u00E9 \u20AC Stra\u00DFe \U0001F3B5 \u00C0\u00AF \u00E2\u0082"},
        {std::string(300, 'n'), std::u16string(127, u'n')}, // as long as the host's strings hold
    };
    controller->setParamNormalized(36, 2.0 / 15.0);
    for (const auto& [utf8, expected] : cases) {
        handler.restarts.clear();
        controller->setPresetName(utf8);
        TChar guarded[129] {};
        guarded[128] = u'#'; // just past a String128
        ASSERT_EQ(controller->getProgramName(36, 2, guarded), kResultOk);
        EXPECT_EQ(std::u16string(guarded), expected);
        EXPECT_EQ(guarded[128], u'#');
        EXPECT_EQ(handler.restarts, std::vector<int32> {kParamValuesChanged});
    }
}

} // namespace
} // namespace ControllerTest
