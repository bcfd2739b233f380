// Messages from the processor, text messages, MIDI mapping and the view.
#include "ControllerHarness.h"

#include <cstring>

namespace ControllerTest {
namespace {

using MessagesTest = ControllerFixture;

// A careless peer's message: no attribute list, or one whose "AudioData" has a size but no data.
struct CarelessMessage : HostMessage {
    struct : HostAttributeList {
        tresult PLUGIN_API getBinary(AttrID, const void*& data, uint32& size) override
        {
            data = nullptr;
            size = 16;
            return kResultOk;
        }
    } sizeWithoutData;
    bool withAttributes = true;
    IAttributeList* PLUGIN_API getAttributes() override { return withAttributes ? &sizeWithoutData : nullptr; }
};

TEST_F(MessagesTest, scope_bytes_and_whole_notes_reach_only_an_open_editor_cut_to_their_rings)
{
    std::vector<uint8_t> bytes(20000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    auto send = [&](std::vector<const char*> attributes, size_t size, size_t skip = 0) {
        auto message = makeMessage("BinaryMessage");
        for (const char* attribute : attributes)
            message->getAttributes()->setBinary(attribute, bytes.data() + skip, static_cast<uint32>(size));
        EXPECT_EQ(controller->notify(message), kResultOk) << attributes[0] << " " << size;
    };
    for (auto [open, registered] : {std::pair {false, true}, {true, false}}) {
        editor.open = open;
        controller->setEditor(registered ? &editor : nullptr);
        send({"AudioData"}, 32);
        send({"MidiNote"}, 32);
    }
    EXPECT_TRUE(editor.scopeCalls.empty() && editor.noteCalls.empty()) << "a closed or unregistered editor";
    editor.open = true;
    controller->setEditor(&editor);
    send({"MidiNote", "AudioData"}, 16);
    EXPECT_EQ(editor.scopeCalls.size(), 1u) << "a message with both feeds only the scope";
    EXPECT_TRUE(editor.noteCalls.empty());
    EXPECT_EQ(controller->notify(owned(new CarelessMessage)), kResultFalse);
    EXPECT_EQ(editor.scopeCalls.size(), 1u);

    for (auto [sent, delivered] : {std::pair<size_t, size_t> {0, 0}, {1, 1}, {16384, 16384}, {20000, 16384}}) {
        send({"AudioData"}, sent);
        EXPECT_EQ(editor.scopeCalls.back(), std::vector<int8_t>(bytes.begin(), bytes.begin() + delivered)) << sent;
    }
    // Records at an odd address and a stray partial record; then more than the ring holds.
    const MidiNoteRecord notes[] = {{1, 36, 5, 100}, {1, 38, 9, 90}, {2, 36, 12, 0}};
    std::memcpy(bytes.data() + 1, notes, sizeof(notes));
    send({"MidiNote"}, sizeof(notes) + 5, 1);
    ASSERT_EQ(editor.noteCalls.at(0).size(), 3u);
    EXPECT_EQ(std::tuple(editor.noteCalls[0][1].pitch, editor.noteCalls[0][2].type, editor.noteCalls[0][2].sampleOffset),
              std::tuple(38, 2, 12));
    send({"MidiNote"}, 200 * sizeof(MidiNoteRecord));
    EXPECT_EQ(editor.noteCalls.at(1).size(), static_cast<size_t>(MidiEventRing::kCapacity));
}

TEST_F(MessagesTest, messages_nobody_handles_get_false_and_change_nothing)
{
    // The id names the attribute's type.
    const std::pair<const char*, const char*> cases[] = {
        {"BinaryMessage", "somethingElse"}, {"IntMessage", "askpresonus"}, {"IntMessage", "AudioData"},
        {"BinaryMessage", "copyhiddenparam"}, {"BinaryMessageX", "AudioData"}, {"Binary", "AudioData"},
        {nullptr, "AudioData"},
    };
    controller->setEditor(&editor);
    for (auto [messageId, attribute] : cases) {
        auto message = makeMessage(messageId);
        message->getAttributes()->setInt(attribute, 1);
        EXPECT_EQ(controller->notify(message), kResultFalse) << (messageId ? messageId : "no id") << " " << attribute;
    }
    for (const char* messageId : {"BinaryMessage", "IntMessage", "TextMessage"}) {
        auto message = owned(new CarelessMessage);
        message->withAttributes = false;
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
    const std::string prefix = "[Vextoria3Controller] received: ";
    EXPECT_EQ(printed(u"hello", kResultOk), prefix + "hello\n");
    EXPECT_EQ(printed(nullptr, kResultFalse), "");
    EXPECT_LE(printed(std::u16string(400, u'w').c_str(), kResultOk).size(), prefix.size() + 257);
    // Half a surrogate pair reads as U+FFFD; a whole pair as its one character.
    const char16_t halves[] = {u'a', 0xD800, u'b', 0xDC00, 0xD83C, 0xDFB5, 0};
    EXPECT_EQ(printed(halves, kResultOk), prefix + "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xF0\x9F\x8E\xB5\n");
    EXPECT_EQ(controller->receiveText(nullptr), kResultOk);
}

TEST_F(MessagesTest, mod_wheel_and_pitch_bend_map_on_bus_0_with_no_learning_and_a_view_only_for_editor)
{
    // bus, channel, controller number, parameter id (0: not mapped)
    const std::tuple<int32, int16, CtrlNumber, ParamID> cases[] = {
        {0, 0, kCtrlModWheel, 35}, {0, 15, 1, 35}, {0, 3, kPitchBend, 34}, {0, 0, 129, 34}, {1, 0, 1, 0},
        {0, 0, 7, 0}, {0, 0, 0, 0}, {-1, 0, 1, 0}, {0, 0, kAfterTouch, 0},
    };
    for (auto [bus, channel, number, expected] : cases) {
        ParamID id = 0;
        EXPECT_EQ(controller->getMidiControllerAssignment(bus, channel, number, id), expected ? kResultOk : kResultFalse);
        EXPECT_EQ(id, expected) << "bus " << bus << " controller " << number;
    }
    EXPECT_EQ(controller->onLiveMIDIControllerInput(0, 0, 1), kResultFalse);
    FUnknown* asked = controller->unknownCast();
    EXPECT_TRUE(FUnknownPtr<IMidiMapping>(asked) && FUnknownPtr<IUnitInfo>(asked));
    EXPECT_FALSE(FUnknownPtr<IMidiLearn>(asked)) << "no MIDI learning";
    for (const char* name : {"Editor", "editor ", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(controller->createView(name), nullptr) << (name ? name : "null");
    EXPECT_TRUE(owned(controller->createView("editor")));
}

} // namespace
} // namespace ControllerTest
