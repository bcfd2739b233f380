#include "MidiEventRing.h"

namespace {

// A slot's word, from the low bits up: sample offset (32), pitch (7), velocity (7), type (2),
// and the low 16 bits of the record's number. A slot holds only numbers 128 apart, so a
// number seen there is ambiguous only after 512 laps of the ring during one drain.
constexpr uint64_t kSevenBits = 0x7F;
constexpr uint64_t kTypeBits = 0x3;
constexpr uint64_t kNumberBits = 0xFFFF;

uint64_t pack(uint64_t number, int32_t type, int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept
{
    return static_cast<uint32_t>(sampleOffset) | (static_cast<uint64_t>(pitch) & kSevenBits) << 32
           | (static_cast<uint64_t>(velocity) & kSevenBits) << 39 | (static_cast<uint64_t>(type) & kTypeBits) << 46
           | (number & kNumberBits) << 48;
}

bool holdsNumber(uint64_t word, uint64_t number) noexcept
{
    return word >> 48 == (number & kNumberBits);
}

MidiNoteRecord unpack(uint64_t word) noexcept
{
    return {static_cast<int32_t>(word >> 46 & kTypeBits), static_cast<int32_t>(word >> 32 & kSevenBits),
            static_cast<int32_t>(static_cast<uint32_t>(word)), static_cast<int32_t>(word >> 39 & kSevenBits)};
}

} // namespace

void MidiEventRing::append(int32_t type, int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept
{
    const uint64_t number = written.load(std::memory_order_relaxed);
    slots[number % kCapacity].store(pack(number, type, pitch, velocity, sampleOffset), std::memory_order_relaxed);
    written.store(number + 1, std::memory_order_release);
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
    int32_t count = 0;
    for (uint64_t number = begin; number < end; ++number) {
        // A slot already reused for a newer record holds another number: that record is gone.
        const uint64_t word = slots[number % kCapacity].load(std::memory_order_relaxed);
        if (holdsNumber(word, number))
            out[static_cast<size_t>(count++)] = unpack(word);
    }
    drained.store(end, std::memory_order_release);
    return count;
}
