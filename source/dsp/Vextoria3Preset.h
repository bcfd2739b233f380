#pragma once
#include <cstdint>
#include <string>

#include "RelaxedFloat.h"

namespace Vextoria3Defaults {
constexpr int32_t kParamCount = 38;  // parameter slots per program, id 12 included
constexpr int32_t kHiddenCount = 7;  // hidden UI values per program
constexpr int32_t kProgramCount = 16;

// Normalised defaults of a new program and of the DSP object's live parameters, by id.
constexpr float kParams[kParamCount] = {
    0.0f,  0.85f, 0.4f, 0.0f, 0.35f, 0.0f, 0.5f, 0.5f,  // 0..7
    1.0f,  0.5f,  0.0f, 1.0f, 0.0f,  0.0f, 0.0f, 0.0f,  // 8..15
    1.0f,  0.0f,  0.4f, 0.45f, 1.0f, 0.65f, 0.95f, 0.5f, // 16..23
    0.5f,  0.6f,  0.0f, 0.0f, 1.0f,  1.0f, 1.0f, 1.0f,  // 24..31
    0.0f,  0.5f,  0.5f, 0.0f, 0.0f,  0.0f,              // 32..37
};
// Hidden defaults: only index 3 starts on.
constexpr float kHidden[kHiddenCount] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
} // namespace Vextoria3Defaults

// One program in memory. Values are read by the UI thread and written by the audio
// thread on a program change, hence relaxed atomics; the name is set once at load.
struct Vextoria3Preset {
    std::string name = "Default";
    RelaxedFloat params[Vextoria3Defaults::kParamCount]; // by parameter id, 0..1
    RelaxedFloat hidden[Vextoria3Defaults::kHiddenCount]; // by hidden index, 0..1

    Vextoria3Preset() noexcept
    {
        for (int32_t id = 0; id < Vextoria3Defaults::kParamCount; ++id)
            params[id] = Vextoria3Defaults::kParams[id];
        for (int32_t index = 0; index < Vextoria3Defaults::kHiddenCount; ++index)
            hidden[index] = Vextoria3Defaults::kHidden[index];
    }
};
