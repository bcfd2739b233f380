#include "ControllerHarness.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "dsp/ProgramChunk.h"

namespace ControllerTest {

tresult PLUGIN_API RecordingComponentHandler::restartComponent(int32 flags)
{
    restarts.push_back(flags);
    return kResultOk;
}

namespace {

// Answers FUnknown and the one interface a stand-in implements.
template <typename Interface>
tresult answerOnly(Interface* self, const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Interface::iid)) {
        *obj = self;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace

tresult PLUGIN_API RecordingComponentHandler::queryInterface(const TUID iid, void** obj)
{
    return answerOnly<IComponentHandler>(this, iid, obj);
}

tresult PLUGIN_API RecordingPeer::notify(IMessage* message)
{
    Received entry;
    entry.messageId = message->getMessageID() ? message->getMessageID() : "";
    const void* data = nullptr;
    uint32 size = 0;
    if (message->getAttributes()->getBinary("synchiddenparam", data, size) == kResultOk)
        entry.hiddenValues.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    received.push_back(entry);
    return kResultOk;
}

tresult PLUGIN_API RecordingPeer::queryInterface(const TUID iid, void** obj)
{
    return answerOnly<IConnectionPoint>(this, iid, obj);
}

void RecordingEditor::processOscilloscope(const int8_t* data, int32_t count, int32_t offset)
{
    EXPECT_EQ(offset, 0);
    scopeCalls.emplace_back(data, data + count);
}

void RecordingEditor::processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count)
{
    noteCalls.emplace_back(notes, notes + count);
}

bool RecordingEditor::setHiddenParameter(int32_t index, double value)
{
    hiddenCalls.push_back({index, value});
    return true;
}

void ControllerFixture::SetUp()
{
    if (const char* current = std::getenv("HOME")) {
        hadHome = true;
        previousHome = current;
    }
    std::string pattern = std::string(VEXTORIA_TEST_OUTPUT) + "/controller-home-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    home = pattern;
    setenv("HOME", home.c_str(), 1);
    initialise();
}

void ControllerFixture::TearDown()
{
    if (controller) {
        controller->terminate();
        controller = nullptr;
    }
    if (hadHome)
        setenv("HOME", previousHome.c_str(), 1);
    else
        unsetenv("HOME");
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
}

void ControllerFixture::initialise()
{
    if (controller)
        controller->terminate();
    controller = owned(new Vextoria3Controller);
    ASSERT_EQ(controller->initialize(&host), kResultOk);
    controller->setComponentHandler(&handler);
    controller->connect(&peer);
}

void ControllerFixture::writeSettings(const std::string& text) const
{
    const std::string folder = home + "/.harlowmint";
    mkdir(folder.c_str(), 0775);
    mkdir((folder + "/Vextoria3").c_str(), 0775);
    std::ofstream(folder + "/Vextoria3/Vextoria3.conf") << text;
}

IPtr<IMessage> ControllerFixture::makeMessage(const char* messageId)
{
    IMessage* message = nullptr;
    TUID iid;
    IMessage::iid.toTUID(iid);
    host.createInstance(iid, iid, reinterpret_cast<void**>(&message));
    auto owner = owned(message);
    if (owner && messageId)
        owner->setMessageID(messageId);
    return owner;
}

IPtr<MemoryStream> streamOf(const std::vector<uint8_t>& bytes)
{
    auto stream = owned(new MemoryStream);
    int32 written = 0;
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

std::vector<uint8_t> bytesOf(MemoryStream& stream)
{
    const auto* data = reinterpret_cast<const uint8_t*>(stream.getData());
    return std::vector<uint8_t>(data, data + stream.getSize());
}

std::vector<uint8_t> programRecord(int32_t paramCount, const std::vector<double>& params,
                                   int32_t hiddenCount, const std::vector<double>& hidden)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, 1);
    insert_int(bytes, paramCount);
    for (double value : params)
        insert_double(bytes, value);
    insert_int(bytes, hiddenCount);
    for (double value : hidden)
        insert_double(bytes, value);
    return bytes;
}

std::vector<uint8_t> controllerState(uint64_t marker, const std::vector<double>& values)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, static_cast<int32_t>(marker & 0xFFFFFFFFu));
    insert_int(bytes, static_cast<int32_t>(marker >> 32));
    for (double value : values)
        insert_double(bytes, value);
    return bytes;
}

std::vector<double> hiddenValues(Vextoria3Controller& controller)
{
    std::vector<double> values;
    for (int32_t index = 0; index < HiddenParameters::count; ++index)
        values.push_back(controller.getHiddenParameters().getParamValue(index));
    return values;
}

std::string narrow(const TChar* text)
{
    std::string result;
    for (; text && *text; ++text)
        result += *text < 0x80 ? static_cast<char>(*text) : '?';
    return result;
}

std::string valueText(Vextoria3Controller& controller, ParamID id, ParamValue value)
{
    String128 text {};
    EXPECT_EQ(controller.getParamStringByValue(id, value, text), kResultOk) << "id " << id;
    return narrow(text);
}

} // namespace ControllerTest
