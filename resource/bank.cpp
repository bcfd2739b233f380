// The factory bank: 16 programs as back-to-back little-endian program records, built at
// compile time from the table below, plus the program names.
#include <array>
#include <bit>
#include <cstdint>

#include "dsp/FactoryBank.h"
#include "dsp/Vextoria3Preset.h"

namespace {

using Vextoria3Defaults::kHiddenCount;
using Vextoria3Defaults::kParamCount;
using Vextoria3Defaults::kProgramCount;

constexpr int32_t kRowCount = kParamCount + kHiddenCount;
constexpr int32_t kRecordSize = 12 + 8 * kRowCount;
constexpr int32_t kBankSize = kProgramCount * kRecordSize;
constexpr int32_t kPitchRangeId = 9;

// Values as shown to three decimals: rows are parameter ids 0..37, then hidden values
// 0..6; columns are programs 0..15.
constexpr double kShownValues[kRowCount][kProgramCount] = {
    {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0}, // 0
    {0.85, 0.891, 1, 1, 0.93, 0.758, 1, 0.758, 0.953, 1, 0.984, 0.891, 0.797, 0.43, 0.867, 0.594}, // 1
    {0.4, 0, 1, 0.344, 0.242, 0.336, 0.375, 0.367, 0, 0.234, 0.306, 0.375, 0, 0, 0, 1}, // 2
    {0, 0.727, 0, 0.812, 1, 1, 0, 0.633, 0, 0.609, 0.664, 0.117, 1, 1, 0.391, 1}, // 3
    {0.35, 0, 0, 0.422, 0.367, 0.883, 0.219, 0.359, 0, 0.523, 0.35, 0.438, 0.273, 0, 1, 1}, // 4
    {0, 0, 0, 0, 0, 0.016, 0, 0, 0, 0.258, 0, 0.07, 1, 0, 0, 0}, // 5
    {0.5, 0.328, 0, 1, 0.82, 0.938, 0.156, 0.375, 0, 0.367, 0.5, 0.25, 1, 0, 0.562, 0}, // 6
    {0.5, 0.479, 1, 0.011, 0, 1, 1, 0.681, 0.585, 0.585, 1, 0.574, 0, 1, 0.5, 1}, // 7
    {1, 0.574, 0, 0.617, 0.521, 1, 0.191, 0.543, 0, 0.691, 1, 1, 0, 0, 0.16, 0}, // 8
    {0.5, 0.167, 0, 0.167, 0.167, 0.833, 0.417, 0.333, 0, 0.667, 0.5, 0.5, 0.083, 0, 0.417, 1}, // 9
    {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1}, // 10
    {1, 1, 0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 0}, // 11
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 12
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 13
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, // 14
    {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, // 15
    {1, 1, 0.75, 0.75, 1, 1, 1, 0.75, 1, 1, 1, 1, 0.75, 0.5, 0.75, 0}, // 16
    {0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1}, // 17
    {0.4, 0.4, 0.31, 0.207, 0.207, 0.31, 0.31, 0.31, 0.31, 0.31, 0.4, 0.31, 0.31, 0.431, 0.31, 0.31}, // 18
    {0.45, 0.207, 0.414, 0.379, 0.379, 0.414, 0.414, 0.414, 0.414, 0.414, 0.207, 0.414, 0.414, 0.655, 0.414, 0.414}, // 19
    {1, 0.552, 1, 1, 1, 1, 1, 1, 1, 1, 0.552, 1, 1, 0.914, 1, 1}, // 20
    {0.65, 0.759, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.65, 0.379, 0.65, 0.65}, // 21
    {0.95, 0.534, 0.95, 0.95, 0.95, 0.95, 0.95, 0.95, 0.95, 0.95, 0.569, 0.95, 0.95, 0.707, 0.95, 0.95}, // 22
    {0.5, 0.5, 0.5, 0.517, 0.517, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.517, 0.5, 0.5}, // 23
    {0.5, 0.5, 0.5, 0.414, 0.414, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.414, 0.5, 0.5}, // 24
    {0.6, 0.6, 0.6, 0.328, 0.328, 0.6, 0.6, 0.6, 0.6, 0.6, 0.6, 0.6, 0.6, 0.328, 0.6, 0.6}, // 25
    {0, 0.5, 0, 0.672, 0.603, 0.552, 0, 0, 1, 0, 0.534, 0, 1, 0.069, 0.552, 0}, // 26
    {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 1}, // 27
    {1, 1, 0, 1, 1, 1, 0, 0, 1, 0, 1, 1, 1, 0, 1, 0}, // 28
    {1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 1, 1, 0}, // 29
    {1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 30
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1}, // 31
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 32
    {0.5, 0.5, 0.5, 0.784, 0.784, 0.5, 0.27, 0.5, 0.5, 0.324, 0.5, 0.5, 0.5, 0.784, 0.5, 0.5}, // 33
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 34
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 35
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 36
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 37
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // h0
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // h1
    {0, 1, 1, 0, 0.5, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0}, // h2
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // h3
    {0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1}, // h4
    {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}, // h5
    {0, 0.75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // h6
};

constexpr bool roundsTo(double candidate, double shown)
{
    const double difference = candidate - shown;
    return difference < 0.0005 && difference > -0.0005;
}

// The value a program stores for a shown value: the whole-step value k/12 for the
// semitone range (so 0.083 is one semitone), else the simplest binary fraction k/2^n
// (n <= 7) that rounds to the shown value, else the shown decimal itself.
constexpr float storedValue(double shown, int32_t row)
{
    if (row == kPitchRangeId) {
        const double semitones = static_cast<int32_t>(shown * 12.0 + 0.5);
        if (roundsTo(semitones / 12.0, shown))
            return static_cast<float>(semitones / 12.0);
    }
    for (int32_t denominator = 1; denominator <= 128; denominator *= 2) {
        const double numerator = static_cast<int32_t>(shown * denominator + 0.5);
        if (roundsTo(numerator / denominator, shown))
            return static_cast<float>(numerator / denominator);
    }
    return static_cast<float>(shown);
}

class BankWriter {
public:
    constexpr void writeInt(int32_t value)
    {
        writeBytes(static_cast<uint32_t>(value), 4);
    }
    constexpr void writeDouble(double value)
    {
        writeBytes(std::bit_cast<uint64_t>(value), 8);
    }
    std::array<uint8_t, kBankSize> bytes{};

private:
    constexpr void writeBytes(uint64_t bits, int32_t count)
    {
        for (int32_t byte = 0; byte < count; ++byte)
            bytes[position++] = static_cast<uint8_t>(bits >> (8 * byte));
    }
    int32_t position = 0;
};

constexpr std::array<uint8_t, kBankSize> buildBank()
{
    BankWriter writer;
    for (int32_t program = 0; program < kProgramCount; ++program) {
        writer.writeInt(1);
        writer.writeInt(kParamCount);
        for (int32_t id = 0; id < kParamCount; ++id)
            writer.writeDouble(storedValue(kShownValues[id][program], id));
        writer.writeInt(kHiddenCount);
        for (int32_t index = 0; index < kHiddenCount; ++index)
            writer.writeDouble(storedValue(kShownValues[kParamCount + index][program], kParamCount + index));
    }
    return writer.bytes;
}

// The plug-in's own copy: internal, so no symbol of the host can stand in for it.
constexpr std::array<uint8_t, kBankSize> kFactoryBank = buildBank();

constexpr const char* kProgramNames[kProgramCount] = {
    "Default", "Rythmrepeat", "esreveR", "RollWarfare", "Blast N Break", "Glitch Patrol",
    "Lightbreaker", "Snoop Scratchy Scratch", "DefaultMidiSlicer", "Pure Dynamite",
    "TurboSlicer", "Banana Break", "RollPitchCopter", "Filtrogater", "Dr Feelgood", "Golden Gate",
};

} // namespace

// The module's exported data, for hosts and tools that read the bank by name.
extern "C" [[gnu::visibility("default")]] const std::array<uint8_t, kBankSize> bank = kFactoryBank;
extern "C" [[gnu::visibility("default")]] const int32_t bank_size = kBankSize;

const uint8_t* factoryBank()
{
    return kFactoryBank.data();
}

int32_t factoryBankSize()
{
    return kBankSize;
}

const char* factoryProgramName(int32_t index)
{
    if (index < 0 || index >= kProgramCount)
        return nullptr;
    return kProgramNames[index];
}
