// Messages from the processor, the hidden-settings answer, MIDI mapping and the view.
#include "ControllerHarness.h"

#include <algorithm>
#include <cstring>

#include "dsp/ProgramChunk.h"

namespace ControllerTest {
namespace {

using MessagesTest = ControllerFixture;

void setBinary(IMessage& message, const char* attribute, const std::vector<uint8_t>& bytes)
{
    message.getAttributes()->setBinary(attribute, bytes.data(), static_cast<uint32>(bytes.size()));
}

// "AudioData" with no bytes, which the SDK's own host list cannot hold without leaking.
class EmptyAudioDataMessage : public HostMessage {
public:
    class Attributes : public HostAttributeList {
    public:
        tresult PLUGIN_API getBinary(AttrID id, const void*& data, uint32& size) override
        {
            if (std::strcmp(id, "AudioData") != 0)
                return kResultFalse;
            data = this;
            size = 0;
            return kResultOk;
        }
    };
    EmptyAudioDataMessage() { setMessageID("BinaryMessage"); }
    IAttributeList* PLUGIN_API getAttributes() override { return &attributes; }

private:
    Attributes attributes;
};

TEST_F(MessagesTest, scope_data_of_no_bytes_still_reaches_an_open_editor)
{
    controller->setEditor(&editor);
    auto message = owned(new EmptyAudioDataMessage);
    EXPECT_EQ(controller->notify(message), kResultOk);
    ASSERT_EQ(editor.scopeCalls.size(), 1u);
    EXPECT_TRUE(editor.scopeCalls[0].empty());
}

TEST_F(MessagesTest, scope_data_reaches_an_open_editor_cut_at_the_ring_size)
{
    struct Case {
        size_t bytes;
        size_t delivered;
    };
    const Case cases[] = {{1, 1}, {16383, 16383}, {16384, 16384}, {20000, 16384}};
    controller->setEditor(&editor);
    for (const Case& test : cases) {
        std::vector<uint8_t> bytes(test.bytes);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(i * 7);
        auto message = makeMessage("BinaryMessage");
        setBinary(*message, "AudioData", bytes);
        editor.scopeCalls.clear();
        EXPECT_EQ(controller->notify(message), kResultOk);
        ASSERT_EQ(editor.scopeCalls.size(), 1u);
        ASSERT_EQ(editor.scopeCalls[0].size(), test.delivered);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + test.delivered, editor.scopeCalls[0].begin(),
                               [](uint8_t sent, int8_t got) { return sent == static_cast<uint8_t>(got); }));
    }
}

TEST_F(MessagesTest, note_records_reach_an_open_editor_whole_and_aligned)
{
    const MidiNoteRecord notes[] = {{1, 36, 5, 100}, {1, 38, 9, 90}, {2, 36, 12, 0}};
    // One byte in front, so the records sit at an odd address inside the message.
    std::vector<uint8_t> bytes(1 + sizeof(notes) + 5); // and a stray partial record behind
    std::memcpy(bytes.data() + 1, notes, sizeof(notes));
    auto message = makeMessage("BinaryMessage");
    message->getAttributes()->setBinary("MidiNote", bytes.data() + 1, static_cast<uint32>(sizeof(notes) + 5));
    controller->setEditor(&editor);
    EXPECT_EQ(controller->notify(message), kResultOk);
    ASSERT_EQ(editor.noteCalls.size(), 1u);
    ASSERT_EQ(editor.noteCalls[0].size(), 3u);
    EXPECT_EQ(editor.noteCalls[0][1].pitch, 38);
    EXPECT_EQ(editor.noteCalls[0][2].type, 2);
    EXPECT_EQ(editor.noteCalls[0][2].sampleOffset, 12);
}

TEST_F(MessagesTest, more_notes_than_the_ring_holds_are_cut_to_its_capacity)
{
    std::vector<uint8_t> bytes(200 * sizeof(MidiNoteRecord), 0);
    auto message = makeMessage("BinaryMessage");
    setBinary(*message, "MidiNote", bytes);
    controller->setEditor(&editor);
    EXPECT_EQ(controller->notify(message), kResultOk);
    ASSERT_EQ(editor.noteCalls.size(), 1u);
    EXPECT_EQ(editor.noteCalls[0].size(), static_cast<size_t>(MidiEventRing::kCapacity));
}

TEST_F(MessagesTest, processor_data_without_an_open_editor_is_dropped)
{
    for (bool registered : {false, true}) {
        editor.open = false;
        controller->setEditor(registered ? &editor : nullptr);
        for (const char* attribute : {"AudioData", "MidiNote"}) {
            auto message = makeMessage("BinaryMessage");
            setBinary(*message, attribute, std::vector<uint8_t>(32, 1));
            EXPECT_EQ(controller->notify(message), kResultOk) << attribute;
        }
    }
    EXPECT_TRUE(editor.scopeCalls.empty());
    EXPECT_TRUE(editor.noteCalls.empty());
}

TEST_F(MessagesTest, a_message_with_both_feeds_only_the_scope)
{
    auto message = makeMessage("BinaryMessage");
    setBinary(*message, "MidiNote", std::vector<uint8_t>(16, 0));
    setBinary(*message, "AudioData", std::vector<uint8_t>(4, 3));
    controller->setEditor(&editor);
    EXPECT_EQ(controller->notify(message), kResultOk);
    EXPECT_EQ(editor.scopeCalls.size(), 1u);
    EXPECT_TRUE(editor.noteCalls.empty());
}

