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
class ShortStream : public MemoryStream
{
public:
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        return MemoryStream::write(buffer, numBytes < 100 ? numBytes : 100, numBytesWritten);
    }
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
    auto full = owned(new ShortStream());
    EXPECT_EQ(writeStreamBytes(*full, bytes), kResultFalse);
}
