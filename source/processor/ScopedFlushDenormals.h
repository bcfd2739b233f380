#pragma once

#include <xmmintrin.h>

// Sets flush-to-zero and denormals-are-zero for the lifetime of the object and restores the
// caller's mode afterwards: decaying tails must not fall into slow denormal arithmetic, and the
// host's own floating-point mode must come back unchanged.
class ScopedFlushDenormals
{
public:
    ScopedFlushDenormals() noexcept : savedCsr(_mm_getcsr()) { _mm_setcsr(savedCsr | kFlushToZero | kDenormalsAreZero); }
    ~ScopedFlushDenormals() { _mm_setcsr(savedCsr); }

    ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
    static constexpr unsigned kFlushToZero = 0x8000;     // MXCSR bit 15
    static constexpr unsigned kDenormalsAreZero = 0x0040; // MXCSR bit 6
    unsigned savedCsr;
};