TEST_F(MessagesTest, copyhiddenparam_is_answered_with_the_seven_hidden_values)
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
}

TEST_F(MessagesTest, without_a_host_context_no_answer_is_sent)
{
    controller->terminate(); // drops the host context and the peer
    controller->connect(&peer);
    controller->syncHiddenParam();
    EXPECT_TRUE(peer.received.empty());
}

TEST_F(MessagesTest, messages_nobody_handles_get_false_and_change_nothing)
{
    struct Case {
        const char* messageId;
        const char* attribute;
    };
    const Case cases[] = {
        {"BinaryMessage", "somethingElse"},
        {"IntMessage", "askpresonus"},
        {"IntMessage", "AudioData"},       // the id names the attribute type
        {"BinaryMessage", "copyhiddenparam"},
        {"BinaryMessageX", "AudioData"},
        {"Binary", "AudioData"},
        {nullptr, "AudioData"},
    };
    controller->setEditor(&editor);
    for (const Case& test : cases) {
        auto message = makeMessage(test.messageId);
        message->getAttributes()->setInt(test.attribute, 1);
        EXPECT_EQ(controller->notify(message), kResultFalse) << (test.messageId ? test.messageId : "no id");
    }
    EXPECT_TRUE(peer.received.empty());
    EXPECT_TRUE(editor.scopeCalls.empty());
    EXPECT_EQ(controller->notify(nullptr), kInvalidArgument);
}

// A message whose attribute list is missing, as a careless peer might send.
class MessageWithoutAttributes : public HostMessage {
public:
    IAttributeList* PLUGIN_API getAttributes() override { return nullptr; }
};

TEST_F(MessagesTest, a_message_without_attributes_is_refused)
{
    for (const char* messageId : {"BinaryMessage", "IntMessage", "TextMessage"}) {
        auto message = owned(new MessageWithoutAttributes);
        message->setMessageID(messageId);
        EXPECT_EQ(controller->notify(message), kResultFalse) << messageId;
    }
}

TEST_F(MessagesTest, text_messages_are_printed_on_standard_error)
{
    auto message = makeMessage("TextMessage");
    message->getAttributes()->setString("Text", u"hello");
    testing::internal::CaptureStderr();
    EXPECT_EQ(controller->notify(message), kResultOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Vextoria3Controller] received: hello\n");

    auto withoutText = makeMessage("TextMessage");
    testing::internal::CaptureStderr();
    EXPECT_EQ(controller->notify(withoutText), kResultFalse);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    auto longText = makeMessage("TextMessage");
    const std::u16string text(400, u'w');
    longText->getAttributes()->setString("Text", text.c_str());
    testing::internal::CaptureStderr();
    controller->notify(longText);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_LE(printed.size(), std::string("[Vextoria3Controller] received: \n").size() + 256);

    testing::internal::CaptureStderr();
    EXPECT_EQ(controller->receiveText(nullptr), kResultOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(MessagesTest, mod_wheel_and_pitch_bend_map_to_their_parameters_on_bus_0)
{
    struct Case {
        int32 bus;
        int16 channel;
        CtrlNumber controllerNumber;
        tresult result;
        ParamID id;
    };
    const Case cases[] = {
        {0, 0, kCtrlModWheel, kResultOk, 35}, {0, 15, 1, kResultOk, 35}, {0, 3, kPitchBend, kResultOk, 34},
        {0, 0, 129, kResultOk, 34},           {1, 0, 1, kResultFalse, 0}, {0, 0, 7, kResultFalse, 0},
        {0, 0, 0, kResultFalse, 0},           {-1, 0, 1, kResultFalse, 0}, {0, 0, kAfterTouch, kResultFalse, 0},
    };
    for (const Case& test : cases) {
        ParamID id = 0;
        EXPECT_EQ(controller->getMidiControllerAssignment(test.bus, test.channel, test.controllerNumber, id), test.result)
            << "bus " << test.bus << " controller " << test.controllerNumber;
        EXPECT_EQ(id, test.id);
    }
    EXPECT_EQ(controller->onLiveMIDIControllerInput(0, 0, 1), kResultFalse);
}

TEST_F(MessagesTest, interfaces_offered_to_the_host)
{
    const FUID* offered[] = {&IMidiMapping::iid, &IUnitInfo::iid, &IEditController::iid, &IEditController2::iid,
                             &IPluginBase::iid, &IConnectionPoint::iid, &FUnknown::iid};
    for (const FUID* iid : offered) {
        FUnknown* answer = nullptr;
        EXPECT_EQ(controller->queryInterface(iid->toTUID(), reinterpret_cast<void**>(&answer)), kResultOk);
        ASSERT_NE(answer, nullptr);
        answer->release();
    }
    void* learn = nullptr;
    EXPECT_NE(controller->queryInterface(IMidiLearn::iid.toTUID(), &learn), kResultOk);
    EXPECT_EQ(learn, nullptr);
}

TEST_F(MessagesTest, no_view_is_made_until_the_editor_exists)
{
    const char* names[] = {"editor", "Editor", "", nullptr};
    for (const char* name : names)
        EXPECT_EQ(controller->createView(name), nullptr);
}

} // namespace
} // namespace ControllerTest
