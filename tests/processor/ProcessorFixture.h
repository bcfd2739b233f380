#pragma once
// A processor set up the way a host does it, plus record and stream helpers for its tests.

#include "dsp/ProgramChunk.h"
#include "dsp/Vextoria3FX.h"
#include "host/ProcessData.h"
#include "processor/Vextoria3.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

#include <vector>

namespace ProcessorTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

using Bytes = std::vector<uint8_t>;

inline IPtr<MemoryStream> streamOf(const Bytes& bytes)
{
    auto stream = owned(new MemoryStream());
    if (!bytes.empty())
        stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

// A record with the given counts; values follow a pattern so that every slot differs.
inline Bytes makeRecord(int32 paramCount, int32 hiddenCount, double (*param)(int32), double (*hidden)(int32))
{
    Bytes bytes;
    insert_int(bytes, 1);
    insert_int(bytes, paramCount);
    for (int32 id = 0; id < paramCount; ++id)
        insert_double(bytes, param(id));
    insert_int(bytes, hiddenCount);
    for (int32 index = 0; index < hiddenCount; ++index)
        insert_double(bytes, hidden(index));
    return bytes;
}

inline double readDouble(const Bytes& bytes, size_t offset)
{
    double value = 0.0;
    std::memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

inline int32 readInt(const Bytes& bytes, size_t offset)
{
    int32 value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

// The host side a processor needs to send messages: it makes message objects and nothing else.
class MessageHost : public IHostApplication
{
public:
    tresult PLUGIN_API getName(String128 name) override
    {
        name[0] = 0;
        return kResultOk;
    }
    tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) override
    {
        if (!FUnknownPrivate::iidEqual(cid, IMessage::iid) || !FUnknownPrivate::iidEqual(iid, IMessage::iid))
        {
            *obj = nullptr;
            return kResultFalse;
        }
        *obj = static_cast<IMessage*>(new HostMessage());
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (FUnknownPrivate::iidEqual(iid, IHostApplication::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
        {
            *obj = this;
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; } // lives as long as the test
    uint32 PLUGIN_API release() override { return 1; }
};

// The processor after initialize and setupProcessing; activation is up to the test.
class ProcessorFixture : public ::testing::Test
{
protected:
    static constexpr int32 kMaxBlock = 256;
    static constexpr double kSampleRate = 44100.0;

    void SetUp() override
    {
        ASSERT_EQ(processor->initialize(&host), kResultOk);
        ProcessSetup setup {kRealtime, kSample32, kMaxBlock, kSampleRate};
        ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    }

    void TearDown() override
    {
        processor->setActive(false);
        processor->terminate();
    }

    Bytes state()
    {
        auto stream = owned(new MemoryStream());
        EXPECT_EQ(processor->getState(stream), kResultOk);
        int64 size = 0;
        stream->tell(&size);
        Bytes bytes(static_cast<size_t>(size));
        stream->seek(0, IBStream::kIBSeekSet, nullptr);
        stream->read(bytes.data(), static_cast<int32>(size), nullptr);
        return bytes;
    }

    tresult restore(const Bytes& bytes) { return processor->setState(streamOf(bytes)); }

    const Vextoria3FX& dsp() const { return processor->dsp(); }

    MessageHost host;
    IPtr<Vextoria3> processor = owned(new Vextoria3());
};

} // namespace ProcessorTest
