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
class MidiEventRing
{
public:
    static constexpr int32_t kCapacity = 128;
    enum Type : int32_t { kNoteOn = 1, kNoteOff = 2 };

    // audio thread
    void addNoteOn(int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept;
    void addNoteOff(int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept;
    // audio thread, after a block's events: raises the note flag when anything is pending
    void endBlock() noexcept;

    // UI thread: whether notes arrived since the last drain was flagged
    bool hasNotes() const noexcept { return noteFlag.load(std::memory_order_acquire); }
    void clearFlag() noexcept { noteFlag.store(false, std::memory_order_release); }
    // UI thread: copies the pending records (oldest first) into out, returns their count
    int32_t drain(std::array<MidiNoteRecord, kCapacity>& out) noexcept;

    void clear() noexcept;

private:
    void append(int32_t type, int32_t pitch, int32_t velocity, int32_t sampleOffset) noexcept;

    std::array<MidiNoteRecord, kCapacity> records{};
    std::atomic<uint64_t> written{0}; // audio thread: records appended so far
    std::atomic<uint64_t> drained{0}; // UI thread: records handed out so far
    std::atomic<bool> noteFlag{false};
};
