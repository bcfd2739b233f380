// Parameter texts, bad host calls, messages, MIDI mapping, states, saved defaults and programs.
#include "ControllerHarness.h"

#include "dsp/FactoryBank.h"
#include "dsp/PitchCurves.h"

#include <cstring>
#include <limits>
#include <numeric>

namespace ControllerTest {
namespace {

using ParametersTest = ControllerFixture;
using MessagesTest = ControllerFixture;
using StateTest = ControllerFixture;
using ProgramTest = ControllerFixture;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();
const double kRefused = -1;
const std::vector<double> kHiddenDefaults {0, 0, 0, 1, 0, 0, 0};

TEST_F(ParametersTest, values_show_their_text_midi_maps_to_them_and_bad_host_calls_are_refused)
{
    const std::tuple<ParamID, double, const char*> texts[] = {
        // slice size out of range: no text; lists by min(steps, trunc(v * (steps + 1))); NaN as 0
        {7, kNaN, ""}, {7, 1.5, ""}, {7, -0.5, ""}, {7, kInfinity, ""}, {16, 0.19, "Reverb"},
        {16, 0.2, "BitCrush"}, {16, 3.0, "Random"}, {9, kNaN, "0"}, {1, -kInfinity, "0.0000"},
    };
    for (auto [id, value, expected] : texts) {
        String128 text {};
        EXPECT_EQ(controller->getParamStringByValue(id, value, text), kResultOk) << id << " " << value;
        EXPECT_EQ(narrow(text), expected) << "id " << id << " value " << value;
    }
    // PitchFx Id's text names the curve the DSP plays (int(2v)) and reads back to a value playing it.
    const char* const curveNames[] = {"Scratch", "Tape Stop", "Vibratox"}; // by PitchCurves::Id
    for (double value : {0.0, 0.2, 0.4, 0.49, 0.5, 0.66, 0.7, 0.99, 1.0}) {
        const int32 plays = PitchCurves::idOf(value);
        String128 text {};
        ParamValue readBack = kRefused;
        EXPECT_EQ(plays, value < 0.5 ? 0 : value < 1.0 ? 1 : 2) << value;
        EXPECT_EQ(controller->getParamStringByValue(26, value, text), kResultOk);
        EXPECT_EQ(narrow(text), curveNames[plays]) << value;
        EXPECT_EQ(controller->getParamValueByString(26, text, readBack), kResultOk);
        EXPECT_EQ(PitchCurves::idOf(readBack), plays) << value;
    }
    const std::u16string tooLong(5000, u'1');
    const std::pair<ParamID, const char16_t*> refused[] = {
        {1, u"0.5x"}, {1, u"   "}, {1, u"1.5"}, {1, u"-0.1"}, {1, u"nan"}, {1, u"inf"}, {1, u"0,5"},
        {37, u"On"}, {7, u"1/2 BEAT"}, {16, u"Pitch FX "}, {16, u"3"}, {9, u"13"}, {9, u"6.5"},
        {1, nullptr}, {16, nullptr}, {1, tooLong.c_str()},
    };
    for (auto [id, text] : refused) {
        std::u16string writable(text ? text : u"");
        ParamValue value = kRefused; // a refusal leaves it as it was
        EXPECT_EQ(controller->getParamValueByString(id, text ? writable.data() : nullptr, value),
                  kResultFalse) << id << " '" << narrow(text) << "'";
        EXPECT_EQ(value, kRefused) << id << " '" << narrow(text) << "'";
    }

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

    // bus, channel, controller number, parameter id (0: not mapped)
    const std::tuple<int32, int16, CtrlNumber, ParamID> cases[] = {
        {0, 0, kCtrlModWheel, 35}, {0, 15, 1, 35}, {0, 3, kPitchBend, 34}, {1, 0, 1, 0}, {0, 0, 7, 0}, {-1, 0, 1, 0},
    };
    for (auto [bus, channel, number, expected] : cases) {
        ParamID id = 0;
        EXPECT_EQ(controller->getMidiControllerAssignment(bus, channel, number, id), expected ? kResultOk : kResultFalse);
        EXPECT_EQ(id, expected) << "bus " << bus << " controller " << number;
    }
    for (const char* name : {"Editor", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(controller->createView(name), nullptr) << (name ? name : "null");
}

// A careless peer's message: its attributes have a size but no data.
struct CarelessMessage : HostMessage {
    struct : HostAttributeList {
        tresult PLUGIN_API getBinary(AttrID, const void*& data, uint32& size) override
        {
            data = nullptr;
            size = 16;
            return kResultOk;
        }
    } sizeWithoutData;
    IAttributeList* PLUGIN_API getAttributes() override { return &sizeWithoutData; }
};

TEST_F(MessagesTest, messages_reach_the_editor_cut_to_their_rings_or_get_false_and_change_nothing)
{
    // The id names the attribute's type; "copyhiddenparam" (any number) is answered, then refused.
    const std::pair<const char*, const char*> cases[] = {
        {"BinaryMessage", "somethingElse"}, {"IntMessage", "askpresonus"}, {"IntMessage", "AudioData"},
        {"BinaryMessage", "copyhiddenparam"}, {"BinaryMessageX", "AudioData"}, {nullptr, "AudioData"},
        {"IntMessage", "copyhiddenparam"},
    };
    controller->setEditor(&editor);
    for (auto [messageId, attribute] : cases) {
        auto message = makeMessage(messageId);
        message->getAttributes()->setInt(attribute, 0);
        EXPECT_EQ(controller->notify(message), kResultFalse) << (messageId ? messageId : "no id") << " " << attribute;
    }
    auto careless = owned(new CarelessMessage);
    careless->setMessageID("BinaryMessage");
    EXPECT_EQ(controller->notify(careless), kResultFalse) << "a size without data";
    EXPECT_TRUE(peer.received.size() == 1 && editor.scopeCalls.empty() && editor.noteCalls.empty()) << "hidden values only";
    EXPECT_EQ(controller->notify(nullptr), kInvalidArgument);

    // A text message is printed; half a surrogate pair as U+FFFD, a whole pair as its character.
    auto text = makeMessage("TextMessage");
    const char16_t halves[] = {u'a', 0xD800, u'b', 0xDC00, 0xD83C, 0xDFB5, 0};
    text->getAttributes()->setString("Text", halves);
    testing::internal::CaptureStderr();
    EXPECT_EQ(controller->notify(text), kResultOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Vextoria3Controller] received: a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xF0\x9F\x8E\xB5\n");

    std::vector<uint8_t> bytes(20000);
    std::iota(bytes.begin(), bytes.end(), uint8_t {0});
    auto send = [&](const char* attribute, size_t size, size_t skip = 0) {
        auto message = makeMessage("BinaryMessage");
        message->getAttributes()->setBinary(attribute, bytes.data() + skip, static_cast<uint32>(size));
        EXPECT_EQ(controller->notify(message), kResultOk) << attribute << " " << size;
    };
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

// A stream that takes only so many bytes, like a full disk.
struct FullStream : MemoryStream {
    explicit FullStream(int32 room) : room(room) {}
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        room -= numBytes;
        return room >= 0 ? MemoryStream::write(buffer, numBytes, numBytesWritten) : kResultFalse;
    }
    int32 room;
};

TEST_F(StateTest, states_and_saved_defaults_are_read_value_by_value_or_refused_whole)
{
    // Factory program 0's record: int32 version, int32 38, the values, int32 7, the hidden values.
    std::vector<uint8_t> record(factoryBank(), factoryBank() + kProgramChunkSize);
    auto setParam = [&](int32_t id, double value) { std::memcpy(record.data() + 8 + 8 * id, &value, sizeof value); };
    setParam(1, 0.1); // a GateSize no refused record may set
    std::vector<uint8_t> tooMany = record, tooManyHidden = record, cut(record.begin(), record.end() - 1);
    tooMany[4] = 39;
    tooManyHidden[8 + 8 * 38] = 8;
    for (const std::vector<uint8_t>& refused : {tooMany, tooManyHidden, cut})
        EXPECT_EQ(controller->setComponentState(streamOf(refused)), kResultFalse) << refused.size();
    EXPECT_EQ(controller->setComponentState(nullptr), kResultFalse);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.85);

    // GateSize, Reverse Amt not a number (kept), a program number, Bypass.
    for (auto [id, value] : {std::pair {1, 0.25}, {2, kNaN}, {36, 0.9}, {37, 1.0}})
        setParam(id, value);
    ASSERT_EQ(controller->setComponentState(streamOf(record)), kResultOk);
    for (auto [id, value] : {std::pair {1, 0.25}, {2, 0.4}, {37, 1.0}, {36, 0.0}})
        EXPECT_DOUBLE_EQ(controller->getParamNormalized(id), value) << id;
    EXPECT_EQ(hiddenValues(), kHiddenDefaults) << "hidden values come from the controller state only";

    const std::vector<double> values {0.25, 1.0, 0.5, 0.7, 1.0, 1.0, 0.75};
    EXPECT_EQ(controller->getState(nullptr), kResultFalse);
    for (int32 room : {0, 63}) // a state is written whole or reported as failed
        EXPECT_EQ(controller->getState(owned(new FullStream(room))), kResultFalse);
    auto saved = owned(new FullStream(64));
    ASSERT_EQ(controller->getState(saved), kResultOk);
    const std::vector<uint8_t> written(saved->getData(), saved->getData() + saved->getSize());
    EXPECT_EQ(written, controllerState(1, kHiddenDefaults)) << "a fresh controller's";
    controller->setEditor(&editor);
    for (const std::vector<uint8_t>& bytes : {controllerState(2, values), controllerState(uint64_t(1) << 32, values),
                                              controllerState(1, {0, 1, 1, 0.5}), std::vector<uint8_t> {}})
        EXPECT_EQ(controller->setState(streamOf(bytes)), kResultFalse) << bytes.size() << " bytes";
    EXPECT_EQ(controller->setState(nullptr), kResultFalse);
    EXPECT_EQ(hiddenValues(), kHiddenDefaults);
    EXPECT_TRUE(editor.hiddenCalls.empty());

    // Values out of range are refused one by one and not echoed; the view size is never a state's.
    ASSERT_EQ(controller->setState(streamOf(controllerState(1, {0.75, 0.5, 1.5, kNaN, -0.5, 1, 0.25}))), kResultOk);
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0, 0.5, 0, 1, 0, 1, 0.25}));
    EXPECT_EQ(editor.hiddenCalls, (decltype(editor.hiddenCalls) {{1, 0.5}, {5, 1.0}, {6, 0.25}}));

