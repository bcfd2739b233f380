#pragma once
// A processor set up the way a host does it, plus record and message helpers for its tests.

#include "LinkMessage.h"
#include "dsp/Vextoria3FX.h"
#include "host/ProcessData.h"
#include "processor/Vextoria3.h"
#include "support/SafeHostMessage.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace ProcessorTest {

using namespace Steinberg;
using namespace Steinberg::Vst;
using VextoriaHost::ProcessBlock;

using Bytes = std::vector<uint8_t>;

template <typename Value>
Value readAt(const Bytes& bytes, size_t offset)
{
    Value value {};
    std::memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

template <typename Value>
void writeAt(Bytes& bytes, size_t offset, Value value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(value));
}

constexpr size_t paramOffset(int32 id) { return 8 + 8 * static_cast<size_t>(id); } // after the two counts

inline Bytes withParam(Bytes record, int32 id, double value)
{
    writeAt(record, paramOffset(id), value);
    return record;
}

inline IPtr<IMessage> intMessage(const char* id, const char* command, int64 value)
{
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID(id);
    message->getAttributes()->setInt(command, value);
    return message;
}

inline IPtr<IMessage> binaryMessage(const char* command, const void* data, uint32 size, const char* id = "BinaryMessage")
{
    auto message = owned(static_cast<IMessage*>(new HostMessage()));
    message->setMessageID(id);
    message->getAttributes()->setBinary(command, data, size);
    return message;
}

// The controller's side: logs each command with its payload size ("askpresonus": its number), keeps the notes.
struct LoggingPeer : StandIn<IConnectionPoint>
{
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override
    {
        const void* data = nullptr;
        uint32 size = 0;
        int64 number = 0;
        if (LinkMessage::readInt(*message, "askpresonus", number))
            log.push_back("askpresonus " + std::to_string(number));
        for (const char* command : {"MidiNote", "AudioData"})
            if (LinkMessage::readBinary(*message, command, data, size))
                log.push_back(std::string(command) + " " + std::to_string(size));
        if (LinkMessage::readBinary(*message, "MidiNote", data, size))
            notes.insert(notes.end(), static_cast<const int32*>(data), static_cast<const int32*>(data) + size / 4);
        return answer;
    }
    tresult answer = kResultFalse; // a controller without a handler for the command
    std::vector<std::string> log;
    std::vector<int32> notes; // type, pitch, sample offset, velocity of each record
};

// The processor after initialize and setupProcessing, its peer connected; activation is the test's.
class ProcessorFixture : public ::testing::Test
{
protected:
    static constexpr int32 kMaxBlock = 256;

    void SetUp() override { prepare(*processor); processor->connect(&peer); }
    void TearDown() override { processor->setActive(false), processor->terminate(); }
    void prepare(Vextoria3& instance)
    {
        ASSERT_EQ(instance.initialize(&host), kResultOk);
        ProcessSetup setup {kRealtime, kSample32, kMaxBlock, 44100.0};
        ASSERT_EQ(instance.setupProcessing(setup), kResultOk);
    }
    tresult run(ProcessBlock& block, int32 frames)
    {
        const tresult result = processor->process(block.prepare(frames));
        block.finish();
        return result;
    }
    Bytes state()
    {
        auto stream = owned(new MemoryStream());
        EXPECT_EQ(processor->getState(stream), kResultOk);
        return Bytes(stream->getData(), stream->getData() + stream->getSize());
    }
    tresult restore(const Bytes& bytes)
    {
        // Reads the bytes where they are, without taking them over.
        return processor->setState(owned(new MemoryStream(const_cast<uint8_t*>(bytes.data()), std::ssize(bytes))));
    }
    void tick() { processor->notify(intMessage("IntMessage", "linuxtimer", 1)); } // the editor idle tick's question
    const Vextoria3FX& dsp() const { return processor->dsp(); }

    MessageHost host;
    LoggingPeer peer; // outlives the processor connected to it
    IPtr<Vextoria3> processor = owned(new Vextoria3());
};

} // namespace ProcessorTest
