#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// One logged note event; also the wire format of the "MidiNote" message.
struct MidiNoteRecord
{
    int32_t type = 0;         // 1 note on, 2 note off
    int32_t pitch = 0;        // 0..127
    int32_t sampleOffset = 0; // samples into its block
    int32_t velocity = 0;     // 0..127
};
static_assert(sizeof(MidiNoteRecord) == 16, "MidiNoteRecord is a 16-byte wire record");

// Notes logged on the audio thread and drained on the UI thread.
// Single producer, single consumer: the producer owns `written`, the consumer owns
// `drained`, so no index is written by both sides. More than kCapacity notes between
// two drains overwrite the oldest ones; a drain hands out the newest kCapacity at most.
// Each slot is one atomic word holding a whole record and the low bits of its number, so
// a slot the producer reuses while the consumer copies it is never torn: the copy sees the
// number of the newer record and drops it as stale.
class MidiEventRing
{
public:
    static constexpr int32_t kCapacity = 128;
    enum Type : int32_t { kNoteOn = 1, kNoteOff = 2 };

    // audio thread; pitch and velocity 0..127 (only their low 7 bits are kept)
    void addNoteOn(int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept;
    void addNoteOff(int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept;
    // audio thread, after a block's events: raises the note flag when anything is pending
    void endBlock() noexcept;

    // UI thread: whether notes arrived since the last drain was flagged
    bool hasNotes() const noexcept { return noteFlag.load(std::memory_order_acquire); }
    void clearFlag() noexcept { noteFlag.store(false, std::memory_order_release); }
    // UI thread: copies the pending records (oldest first) into out, returns their count
    int32_t drain(std::array<MidiNoteRecord, kCapacity>& out) noexcept;

private:
    void append(int32_t type, int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept;

    std::array<std::atomic<uint64_t>, kCapacity> slots{}; // packed records, see MidiEventRing.cpp
    std::atomic<uint64_t> written{0}; // audio thread: records appended so far
    std::atomic<uint64_t> drained{0}; // UI thread: records handed out so far
    std::atomic<bool> noteFlag{false};
};
