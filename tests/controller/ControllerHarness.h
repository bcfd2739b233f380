#pragma once
// Recording stand-ins for the host, the processor and the editor, and a controller a host initialised.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "public.sdk/source/common/memorystream.h"

#include "controller/Vextoria3Controller.h"
#include "dsp/MidiEventRing.h"
#include "dsp/ProgramChunk.h"
#include "dsp/ScopedHome.h"
#include "support/SafeHostMessage.h"

namespace ControllerTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Answers FUnknown and the one interface a stand-in implements; the test owns the stand-ins.
template <typename Interface>
class StandIn : public Interface {
public:
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        const bool known = FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Interface::iid);
        *obj = known ? this : nullptr;
        return known ? kResultOk : kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

// Records the restarts asked for.
class RecordingComponentHandler : public StandIn<IComponentHandler> {
public:
    tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API performEdit(ParamID, ParamValue) override { return kResultOk; }
    tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API restartComponent(int32 flags) override
    {
        restarts.push_back(flags);
        return kResultOk;
    }
    std::vector<int32> restarts;
};

// The processor's side: each message's id, and the command and value of the editor's integers.
class MessageRecorder : public StandIn<IConnectionPoint> {
public:
    struct Received {
        std::string id, command;
        int64 integer = 0;
    };
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override
    {
        const char* id = message->getMessageID();
        Received& entry = received.emplace_back(Received {id ? id : "", ""});
        for (const char* command : {"setslice", "linuxtimer"})
            if (message->getAttributes()->getInt(command, entry.integer) == kResultOk)
                entry.command = command;
        return kResultOk;
    }
    std::vector<int64> slices() const // every "setslice" value, in order
    {
        std::vector<int64> values;
        for (const Received& entry : received)
            if (entry.command == "setslice")
                values.push_back(entry.integer);
        return values;
    }
    std::vector<Received> received;
};

class RecordingEditor : public EditorLink {
public:
    bool isOpen() const override { return true; }
    void processOscilloscope(const int8_t* data, int32_t count, int32_t offset) override
    {
        EXPECT_EQ(offset, 0);
        scopeCalls.emplace_back(data, data + count);
    }
    void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) override
    {
        noteCalls.emplace_back(notes, notes + count);
    }
    bool setHiddenParameter(int32_t index, double value) override
    {
        hiddenCalls.push_back({index, value});
        return true;
    }
    FUnknown* hostFrame() const override { return frame; }
    FUnknown* frame = nullptr; // where a host may offer its run loop
    std::vector<std::vector<int8_t>> scopeCalls;
    std::vector<std::vector<MidiNoteRecord>> noteCalls;
    std::vector<std::pair<int32_t, double>> hiddenCalls; // index, value
};

// A controller a host initialised, HOME at a fresh empty folder: no test reads a user's settings.
class ControllerFixture : public ::testing::Test {
protected:
    void SetUp() override { initialise(); }
    void TearDown() override
    {
        if (controller)
            controller->terminate();
        controller = nullptr;
        std::error_code ignored;
        std::filesystem::remove_all(home.path(), ignored);
    }
    void initialise()
    {
        if (controller)
            controller->terminate();
        controller = owned(new Vextoria3Controller);
        ASSERT_EQ(controller->initialize(&host), kResultOk);
        controller->setComponentHandler(&handler);
        controller->connect(&peer);
    }
    void writeSettings(const std::string& text) const
    {
        std::filesystem::create_directories(home.settingsFolder());
        std::ofstream(home.settingsFolder() + "/Vextoria3.conf") << text;
    }
    // A message as a peer would send it, in a list that holds empty values too.
    static IPtr<IMessage> makeMessage(const char* messageId)
    {
        auto message = owned(static_cast<IMessage*>(new SafeHostMessage));
        message->setMessageID(messageId);
        return message;
    }
    std::vector<double> hiddenValues()
    {
        std::vector<double> values;
        for (int32_t index = 0; index < HiddenParameters::count; ++index)
            values.push_back(controller->getHiddenParameters().getParamValue(index));
        return values;
    }

    ScopedHome home;
    HostApplication host; // the SDK's host object is never freed by reference counting
    IPtr<Vextoria3Controller> controller;
    RecordingComponentHandler handler;
    MessageRecorder peer;
    RecordingEditor editor;
};

inline IPtr<MemoryStream> streamOf(const std::vector<uint8_t>& bytes)
{
    auto stream = owned(new MemoryStream);
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

// The controller's state: a 64-bit marker and the given doubles.
inline std::vector<uint8_t> controllerState(uint64_t marker, const std::vector<double>& values)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, static_cast<int32_t>(marker & 0xFFFFFFFFu));
    insert_int(bytes, static_cast<int32_t>(marker >> 32));
    for (double value : values)
        insert_double(bytes, value);
    return bytes;
}

// ASCII texts of the tests as UTF-8.
inline std::string narrow(const TChar* text)
{
    std::string result;
    for (; text && *text; ++text)
        result += *text < 0x80 ? static_cast<char>(*text) : '?';
    return result;
}

} // namespace ControllerTest
