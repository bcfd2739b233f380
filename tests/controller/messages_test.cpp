// Messages from the processor, the hidden-settings answer, MIDI mapping and the view.
#include "ControllerHarness.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <cstring>

namespace ControllerTest {
namespace {

using MessagesTest = ControllerFixture;

void setBinary(IMessage& message, const char* attribute, const void* data, size_t size)
{
    message.getAttributes()->setBinary(attribute, data, static_cast<uint32>(size));
}

// "AudioData" of no bytes, which the SDK's own attribute list cannot hold without leaking.
class EmptyAudioDataMessage : public HostMessage {
    struct Attributes : HostAttributeList {
        tresult PLUGIN_API getBinary(AttrID id, const void*& data, uint32& size) override
        {
            data = this;
            size = 0;
            return std::strcmp(id, "AudioData") == 0 ? kResultOk : kResultFalse;
        }
    } attributes;

public:
    EmptyAudioDataMessage() { setMessageID("BinaryMessage"); }
    IAttributeList* PLUGIN_API getAttributes() override { return &attributes; }
};

// A message whose attribute list is missing, as a careless peer might send.
class MessageWithoutAttributes : public HostMessage {
public:
    IAttributeList* PLUGIN_API getAttributes() override { return nullptr; }
};

TEST_F(MessagesTest, scope_data_reaches_an_open_editor_cut_at_the_ring_size)
{
    controller->setEditor(&editor);
    EXPECT_EQ(controller->notify(owned(new EmptyAudioDataMessage)), kResultOk);
    ASSERT_EQ(editor.scopeCalls.size(), 1u);
    EXPECT_TRUE(editor.scopeCalls[0].empty());

    for (auto [sent, delivered] : {std::pair<size_t, size_t> {1, 1}, {16384, 16384}, {20000, 16384}}) {
        std::vector<uint8_t> bytes(sent);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(i * 7);
        auto message = makeMessage("BinaryMessage");
        setBinary(*message, "AudioData", bytes.data(), bytes.size());
        editor.scopeCalls.clear();
        EXPECT_EQ(controller->notify(message), kResultOk);
        ASSERT_EQ(editor.scopeCalls.size(), 1u);
        ASSERT_EQ(editor.scopeCalls[0].size(), delivered);
        EXPECT_EQ(0, std::memcmp(bytes.data(), editor.scopeCalls[0].data(), delivered)) << sent;
    }
}

TEST_F(MessagesTest, note_records_reach_an_open_editor_whole_aligned_and_cut_to_the_ring)
{
    const MidiNoteRecord notes[] = {{1, 36, 5, 100}, {1, 38, 9, 90}, {2, 36, 12, 0}};
    // One byte in front puts the records at an odd address; a stray partial record follows.
    std::vector<uint8_t> bytes(1 + sizeof(notes) + 5);
    std::memcpy(bytes.data() + 1, notes, sizeof(notes));
    auto message = makeMessage("BinaryMessage");
    setBinary(*message, "MidiNote", bytes.data() + 1, sizeof(notes) + 5);
    controller->setEditor(&editor);
    EXPECT_EQ(controller->notify(message), kResultOk);
    ASSERT_EQ(editor.noteCalls.size(), 1u);
    ASSERT_EQ(editor.noteCalls[0].size(), 3u);
    EXPECT_EQ(editor.noteCalls[0][1].pitch, 38);
    EXPECT_EQ(editor.noteCalls[0][2].type, 2);
    EXPECT_EQ(editor.noteCalls[0][2].sampleOffset, 12);

    const std::vector<uint8_t> many(200 * sizeof(MidiNoteRecord), 0);
    auto tooMany = makeMessage("BinaryMessage");
    setBinary(*tooMany, "MidiNote", many.data(), many.size());
    EXPECT_EQ(controller->notify(tooMany), kResultOk);
    ASSERT_EQ(editor.noteCalls.size(), 2u);
    EXPECT_EQ(editor.noteCalls[1].size(), static_cast<size_t>(MidiEventRing::kCapacity));
}

TEST_F(MessagesTest, processor_data_goes_only_to_an_open_editor_and_scope_wins_over_notes)
{
    const std::vector<uint8_t> bytes(32, 1);
    for (bool registered : {false, true}) {
        editor.open = false;
        controller->setEditor(registered ? &editor : nullptr);
        for (const char* attribute : {"AudioData", "MidiNote"}) {
            auto message = makeMessage("BinaryMessage");
            setBinary(*message, attribute, bytes.data(), bytes.size());
            EXPECT_EQ(controller->notify(message), kResultOk) << attribute;
        }
    }
    EXPECT_TRUE(editor.scopeCalls.empty());
    EXPECT_TRUE(editor.noteCalls.empty());

    editor.open = true;
    auto both = makeMessage("BinaryMessage");
    setBinary(*both, "MidiNote", bytes.data(), 16);
    setBinary(*both, "AudioData", bytes.data(), 4);
    EXPECT_EQ(controller->notify(both), kResultOk);
    EXPECT_EQ(editor.scopeCalls.size(), 1u);
    EXPECT_TRUE(editor.noteCalls.empty());
}

TEST_F(MessagesTest, copyhiddenparam_is_answered_with_the_seven_hidden_values_only_with_a_host)
{
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::scopestyle, 0.5);
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::fxtab, 0.75);
    auto message = makeMessage("IntMessage");
    message->getAttributes()->setInt("copyhiddenparam", 0);
    EXPECT_EQ(controller->notify(message), kResultFalse); // the base's answer
    ASSERT_EQ(peer.received.size(), 1u);
    EXPECT_EQ(peer.received[0].messageId, "BinaryMessage");
    std::vector<uint8_t> expected;
    for (double value : {0.0, 0.0, 0.5, 1.0, 0.0, 0.0, 0.75})
        insert_double(expected, value);
    EXPECT_EQ(peer.received[0].hiddenValues, expected);

