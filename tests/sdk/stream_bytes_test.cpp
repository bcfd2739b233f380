#include "sdk/streambytes.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

using namespace Steinberg;

namespace {

IPtr<MemoryStream> streamWith(int32 size)
{
    auto stream = owned(new MemoryStream());
    for (int32 index = 0; index < size; ++index)
    {
        auto byte = static_cast<uint8_t>(index * 7);
        stream->write(&byte, 1, nullptr);
    }
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

// Accepts at most 100 bytes per write and claims success, like a nearly full disk file.
class ShortStream : public IBStream
{
public:
    tresult PLUGIN_API read(void*, int32, int32* numBytesRead) override
    {
        if (numBytesRead)
            *numBytesRead = 0;
        return kResultOk;
    }
    tresult PLUGIN_API write(void*, int32 numBytes, int32* numBytesWritten) override
    {
        if (numBytesWritten)
            *numBytesWritten = numBytes < 100 ? numBytes : 100;
        return kResultOk;
    }
    tresult PLUGIN_API seek(int64, int32, int64*) override { return kNotImplemented; }
    tresult PLUGIN_API tell(int64*) override { return kNotImplemented; }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

} // namespace

TEST(StreamBytes, ReadsFromTheCurrentPositionUpToTheEndOrTheCap)
{
    auto stream = streamWith(10000);
    stream->seek(100, IBStream::kIBSeekSet, nullptr);
    std::vector<uint8_t> bytes;
    readStreamBytes(*stream, 64 * 1024, bytes);
    ASSERT_EQ(bytes.size(), 9900u);
    EXPECT_EQ(bytes[0], static_cast<uint8_t>(100 * 7));
    EXPECT_EQ(bytes.back(), static_cast<uint8_t>(9999 * 7));

    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    readStreamBytes(*stream, 5000, bytes);
    EXPECT_EQ(bytes.size(), 5000u);

    auto empty = streamWith(0);
    readStreamBytes(*empty, 5000, bytes);
    EXPECT_TRUE(bytes.empty());
}

TEST(StreamBytes, WritesEverythingOrReportsFailure)
{
    auto stream = owned(new MemoryStream());
    const std::vector<uint8_t> bytes(372, 0xAB);
    EXPECT_EQ(writeStreamBytes(*stream, bytes), kResultOk);
    int64 end = 0;
    stream->tell(&end);
    EXPECT_EQ(end, 372);

    // A stream that takes fewer bytes than given must not count as written.
    ShortStream full;
    EXPECT_EQ(writeStreamBytes(full, bytes), kResultFalse);
}
