// Program switching through parameter 36, program edits, the bank reader and renaming.
#include "ControllerHarness.h"

#include "dsp/FactoryBank.h"

#include <chrono>
#include <mutex>

namespace ControllerTest {
namespace {

using ProgramTest = ControllerFixture;

TEST_F(ProgramTest, setting_id_36_switches_program_and_asks_the_host_to_reread)
{
    for (auto [value, program] : {std::pair {1.0, 15}, {0.5, 8}, {0.0, 0}, {1.0 / 15.0, 1}, {1.7, 15}, {-0.2, 0}}) {
        handler.restarts.clear();
        EXPECT_EQ(controller->setParamNormalized(36, value), kResultOk);
        EXPECT_EQ(controller->getCurrentProgram(), program) << value;
        EXPECT_EQ(handler.restarts, std::vector<int32>{kParamValuesChanged});
    }
    controller->setComponentHandler(nullptr); // no host to tell: still switches
    EXPECT_EQ(controller->setParamNormalized(36, 0.5), kResultOk);
    EXPECT_EQ(controller->getCurrentProgram(), 8);
}

// A host's run loop: keeps the timers registered with it and runs them when told.
class RunLoop : public StandIn<Linux::IRunLoop> {
public:
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
    void runOnce()
    {
        for (Linux::ITimerHandler* timer : std::vector(timers))
            timer->onTimer();
    }
    std::vector<Linux::ITimerHandler*> timers;
};

// A host that holds its own lock around setParamNormalized and takes it again in
// restartComponent (as Ardour 7.3 does); its handler may offer the run loop.
class LockingHandler : public RecordingComponentHandler {
public:
    tresult PLUGIN_API restartComponent(int32 flags) override
    {
        // A real host would wait for ever here; the test gives up and counts the deadlock.
        if (!processLock.try_lock_for(std::chrono::milliseconds(50))) {
            ++deadlocks;
            return kResultFalse;
        }
        processLock.unlock();
        return RecordingComponentHandler::restartComponent(flags);
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (loop == nullptr || !FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
            return RecordingComponentHandler::queryInterface(iid, obj);
        *obj = static_cast<Linux::IRunLoop*>(loop);
        return kResultOk;
    }
    std::timed_mutex processLock;
    RunLoop* loop = nullptr;
    int32 deadlocks = 0;
};

struct EditorWithFrame : RecordingEditor {
    Steinberg::FUnknown* hostFrame() const override { return frame; }
    Steinberg::FUnknown* frame = nullptr;
};

// The controller's call comes on the loop's timer after setParamNormalized returned,
// whichever of the handler, the host context or the editor's plug frame offers the loop.
TEST_F(ProgramTest, with_a_host_run_loop_the_restart_waits_for_the_loop_and_never_meets_the_hosts_lock)
{
    enum class Way { handler, context, plugFrame };
    for (Way way : {Way::handler, Way::context, Way::plugFrame}) {
        RunLoop loop;
        LockingHandler lockingHandler;
        EditorWithFrame framedEditor;
        controller->terminate();
        controller = owned(new Vextoria3Controller);
        ASSERT_EQ(controller->initialize(way == Way::context ? static_cast<FUnknown*>(&loop) : &host), kResultOk);
        lockingHandler.loop = way == Way::handler ? &loop : nullptr;
        framedEditor.frame = way == Way::plugFrame ? &loop : nullptr;
        controller->setComponentHandler(&lockingHandler);
        controller->setEditor(&framedEditor);

        lockingHandler.processLock.lock();
        EXPECT_EQ(controller->setParamNormalized(36, 3.0 / 15.0), kResultOk);
        controller->setPresetName("Mine"); // joins the waiting call
        lockingHandler.processLock.unlock();
        EXPECT_EQ(controller->getCurrentProgram(), 3);
        EXPECT_TRUE(lockingHandler.restarts.empty()) << "nothing before the loop runs";
        loop.runOnce();
        EXPECT_EQ(lockingHandler.deadlocks, 0);
        EXPECT_EQ(lockingHandler.restarts, std::vector<int32>{kParamValuesChanged});
        EXPECT_TRUE(loop.timers.empty()) << "one shot";

        // A call still waiting when the host lets go is dropped with its timer.
        controller->setParamNormalized(36, 0.0);
        controller->setEditor(nullptr);
        controller->terminate();
        EXPECT_TRUE(loop.timers.empty());
        controller = owned(new Vextoria3Controller);
        ASSERT_EQ(controller->initialize(&host), kResultOk); // for TearDown
    }
}

TEST_F(ProgramTest, program_1_applies_its_values_and_hidden_settings_to_the_open_editor)
{
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::size, 0.5);
    controller->setEditor(&editor);
    controller->setParamNormalized(36, 1.0 / 15.0);

