#pragma once
// Program records built byte by byte, so a test can hand the reader any counts and values.
#include <cstdint>
#include <functional>
#include <vector>

#include "dsp/ProgramChunk.h"

using RecordValues = std::function<double(int32_t)>;

// paramCount values value(id), then hiddenCount values hidden(index).
inline std::vector<uint8_t> makeRecord(int32_t paramCount, int32_t hiddenCount, const RecordValues& value,
                                       const RecordValues& hidden)
{
    std::vector<uint8_t> bytes;
    insert_int(bytes, kProgramChunkVersion);
    insert_int(bytes, paramCount);
    for (int32_t id = 0; id < paramCount; ++id)
        insert_double(bytes, value(id));
    insert_int(bytes, hiddenCount);
    for (int32_t index = 0; index < hiddenCount; ++index)
        insert_double(bytes, hidden(index));
    return bytes;
}

// A full record holding value everywhere.
inline std::vector<uint8_t> uniformRecord(double value)
{
    const auto same = [value](int32_t) { return value; };
    return makeRecord(38, 7, same, same);
}
