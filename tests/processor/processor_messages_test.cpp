// The editor's side of the processor: program records as a host's state or a dropped preset,
// taken at once while idle and by the next block (or the deactivation) while running, the
// other messages, refused whole when malformed, and the tick that answers with the notes and
// scope bytes since the last one, also when the host cannot make messages.
#include "ProcessorFixture.h"

#include "ids.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <limits>

using namespace ProcessorTest;
using namespace Vextoria3Ids;

namespace {

struct Records : ProcessorFixture
{
    tresult loadPreset(const Bytes& preset)
    {
        return processor->notify(binaryMessage("loadpreset", preset.data(), static_cast<uint32>(preset.size())));
    }
    float gate() const { return dsp().getParameter(kGateSize); }
};

// A message whose attribute list is missing, as a careless peer might send.
struct MessageWithoutAttributes : HostMessage
{
    IAttributeList* PLUGIN_API getAttributes() override { return nullptr; }
};

// Connected to the processor as its controller: counts the host questions and keeps the
// notes and scope bytes each tick sends.
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
        asked += message->getAttributes()->getInt("askpresonus", number) == kResultOk ? 1 : 0;
        for (auto [command, kept] : {std::pair {"MidiNote", &notes}, {"AudioData", &scope}})
        {
            const void* data = nullptr;
            uint32 size = 0;
            if (message->getAttributes()->getBinary(command, data, size) == kResultOk)
                kept->emplace_back(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        }
        return answer;
    }
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    size_t asked = 0;
    std::vector<Bytes> notes, scope;
    tresult answer = kResultFalse; // as a controller without a handler for the question
    ProcessBlock block {2, 2, kMaxBlock};
};

} // namespace

TEST_F(Records, WhileActiveAStateOrPresetWaitsForTheNextBlockOrTheDeactivation)
{
    ProcessBlock block(2, 2, kMaxBlock);
    for (bool deactivate : {false, true})
        for (bool asPreset : {false, true})
        {
            SCOPED_TRACE(std::string(asPreset ? "preset" : "state") + (deactivate ? ", deactivation" : ", block"));
            ASSERT_EQ(restore(withParam(state(), kGateSize, 0.25)), kResultOk);
            EXPECT_EQ(gate(), 0.25f) << "idle: taken at once";
            ASSERT_EQ(processor->setActive(true), kResultOk);
            const Bytes record = withParam(state(), kGateSize, 0.125);
            ASSERT_EQ(asPreset ? loadPreset(record) : restore(record), kResultOk);
            EXPECT_EQ(gate(), 0.25f) << "not applied yet";
            EXPECT_EQ(state(), record) << "but saved";
            ASSERT_EQ(deactivate ? processor->setActive(false) : run(block, 64), kResultOk);
            EXPECT_EQ(gate(), 0.125f);
            ASSERT_EQ(processor->setActive(false), kResultOk);
        }
    // The program slot of a preset never switches the program; a payload beyond the 64 KiB a
    // record reader looks at is cut there, not refused whole.
    Bytes preset = withParam(withParam(state(), kGateSize, 0.75), kFactoryPresets, 1.0);
    preset.resize(Vextoria3::kMaxStateBytes + 1000, 0xEE);
    EXPECT_EQ(loadPreset(preset), kResultOk);
    EXPECT_EQ(gate(), 0.75f);
    EXPECT_EQ(dsp().getCurrentProgram(), 0);
}

TEST_F(Records, SlicePadsSelectASliceOrNoneAndRefuseTheRest)
{
    // slice sent, whether it is taken, the slice selected after it
    const std::tuple<int64, tresult, int32> cases[] = {
        {3, kResultOk, 3},      {-1, kResultOk, -1}, {15, kResultOk, 15},           {16, kResultFalse, 15},
        {-2, kResultFalse, 15}, {0, kResultOk, 0},   {4294967299, kResultFalse, 0}, {-4294967297, kResultFalse, 0}};
    for (const auto& [slice, result, selected] : cases)
    {
        EXPECT_EQ(processor->notify(intMessage("IntMessage", "setslice", slice)), result) << slice;
        EXPECT_EQ(dsp().getSelectedSlice(), selected) << slice;
    }
}

