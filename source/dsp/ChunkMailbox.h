#pragma once
#include <atomic>
#include <cstdint>

#include "ProgramChunk.h"

// Hands one program record from the UI thread to the audio thread without locks or
// allocation. The audio thread never waits: if the UI thread holds the slot, the record
// is taken at the next block. The UI thread waits out the audio thread, which holds the
// slot only while applying one record. A newer post replaces a record not yet taken.
class ChunkMailbox {
public:
    void post(const ProgramRecord& record) noexcept; // UI thread
    // Audio thread: hands a waiting record to apply and keeps the slot until it returns,
    // so the UI thread sees the record either waiting or applied. true when one was waiting.
    template <typename Apply>
    bool consume(Apply&& apply) noexcept
    {
        int32_t expected = kFull;
        if (!state.compare_exchange_strong(expected, kAudioBusy, std::memory_order_acquire))
            return false; // empty, or the UI thread holds it: taken at the next block
        apply(static_cast<const ProgramRecord&>(slot));
        state.store(kEmpty, std::memory_order_release);
        return true;
    }
    bool peek(ProgramRecord& record) noexcept;       // UI thread; copies a waiting record
    // UI thread: lets edit change a waiting record in place; false when none waits.
    template <typename Edit>
    bool editWaiting(Edit&& edit) noexcept
    {
        const State previous = acquireForUi();
        if (previous == kFull)
            edit(slot);
        state.store(previous, std::memory_order_release);
        return previous == kFull;
    }

private:
    enum State : int32_t { kEmpty, kFull, kUiBusy, kAudioBusy };
    State acquireForUi() noexcept; // UI thread; the state it found, kEmpty or kFull

    std::atomic<int32_t> state{kEmpty};
    ProgramRecord slot{};
};
