#pragma once
// Counts every allocation made in this test executable while counting is on, so a test
// can prove that audio-thread code allocates nothing.
#include <atomic>

namespace AllocationCounter {

extern std::atomic<bool> counting;
extern std::atomic<long> count;

// Counts the allocations made while it is alive.
class Scope {
public:
    Scope() { count = 0; counting = true; }
    ~Scope() { counting = false; }
    long allocations() const { return count.load(); }
};

} // namespace AllocationCounter