TEST_F(Records, MalformedRecordsAndMessagesAreRefusedAndNeverReachTheWaitingSlot)
{
    const Bytes before = state();
    const auto withCounts = [&](int32 params, int32 hidden, size_t size) {
        Bytes record = withParam(before, kGateSize, 0.5);
        record.resize(size, 0);
        writeAt(record, 4, params);
        writeAt(record, paramOffset(std::clamp(params, 0, 38)), hidden);
        return record;
    };
    const std::pair<const char*, Bytes> refused[] = {
        {"one byte short", withCounts(38, 7, 371)},
        {"39 parameters", withCounts(39, 7, 380)},
        {"8 hidden values", withCounts(38, 8, 380)},
        {"negative parameter count", withCounts(-1, 7, 372)},
        {"huge hidden count", withCounts(38, std::numeric_limits<int32>::max(), 372)}};
    const double tooFewHidden[6] = {1, 1, 1, 1, 1, 1};
    const int32 slice = 5;
    auto withoutId = intMessage("IntMessage", "setslice", 3);
    withoutId->setMessageID(nullptr);
    ProcessBlock block(2, 2, kMaxBlock);
    for (bool running : {false, true})
    {
        SCOPED_TRACE(running ? "running" : "idle");
        ASSERT_EQ(processor->setActive(running), kResultOk);
        EXPECT_EQ(restore({}), kResultFalse);
        EXPECT_EQ(processor->setState(nullptr), kInvalidArgument);
        for (const auto& [name, bytes] : refused)
        {
            EXPECT_EQ(restore(bytes), kResultFalse) << name;
            EXPECT_EQ(loadPreset(bytes), kResultFalse) << name;
        }
        for (const IPtr<IMessage>& message :
             {intMessage("IntMessage", "loadpreset", 1), intMessage("IntMessag", "setslice", 3), withoutId,
              binaryMessage("setslice", &slice, sizeof(slice)), binaryMessage("setpresetname", "Drums", 5),
              binaryMessage("synchiddenparam", tooFewHidden, sizeof(tooFewHidden))})
            EXPECT_EQ(processor->notify(message), kResultFalse);
        for (const char* id : {"TextMessage", "IntMessage", "BinaryMessage"})
        {
            auto message = owned(new MessageWithoutAttributes);
            message->setMessageID(id);
            EXPECT_EQ(processor->notify(message), kResultFalse) << id;
        }
        EXPECT_EQ(processor->notify(nullptr), kInvalidArgument);
        ASSERT_EQ(run(block, running ? 64 : 0), kResultOk);
        EXPECT_EQ(state(), before);
        EXPECT_EQ(dsp().getSelectedSlice(), -1);
    }
}

TEST_F(Tick, HostIsAskedUntilItsAnswerIsNotOkOrNoMessageCanBeMade)
{
    // Per tick: O the controller answers kResultOk, F kResultFalse, R no message can be made.
    for (auto [answers, expected] : {std::pair<std::string, std::string> {"OOFO", "1233"}, {"ORO", "111"}})
    {
        TearDown();
        asked = 0;
        processor = owned(new Vextoria3());
        SetUp();
        for (size_t step = 0; step < answers.size(); ++step)
        {
            answer = answers[step] == 'F' ? kResultFalse : kResultOk;
            tick(answers[step] == 'R');
            EXPECT_EQ(asked, static_cast<size_t>(expected[step] - '0'))
                << answers << ", tick " << step;
        }
    }
}

// The notes of the blocks since the last tick go once, in event order, and wait while no
// message can be made; the scope bytes drained on such a tick are gone.
TEST_F(Tick, EachTickSendsTheNewNotesAndTheScopeBytesSinceTheLastOneUpToTheRingsSize)
{
    tick();
    ASSERT_EQ(scope.size(), 1u);
    EXPECT_EQ(scope.back().size(), 0u) << "nothing new: an empty scope message";
    block.inputEvents.addNoteOn(40, 1.0f, 0);
    block.inputEvents.addNoteOn(38, 0.5f, 7);
    block.inputEvents.addNoteOff(40, 0.0f, 90);
    runBlocks(1);
    tick(true);
    tick(); // the flag went with the failed tick; the notes did not
    EXPECT_EQ(notes.size(), 0u);
    ASSERT_EQ(scope.size(), 2u);
    EXPECT_EQ(scope.back().size(), 0u);
    block.inputEvents.addNoteOn(20, 0.25f, 1); // below the slice notes: logged all the same
    runBlocks(1);
    tick();
    ASSERT_EQ(notes.size(), 1u);
    // Type (1 on, 2 off), pitch, offset and velocity of each note.
    const int32 expected[] = {1, 40, 0, 127, 1, 38, 7, 63, 2, 40, 90, 0, 1, 20, 1, 31};
    EXPECT_EQ(notes[0], Bytes(reinterpret_cast<const uint8_t*>(expected),
                              reinterpret_cast<const uint8_t*>(expected) + sizeof(expected)));
    EXPECT_EQ(scope.back().size(), static_cast<size_t>(kMaxBlock));
    runBlocks(ScopeRing::kCapacity / kMaxBlock + 4);
    tick();
    EXPECT_EQ(notes.size(), 1u) << "no new notes, no message";
    EXPECT_EQ(scope.back().size(), static_cast<size_t>(ScopeRing::kMaxBytes)) << "one byte less than the ring";
}
