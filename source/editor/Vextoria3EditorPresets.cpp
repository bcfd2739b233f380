// Preset files dropped on the window: the drop, the file's type by its extension, the VST3
// preset file read whole and checked, and its chunks handed to the processor and the
// controller. UI thread only.
#include "Vextoria3Editor.h"

#include "Vextoria3Cids.h"
#include "controller/ControllerState.h"
#include "controller/Vextoria3Controller.h"
#include "dsp/ProgramChunk.h"
#include "settings/SmallFile.h"
#include "public.sdk/source/common/memorystream.h"
#include <cstring>

using namespace VSTGUI;

namespace {

// The file's layout: header, then a chunk list wherever the header says.
constexpr uint64_t kClassIdOffset = 8;
constexpr uint64_t kClassIdSize = 32; // the processor's id as ASCII hexadecimal
constexpr uint64_t kListOffsetField = 40;
constexpr uint64_t kHeaderSize = 48;
constexpr uint64_t kListHeaderSize = 8; // list id, entry count
constexpr uint64_t kEntrySize = 20;     // chunk id, offset, size

// `count` bytes from `offset` lie inside `bytes`; no sum can wrap.
bool inside(const std::string& bytes, uint64_t offset, uint64_t count)
{
    return offset <= bytes.size() && count <= bytes.size() - offset;
}

// A little-endian integer at `offset`; 0 when it is not all inside `bytes`.
template <typename Integer>
Integer readInteger(const std::string& bytes, uint64_t offset)
{
    uint64_t value = 0;
    if (!inside(bytes, offset, sizeof(Integer)))
        return 0;
    for (size_t byte = 0; byte < sizeof(Integer); ++byte)
        value |= uint64_t(uint8_t(bytes[size_t(offset) + byte])) << (8 * byte);
    return Integer(value);
}

bool hasText(const std::string& bytes, uint64_t offset, const char* text, size_t count)
{
    return inside(bytes, offset, count) && std::memcmp(bytes.data() + offset, text, count) == 0;
}

std::string processorClassId()
{
    char text[kClassIdSize + 1] = {};
    Steinberg::FUID(Steinberg::Vst::kVextoria3ProcessorUID).toString(text);
    return text;
}

// The part of `path` after its last "." (all of it when there is none).
std::string extensionOf(const std::string& path)
{
    const size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(dot + 1);
}

bool endsWith(const std::string& text, const char* end)
{
    const size_t length = std::strlen(end);
    return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

Steinberg::IPtr<Steinberg::MemoryStream> streamOf(std::vector<uint8_t>& bytes)
{
    return Steinberg::owned(new Steinberg::MemoryStream(bytes.data(), Steinberg::TSize(bytes.size())));
}

} // namespace

bool Vextoria3Editor::onDrop(DragEventData data)
{
    for (uint32 index = 0; data.drag && index < data.drag->getCount(); ++index)
    {
        const void* buffer = nullptr;
        IDataPackage::Type type = IDataPackage::kError;
        const uint32 size = data.drag->getData(index, buffer, type);
        if (type != IDataPackage::kFilePath || !buffer)
            continue;
        // Up to the first NUL or the item's end: the package's terminator is not trusted.
        const auto* text = static_cast<const char*>(buffer);
        loadFromDropFile(std::string(text, strnlen(text, size)));
    }
    return true;
}

void Vextoria3Editor::loadFromDropFile(const std::string& path)
{
    const std::string name = getBaseName(path);
    if (extensionOf(path) == "vstpreset")
        loadVST3Preset(path, name);
    else if (endsWith(path, "fxp") || endsWith(path, "fxb"))
        loadVST2Preset(path, name);
}

bool Vextoria3Editor::loadVST2Preset(const std::string&, const std::string&) { return false; }

bool Vextoria3Editor::loadVST3Preset(const std::string& path, const std::string& name)
{
    if (path.empty())
        return false;
    std::optional<PresetFileData> preset = readVST3Preset(path);
    // Checked as the processor and the controller check them, before anything is sent: a
    // refused program record loads nothing, a refused controller state only skips that state.
    if (!preset || !readProgramChunk(preset->compData.data(), preset->compData.size()))
        return false;
    const bool controllerStateFits = !preset->contData.empty() && ControllerState::read(*streamOf(preset->contData));

    wrapper->sendBinaryMessage("loadpreset", preset->compData.data(), uint32(preset->compData.size()));
    wrapper->sendBinaryMessage("setpresetname", name.data(), uint32(name.size()));
    auto* controller = dynamic_cast<Steinberg::Vst::Vextoria3Controller*>(getController());
    if (!controller)
        return true;
    controller->setComponentState(streamOf(preset->compData));
    if (controllerStateFits)
        controller->setState(streamOf(preset->contData));
    controller->setPresetName(name);
    return true;
}

std::optional<PresetFileData> Vextoria3Editor::readVST3Preset(const std::string& path)
{
    std::string bytes;
    if (readSmallFile(path, kMaxPresetFileBytes, bytes) != ReadOutcome::read || bytes.size() < kHeaderSize)
        return std::nullopt;
    if (!hasText(bytes, 0, "VST3", 4) || !hasText(bytes, kClassIdOffset, processorClassId().c_str(), kClassIdSize))
        return std::nullopt;
    const auto listOffset = readInteger<int64_t>(bytes, kListOffsetField);
    if (listOffset < 0 || !inside(bytes, uint64_t(listOffset), kListHeaderSize))
        return std::nullopt;
    const uint64_t entries = uint64_t(listOffset) + kListHeaderSize;
    const auto count = readInteger<int32_t>(bytes, uint64_t(listOffset) + 4);
    if (count > 0 && !inside(bytes, entries, kEntrySize * uint64_t(count)))
        return std::nullopt;

    PresetFileData preset;
    for (int32_t index = 0; index < count; ++index)
    {
        const uint64_t entry = entries + kEntrySize * uint64_t(index);
        const auto offset = readInteger<int64_t>(bytes, entry + 4);
        const auto size = readInteger<int64_t>(bytes, entry + 12);
        if (offset < 0 || size < 0 || !inside(bytes, uint64_t(offset), uint64_t(size)))
            return std::nullopt;
        const auto* first = reinterpret_cast<const uint8_t*>(bytes.data()) + offset;
        // A repeated id: the last entry wins.
        if (hasText(bytes, entry, "Comp", 4))
            preset.compData.assign(first, first + size);
        else if (hasText(bytes, entry, "Cont", 4))
            preset.contData.assign(first, first + size);
    }
    if (preset.compData.empty())
        return std::nullopt;
    preset.name = getBaseName(path);
    return preset;
}

std::string Vextoria3Editor::getBaseName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file.substr(0, file.rfind('.'));
}
