#include "ChunkMailbox.h"

#include <thread>

// Waits out the audio thread, which holds the slot only while it applies one record, so the
// UI thread always gets it: no save or post ever fails because the audio thread was
// descheduled at the wrong moment.
ChunkMailbox::State ChunkMailbox::acquireForUi() noexcept
{
    for (;;) {
        for (int32_t expected : {int32_t(kEmpty), int32_t(kFull)})
            if (state.compare_exchange_strong(expected, kUiBusy, std::memory_order_acquire))
                return static_cast<State>(expected);
        std::this_thread::yield(); // only the UI thread ever waits here
    }
}

void ChunkMailbox::post(const ProgramRecord& record) noexcept
{
    acquireForUi();
    slot = record;
    state.store(kFull, std::memory_order_release);
}

bool ChunkMailbox::peek(ProgramRecord& record) noexcept
{
    const State previous = acquireForUi();
    if (previous == kFull)
        record = slot;
    state.store(previous, std::memory_order_release);
    return previous == kFull;
}
