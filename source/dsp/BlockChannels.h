#pragma once
#include <cmath>
#include <cstdint>

// The channel pointers of one block as the DSP core reads them. A mono bus serves both
// sides; a missing input (no bus, no channels or a null channel) reads as silence.
struct BlockChannels {
    const float* inL = nullptr;
    const float* inR = nullptr;
    float* outL = nullptr; // null when the block has no usable output
    float* outR = nullptr;

    BlockChannels(const float* const* inputs, int32_t inputCount, float* const* outputs, int32_t outputCount) noexcept
    {
        inL = inputChannel(inputs, inputCount, 0);
        inR = inputCount == 2 ? inputChannel(inputs, inputCount, 1) : inL;
        if (outputs != nullptr && outputCount > 0) {
            outL = outputs[0];
            outR = outputCount > 1 ? outputs[1] : outL;
        }
    }

    bool hasOutput() const noexcept { return outL != nullptr && outR != nullptr; }
    // The input samples the engine records. Not a number or infinite reads as silence:
    // the reverb, the filters and the stretcher would keep such a value for good.
    float left(int32_t i) const noexcept { return inL != nullptr ? finiteOrSilence(inL[i]) : 0.0f; }
    float right(int32_t i) const noexcept { return inR != nullptr ? finiteOrSilence(inR[i]) : 0.0f; }

    static float finiteOrSilence(float sample) noexcept { return std::isfinite(sample) ? sample : 0.0f; }

    static const float* inputChannel(const float* const* inputs, int32_t inputCount, int32_t channel) noexcept
    {
        if (inputs == nullptr || inputCount <= 0)
            return nullptr;
        return inputs[channel < inputCount ? channel : 0];
    }
};