    EXPECT_EQ(controller->getCurrentProgram(), 1);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.890625, 1e-6); // GateSize
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(15), 1.0);      // Stretch
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(36), 1.0 / 15.0);
    const std::vector<double> expected {0.5, 0.0, 1.0, 1.0, 1.0, 1.0, 0.75}; // size is never a program's
    EXPECT_EQ(hiddenValues(), expected);

    ASSERT_EQ(editor.hiddenCalls.size(), 6u);
    for (int32_t index = 1; index < 7; ++index) {
        EXPECT_EQ(editor.hiddenCalls[index - 1].index, index);
        EXPECT_DOUBLE_EQ(editor.hiddenCalls[index - 1].value, expected[index]);
    }
}

TEST_F(ProgramTest, edits_stay_with_their_program_across_switches)
{
    controller->setParamNormalized(1, 0.2);
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::fxtab, 0.5);
    controller->setParamNormalized(36, 3.0 / 15.0);
    EXPECT_EQ(controller->getCurrentProgram(), 3);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 1.0);     // RollWarfare's GateSize
    EXPECT_DOUBLE_EQ(hiddenValues()[HiddenParamIndex::fxtab], 0.0);

    controller->setParamNormalized(36, 0.0);
    EXPECT_EQ(controller->getCurrentProgram(), 0);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.2, 1e-6);
    EXPECT_DOUBLE_EQ(hiddenValues()[HiddenParamIndex::fxtab], 0.5);
}

TEST_F(ProgramTest, program_numbers_outside_the_bank_change_nothing)
{
    controller->setParamNormalized(1, 0.3);
    for (int32 program : {-1, 16, 1000}) {
        controller->setProgram(program);
        controller->copyStateToProgram(program);
        EXPECT_EQ(controller->getCurrentProgram(), 0);
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.3);
    }
}

TEST_F(ProgramTest, a_broken_bank_is_refused_whole)
{
    std::vector<uint8_t> bank(factoryBank(), factoryBank() + factoryBankSize());
    // Program 1's count of parameters claims more than a record may hold.
    std::vector<uint8_t> tooMany = bank;
    tooMany[372 + 4] = 39;
    // The last record is cut short.
    std::vector<uint8_t> truncated(bank.begin(), bank.end() - 8);
    for (const auto* broken : {&tooMany, &truncated}) {
        EXPECT_FALSE(controller->setChunk(broken->data(), static_cast<int32>(broken->size())));
        controller->setProgram(1);
        EXPECT_NEAR(controller->getParamNormalized(1), 0.890625, 1e-6); // program 1 unchanged
        controller->setProgram(0);
    }
    EXPECT_FALSE(controller->setChunk(bank.data(), 0));
    EXPECT_FALSE(controller->setChunk(nullptr, 5952));
    EXPECT_TRUE(controller->setChunk(bank.data(), static_cast<int32>(bank.size())));
}

TEST_F(ProgramTest, preset_names_are_decoded_as_utf8_with_stray_bytes_as_latin1_and_cut_to_fit)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {"Plain", u"Plain"},
        {"Caf\xC3\xA9 \xE2\x82\xAC", u"Caf\u00E9 \u20AC"},        // two- and three-byte forms
        {"Stra\xDF" "e", u"Stra\u00DFe"},                          // Latin-1 byte, not UTF-8
        {"\xF0\x9F\x8E\xB5 beat", u"\U0001F3B5 beat"},             // a surrogate pair
        {"\xC0\xAF", u"\u00C0\u00AF"},                            // overlong form: bytes as Latin-1
        {"\xE2\x82", u"\u00E2\u0082"},                            // cut sequence
    };
    controller->setParamNormalized(36, 2.0 / 15.0);
    for (const auto& [utf8, expected] : cases) {
        handler.restarts.clear();
        controller->setPresetName(utf8);
        String128 name {};
        ASSERT_EQ(controller->getProgramName(36, 2, name), kResultOk);
        EXPECT_EQ(std::u16string(name), expected);
        String128 text {};
        ASSERT_EQ(controller->getParamStringByValue(36, 2.0 / 15.0, text), kResultOk);
        EXPECT_EQ(std::u16string(text), expected);
        EXPECT_EQ(handler.restarts, std::vector<int32>{kParamValuesChanged});
    }
    String128 other {};
    ASSERT_EQ(controller->getProgramName(36, 1, other), kResultOk);
    EXPECT_EQ(std::u16string(other), u"Rythmrepeat");

    // A long name is cut to what the host's strings hold.
    controller->setPresetName(std::string(300, 'n'));
    TChar guarded[129] {};
    guarded[128] = u'#'; // just past a String128
    ASSERT_EQ(controller->getProgramName(36, 2, guarded), kResultOk);
    EXPECT_EQ(std::u16string(guarded), std::u16string(127, u'n'));
    EXPECT_EQ(guarded[128], u'#');
    String128 text {};
    ASSERT_EQ(controller->getParamStringByValue(36, 2.0 / 15.0, text), kResultOk);
    EXPECT_EQ(std::u16string(text), std::u16string(127, u'n'));
}

} // namespace
} // namespace ControllerTest
