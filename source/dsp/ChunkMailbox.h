#pragma once
#include <atomic>
#include <cstdint>

#include "ProgramChunk.h"

// Hands one program record from the UI thread to the audio thread without locks or
// allocation. The audio thread never waits: if the UI thread holds the slot, the record
// is taken at the next block. A newer post replaces a record not yet taken.
class ChunkMailbox {
public:
    bool post(const ProgramRecord& record) noexcept; // UI thread; false only if the slot stays busy
    bool take(ProgramRecord& record) noexcept;       // audio thread; true when one was waiting
    bool peek(ProgramRecord& record) noexcept;       // UI thread; copies a waiting record

private:
    enum State : int32_t { kEmpty, kFull, kUiBusy, kAudioBusy };
    bool acquireForUi(State& previous) noexcept;

    std::atomic<int32_t> state{kEmpty};
    ProgramRecord slot{};
};