    controller->terminate(); // drops the host context and the peer
    controller->connect(&peer);
    controller->syncHiddenParam();
    EXPECT_EQ(peer.received.size(), 1u);
}

TEST_F(MessagesTest, messages_nobody_handles_get_false_and_change_nothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"BinaryMessage", "somethingElse"}, {"IntMessage", "askpresonus"},
        {"IntMessage", "AudioData"}, // the id names the attribute type
        {"BinaryMessage", "copyhiddenparam"}, {"BinaryMessageX", "AudioData"},
        {"Binary", "AudioData"},            {nullptr, "AudioData"},
    };
    controller->setEditor(&editor);
    for (auto [messageId, attribute] : cases) {
        auto message = makeMessage(messageId);
        message->getAttributes()->setInt(attribute, 1);
        EXPECT_EQ(controller->notify(message), kResultFalse) << (messageId ? messageId : "no id") << " " << attribute;
    }
    for (const char* messageId : {"BinaryMessage", "IntMessage", "TextMessage"}) {
        auto message = owned(new MessageWithoutAttributes);
        message->setMessageID(messageId);
        EXPECT_EQ(controller->notify(message), kResultFalse) << messageId << " without attributes";
    }
    EXPECT_TRUE(peer.received.empty());
    EXPECT_TRUE(editor.scopeCalls.empty());
    EXPECT_EQ(controller->notify(nullptr), kInvalidArgument);
}

TEST_F(MessagesTest, text_messages_are_printed_on_standard_error_cut_to_a_line)
{
    auto printed = [&](const char16_t* text, tresult expected) {
        auto message = makeMessage("TextMessage");
        if (text)
            message->getAttributes()->setString("Text", text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(controller->notify(message), expected);
        return testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(printed(u"hello", kResultOk), "[Vextoria3Controller] received: hello\n");
    EXPECT_EQ(printed(nullptr, kResultFalse), "");
    const std::u16string longText(400, u'w');
    EXPECT_LE(printed(longText.c_str(), kResultOk).size(), std::string("[Vextoria3Controller] received: \n").size() + 256);
    // Half a surrogate pair reads as U+FFFD; a whole pair as its one character.
    const char16_t halves[] = {u'a', 0xD800, u'b', 0xDC00, 0xD83C, 0xDFB5, 0};
    EXPECT_EQ(printed(halves, kResultOk), "[Vextoria3Controller] received: a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xF0\x9F\x8E\xB5\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(controller->receiveText(nullptr), kResultOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(MessagesTest, mod_wheel_and_pitch_bend_map_to_their_parameters_on_bus_0)
{
    struct Case {
        int32 bus;
        int16 channel;
        CtrlNumber number;
        ParamID id; // 0: not mapped
    };
    const Case cases[] = {
        {0, 0, kCtrlModWheel, 35}, {0, 15, 1, 35}, {0, 3, kPitchBend, 34}, {0, 0, 129, 34},      {1, 0, 1, 0},
        {0, 0, 7, 0},              {0, 0, 0, 0},   {-1, 0, 1, 0},          {0, 0, kAfterTouch, 0},
    };
    for (const Case& test : cases) {
        ParamID id = 0;
        EXPECT_EQ(controller->getMidiControllerAssignment(test.bus, test.channel, test.number, id),
                  test.id ? kResultOk : kResultFalse)
            << "bus " << test.bus << " controller " << test.number;
        EXPECT_EQ(id, test.id);
    }
    EXPECT_EQ(controller->onLiveMIDIControllerInput(0, 0, 1), kResultFalse);
}

TEST_F(MessagesTest, host_gets_the_offered_interfaces_no_learning_and_a_new_view_only_for_editor)
{
    for (const FUID* iid : {&IMidiMapping::iid, &IUnitInfo::iid, &IEditController::iid, &IEditController2::iid,
                            &IPluginBase::iid, &IConnectionPoint::iid, &FUnknown::iid}) {
        FUnknown* answer = nullptr;
        EXPECT_EQ(controller->queryInterface(iid->toTUID(), reinterpret_cast<void**>(&answer)), kResultOk);
        ASSERT_NE(answer, nullptr);
        answer->release();
    }
    void* learn = nullptr;
    EXPECT_NE(controller->queryInterface(IMidiLearn::iid.toTUID(), &learn), kResultOk);
    EXPECT_EQ(learn, nullptr);
    for (const char* name : {"Editor", "editor ", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(controller->createView(name), nullptr) << (name ? name : "null");
    IPtr<IPlugView> first = owned(controller->createView("editor"));
    IPtr<IPlugView> second = owned(controller->createView("editor"));
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second) << "each call makes a new view";
    ViewRect size;
    EXPECT_EQ(first->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 600);
    EXPECT_EQ(size.getHeight(), 400);
    EXPECT_EQ(controller->getEditor(), nullptr) << "a view links itself only when it opens";
    void* scaling = nullptr;
    EXPECT_NE(first->queryInterface(IPlugViewContentScaleSupport::iid, &scaling), kResultOk) << "no content scaling";
}

} // namespace
} // namespace ControllerTest
