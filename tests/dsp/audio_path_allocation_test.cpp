// The audio thread allocates nothing: effects, stretched slices, freeze, notes, programs, hand-overs.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "EngineRig.h"

// Counts every allocation (C++ operators included) while a Scope lives; ASan owns these functions.
namespace {
std::atomic<bool> counting{false};
std::atomic<long> count{0};

struct Scope {
    Scope()
    {
        count = 0;
        counting = true;
    }
    ~Scope() { counting = false; }
};

[[maybe_unused]] void* counted(void* memory) noexcept
{
    if (counting.load(std::memory_order_relaxed))
        count.fetch_add(1, std::memory_order_relaxed);
    return memory;
}
} // namespace

#ifdef __SANITIZE_ADDRESS__
constexpr bool kCounting = false;
#else
constexpr bool kCounting = true;
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);

void* malloc(std::size_t size) noexcept { return counted(__libc_malloc(size)); }
void* calloc(std::size_t count, std::size_t size) noexcept { return counted(__libc_calloc(count, size)); }
void* realloc(void* memory, std::size_t size) noexcept { return counted(__libc_realloc(memory, size)); }
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept { return counted(__libc_memalign(alignment, size)); }
void* memalign(std::size_t alignment, std::size_t size) noexcept { return counted(__libc_memalign(alignment, size)); }
int posix_memalign(void** memory, std::size_t alignment, std::size_t size) noexcept
{
    *memory = counted(__libc_memalign(alignment, size));
    return *memory != nullptr ? 0 : ENOMEM;
}
}
#endif

TEST(AudioThread, TheWholePathAllocatesNothingWhileTheSlicerPlays)
{
    constexpr int32_t kBlock = 128;
    EngineRig rig(44100.0, 2, kBlock, 140.0);
    Vextoria3FX& fx = *rig.fx;
    rig.set({{kActive, 1.0}, {kFxAmt, 1.0}, {kFxSelect, 1.0}, {kPitchAmt, 1.0}, {kPanAmt, 1.0}, {kRollAmt, 0.7},
             {kReverseAmt, 0.6}, {kSliceAmt, 0.5}, {kStretch, 1.0}, {kSliceSize, 1.0}});
    std::vector<uint8_t> record;
    ASSERT_EQ(fx.getChunk(record, true), 372);
    const auto bar = static_cast<int64_t>(4 * 44100.0 * 60.0 / 140.0);
    EngineRig::Channels input = EngineRig::constant(2, 12 * bar, 0.0f);
    for (size_t i = 0; i < input[0].size(); ++i)
        input[0][i] = input[1][i] = 0.5f * std::sin(static_cast<float>(i) * 0.03f);
    count = 0;
    rig.render(input, kBlock, [&](int64_t frame, int32_t) {
        const int64_t block = frame / kBlock;
        counting = false; // the UI thread's part
        if (block % 97 == 0) {
            ASSERT_TRUE(fx.postChunk(record.data(), static_cast<int32_t>(record.size())));
        }
        counting = true; // the audio thread's part: the rest of this and the block itself
        fx.applyPendingChunk();
        fx.setParameter(kFxSelect, static_cast<double>(block / 50 % 5) / 4.0);
        fx.setParameter(kFreeze, static_cast<double>(block / 200 % 2));
        fx.setParameter(kTrigMode, static_cast<double>(block / 300 % 2));
        if (block % 400 == 399)
            fx.setParameter(kFactoryPresets, static_cast<double>(block / 400 % 16) / 16.0);
        fx.setParameter(kStretch, 1.0); // the stretch feed runs whatever the program
        fx.setParameter(kPitchAmt, 1.0);
        fx.startProcessMIDI();
        if (block % 10 == 0)
            fx.noteOn(static_cast<int32_t>(36 + block / 10 % 16), 100, 3);
        if (block % 10 == 5)
            fx.noteOff(static_cast<int32_t>(36 + block / 10 % 16), 0, 7);
        fx.endProcessMIDI();
    });
    counting = false;
    EXPECT_EQ(count, 0);
    Scope scope; // the counter itself works
    auto probe = std::make_unique<std::vector<float>>(16);
    EXPECT_EQ(count > 0, kCounting);
}
