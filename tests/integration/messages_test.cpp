// Processor and controller connected by the host, talking through their messages: the
// editor's tick, the hidden-values answer during a save, the notes of a block and the
// refusal of malformed messages.

#include "BundleUnderTest.h"
#include "MessageLog.h"

using namespace VextoriaHost;
using namespace VextoriaTest;
using Steinberg::kResultFalse;
using Steinberg::kResultOk;

namespace {

class ProcessorMessages : public ConfiguredBundle {
protected:
    void SetUp() override
    {
        ConfiguredBundle::SetUp();
        ASSERT_NE(host->controller(), nullptr);
        host->observeMessages(&log);
    }
    void TearDown() override { host.reset(); }  // before the log it reports to

    // The editor's idle tick; answers the processor's result.
    Steinberg::tresult tick() { return tellProcessor(*host, intMessage("IntMessage", "linuxtimer", 1)); }

    MessageLog log;
};

}  // namespace

TEST_F(ProcessorMessages, TicksWithNothingNewSendOneEmptyScopeMessageAndAskTheHostOnlyOnce)
{
    for (int tickNumber = 1; tickNumber <= 3; ++tickNumber) {
        log.messages.clear();
        EXPECT_EQ(tick(), kResultFalse);  // the timer is answered like any unhandled message
        const auto scope = log.withCommand("AudioData");
        ASSERT_EQ(scope.size(), 1u) << "tick " << tickNumber;
        EXPECT_EQ(scope[0].direction, MessageDirection::toController);
        EXPECT_EQ(scope[0].id, "BinaryMessage");
        EXPECT_TRUE(scope[0].bytes.empty());
        EXPECT_TRUE(log.withCommand("MidiNote").empty());
        // The controller has no handler for the question, so it is not asked again.
        const auto question = log.withCommand("askpresonus");
        ASSERT_EQ(question.size(), tickNumber == 1 ? 1u : 0u) << "tick " << tickNumber;
        if (tickNumber == 1) {
            EXPECT_EQ(question[0].id, "IntMessage");
            EXPECT_EQ(question[0].number, 1);
            EXPECT_EQ(question[0].direction, MessageDirection::toController);
        }
        EXPECT_EQ(log.messages.size(), tickNumber == 1 ? 2u : 1u) << "tick " << tickNumber;  // (question,) scope
    }
}

TEST_F(ProcessorMessages, StateSaveCarriesTheHiddenValuesTheControllerAnswers)
{
    // Program 1 gives the controller's hidden settings values that differ from the defaults.
    ASSERT_EQ(host->controller()->setParamNormalized(Vextoria3Ids::kFactoryPresets, 1.0 / 15.0), kResultOk);
    for (bool running : {false, true}) {
        if (running)
            host->start();
        log.messages.clear();
        const std::vector<uint8_t> state = host->saveState();
        ASSERT_EQ(log.withCommand("copyhiddenparam").size(), 1u);
        const auto answers = log.withCommand("synchiddenparam");
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].direction, MessageDirection::toProcessor);
        ASSERT_EQ(answers[0].bytes.size(), 56u);
        const std::vector<uint8_t> answer = answers[0].bytes;
        const RecordView payload {answer};
        EXPECT_EQ(payload.doubleAt(8 * 6), 0.75);
        const RecordView record {state};
        for (int32_t index = 0; index < 7; ++index)
            EXPECT_EQ(record.hidden(index), payload.doubleAt(8 * static_cast<size_t>(index)))
                << "hidden " << index << (running ? " (running)" : " (idle)");
    }
}

TEST_F(ProcessorMessages, NotesOfOneBlockArriveAsOneMessageOnTheNextTick)
{
    host->start();
    ProcessBlock block(2, 2, kBlock);
    block.inputEvents.addNoteOn(40, 1.0f, 3);
    block.inputEvents.addNoteOn(38, 0.5f, 10);
    block.inputEvents.addNoteOff(40, 0.0f, 200);
    processOneBlock(*host, block, kBlock);
    tick();
    const auto notes = log.withCommand("MidiNote");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].direction, MessageDirection::toController);
    ASSERT_EQ(notes[0].bytes.size(), 48u);
    const RecordView records {notes[0].bytes};
    const int32_t expected[3][4] = {{1, 40, 3, 127}, {1, 38, 10, 63}, {2, 40, 200, 0}};
    for (size_t record = 0; record < 3; ++record)
        for (size_t field = 0; field < 4; ++field)
            EXPECT_EQ(records.intAt(16 * record + 4 * field), expected[record][field])
                << "record " << record << " field " << field;

    log.messages.clear();
    tick();
    EXPECT_TRUE(log.withCommand("MidiNote").empty()) << "the notes were sent once";
}

TEST_F(ProcessorMessages, MessagesWithTheWrongTypeOrUnknownCommandsChangeNothing)
{
    const std::vector<uint8_t> before = host->saveState();
    const std::vector<uint8_t> preset = withParam(before, Vextoria3Ids::kGateSize, 0.25);
    std::vector<uint8_t> broken = preset;
    broken.pop_back();
    EXPECT_EQ(tellProcessor(*host, intMessage("IntMessage", "loadpreset", 1)), kResultFalse);
    EXPECT_EQ(tellProcessor(*host, binaryMessage("setslice", {3, 0, 0, 0})), kResultFalse);
    EXPECT_EQ(tellProcessor(*host, binaryMessage("setpresetname", {'D', 'r', 'u', 'm', 's'})), kResultFalse);
    EXPECT_EQ(tellProcessor(*host, binaryMessage("somethingElse", preset)), kResultFalse);
    EXPECT_EQ(tellProcessor(*host, binaryMessage("loadpreset", broken)), kResultFalse);
    EXPECT_EQ(tellProcessor(*host, binaryMessage("synchiddenparam", std::vector<uint8_t>(55, 0x3f))), kResultFalse);
    auto misnamed = binaryMessage("loadpreset", preset);
    misnamed->setMessageID("BinaryMessageX");
    EXPECT_EQ(tellProcessor(*host, misnamed), kResultFalse);
    EXPECT_EQ(host->saveState(), before);
}
