#pragma once
#include <cstdint>
#include <memory>

// One channel of recorded audio in a ring of 2^23 samples. Every index is masked
// into the ring, so negative or old positions wrap instead of failing. The ring takes
// memory a page at a time as it is first written; until then it reads as silence.
class AudioBuffer {
public:
    static constexpr uint32_t size = 1u << 23; // samples
    static constexpr uint32_t mask = size - 1;

    AudioBuffer(); // set-up: reserves the ring (throws std::bad_alloc when it cannot)
    AudioBuffer(const AudioBuffer&) = delete;
    AudioBuffer& operator=(const AudioBuffer&) = delete;

    // Audio thread: stores x and advances; writeIndex then runs from 1 to 2^23.
    void write(float x) noexcept
    {
        const uint32_t i = writeIndex & mask;
        data[i] = x;
        writeIndex = i + 1;
    }
    // Audio thread: advances as count writes would, leaving the samples as they were.
    void skip(uint32_t count) noexcept
    {
        if (count > 0)
            writeIndex = ((writeIndex + count - 1) & mask) + 1;
    }

    // Any index, negative ones included, wraps into the ring.
    float read(int64_t index) const noexcept { return data[static_cast<uint64_t>(index) & mask]; }
    float read() const noexcept { return read(static_cast<int64_t>(readPos)); }

    // Copies count samples from the source, starting at its index start (wrapping).
    void copyRange(const AudioBuffer& source, int64_t start, uint32_t count) noexcept;
    // Whole-ring copy, indexes included (64 MiB of traffic per stereo pair: not for
    // one audio block).
    void copy(const AudioBuffer& source) noexcept;

    uint32_t getWriteIndex() const noexcept { return writeIndex; }

private:
    struct PageRelease {
        void operator()(float* pages) const noexcept;
    };

    std::unique_ptr<float[], PageRelease> data; // size samples
    uint32_t writeIndex = 0;                    // masked index of the last written sample + 1
    double readPos = 0.0;                       // position of the index-free read
};
