#pragma once
#include <cstdint>
#include <span>

#include "ValueParameters.h"

// The plug-in's parameters as the controller publishes them, in registration order.
namespace Vextoria3Params {

enum class ParameterKind {
    plain,       // 0..1 shown with four decimals, or "Off"/"On" with one step
    sliceSize,   // plain, shown as beat fractions
    semitones,   // whole numbers 0..stepCount
    list,        // named entries
    programList, // the factory program list's own parameter
};

struct ParameterSpec {
    int32_t id;
    const char* title;
    ParameterKind kind;
    const char* units;
    int32_t stepCount;      // plain and semitones only; a list has entries - 1
    double initialValue;    // value after initialisation; lists start from host default 0
    int32_t flags;          // ParameterInfo flags
    std::span<const char* const> entries;
    EntryIndex entryOf = listIndex; // lists only
};

// Every registered parameter in registration order (ids 0..37 without 12).
std::span<const ParameterSpec> parameterTable() noexcept;

// The program list's name and id; its parameter is the program parameter.
inline constexpr const char* kProgramListName = "Factory Presets";
inline constexpr int32_t kProgramListId = 36;

// Makes the parameter of a row that is not the program list, holding its initial value.
Steinberg::Vst::Parameter* createParameter(const ParameterSpec& spec);

} // namespace Vextoria3Params
