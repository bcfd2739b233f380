#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <vector>

namespace Steinberg {

// Reads from the stream's current position until it ends or maxBytes are read; out holds
// exactly the bytes read. The stream's own size is never trusted. UI thread (allocates).
void readStreamBytes(IBStream& stream, int32 maxBytes, std::vector<uint8_t>& out);

// Writes all bytes; kResultFalse when the stream takes fewer than given.
tresult writeStreamBytes(IBStream& stream, const std::vector<uint8_t>& bytes);

} // namespace Steinberg
