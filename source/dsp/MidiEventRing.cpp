#include "MidiEventRing.h"

void MidiEventRing::append(int32_t type, int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept
{
    const uint64_t index = written.load(std::memory_order_relaxed);
    records[index % kCapacity] = {type, pitch, sampleOffset, velocity};
    written.store(index + 1, std::memory_order_release);
}

void MidiEventRing::addNoteOn(int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept
{
    append(kNoteOn, pitch, velocity, sampleOffset);
}

void MidiEventRing::addNoteOff(int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept
{
    append(kNoteOff, pitch, velocity, sampleOffset);
}

void MidiEventRing::endBlock() noexcept
{
    if (written.load(std::memory_order_relaxed) != drained.load(std::memory_order_acquire))
        noteFlag.store(true, std::memory_order_release);
}

int32_t MidiEventRing::drain(std::array<MidiNoteRecord, kCapacity>& out) noexcept
{
    const uint64_t end = written.load(std::memory_order_acquire);
    uint64_t begin = drained.load(std::memory_order_relaxed);
    if (end - begin > kCapacity)
        begin = end - kCapacity;
    for (uint64_t i = begin; i < end; ++i)
        out[static_cast<size_t>(i - begin)] = records[i % kCapacity];

    // Records the producer overwrote while they were copied are stale: drop them.
    const uint64_t after = written.load(std::memory_order_acquire);
    uint64_t firstValid = begin;
    if (after > kCapacity && after - kCapacity > begin)
        firstValid = after - kCapacity;
    int32_t count = 0;
    if (firstValid < end)
    {
        const auto skip = static_cast<size_t>(firstValid - begin);
        count = static_cast<int32_t>(end - firstValid);
        for (int32_t i = 0; i < count; ++i)
            out[static_cast<size_t>(i)] = out[skip + static_cast<size_t>(i)];
    }
    drained.store(end, std::memory_order_release);
    return count;
}

void MidiEventRing::clear() noexcept
{
    records.fill({});
    written.store(0, std::memory_order_relaxed);
    drained.store(0, std::memory_order_relaxed);
    noteFlag.store(false, std::memory_order_relaxed);
}
