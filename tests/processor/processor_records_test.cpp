// Program records reaching the processor as a host's state or as the editor's dropped preset,
// and the editor's other messages: taken at once while idle, by the next block (or the
// deactivation) while running, and refused whole when malformed.
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

TEST_F(Records, TextsAreTakenButNeverReadPastTheirEnd)
{
    // Texts that fill or overflow the 256-unit buffer are cut, and half a surrogate pair is
    // no reason to throw.
    auto text = owned(static_cast<IMessage*>(new HostMessage()));
    text->setMessageID("TextMessage");
    for (size_t units : {5, 255, 256, 257, 4000})
    {
        std::u16string longText(units, u'w');
        longText[units / 2] = 0xD800;
        text->getAttributes()->setString("Text", reinterpret_cast<const TChar*>(longText.c_str()));
        EXPECT_EQ(processor->notify(text), kResultOk) << units;
    }
}
