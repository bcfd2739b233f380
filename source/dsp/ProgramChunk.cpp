#include "ProgramChunk.h"

#include <bit>

#include "ParameterValue.h"

namespace {

template <typename Unsigned>
void appendLittleEndian(std::vector<uint8_t>& out, Unsigned bits)
{
    for (size_t byte = 0; byte < sizeof(Unsigned); ++byte)
        out.push_back(static_cast<uint8_t>(bits >> (8 * byte)));
}

template <typename Unsigned>
Unsigned loadLittleEndian(const uint8_t* data) noexcept
{
    Unsigned bits = 0;
    for (size_t byte = 0; byte < sizeof(Unsigned); ++byte)
        bits |= static_cast<Unsigned>(data[byte]) << (8 * byte);
    return bits;
}

int32_t loadInt(const uint8_t* data) noexcept
{
    return static_cast<int32_t>(loadLittleEndian<uint32_t>(data));
}

double loadDouble(const uint8_t* data) noexcept
{
    return std::bit_cast<double>(loadLittleEndian<uint64_t>(data));
}

} // namespace

void insert_int(std::vector<uint8_t>& out, int32_t value)
{
    appendLittleEndian(out, static_cast<uint32_t>(value));
}

void insert_double(std::vector<uint8_t>& out, double value)
{
    appendLittleEndian(out, std::bit_cast<uint64_t>(value));
}

std::optional<ProgramRecord> readProgramChunk(const uint8_t* data, size_t size, size_t* consumed)
{
    // Every count is checked against its bound and every size against the bytes given before
    // anything is read behind it; the arithmetic stays in 64 bits with small operands.
    if (data == nullptr || size < 8)
        return std::nullopt;
    ProgramRecord record{};
    record.paramCount = loadInt(data + 4);
    if (record.paramCount < 0 || record.paramCount > Vextoria3Defaults::kParamCount)
        return std::nullopt;
    const uint64_t hiddenCountOffset = 8 + 8 * static_cast<uint64_t>(record.paramCount);
    if (size < hiddenCountOffset + 4)
        return std::nullopt;
    record.hiddenCount = loadInt(data + hiddenCountOffset);
    if (record.hiddenCount < 0 || record.hiddenCount > Vextoria3Defaults::kHiddenCount)
        return std::nullopt;
    const uint64_t hiddenOffset = hiddenCountOffset + 4;
    const uint64_t recordSize = hiddenOffset + 8 * static_cast<uint64_t>(record.hiddenCount);
    if (size < recordSize)
        return std::nullopt;

    for (int32_t id = 0; id < record.paramCount; ++id)
        record.params[id] = loadDouble(data + 8 + 8 * id);
    for (int32_t index = 0; index < record.hiddenCount; ++index)
        record.hidden[index] = loadDouble(data + hiddenOffset + 8 * index);
    if (consumed != nullptr)
        *consumed = static_cast<size_t>(recordSize);
    return record;
}

void writeProgramChunk(std::vector<uint8_t>& out, const Vextoria3Preset& program)
{
    insert_int(out, kProgramChunkVersion);
    insert_int(out, Vextoria3Defaults::kParamCount);
    for (const RelaxedFloat& value : program.params)
        insert_double(out, value.load());
    insert_int(out, Vextoria3Defaults::kHiddenCount);
    for (const RelaxedFloat& value : program.hidden)
        insert_double(out, value.load());
}

void storeProgramRecord(const ProgramRecord& record, Vextoria3Preset& program) noexcept
{
    for (int32_t id = 0; id < record.paramCount; ++id)
        program.params[id] = normalisedValue(record.params[id]);
    for (int32_t index = 0; index < record.hiddenCount; ++index)
        program.hidden[index] = normalisedValue(record.hidden[index]);
}
