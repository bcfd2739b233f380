#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "Vextoria3Preset.h"

// The program record: little-endian int32 version (1), int32 N, N float64 parameter
// values, int32 M, M float64 hidden values; 372 bytes when N = 38 and M = 7.
constexpr int32_t kProgramChunkVersion = 1;
constexpr size_t kProgramChunkSize = 12 + 8 * (Vextoria3Defaults::kParamCount + Vextoria3Defaults::kHiddenCount);

// One record as read, before anything is applied; only the first paramCount and
// hiddenCount values are meaningful.
struct ProgramRecord {
    int32_t paramCount;
    double params[38];
    int32_t hiddenCount;
    double hidden[7];
};

// Reads one record at data. Refuses it whole (nullopt) unless 0 <= N <= 38, 0 <= M <= 7 and
// all 12 + 8N + 8M bytes are within size; never reads past size. On success *consumed, if
// given, is the record's byte count.
std::optional<ProgramRecord> readProgramChunk(const uint8_t* data, size_t size, size_t* consumed = nullptr);

void insert_int(std::vector<uint8_t>& out, int32_t value);    // appends 4 little-endian bytes
void insert_double(std::vector<uint8_t>& out, double value);  // appends 8 little-endian bytes

// Appends one full record (N = 38, M = 7) of the program's values.
void writeProgramChunk(std::vector<uint8_t>& out, const Vextoria3Preset& program);

// Stores a record's values into a program: slots past its counts keep their values.
void storeProgramRecord(const ProgramRecord& record, Vextoria3Preset& program) noexcept;
