#pragma once
#include "dsp/Slice.h"

#include <cstdint>
#include <memory>

// Drives a Slice as the engine does, recording samples that name their own recording
// number n: the first take records n + 1 on the left, a second take -(n + 1), the
// right channel always the negated left. So every output names the index it was read
// from, and 0 means "never recorded".
class CountingRecorder {
public:
    // Configured at 44.1 kHz, as the first activation does.
    CountingRecorder() : slice(std::make_unique<Slice>()) { slice->setSamplerate(44100.0); }

    static float valueOf(int64_t n, int take) { return static_cast<float>(take == 1 ? n + 1 : -(n + 1)); }

    // Records count samples; each one is followed by one output pair when playing.
    void record(int64_t count)
    {
        for (int64_t i = 0; i < count; ++i) {
            const float value = valueOf(recorded++, take);
            slice->record(value, -value);
            slice->processStretch();
        }
    }

    // One bar as the engine records it: a bar start, then each slice start.
    void recordBar(int32_t sliceLength, int32_t slicesPerBar)
    {
        slice->setStart();
        for (int32_t i = 0; i < slicesPerBar; ++i) {
            slice->setSliceStart(i);
            record(sliceLength);
        }
    }

    // Records one sample and returns the left output that follows it.
    float recordAndPlay()
    {
        record(1);
        float left = 0.0f, right = 0.0f;
        slice->process(left, right);
        lastRight = right;
        return left;
    }

    // Output without recording (the recorder stands still, as on a stopped transport).
    float play()
    {
        float left = 0.0f, right = 0.0f;
        slice->process(left, right);
        lastRight = right;
        return left;
    }

    // Plays count outputs, recording on meanwhile unless told not to, and answers the
    // first t whose left output differs from expected(t), or -1 when none does.
    template <typename Expected>
    int32_t firstMismatch(int32_t count, Expected expected, bool recording = true)
    {
        for (int32_t t = 0; t < count; ++t)
            if ((recording ? recordAndPlay() : play()) != expected(t))
                return t;
        return -1;
    }
    // The first take's value at index start + step * t.
    auto takeOne(int64_t start, int64_t step)
    {
        return [start, step](int32_t t) { return valueOf(start + step * t, 1); };
    }

    std::unique_ptr<Slice> slice;
    int64_t recorded = 0; // samples recorded so far
    int take = 1;         // 1 or 2, see valueOf
    float lastRight = 0.0f;
};
