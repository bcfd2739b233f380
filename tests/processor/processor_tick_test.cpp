// The editor's tick on the processor side: the question to the host, the notes of the blocks
// since the last tick and the scope bytes, also when the host cannot make messages.
#include "ProcessorFixture.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <map>

using namespace ProcessorTest;

namespace {

// Connected to the processor as its controller: keeps what each command carried.
struct Tick : ProcessorFixture, IConnectionPoint
{
    void SetUp() override
    {
        ProcessorFixture::SetUp();
        ASSERT_EQ(processor->setActive(true), kResultOk);
        ASSERT_EQ(processor->connect(this), kResultOk);
    }
    void TearDown() override
    {
        processor->disconnect(this);
        ProcessorFixture::TearDown();
    }
    // One tick; when the host refuses to make messages, nothing can be sent during it.
    void tick(bool hostRefuses = false)
    {
        host.refuse = hostRefuses;
        processor->notify(intMessage("IntMessage", "linuxtimer", 1));
        host.refuse = false;
    }
    void runBlocks(int32 count)
    {
        for (int32 index = 0; index < count; ++index)
            run(block, kMaxBlock);
    }

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
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    std::map<std::string, std::vector<Bytes>> received;
    tresult answer = kResultFalse; // as a controller without a handler for the question
    ProcessBlock block {2, 2, kMaxBlock};
};

} // namespace

TEST_F(Tick, HostIsAskedUntilItsAnswerIsNotOkOrNoMessageCanBeMade)
{
    // Per tick: O the controller answers kResultOk, F kResultFalse, R no message can be made.
    for (auto [answers, asked] : {std::pair<std::string, std::string> {"OOFO", "1233"}, {"ORO", "111"}})
    {
        TearDown();
        received.clear();
        processor = owned(new Vextoria3());
        SetUp();
        for (size_t step = 0; step < answers.size(); ++step)
        {
            answer = answers[step] == 'F' ? kResultFalse : kResultOk;
            tick(answers[step] == 'R');
            EXPECT_EQ(received["askpresonus"].size(), static_cast<size_t>(asked[step] - '0'))
                << answers << ", tick " << step;
        }
    }
}

TEST_F(Tick, NotesSinceTheLastTickAreSentOnceInEventOrderAndWaitWhenNoMessageCanBeMade)
{
    block.inputEvents.addNoteOn(40, 1.0f, 0);
    block.inputEvents.addNoteOn(38, 0.5f, 7);
    block.inputEvents.addNoteOff(40, 0.0f, 90);
    runBlocks(1);
    tick(true);
    tick(); // the flag went with the failed tick; the notes did not
    EXPECT_EQ(received["MidiNote"].size(), 0u);
    block.inputEvents.addNoteOn(20, 0.25f, 1); // below the slice notes: logged all the same
    runBlocks(1);
    tick();
    ASSERT_EQ(received["MidiNote"].size(), 1u);
    // Type (1 on, 2 off), pitch, offset and velocity of each note.
    const int32 notes[] = {1, 40, 0, 127, 1, 38, 7, 63, 2, 40, 90, 0, 1, 20, 1, 31};
    EXPECT_EQ(received["MidiNote"][0], Bytes(reinterpret_cast<const uint8_t*>(notes),
                                             reinterpret_cast<const uint8_t*>(notes) + sizeof(notes)));
    runBlocks(1);
    tick();
    EXPECT_EQ(received["MidiNote"].size(), 1u) << "no new notes, no message";
}

TEST_F(Tick, EveryTickSendsTheScopeBytesWrittenSinceTheLastOneUpToTheRingsSize)
{
    const std::vector<Bytes>& scope = received["AudioData"];
    tick();
    ASSERT_EQ(scope.size(), 1u);
    EXPECT_EQ(scope.back().size(), 0u);
    runBlocks(2);
    tick();
    EXPECT_EQ(scope.back().size(), static_cast<size_t>(2 * kMaxBlock));
    runBlocks(1);
    tick(true);
    tick();
    ASSERT_EQ(scope.size(), 3u);
    EXPECT_EQ(scope.back().size(), 0u) << "bytes drained on a tick whose message cannot be made are gone";
    runBlocks(ScopeRing::kCapacity / kMaxBlock + 4);
    tick();
    EXPECT_EQ(scope.back().size(), static_cast<size_t>(ScopeRing::kMaxBytes)) << "one byte less than the ring";
}
