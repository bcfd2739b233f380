// One VST3 preset file as read for a drop: its base name and the bytes of its component and
// controller chunks. Held only while the file is loaded. UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Preset files are a few hundred bytes; anything larger is not read.
constexpr long kMaxPresetFileBytes = 1024 * 1024;

struct PresetFileData
{
    std::string name;              // the file's base name
    std::vector<uint8_t> compData; // "Comp": the processor's program record
    std::vector<uint8_t> contData; // "Cont": the controller's state; empty when absent
};
