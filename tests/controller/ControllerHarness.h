#pragma once
// Recording stand-ins for the host, the processor and the editor, and a controller a host initialised.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <poll.h>

#include "public.sdk/source/common/memorystream.h"

#include "controller/Vextoria3Controller.h"
#include "dsp/MidiEventRing.h"
#include "dsp/ProgramChunk.h"
#include "dsp/ScopedHome.h"
#include "support/SafeHostMessage.h"

namespace ControllerTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

// The host's side of the edits: "begin 23", "perform 23 0.500", "end 23", in order; and the restarts asked for.
class EditRecorder : public StandIn<IComponentHandler> {
public:
    tresult PLUGIN_API beginEdit(ParamID id) override { return log("begin %u", id, 0); }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue v) override { return log("perform %u %.3f", id, v); }
    tresult PLUGIN_API endEdit(ParamID id) override { return log("end %u", id, 0); }
    tresult PLUGIN_API restartComponent(int32 flags) override { return restarts.push_back(flags), kResultOk; }
    tresult log(const char* format, ParamID id, double value)
    {
        char text[48];
        std::snprintf(text, sizeof text, format, unsigned(id), value);
        edits.push_back(text);
        return kResultOk;
    }
    std::vector<std::string> edits;
    std::vector<int32> restarts;
};
using RecordingComponentHandler = EditRecorder;

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
    bool setHiddenParameter(int32_t i, double value) override { return hiddenCalls.push_back({i, value}), true; }
    FUnknown* hostFrame() const override { return frame; }
    FUnknown* frame = nullptr; // where a host may offer its run loop
    std::vector<std::vector<int8_t>> scopeCalls;
    std::vector<std::vector<MidiNoteRecord>> noteCalls;
    std::vector<std::pair<int32_t, double>> hiddenCalls; // index, value
};

// The host's run loop on poll(): keeps each handler only while registered, calls it without a reference.
class FakeHostRunLoop : public StandIn<Linux::IRunLoop> {
public:
    using Event = Linux::IEventHandler;
    using Timer = Linux::ITimerHandler;
    tresult PLUGIN_API registerEventHandler(Event* handler, int fd) override { return add({handler, nullptr, fd}); }
    tresult PLUGIN_API unregisterEventHandler(Event* handler) override { return remove(handler, "event"); }
    tresult PLUGIN_API registerTimer(Timer* handler, uint64 interval) override
    {
        return intervals.push_back(interval), add({nullptr, handler, -1});
    }
    tresult PLUGIN_API unregisterTimer(Timer* handler) override { return remove(handler, "timer"); }

    // Every timer once, and with `events` each handler ready within `timeoutMs`, while still registered.
    void runOnce(int timeoutMs, bool events = true)
    {
        std::vector<pollfd> fds;
        for (const Entry& e : entries)
            if (e.event && events)
                fds.push_back({e.fd, POLLIN, 0});
        poll(fds.data(), fds.size(), timeoutMs);
        std::vector<FUnknown*> ready;
        for (const Entry& e : entries)
            if (e.timer || std::any_of(fds.begin(), fds.end(), [&](auto& p) { return p.fd == e.fd && p.revents; }))
                ready.push_back(e.handler());
        for (FUnknown* handler : ready)
            if (auto it = find(handler); it != entries.end())
                it->timer ? it->timer->onTimer() : it->event->onFDIsSet(it->fd);
    }
    template <typename Done>
    bool runUntil(Done done, int limitMs = 3000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (!done() && std::chrono::steady_clock::now() < end)
            runOnce(5);
        return done();
    }
    void fireTimers() { runOnce(0, false); } // every registered timer once, as a tick would
    size_t count(bool timers) const
    {
        return size_t(std::count_if(entries.begin(), entries.end(), [timers](const Entry& e) { return bool(e.timer) == timers; }));
    }
    bool refuse = false;            // every registration fails
    std::vector<std::string> calls; // "event", "timer" for each unregistration that found its handler
    std::vector<uint64> intervals;  // of each timer offered, in milliseconds

private:
    struct Entry {
        IPtr<Linux::IEventHandler> event; // one of the two, referenced while registered
        IPtr<Linux::ITimerHandler> timer;
        int fd;
        FUnknown* handler() const { return event ? static_cast<FUnknown*>(event.get()) : timer.get(); }
    };
    tresult add(Entry entry)
    {
        if (refuse || !entry.handler())
            return kResultFalse;
        entries.push_back(std::move(entry));
        return kResultOk;
    }
    std::vector<Entry>::iterator find(FUnknown* handler)
    {
        return std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.handler() == handler; });
    }
    tresult remove(FUnknown* handler, const char* kind)
    {
        auto it = find(handler);
        if (it == entries.end())
            return kInvalidArgument;
        entries.erase(it); // drops the host's reference at once, as a plain host would
        calls.push_back(kind);
        return kResultOk;
    }
    std::vector<Entry> entries;
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
    std::string settingsFile() const { return home.settingsFolder() + "/Vextoria3.conf"; }
    void writeSettings(const std::string& text) const
    {
        std::filesystem::create_directories(home.settingsFolder());
        std::ofstream(settingsFile()) << text;
    }
    std::string settingsText() const
    {
        std::ifstream file(settingsFile());
        return std::string(std::istreambuf_iterator<char>(file), {});
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
    EditRecorder handler;
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
