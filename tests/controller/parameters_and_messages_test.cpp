// The texts of the parameters' values and the values of texts, what a host should never send,
// the messages from the processor, the MIDI mapping and the view.
#include "ControllerHarness.h"

#include <cstring>
#include <limits>

namespace ControllerTest {
namespace {

using ParametersTest = ControllerFixture;
using MessagesTest = ControllerFixture;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();
const double kRefused = -1;

TEST_F(ParametersTest, values_show_the_text_of_their_class_and_texts_convert_back_only_within_range)
{
    const std::tuple<ParamID, double, const char*> texts[] = {
        // slice size by trunc(2v) unclamped, the first with its trailing blank; others have none
        {7, 0.49, "1 BEAT "}, {7, 0.5, "1/2 BEAT"}, {7, 1.2, "1/4 BEAT"}, {7, -0.4, "1 BEAT "}, {7, kNaN, ""},
        {7, 1.5, ""}, {7, -0.5, ""}, {7, kInfinity, ""},
        // four decimals, Off up to one half, lists by min(steps, trunc(v * (steps + 1))); clamped, NaN as 0
        {1, 0.12345, "0.1235"}, {37, 0.5, "Off"}, {37, 0.51, "On"}, {16, 0.19, "Reverb"}, {16, 0.2, "BitCrush"},
        {36, 1.0, "Golden Gate"}, {9, 0.99, "12"}, {1, kNaN, "0.0000"}, {1, -kInfinity, "0.0000"},
        {16, 3.0, "Random"}, {9, kNaN, "0"},
    };
    for (auto [id, value, expected] : texts) {
        String128 text {};
        EXPECT_EQ(controller->getParamStringByValue(id, value, text), kResultOk) << id << " " << value;
        EXPECT_EQ(narrow(text), expected) << "id " << id << " value " << value;
    }
    const std::tuple<ParamID, const char16_t*, double> values[] = {
        // numbers for plain parameters with blanks around them, list entries exactly, whole semitones
        {1, u" 0.25  ", 0.25}, {1, u"+0.5", 0.5}, {16, u"Pitch FX", 0.75}, {9, u"3.0", 0.25}, {1, u"0.5x", kRefused},
        {1, u"   ", kRefused}, {1, u"1.5", kRefused}, {1, u"-0.1", kRefused}, {1, u"nan", kRefused},
        {1, u"inf", kRefused}, {1, u"0,5", kRefused}, {37, u"On", kRefused}, {7, u"1/2 BEAT", kRefused},
        {16, u"Pitch FX ", kRefused}, {16, u"3", kRefused}, {9, u"13", kRefused}, {9, u"6.5", kRefused},
        {1, nullptr, kRefused}, {16, nullptr, kRefused},
    };
    for (auto [id, text, expected] : values) {
        std::u16string writable(text ? text : u"");
        ParamValue value = kRefused; // a refusal leaves it as it was
        const tresult result = controller->getParamValueByString(id, text ? writable.data() : nullptr, value);
        EXPECT_EQ(result, expected == kRefused ? kResultFalse : kResultOk) << id << " '" << narrow(text) << "'";
        EXPECT_DOUBLE_EQ(value, expected) << id << " '" << narrow(text) << "'";
    }
    ParamValue value = 0;
    EXPECT_EQ(controller->getParamValueByString(1, std::u16string(5000, u'1').data(), value), kResultFalse);
}

TEST_F(ParametersTest, ids_indexes_and_values_a_host_should_never_send_are_refused)
{
    ParameterInfo info {};
    UnitInfo unit {};
    ProgramListInfo list {};
    String128 text {u'x', 0};
    for (int32 index : {-1, 37})
        EXPECT_EQ(controller->getParameterInfo(index, info), kResultFalse) << index;
    EXPECT_EQ(controller->getUnitInfo(1, unit), kResultFalse);
    EXPECT_EQ(controller->getProgramListInfo(1, list), kResultFalse);
    EXPECT_EQ(controller->getProgramName(36, 16, text), kResultFalse);
    for (ParamID id : {12u, 38u}) { // 12 is retired
        ParamValue value = kRefused;
        TChar number[] = u"0.5";
        EXPECT_EQ(controller->getParameterInfoByTag(id, info), kResultFalse) << id;
        EXPECT_EQ(controller->getParamStringByValue(id, 0.5, text), kResultFalse) << id;
        EXPECT_EQ(controller->getParamValueByString(id, number, value), kResultFalse) << id;
        EXPECT_EQ(controller->setParamNormalized(id, 0.5), kResultFalse) << id;
        EXPECT_EQ(controller->getParamNormalized(id), 0.0) << id;
    }
    EXPECT_EQ(text[0], u'x') << "untouched";
    EXPECT_EQ(controller->getParamStringByValue(1, 0.5, nullptr), kInvalidArgument);

    // Stored values are clamped; values that are not finite are refused.
    EXPECT_EQ(controller->setParamNormalized(1, 1.7), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 1.0);
    for (double bad : {kNaN, kInfinity, -kInfinity})
        for (ParamID id : {6u, 36u})
            EXPECT_EQ(controller->setParamNormalized(id, bad), kResultFalse) << id << " " << bad;
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(6), 0.5);
    EXPECT_EQ(controller->getCurrentProgram(), 0);
    EXPECT_TRUE(handler.restarts.empty());
}

// A careless peer's message: no attribute list, or one whose attributes have a size but no data.
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
    auto send = [&](const char* attribute, size_t size, size_t skip = 0) {
        auto message = makeMessage("BinaryMessage");
        message->getAttributes()->setBinary(attribute, bytes.data() + skip, static_cast<uint32>(size));
        EXPECT_EQ(controller->notify(message), kResultOk) << attribute << " " << size;
    };
    for (auto [open, registered] : {std::pair {false, true}, {true, false}}) {
        editor.open = open;
        controller->setEditor(registered ? &editor : nullptr);
        send("AudioData", 32);
        send("MidiNote", 32);
    }
    EXPECT_TRUE(editor.scopeCalls.empty() && editor.noteCalls.empty()) << "a closed or unregistered editor";
    editor.open = true;
    controller->setEditor(&editor);
    for (auto [sent, delivered] : {std::pair<size_t, size_t> {0, 0}, {1, 1}, {16384, 16384}, {20000, 16384}}) {
        send("AudioData", sent);
        EXPECT_EQ(editor.scopeCalls.back(), std::vector<int8_t>(bytes.begin(), bytes.begin() + delivered)) << sent;
    }
    // Records at an odd address and a stray partial record; then more than the ring holds.
    const MidiNoteRecord notes[] = {{1, 36, 5, 100}, {1, 38, 9, 90}, {2, 36, 12, 0}};
    std::memcpy(bytes.data() + 1, notes, sizeof(notes));
    send("MidiNote", sizeof(notes) + 5, 1);
    ASSERT_EQ(editor.noteCalls.at(0).size(), 3u);
    EXPECT_EQ(std::tuple(editor.noteCalls[0][1].pitch, editor.noteCalls[0][2].type, editor.noteCalls[0][2].sampleOffset),
              std::tuple(38, 2, 12));
    send("MidiNote", 200 * sizeof(MidiNoteRecord));
    EXPECT_EQ(editor.noteCalls.at(1).size(), static_cast<size_t>(MidiEventRing::kCapacity));
}

