#include "AllocationCounter.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

// Every allocation in this executable passes through these counters; a test switches
// counting on around the code that must not allocate.
namespace AllocationCounter {
std::atomic<bool> counting {false};
std::atomic<long> count {0};
} // namespace AllocationCounter

namespace
{
using AllocationCounter::count;
using AllocationCounter::counting;

void noteAllocation() noexcept
{
    if (counting.load(std::memory_order_relaxed))
        count.fetch_add(1, std::memory_order_relaxed);
}

[[maybe_unused]] void* counted(void* memory) noexcept
{
    noteAllocation();
    return memory;
}

void* allocate(std::size_t size, std::size_t alignment) noexcept
{
    noteAllocation();
    size = std::max<std::size_t>(size, 1);
    if (alignment <= alignof(std::max_align_t))
        return std::malloc(size);
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* allocateOrThrow(std::size_t size, std::size_t alignment)
{
    void* memory = allocate(size, alignment);
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}
} // namespace

// Every form is replaced, so that whatever one form allocates another form may free.
void* operator new(std::size_t size) { return allocateOrThrow(size, 0); }
void* operator new[](std::size_t size) { return allocateOrThrow(size, 0); }
void* operator new(std::size_t size, std::align_val_t align) { return allocateOrThrow(size, static_cast<std::size_t>(align)); }
void* operator new[](std::size_t size, std::align_val_t align) { return allocateOrThrow(size, static_cast<std::size_t>(align)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, 0); }
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept { return allocate(size, static_cast<std::size_t>(align)); }
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept { return allocate(size, static_cast<std::size_t>(align)); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept { std::free(memory); }

// The shifter library allocates with the C functions, so they are counted as well;
// under the address sanitizer, which owns them, only the C++ operators are.
#ifndef __SANITIZE_ADDRESS__
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);

// Each C allocation function hands over to the C library's own and counts.
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
