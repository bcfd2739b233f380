// The program store of the DSP object: switching, records in and out, the mailbox.
#include <algorithm>

#include "FactoryBank.h"
#include "ParameterValue.h"
#include "Vextoria3FX.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {

// Ids whose value a program record sets through setParameter: the others report the
// pitch-bend setter's value (34) or 0 (12, 35, 36) whatever a record says.
bool recordSetsParameter(int32_t id)
{
    return id != kRetired12 && id != kPitchBend && id != kModWheel && id != kFactoryPresets;
}

} // namespace

void Vextoria3FX::setProgram(int32_t index)
{
    if (index < 0 || index >= kNumPrograms)
        return;
    copyStateToProgram(currentProgram.load(std::memory_order_relaxed));
    currentProgram.store(index, std::memory_order_relaxed);
    copyStateFromProgram();
}

void Vextoria3FX::copyStateToProgram(int32_t program)
{
    if (program < 0 || program >= kNumPrograms)
        return;
    for (int32_t id = 0; id < kNumParams; ++id)
        programs[program].params[id] = getParameter(id);
}

void Vextoria3FX::copyStateFromProgram()
{
    const Vextoria3Preset& program = programs[getCurrentProgram()];
    for (int32_t id = 0; id < kNumParams; ++id)
        if (id != kFactoryPresets)
            setParameter(id, program.params[id]);
}

int32_t Vextoria3FX::getCurrentProgram() const
{
    return currentProgram.load(std::memory_order_relaxed);
}

const Vextoria3Preset& Vextoria3FX::getProgram(int32_t index) const
{
    return programs[std::clamp(index, 0, kNumPrograms - 1)];
}

void Vextoria3FX::setHiddenValues(const double* values, int32_t count)
{
    if (values == nullptr || count < 0)
        return;
    const int32_t taken = std::min(count, kNumHidden);
    Vextoria3Preset& program = programs[getCurrentProgram()];
    for (int32_t index = 0; index < taken; ++index)
        program.hidden[index] = normalisedValue(values[index]);
    // A record still waiting for the audio thread would bring its own hidden values back
    // when applied: the newer ones win there too.
    mailbox.editWaiting([values, taken](ProgramRecord& waiting) {
        for (int32_t index = 0; index < taken; ++index)
            waiting.hidden[index] = values[index];
        waiting.hiddenCount = std::max(waiting.hiddenCount, taken);
    });
}

// The live state as one record: the live values, the current program's hidden values,
// and over them a record that waits in the mailbox, as it will be once applied.
void Vextoria3FX::writeLiveProgram(std::vector<uint8_t>& out, const ProgramRecord* pending) const
{
    Vextoria3Preset live = programs[getCurrentProgram()];
    for (int32_t id = 0; id < kNumParams; ++id)
        live.params[id] = getParameter(id);
    if (pending != nullptr) {
        for (int32_t id = 0; id < pending->paramCount; ++id)
            if (recordSetsParameter(id))
                live.params[id] = normalisedValue(pending->params[id]);
        for (int32_t index = 0; index < pending->hiddenCount; ++index)
            live.hidden[index] = normalisedValue(pending->hidden[index]);
    }
    writeProgramChunk(out, live);
}

int32_t Vextoria3FX::getChunk(std::vector<uint8_t>& out, bool single)
{
    ProgramRecord pending{};
    const bool hasPending = mailbox.peek(pending);
    out.clear();
    out.reserve(kProgramChunkSize * (single ? 1 : kNumPrograms));
    const int32_t current = getCurrentProgram();
    for (int32_t program = 0; program < kNumPrograms; ++program) {
        if (program == current)
            writeLiveProgram(out, hasPending ? &pending : nullptr);
        else if (!single)
            writeProgramChunk(out, programs[program]);
    }
    return static_cast<int32_t>(out.size());
}

// Reads one record (single) or the 16 of a bank, all validated before any is used.
bool Vextoria3FX::readRecords(const void* data, int32_t size, bool single, ProgramRecord* records, int32_t& count) const
{
    if (data == nullptr || size < 1)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t offset = 0;
    count = single ? 1 : kNumPrograms;
    for (int32_t index = 0; index < count; ++index) {
        size_t consumed = 0;
        std::optional<ProgramRecord> record = readProgramChunk(bytes + offset, static_cast<size_t>(size) - offset, &consumed);
        if (!record)
            return false;
        records[index] = *record;
        offset += consumed;
    }
    return true;
}

void Vextoria3FX::storeRecords(const ProgramRecord* records, int32_t count, bool single)
{
    if (single) {
        storeProgramRecord(records[0], programs[getCurrentProgram()]);
        return;
    }
    for (int32_t program = 0; program < count; ++program)
        storeProgramRecord(records[program], programs[program]);
}

bool Vextoria3FX::useRecords(const void* data, int32_t size, bool single, RecordUse use)
{
    ProgramRecord records[kNumPrograms];
    int32_t count = 0;
    if (!readRecords(data, size, single, records, count))
        return false;
    (this->*use)(records, count, single);
    return true;
}

bool Vextoria3FX::readPrograms(const void* data, int32_t size, bool single)
{
    return useRecords(data, size, single, &Vextoria3FX::storeRecords);
}

bool Vextoria3FX::setChunk(const void* data, int32_t size, bool single)
{
    return useRecords(data, size, single, &Vextoria3FX::applyRecords);
}

void Vextoria3FX::applyRecords(const ProgramRecord* records, int32_t count, bool single)
{
    // Slots a short record leaves out keep the live values rather than older stored ones.
    copyStateToProgram(getCurrentProgram());
    storeRecords(records, count, single);
    copyStateFromProgram();
}

bool Vextoria3FX::postChunk(const void* data, int32_t size)
{
    ProgramRecord record{};
    int32_t count = 0;
    if (!readRecords(data, size, true, &record, count))
        return false;
    mailbox.post(record);
    return true;
}

void Vextoria3FX::applyPendingChunk()
{
    mailbox.consume([this](const ProgramRecord& record) { applyRecords(&record, 1, true); });
}

void Vextoria3FX::loadFactoryBank()
{
    readPrograms(factoryBank(), factoryBankSize(), false);
    for (int32_t program = 0; program < kNumPrograms; ++program)
        programs[program].name = factoryProgramName(program);
}
