// The editor's tick on the processor side: the one-time question to the host, the notes of
// the blocks since the last tick and the scope bytes, also when the host cannot make messages.
#include "ProcessorFixture.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <map>
#include <string>

using namespace ProcessorTest;

namespace {

// Stands in for the controller: keeps the bytes of each message by command, answers as told.
class RecordingController : public IConnectionPoint
{
public:
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override
    {
        int64 number = 0;
        if (message->getAttributes()->getInt("askpresonus", number) == kResultOk)
            received["askpresonus"].emplace_back();
        for (const char* command : {"MidiNote", "AudioData"})
        {
            const void* data = nullptr;
            uint32 size = 0;
            if (message->getAttributes()->getBinary(command, data, size) == kResultOk)
                received[command].emplace_back(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        }
        return answer;
    }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    size_t count(const std::string& command) { return received[command].size(); }
    const Bytes& last(const std::string& command) { return received[command].back(); }

    std::map<std::string, std::vector<Bytes>> received;
    tresult answer = kResultFalse; // a controller without a handler for the question
};

class Tick : public ProcessorFixture
{
protected:
    static constexpr int32 kBlock = kMaxBlock;

    void SetUp() override
    {
        ProcessorFixture::SetUp();
        ASSERT_EQ(processor->setActive(true), kResultOk);
        ASSERT_EQ(processor->connect(&controller), kResultOk);
    }
    void TearDown() override
    {
        processor->disconnect(&controller);
        ProcessorFixture::TearDown();
    }

    void tick()
    {
        auto message = owned(static_cast<IMessage*>(new HostMessage()));
        message->setMessageID("IntMessage");
        message->getAttributes()->setInt("linuxtimer", 1);
        processor->notify(message);
    }
    // One block of silence carrying the notes queued in block.inputEvents.
    void runBlock() { run(block, kBlock); }
    std::vector<int32> noteFields(const Bytes& bytes, size_t field) const
    {
        std::vector<int32> values;
        for (size_t offset = 4 * field; offset + 4 <= bytes.size(); offset += 16)
            values.push_back(readAt<int32>(bytes, offset));
        return values;
    }

    RecordingController controller;
    ProcessBlock block {2, 2, kBlock};
};

} // namespace

TEST_F(Tick, HostIsAskedUntilItsAnswerIsNotOk)
{
    struct Step
    {
        tresult answer;
        bool refuseMessages;
        size_t questionsAfter;
    };
    // Asked while the answer is kResultOk; a refusal or a message that cannot be made ends it.
    const std::vector<std::vector<Step>> runs = {
        {{kResultOk, false, 1}, {kResultOk, false, 2}, {kResultFalse, false, 3}, {kResultOk, false, 3}},
        {{kResultOk, false, 1}, {kResultOk, true, 1}, {kResultOk, false, 1}}};
    for (const auto& steps : runs)
    {
        TearDown();
        controller.received.clear();
        processor = owned(new Vextoria3());
        SetUp();
        for (size_t index = 0; index < steps.size(); ++index)
        {
            controller.answer = steps[index].answer;
            host.refuse = steps[index].refuseMessages;
            tick();
            EXPECT_EQ(controller.count("askpresonus"), steps[index].questionsAfter) << "step " << index;
        }
        host.refuse = false;
    }
}

TEST_F(Tick, NotesOfTheBlocksSinceTheLastTickAreSentOnceInEventOrder)
{
    block.inputEvents.addNoteOn(40, 1.0f, 0);
    block.inputEvents.addNoteOn(38, 0.5f, 7);
    block.inputEvents.addNoteOff(40, 0.0f, 90);
    runBlock();
    block.inputEvents.addNoteOn(20, 0.25f, 1); // below the slice notes: logged all the same
    runBlock();
    tick();
    ASSERT_EQ(controller.count("MidiNote"), 1u);
    const Bytes& bytes = controller.last("MidiNote");
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(noteFields(bytes, 0), (std::vector<int32> {1, 1, 2, 1}));
    EXPECT_EQ(noteFields(bytes, 1), (std::vector<int32> {40, 38, 40, 20}));
    EXPECT_EQ(noteFields(bytes, 2), (std::vector<int32> {0, 7, 90, 1}));
    EXPECT_EQ(noteFields(bytes, 3), (std::vector<int32> {127, 63, 0, 31}));

    runBlock();
    tick();
    EXPECT_EQ(controller.count("MidiNote"), 1u) << "no new notes, no message";
}

TEST_F(Tick, NotesWaitInTheRingWhenNoMessageCanBeMade)
{
    block.inputEvents.addNoteOn(36, 1.0f, 0);
    block.inputEvents.addNoteOff(36, 1.0f, 5);
    runBlock();
    host.refuse = true;
    tick();
    host.refuse = false;
    tick(); // the flag went with the failed tick; the notes did not
    EXPECT_EQ(controller.count("MidiNote"), 0u);

    block.inputEvents.addNoteOn(37, 1.0f, 2);
    runBlock();
    tick();
    ASSERT_EQ(controller.count("MidiNote"), 1u);
    EXPECT_EQ(noteFields(controller.last("MidiNote"), 1), (std::vector<int32> {36, 36, 37}));
}

TEST_F(Tick, EveryTickSendsTheScopeBytesWrittenSinceTheLastOneUpToTheRingsSize)
{
    tick();
    ASSERT_EQ(controller.count("AudioData"), 1u);
    EXPECT_TRUE(controller.last("AudioData").empty());

    runBlock();
    runBlock();
    tick();
    ASSERT_EQ(controller.count("AudioData"), 2u);
    EXPECT_EQ(controller.last("AudioData").size(), static_cast<size_t>(2 * kBlock));

    // Bytes drained on a tick whose message cannot be made are gone.
    runBlock();
    host.refuse = true;
    tick();
    host.refuse = false;
    tick();
    ASSERT_EQ(controller.count("AudioData"), 3u);
    EXPECT_TRUE(controller.last("AudioData").empty());

    // The ring holds at most one byte less than its size.
    for (int32 blockIndex = 0; blockIndex < ScopeRing::kCapacity / kBlock + 4; ++blockIndex)
        runBlock();
    tick();
    EXPECT_EQ(controller.last("AudioData").size(), static_cast<size_t>(ScopeRing::kMaxBytes));
}
