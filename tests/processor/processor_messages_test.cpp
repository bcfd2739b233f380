#include "ProcessorFixture.h"

#include "ids.h"

#include "pluginterfaces/vst/ivstmessage.h"

using namespace ProcessorTest;

namespace {

IPtr<IMessage> binaryMessage(const char* command, const void* data, uint32 size)
{
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID("BinaryMessage");
    message->getAttributes()->setBinary(command, data, size);
    return message;
}

IPtr<IMessage> intMessage(const char* id, const char* command, int64 value)
{
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID(id);
    message->getAttributes()->setInt(command, value);
    return message;
}

// A message whose attribute list is missing, as a careless peer might send.
class MessageWithoutAttributes : public HostMessage
{
public:
    IAttributeList* PLUGIN_API getAttributes() override { return nullptr; }
};

using Messages = ProcessorFixture;

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
    // The program slot of a dropped preset never switches the program.
    const Bytes idlePreset = withParam(withParam(state(), Vextoria3Ids::kGateSize, 0.25), Vextoria3Ids::kFactoryPresets, 1.0);
    EXPECT_EQ(processor->notify(binaryMessage("loadpreset", idlePreset.data(), 372)), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.25f);
    EXPECT_EQ(dsp().getCurrentProgram(), 0);

    ASSERT_EQ(processor->setActive(true), kResultOk);
    const Bytes runningPreset = withParam(state(), Vextoria3Ids::kGateSize, 0.125);
    EXPECT_EQ(processor->notify(binaryMessage("loadpreset", runningPreset.data(), 372)), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.25f) << "the audio thread has not run yet";
    ProcessBlock block(2, 2, kMaxBlock);
    ASSERT_EQ(run(block, kMaxBlock), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.125f);
    // A payload beyond the 64 KiB a record reader looks at is cut there, not refused whole.
    Bytes oversized = withParam(idlePreset, Vextoria3Ids::kGateSize, 0.75);
    oversized.resize(Vextoria3::kMaxStateBytes + 1000, 0xEE);
    EXPECT_EQ(processor->notify(binaryMessage("loadpreset", oversized.data(), static_cast<uint32>(oversized.size()))), kResultOk);
    ASSERT_EQ(run(block, kMaxBlock), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.75f);
}

TEST_F(Messages, WrongTypesBrokenPresetsAndPresetNamesChangeNothing)
{
    const Bytes before = state();
    const Bytes preset = withParam(before, Vextoria3Ids::kGateSize, 0.25);
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

TEST_F(Messages, MessagesWithoutIdAttributesOrEnoughHiddenValuesAreRefusedAndTextIsIgnored)
{
    const Bytes before = state();
    auto text = owned(static_cast<IMessage*>(new HostMessage()));
    text->setMessageID("TextMessage");
    text->getAttributes()->setString("Text", STR16("hello"));
    EXPECT_EQ(processor->notify(text), kResultOk);
    // Texts that fill or overflow the 256-unit buffer are cut, never read past their end, and
    // half a surrogate pair is no reason to throw.
    for (size_t units : {255, 256, 257, 4000})
    {
        std::u16string longText(units, u'w');
        longText[units / 2] = 0xD800;
        text->getAttributes()->setString("Text", reinterpret_cast<const TChar*>(longText.c_str()));
        EXPECT_EQ(processor->notify(text), kResultOk) << units;
    }

    const double tooFew[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_EQ(processor->notify(binaryMessage("synchiddenparam", tooFew, sizeof(tooFew))), kResultFalse);
    EXPECT_EQ(processor->notify(nullptr), kInvalidArgument);
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
    EXPECT_EQ(state(), before);
}
