#include "ControllerState.h"

#include <vector>

#include "base/source/fstreamer.h"
#include "sdk/streambytes.h"

namespace ControllerState {

bool write(Steinberg::IBStream& stream, const HiddenParameters& hidden)
{
    Steinberg::IBStreamer streamer(&stream, kLittleEndian);
    bool written = streamer.writeInt64u(kMarker);
    for (int32_t index = 0; index < HiddenParameters::count; ++index)
        written = streamer.writeDouble(hidden.getParamValue(index)) && written;
    return written;
}

std::optional<HiddenValues> read(Steinberg::IBStream& stream)
{
    Steinberg::IBStreamer streamer(&stream, kLittleEndian);
    Steinberg::uint64 marker = 0;
    if (!streamer.readInt64u(marker) || marker != kMarker)
        return std::nullopt;
    HiddenValues values {};
    for (double& value : values)
        if (!streamer.readDouble(value))
            return std::nullopt;
    return values;
}

std::optional<ProgramRecord> readComponentState(Steinberg::IBStream& stream)
{
    std::vector<uint8_t> bytes;
    Steinberg::readStreamBytes(stream, static_cast<Steinberg::int32>(kProgramChunkSize), bytes);
    return readProgramChunk(bytes.data(), bytes.size());
}

} // namespace ControllerState
