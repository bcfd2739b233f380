#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "pluginterfaces/base/ibstream.h"

#include "HiddenParameters.h"
#include "dsp/ProgramChunk.h"

// The two state streams the controller reads and writes. UI thread.
namespace ControllerState {

// The controller's own state: unsigned 64-bit marker 1, then hidden values 0..6 as doubles,
// all little-endian: 64 bytes.
constexpr uint64_t kMarker = 1;
constexpr int32_t kByteCount = 8 + 8 * HiddenParameters::count;
using HiddenValues = std::array<double, HiddenParameters::count>;

// Writes the state; false when any part of it could not be written.
bool write(Steinberg::IBStream& stream, const HiddenParameters& hidden);
// Reads a whole state; nullopt when the stream ends early or the marker is not 1, so a
// broken state is refused before anything is applied.
std::optional<HiddenValues> read(Steinberg::IBStream& stream);

// The processor's state: one program record, validated as the processor validates it.
std::optional<ProgramRecord> readComponentState(Steinberg::IBStream& stream);

} // namespace ControllerState
