#pragma once
#include <atomic>

// A float shared between the UI and the audio thread: every access is one relaxed atomic
// load or store, so neither thread ever sees a torn value or waits. Copyable, so programs
// holding these can still be copied as plain values.
class RelaxedFloat {
public:
    RelaxedFloat(float initial = 0.0f) noexcept : value(initial) {}
    RelaxedFloat(const RelaxedFloat& other) noexcept : value(other.load()) {}
    RelaxedFloat& operator=(const RelaxedFloat& other) noexcept { store(other.load()); return *this; }
    RelaxedFloat& operator=(float newValue) noexcept { store(newValue); return *this; }
    operator float() const noexcept { return load(); }

    float load() const noexcept { return value.load(std::memory_order_relaxed); }
    void store(float newValue) noexcept { value.store(newValue, std::memory_order_relaxed); }

private:
    std::atomic<float> value;
};
static_assert(std::atomic<float>::is_always_lock_free, "parameter values must be lock-free");