TEST_F(MessagesTest, messages_nobody_handles_get_false_and_change_nothing)
{
    // The id names the attribute's type.
    const std::pair<const char*, const char*> cases[] = {
        {"BinaryMessage", "somethingElse"}, {"IntMessage", "askpresonus"}, {"IntMessage", "AudioData"},
        {"BinaryMessage", "copyhiddenparam"}, {"BinaryMessageX", "AudioData"}, {nullptr, "AudioData"},
    };
    controller->setEditor(&editor);
    for (auto [messageId, attribute] : cases) {
        auto message = makeMessage(messageId);
        message->getAttributes()->setInt(attribute, 1);
        EXPECT_EQ(controller->notify(message), kResultFalse) << (messageId ? messageId : "no id") << " " << attribute;
    }
    for (bool withAttributes : {false, true}) {
        auto message = owned(new CarelessMessage);
        message->withAttributes = withAttributes;
        message->setMessageID("BinaryMessage");
        EXPECT_EQ(controller->notify(message), kResultFalse) << (withAttributes ? "a size without data" : "no list");
    }
    EXPECT_TRUE(peer.received.empty() && editor.scopeCalls.empty() && editor.noteCalls.empty());
    EXPECT_EQ(controller->notify(nullptr), kInvalidArgument);
}

TEST_F(MessagesTest, text_messages_are_printed_on_standard_error_cut_to_a_line)
{
    auto printed = [&](const char16_t* text) {
        auto message = makeMessage("TextMessage");
        message->getAttributes()->setString("Text", text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(controller->notify(message), kResultOk);
        return testing::internal::GetCapturedStderr();
    };
    const std::string prefix = "[Vextoria3Controller] received: ";
    EXPECT_LE(printed(std::u16string(400, u'w').c_str()).size(), prefix.size() + 257);
    // Half a surrogate pair reads as U+FFFD; a whole pair as its one character.
    const char16_t halves[] = {u'a', 0xD800, u'b', 0xDC00, 0xD83C, 0xDFB5, 0};
    EXPECT_EQ(printed(halves), prefix + "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xF0\x9F\x8E\xB5\n");
    EXPECT_EQ(controller->notify(makeMessage("TextMessage")), kResultFalse) << "no text";
    EXPECT_EQ(controller->receiveText(nullptr), kResultOk);
}

TEST_F(MessagesTest, mod_wheel_and_pitch_bend_map_on_bus_0_with_no_learning_and_a_view_only_for_editor)
{
    // bus, channel, controller number, parameter id (0: not mapped)
    const std::tuple<int32, int16, CtrlNumber, ParamID> cases[] = {
        {0, 0, kCtrlModWheel, 35}, {0, 15, 1, 35}, {0, 3, kPitchBend, 34}, {1, 0, 1, 0}, {0, 0, 7, 0}, {-1, 0, 1, 0},
    };
    for (auto [bus, channel, number, expected] : cases) {
        ParamID id = 0;
        EXPECT_EQ(controller->getMidiControllerAssignment(bus, channel, number, id), expected ? kResultOk : kResultFalse);
        EXPECT_EQ(id, expected) << "bus " << bus << " controller " << number;
    }
    EXPECT_EQ(controller->onLiveMIDIControllerInput(0, 0, 1), kResultFalse);
    EXPECT_FALSE(FUnknownPtr<IMidiLearn>(controller->unknownCast())) << "no MIDI learning";
    for (const char* name : {"Editor", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(controller->createView(name), nullptr) << (name ? name : "null");
    EXPECT_TRUE(owned(controller->createView("editor")));
}

} // namespace
} // namespace ControllerTest
