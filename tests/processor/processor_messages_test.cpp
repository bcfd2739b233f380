#include "ProcessorFixture.h"

#include "ids.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <string>

using namespace ProcessorTest;

namespace {

IPtr<IMessage> binaryMessage(const char* command, const void* data, uint32 size)
{
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID("BinaryMessage");
    message->getAttributes()->setBinary(command, data, size);
    return message;
}

// A controller stand-in that answers "copyhiddenparam" at once with its hidden values.
class AnsweringPeer : public IConnectionPoint
{
public:
    explicit AnsweringPeer(IConnectionPoint& processor) : processor(processor) {}

    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override
    {
        received += std::string(message->getMessageID()) + " ";
        int64 value = 0;
        if (message->getAttributes()->getInt("copyhiddenparam", value) == kResultOk)
        {
            const double hidden[7] = {0.5, 1.0, 0.25, 0.0, 1.0, 0.0, 0.75};
            processor.notify(binaryMessage("synchiddenparam", hidden, sizeof(hidden)));
        }
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    std::string received;

private:
    IConnectionPoint& processor;
};

using Messages = ProcessorFixture;

} // namespace

TEST_F(Messages, SavingAsksTheControllerForHiddenValuesFirst)
{
    AnsweringPeer peer(*processor);
    ASSERT_EQ(processor->connect(&peer), kResultOk);
    const Bytes record = state();
    EXPECT_EQ(peer.received, "IntMessage ");
    const double expected[7] = {0.5, 1.0, 0.25, 0.0, 1.0, 0.0, 0.75};
    for (int32 index = 0; index < 7; ++index)
        EXPECT_EQ(readDouble(record, 316 + 8 * index), expected[index]) << index;
    processor->disconnect(&peer);
}

TEST_F(Messages, ShortHiddenValuesAndMissingMessagesAreRefused)
{
    const Bytes before = state();
    const double tooFew[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_EQ(processor->notify(binaryMessage("synchiddenparam", tooFew, sizeof(tooFew))), kResultFalse);
    EXPECT_EQ(processor->notify(nullptr), kInvalidArgument);
    EXPECT_EQ(state(), before);
}

TEST_F(Messages, TextMessagesAreAcceptedWithoutEffect)
{
    const Bytes before = state();
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID("TextMessage");
    message->getAttributes()->setString("Text", STR16("hello"));
    EXPECT_EQ(processor->notify(message), kResultOk);
    EXPECT_EQ(state(), before);
}

namespace {

IPtr<IMessage> intMessage(const char* id, const char* command, int64 value)
{
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID(id);
    message->getAttributes()->setInt(command, value);
    return message;
}

// The current live record with one value changed.
Bytes recordWith(const Bytes& live, int32 id, double value)
{
    Bytes record = live;
    std::memcpy(record.data() + 8 + 8 * id, &value, sizeof(value)); // values follow the 8-byte header
    return record;
}

} // namespace

TEST_F(Messages, SlicePadsSelectASliceOrNoneAndRefuseTheRest)
{
    struct Case
    {
        int64 slice;
        tresult result;
        int32 selected;
    };
    const Case cases[] = {{3, kResultOk, 3},           {-1, kResultOk, -1},         {15, kResultOk, 15},
                          {16, kResultFalse, 15},      {-2, kResultFalse, 15},      {0, kResultOk, 0},
                          {4294967299, kResultFalse, 0}, {-4294967297, kResultFalse, 0}};
    for (const Case& test : cases)
    {
        EXPECT_EQ(processor->notify(intMessage("IntMessage", "setslice", test.slice)), test.result) << test.slice;
        EXPECT_EQ(dsp().getSelectedSlice(), test.selected) << test.slice;
    }
    const int32 slice = 5;
    EXPECT_EQ(processor->notify(binaryMessage("setslice", &slice, sizeof(slice))), kResultFalse);
    EXPECT_EQ(dsp().getSelectedSlice(), 0);
}

TEST_F(Messages, DroppedPresetAppliesAtOnceWhenIdleAndAtTheNextBlockWhenRunning)
{
    const Bytes idlePreset = recordWith(state(), Vextoria3Ids::kGateSize, 0.25);
    EXPECT_EQ(processor->notify(binaryMessage("loadpreset", idlePreset.data(), 372)), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.25f);

    ASSERT_EQ(processor->setActive(true), kResultOk);
    const Bytes runningPreset = recordWith(state(), Vextoria3Ids::kGateSize, 0.125);
    EXPECT_EQ(processor->notify(binaryMessage("loadpreset", runningPreset.data(), 372)), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.25f) << "the audio thread has not run yet";
    VextoriaHost::ProcessBlock block(2, 2, kMaxBlock);
    processor->process(block.prepare(kMaxBlock));
    block.finish();
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.125f);
}

TEST_F(Messages, DroppedPresetNeverSwitchesTheProgram)
{
    const Bytes preset = recordWith(state(), Vextoria3Ids::kFactoryPresets, 1.0);
    EXPECT_EQ(processor->notify(binaryMessage("loadpreset", preset.data(), 372)), kResultOk);
    EXPECT_EQ(dsp().getCurrentProgram(), 0);
}

TEST_F(Messages, WrongTypesBrokenPresetsAndPresetNamesChangeNothing)
{
    const Bytes before = state();
    const Bytes preset = recordWith(before, Vextoria3Ids::kGateSize, 0.25);
    for (bool running : {false, true})
    {
        ASSERT_EQ(processor->setActive(running), kResultOk);
        EXPECT_EQ(processor->notify(intMessage("IntMessage", "loadpreset", 1)), kResultFalse);
        EXPECT_EQ(processor->notify(intMessage("IntMessag", "setslice", 3)), kResultFalse);
        EXPECT_EQ(processor->notify(binaryMessage("loadpreset", preset.data(), 371)), kResultFalse);
        EXPECT_EQ(processor->notify(binaryMessage("loadpreset", preset.data(), 11)), kResultFalse);
        EXPECT_EQ(processor->notify(binaryMessage("setpresetname", "Drums", 5)), kResultFalse);
        EXPECT_EQ(state(), before) << (running ? "running" : "idle");
        EXPECT_EQ(dsp().getSelectedSlice(), -1);
    }
}

namespace {

// A message whose attribute list is missing, as a careless peer might send.
class MessageWithoutAttributes : public HostMessage
{
public:
    IAttributeList* PLUGIN_API getAttributes() override { return nullptr; }
};

} // namespace

TEST_F(Messages, MessagesWithoutIdOrAttributesAreRefused)
{
    for (const char* id : {"TextMessage", "IntMessage", "BinaryMessage"})
    {
        auto message = owned(new MessageWithoutAttributes);
        message->setMessageID(id);
        EXPECT_EQ(processor->notify(message), kResultFalse) << id;
    }
    auto withoutId = intMessage("IntMessage", "setslice", 3);
    withoutId->setMessageID(nullptr);
    EXPECT_EQ(processor->notify(withoutId), kResultFalse);
    EXPECT_EQ(dsp().getSelectedSlice(), -1);
}
