// Program switching through parameter 36, program edits, the bank reader and renaming.
#include "ControllerHarness.h"

#include "dsp/FactoryBank.h"

namespace ControllerTest {
namespace {

using ProgramTest = ControllerFixture;

TEST_F(ProgramTest, setting_id_36_switches_program_and_asks_the_host_to_reread)
{
    for (auto [value, program] : {std::pair {1.0, 15}, {0.5, 8}, {0.0, 0}, {1.0 / 15.0, 1}, {1.7, 15}, {-0.2, 0}}) {
        handler.restarts.clear();
        EXPECT_EQ(controller->setParamNormalized(36, value), kResultOk);
        EXPECT_EQ(controller->getCurrentProgram(), program) << value;
        EXPECT_EQ(handler.restarts, std::vector<int32> {kParamValuesChanged});
    }
    controller->setComponentHandler(nullptr); // no host to tell: still switches
    EXPECT_EQ(controller->setParamNormalized(36, 0.5), kResultOk);
    EXPECT_EQ(controller->getCurrentProgram(), 8);
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

// A host may hold its own lock around setParamNormalized and take it again in
// restartComponent: the call comes on the loop's timer after setParamNormalized returned,
// whichever of the handler, the host context or the editor's plug frame offers the loop.
TEST_F(ProgramTest, with_a_host_run_loop_the_restart_waits_for_the_loop_and_never_meets_the_hosts_lock)
{
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
    EXPECT_EQ(controller->getCurrentProgram(), 1);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.890625, 1e-6); // GateSize
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(15), 1.0);      // Stretch
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(36), 1.0 / 15.0);
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0.5, 0, 1, 1, 1, 1, 0.75})) << "size is never a program's";
    EXPECT_EQ(editor.hiddenCalls,
              (std::vector<RecordingEditor::HiddenCall> {{1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 0.75}}));

    controller->setParamNormalized(36, 0.0);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.2, 1e-6);
    EXPECT_DOUBLE_EQ(hiddenValues()[HiddenParamIndex::fxtab], 0.5);
    for (int32 program : {-1, 16, 1000}) { // outside the bank: nothing changes
        controller->setProgram(program);
        controller->copyStateToProgram(program);
        EXPECT_EQ(controller->getCurrentProgram(), 0);
        EXPECT_NEAR(controller->getParamNormalized(1), 0.2, 1e-6);
    }
}

TEST_F(ProgramTest, a_broken_bank_is_refused_whole)
{
    std::vector<uint8_t> bank(factoryBank(), factoryBank() + factoryBankSize());
    std::vector<uint8_t> tooMany = bank;
    tooMany[372 + 4] = 39; // program 1 claims more parameters than a record may hold
    const std::vector<uint8_t> truncated(bank.begin(), bank.end() - 8);
    for (const std::vector<uint8_t>& broken : {tooMany, truncated}) {
        EXPECT_FALSE(controller->setChunk(broken.data(), static_cast<int32>(broken.size())));
        controller->setProgram(1);
        EXPECT_NEAR(controller->getParamNormalized(1), 0.890625, 1e-6) << "program 1 unchanged";
        controller->setProgram(0);
    }
    EXPECT_FALSE(controller->setChunk(bank.data(), 0));
    EXPECT_FALSE(controller->setChunk(nullptr, 5952));
    EXPECT_TRUE(controller->setChunk(bank.data(), static_cast<int32>(bank.size())));
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
        String128 text {};
        ASSERT_EQ(controller->getParamStringByValue(36, 2.0 / 15.0, text), kResultOk);
        EXPECT_EQ(std::u16string(text), expected);
        EXPECT_EQ(handler.restarts, std::vector<int32> {kParamValuesChanged});
    }
    String128 other {};
    ASSERT_EQ(controller->getProgramName(36, 1, other), kResultOk);
    EXPECT_EQ(std::u16string(other), u"Rythmrepeat");
}

} // namespace
} // namespace ControllerTest
