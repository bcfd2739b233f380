#include "ChunkMailbox.h"

#include <thread>

namespace {
constexpr int32_t kPostAttempts = 10000; // the audio thread holds the slot for one record only
} // namespace

bool ChunkMailbox::acquireForUi(State& previous) noexcept
{
    for (int32_t attempt = 0; attempt < kPostAttempts; ++attempt) {
        for (int32_t expected : {int32_t(kEmpty), int32_t(kFull)}) {
            if (state.compare_exchange_strong(expected, kUiBusy, std::memory_order_acquire)) {
                previous = static_cast<State>(expected);
                return true;
            }
        }
        std::this_thread::yield(); // only the UI thread ever waits here
    }
    return false;
}

bool ChunkMailbox::post(const ProgramRecord& record) noexcept
{
    State previous = kEmpty;
    if (!acquireForUi(previous))
        return false;
    slot = record;
    state.store(kFull, std::memory_order_release);
    return true;
}

bool ChunkMailbox::peek(ProgramRecord& record) noexcept
{
    State previous = kEmpty;
    if (!acquireForUi(previous))
        return false;
    if (previous == kFull)
        record = slot;
    state.store(previous, std::memory_order_release);
    return previous == kFull;
}
