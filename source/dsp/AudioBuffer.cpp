#include "AudioBuffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace {
constexpr size_t kBytes = sizeof(float) * AudioBuffer::size;

// Anonymous pages read as zeros and are taken only when first written, so a ring costs
// memory only as far as the recorder has come. Huge pages are declined: their first
// write would clear 2 MiB inside one audio block.
float* reserveZeroedPages()
{
    void* pages = mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        throw std::bad_alloc();
    madvise(pages, kBytes, MADV_NOHUGEPAGE);
    return static_cast<float*>(pages);
}
} // namespace

void AudioBuffer::PageRelease::operator()(float* pages) const noexcept
{
    munmap(pages, kBytes);
}

AudioBuffer::AudioBuffer()
    : data(reserveZeroedPages())
{
}

void AudioBuffer::copyRange(const AudioBuffer& source, int64_t start, uint32_t count) noexcept
{
    count = std::min(count, size);
    auto from = static_cast<uint32_t>(static_cast<uint64_t>(start) & mask);
    while (count > 0) {
        const uint32_t run = std::min(count, size - from); // up to the ring's end
        std::copy_n(source.data.get() + from, run, data.get() + from);
        from = (from + run) & mask;
        count -= run;
    }
}

void AudioBuffer::copy(const AudioBuffer& source) noexcept
{
    copyRange(source, 0, size);
    writeIndex = source.writeIndex;
    readPos = std::trunc(source.readPos);
}
