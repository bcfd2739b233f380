#include "host/WavFile.h"

#include "host/HostError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

namespace VextoriaHost {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int64_t kLargestReadableFile = int64_t {1} << 31;  // far beyond any test file

uint16_t readU16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

uint32_t readU32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void appendU16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void appendU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void appendTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

std::string systemError(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// A file descriptor that closes itself.
class OpenFile {
public:
    OpenFile(const std::string& path, int flags) : descriptor(::open(path.c_str(), flags | O_CLOEXEC, 0644)) {}
    ~OpenFile()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const { return descriptor >= 0; }
    bool isRegularFile(int64_t* size = nullptr) const
    {
        struct stat status {};
        if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
            return false;
        if (size)
            *size = status.st_size;
        return true;
    }
    int get() const { return descriptor; }

private:
    int descriptor;
};

// Moves all count bytes with repeated read or write calls, which may each move only part.
template <typename Transfer>
void transferAll(uint8_t* bytes, size_t count, const char* failure, const std::string& path, Transfer transfer)
{
    size_t done = 0;
    while (done < count) {
        const ssize_t moved = transfer(bytes + done, count - done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            throw HostError(systemError(failure, path));
        done += static_cast<size_t>(moved);
    }
}

std::vector<uint8_t> readWholeFile(const std::string& path)
{
    // Non-blocking open: a FIFO must be refused, not waited on.
    OpenFile file(path, O_RDONLY | O_NONBLOCK);
    if (!file.isOpen())
        throw HostError(systemError("cannot open", path));
    int64_t size = 0;
    if (!file.isRegularFile(&size))
        throw HostError(path + " is not a regular file");
    if (size > kLargestReadableFile)
        throw HostError(path + " is too large for a test file");
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    transferAll(bytes.data(), bytes.size(), "cannot read", path,
                [&](uint8_t* at, size_t count) { return ::read(file.get(), at, count); });
    return bytes;
}

struct WavLayout {
    uint16_t format = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    const uint8_t* data = nullptr;
    uint32_t dataBytes = 0;
};

void readFormatChunk(const uint8_t* chunk, uint32_t size, WavLayout& layout, const std::string& path)
{
    if (size < 16)
        throw HostError(path + ": format chunk too short");
    layout.format = readU16(chunk);
    layout.channels = readU16(chunk + 2);
    layout.sampleRate = readU32(chunk + 4);
    layout.blockAlign = readU16(chunk + 12);
    layout.bitsPerSample = readU16(chunk + 14);
    if (layout.format == kFormatExtensible) {
        if (size < 40)
            throw HostError(path + ": extensible format chunk too short");
        layout.format = readU16(chunk + 24);  // the sub-format's leading code
    }
}

WavLayout parseWav(const std::vector<uint8_t>& bytes, const std::string& path)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw HostError(path + " is not a RIFF/WAVE file");
    WavLayout layout;
    bool haveFormat = false;
    size_t position = 12;
    while (bytes.size() - position >= 8) {
        const uint8_t* header = bytes.data() + position;
        const uint32_t chunkSize = readU32(header + 4);
        const size_t available = bytes.size() - position - 8;
        if (chunkSize > available)
            throw HostError(path + ": a chunk claims more bytes than the file holds");
        if (std::memcmp(header, "fmt ", 4) == 0) {
            readFormatChunk(header + 8, chunkSize, layout, path);
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            layout.data = header + 8;
            layout.dataBytes = chunkSize;
        }
        position += 8 + static_cast<size_t>(chunkSize) + (chunkSize & 1u);
        if (position > bytes.size())
            break;  // an odd last chunk may lack its pad byte
    }
    if (!haveFormat || !layout.data)
        throw HostError(path + " lacks a format or data chunk");
    const bool pcm16 = layout.format == kFormatPcm && layout.bitsPerSample == 16;
    const bool float32 = layout.format == kFormatFloat && layout.bitsPerSample == 32;
    if (!pcm16 && !float32)
        throw HostError(path + ": only 16-bit PCM and 32-bit float are read");
    if (layout.channels < 1 || layout.channels > 2)
        throw HostError(path + ": only mono and stereo are read");
    if (layout.blockAlign != layout.channels * layout.bitsPerSample / 8 || layout.sampleRate == 0)
        throw HostError(path + ": inconsistent format chunk");
    return layout;
}

float decodeSample(const uint8_t* bytes, uint16_t format)
{
    if (format == kFormatPcm)
        return static_cast<float>(static_cast<int16_t>(readU16(bytes))) / 32768.f;
    const uint32_t bits = readU32(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void appendSample(std::vector<uint8_t>& out, float sample, WavFormat format)
{
    if (format == WavFormat::float32) {
        uint32_t bits;
        std::memcpy(&bits, &sample, sizeof bits);
        appendU32(out, bits);
        return;
    }
    const float clipped = std::isnan(sample) ? 0.f : std::clamp(sample, -1.f, 1.f);
    const long scaled = std::lround(clipped * 32768.f);
    appendU16(out, static_cast<uint16_t>(static_cast<int16_t>(std::clamp(scaled, -32768L, 32767L))));
}

void writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    // Opened without truncation first, so a device or FIFO is refused before anything is written.
    OpenFile file(path, O_WRONLY | O_CREAT | O_NONBLOCK);
    if (!file.isOpen())
        throw HostError(systemError("cannot write", path));
    if (!file.isRegularFile())
        throw HostError(path + " is not a regular file; nothing written");
    if (::ftruncate(file.get(), 0) != 0)
        throw HostError(systemError("cannot truncate", path));
    transferAll(const_cast<uint8_t*>(bytes.data()), bytes.size(), "cannot write", path,
                [&](uint8_t* at, size_t count) { return ::write(file.get(), at, count); });
}

}  // namespace

AudioClip readWav(const std::string& path)
{
    const std::vector<uint8_t> bytes = readWholeFile(path);
    const WavLayout layout = parseWav(bytes, path);
    const int64_t frames = layout.dataBytes / layout.blockAlign;
    AudioClip clip(layout.channels, frames, layout.sampleRate);
    const uint8_t* frame = layout.data;
    const int bytesPerSample = layout.bitsPerSample / 8;
    for (int64_t i = 0; i < frames; ++i, frame += layout.blockAlign)
        for (int c = 0; c < layout.channels; ++c)
            clip.channels[static_cast<size_t>(c)][static_cast<size_t>(i)] = decodeSample(frame + c * bytesPerSample, layout.format);
    return clip;
}

void writeWav(const std::string& path, const AudioClip& clip, WavFormat format)
{
    const int32_t channels = clip.channelCount();
    if (channels < 1 || channels > 2)
        throw HostError("only mono and stereo are written; nothing written to " + path);
    if (!(clip.sampleRate >= 1.0 && clip.sampleRate <= std::numeric_limits<uint32_t>::max()))
        throw HostError("sample rate out of range; nothing written to " + path);
    const uint16_t bytesPerSample = format == WavFormat::float32 ? 4 : 2;
    const uint16_t blockAlign = static_cast<uint16_t>(channels * bytesPerSample);
    const uint64_t dataBytes = static_cast<uint64_t>(clip.frames()) * blockAlign;
    if (dataBytes > std::numeric_limits<uint32_t>::max() - 44)
        throw HostError("audio too long for a WAVE file; nothing written to " + path);
    const uint32_t sampleRate = static_cast<uint32_t>(std::lround(clip.sampleRate));

    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    appendTag(out, "RIFF");
    appendU32(out, static_cast<uint32_t>(36 + dataBytes));
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendU32(out, 16);
    appendU16(out, format == WavFormat::float32 ? kFormatFloat : kFormatPcm);
    appendU16(out, static_cast<uint16_t>(channels));
    appendU32(out, sampleRate);
    appendU32(out, sampleRate * blockAlign);
    appendU16(out, blockAlign);
    appendU16(out, static_cast<uint16_t>(bytesPerSample * 8));
    appendTag(out, "data");
    appendU32(out, static_cast<uint32_t>(dataBytes));
    for (int64_t i = 0; i < clip.frames(); ++i)
        for (const auto& channel : clip.channels)
            appendSample(out, channel[static_cast<size_t>(i)], format);
    writeWholeFile(path, out);
}

}  // namespace VextoriaHost
