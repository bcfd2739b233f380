// The editor's tick on the processor side: the question to the host, the notes of the blocks
// since the last tick and the scope bytes, also when the host cannot make messages.
#include "ProcessorFixture.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <map>

using namespace ProcessorTest;

namespace {

// Stands in for the controller: keeps what each command carried, answers as told.
struct RecordingController : IConnectionPoint
{
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
                received[command].emplace_back(static_cast<const uint8_t*>(data),
                                               static_cast<const uint8_t*>(data) + size);
        }
        return answer;
    }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    std::map<std::string, std::vector<Bytes>> received;
    tresult answer = kResultFalse; // a controller without a handler for the question
};

struct Tick : ProcessorFixture
{
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
    // One tick; when the host refuses to make messages, nothing can be sent during it.
    void tick(bool hostRefuses = false)
    {
        host.refuse = hostRefuses;
        processor->notify(intMessage("IntMessage", "linuxtimer", 1));
        host.refuse = false;
    }
    // Field 0 (type), 1 (pitch), 2 (offset) or 3 (velocity) of each 16-byte note record.
    std::vector<int32> noteField(size_t field)
    {
        const Bytes& bytes = controller.received["MidiNote"].back();
        std::vector<int32> values;
        for (size_t offset = 4 * field; offset + 4 <= bytes.size(); offset += 16)
            values.push_back(readAt<int32>(bytes, offset));
        return values;
    }

    RecordingController controller;
    ProcessBlock block {2, 2, kMaxBlock};
};

} // namespace

TEST_F(Tick, HostIsAskedUntilItsAnswerIsNotOkOrNoMessageCanBeMade)
{
    // Per tick: O the controller answers kResultOk, F kResultFalse, R no message can be made.
    for (auto [answers, asked] : {std::pair<std::string, std::string> {"OOFO", "1233"}, {"ORO", "111"}})
    {
        TearDown();
        controller.received.clear();
        processor = owned(new Vextoria3());
        SetUp();
        for (size_t step = 0; step < answers.size(); ++step)
        {
            controller.answer = answers[step] == 'F' ? kResultFalse : kResultOk;
            tick(answers[step] == 'R');
            EXPECT_EQ(controller.received["askpresonus"].size(), static_cast<size_t>(asked[step] - '0'))
                << answers << ", tick " << step;
        }
    }
}

TEST_F(Tick, NotesSinceTheLastTickAreSentOnceInEventOrderAndWaitWhenNoMessageCanBeMade)
{
    block.inputEvents.addNoteOn(40, 1.0f, 0);
    block.inputEvents.addNoteOn(38, 0.5f, 7);
    block.inputEvents.addNoteOff(40, 0.0f, 90);
    run(block, kMaxBlock);
    tick(true);
    tick(); // the flag went with the failed tick; the notes did not
    EXPECT_EQ(controller.received["MidiNote"].size(), 0u);

    block.inputEvents.addNoteOn(20, 0.25f, 1); // below the slice notes: logged all the same
    run(block, kMaxBlock);
    tick();
    ASSERT_EQ(controller.received["MidiNote"].size(), 1u);
    EXPECT_EQ(noteField(0), (std::vector<int32> {1, 1, 2, 1}));
    EXPECT_EQ(noteField(1), (std::vector<int32> {40, 38, 40, 20}));
    EXPECT_EQ(noteField(2), (std::vector<int32> {0, 7, 90, 1}));
    EXPECT_EQ(noteField(3), (std::vector<int32> {127, 63, 0, 31}));
    run(block, kMaxBlock);
    tick();
    EXPECT_EQ(controller.received["MidiNote"].size(), 1u) << "no new notes, no message";
}

TEST_F(Tick, EveryTickSendsTheScopeBytesWrittenSinceTheLastOneUpToTheRingsSize)
{
    const std::vector<Bytes>& scope = controller.received["AudioData"];
    const auto ticked = [&](int32 blocks, bool hostRefuses = false) {
        for (int32 index = 0; index < blocks; ++index)
            run(block, kMaxBlock);
        tick(hostRefuses);
        return scope.empty() ? size_t {9999} : scope.back().size();
    };
    EXPECT_EQ(ticked(0), 0u);
    EXPECT_EQ(ticked(2), static_cast<size_t>(2 * kMaxBlock));
    ticked(1, true);
    EXPECT_EQ(ticked(0), 0u) << "bytes drained on a tick whose message cannot be made are gone";
    EXPECT_EQ(scope.size(), 3u);
    // The ring holds at most one byte less than its size.
    EXPECT_EQ(ticked(ScopeRing::kCapacity / kMaxBlock + 4), static_cast<size_t>(ScopeRing::kMaxBytes));
}