    // Saved defaults apply only behind an open gate, out-of-range values one by one refused; no FX tab key.
    const std::string keys = "size=0.5\ndarkmode=1\nscopestyle=0.5\nknobspeed=2\nmovetoast=-1\neditfx=1\nfxtab=1\n";
    const std::pair<std::string, std::vector<double>> cases[] = {
        {"[Plugin]\nactive=1.000000\n" + keys, {0.5, 1, 0.5, 1, 0, 1, 0}},
        {"[Plugin]\nactive=0.000000\n" + keys, kHiddenDefaults}, {"[Other]\nactive=1\n" + keys, kHiddenDefaults},
    };
    for (const auto& [file, hidden] : cases) {
        writeSettings(file);
        initialise();
        EXPECT_EQ(hiddenValues(), hidden) << file;
    }
    setenv("HOME", "", 1); // an empty home reads nothing and still initialises
    initialise();
    EXPECT_EQ(hiddenValues(), kHiddenDefaults);
}

TEST_F(ProgramTest, programs_keep_their_edits_and_id_36_restarts_the_host_from_its_run_loop)
{
    FakeHostRunLoop loop;
    editor.frame = &loop;
    controller->setEditor(&editor);
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::size, 0.5);
    controller->getHiddenParameters().setParamValue(HiddenParamIndex::fxtab, 0.5);
    controller->setParamNormalized(1, 0.2);
    controller->setParamNormalized(36, 1.0 / 15.0);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.890625, 1e-6); // GateSize
    EXPECT_EQ(hiddenValues(), (std::vector<double> {0.5, 0, 1, 1, 1, 1, 0.75})) << "size is never a program's";

    controller->setParamNormalized(36, 0.0);
    EXPECT_NEAR(controller->getParamNormalized(1), 0.2, 1e-6);
    EXPECT_DOUBLE_EQ(hiddenValues()[HiddenParamIndex::fxtab], 0.5);
    for (int32 program : {-1, 16}) { // outside the bank: nothing changes
        controller->setProgram(program);
        controller->copyStateToProgram(program);
        EXPECT_EQ(controller->getCurrentProgram(), 0);
        EXPECT_NEAR(controller->getParamNormalized(1), 0.2, 1e-6);
    }
    controller->setPresetName(std::string(300, 'n'));
    std::u16string name(129, u'#'); // one unit past a String128
    ASSERT_EQ(controller->getProgramName(36, 0, name.data()), kResultOk);
    EXPECT_EQ(name, std::u16string(127, u'n') + u'\0' + u'#') << "cut to fit";

    // Id 36 asks the host to re-read, from the plug frame's run loop (never inside the host's call), joined.
    for (auto [value, program] : {std::pair {1.0, 15}, {1.0 / 15.0, 1}, {1.7, 15}, {-0.2, 0}}) {
        EXPECT_EQ(controller->setParamNormalized(36, value), kResultOk);
        EXPECT_EQ(controller->getCurrentProgram(), program) << value;
    }
    EXPECT_TRUE(handler.restarts.empty()) << "nothing inside the host's call";
    ASSERT_EQ(loop.count(true), 1u);
    loop.fireTimers();
    EXPECT_EQ(handler.restarts, std::vector<int32> {kParamValuesChanged});
    EXPECT_EQ(loop.count(true), 0u) << "one shot";
    // A call waiting when the window closes leaves its loop; the host letting go drops it.
    controller->setParamNormalized(36, 0.0);
    controller->setEditor(nullptr);
    EXPECT_EQ(loop.count(true), 0u);
    controller->terminate();
    controller = nullptr;
}

} // namespace
} // namespace ControllerTest
