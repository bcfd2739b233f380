// Fuzzers of host and user input, built per VEXTORIA_FUZZ_TARGET; each writes its own seeds when asked.
#include "Vextoria3Cids.h"
#include "controller/HiddenDefaults.h"
#include "controller/Vextoria3Controller.h"
#include "dsp/FactoryBank.h"
#include "dsp/MidiEventRing.h"
#include "dsp/ProgramChunk.h"
#include "editor/Vextoria3Editor.h"
#include "processor/Vextoria3.h"
#include "settings/IniLineEditor.h"
#include "settings/SettingsFile.h"
#include "support/SafeHostMessage.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

void require(bool kept)
{
    if (!kept)
        std::abort();
}

// Reads fields off the front of the input; past its end every field reads as zero or empty.
struct FuzzInput {
    template <typename Value = uint8_t>
    Value value()
    {
        Value result {};
        const std::vector<uint8_t> taken = bytes(sizeof(Value));
        std::copy(taken.begin(), taken.end(), reinterpret_cast<uint8_t*>(&result));
        return result;
    }
    std::vector<uint8_t> bytes(size_t count)
    {
        const size_t start = std::min(offset, size);
        offset = start + std::min(count, size - start);
        return {data + start, data + offset};
    }
    const uint8_t* data;
    size_t size;
    size_t offset = 0;
};

// Builds an input in the layout FuzzInput reads.
struct FuzzSeed {
    template <typename Value>
    FuzzSeed& add(Value value) { return raw(&value, sizeof value); }
    FuzzSeed& raw(const void* more, size_t count)
    {
        bytes.insert(bytes.end(), static_cast<const uint8_t*>(more), static_cast<const uint8_t*>(more) + count);
        return *this;
    }
    std::vector<uint8_t> bytes;
};

// Messages: an id and up to four attributes, keyed by both sides' commands (and one other).
const char* const kIds[] = {"IntMessage", "BinaryMessage", "TextMessage", nullptr};
const char* const kKeys[] = {"setslice",    "linuxtimer", "loadpreset", "setpresetname", "synchiddenparam",
                             "copyhiddenparam", "askpresonus", "MidiNote", "AudioData", "Text", "other"};
enum Id : uint8_t { kIntMessage, kBinaryMessage, kTextMessage };
enum Receiver : uint8_t { kToProcessor, kToController };
enum HostInput : uint8_t { kProcessorIdle, kProcessorRunning, kControllerOwn, kController, kMessages, kMessagesRunning };
enum Type : uint8_t { kInt, kFloat, kString, kBinary };

IPtr<IMessage> readMessage(FuzzInput& in)
{
    auto message = owned(static_cast<IMessage*>(new SafeHostMessage()));
    message->setMessageID(kIds[in.value() % std::size(kIds)]);
    for (uint8_t count = in.value() % 5; count > 0; --count) {
        const char* key = kKeys[in.value() % std::size(kKeys)];
        switch (in.value() % 4) {
        case kInt: message->getAttributes()->setInt(key, in.value<int64>()); break;
        case kFloat: message->getAttributes()->setFloat(key, in.value<double>()); break;
        case kString: {
            std::u16string text(in.value<uint32_t>() % 1001, u'\0'); // the list copies up to the terminator
            for (char16_t& unit : text)
                unit = in.value<char16_t>();
            message->getAttributes()->setString(key, reinterpret_cast<const TChar*>(text.c_str()));
            break;
        }
        default:
            const std::vector<uint8_t> bytes = in.bytes(in.value<uint32_t>() % 100001);
            message->getAttributes()->setBinary(key, bytes.data(), static_cast<uint32>(bytes.size()));
        }
    }
    return message;
}

// A seed of one message, the processor running, with one attribute of the id's type.
FuzzSeed messageSeed(Receiver receiver, Id id, std::string_view key, const std::vector<uint8_t>& value)
{
    const auto pick = uint8_t(std::find(std::begin(kKeys), std::end(kKeys), key) - std::begin(kKeys));
    const Type type = id == kIntMessage ? kInt : id == kTextMessage ? kString : kBinary;
    FuzzSeed seed = FuzzSeed().add(kMessagesRunning).add(receiver).add(id).add(uint8_t {1}).add(pick).add(type);
    if (type == kString || type == kBinary)
        seed.add(uint32_t(type == kString ? value.size() / 2 : value.size()));
    return seed.raw(value.data(), value.size());
}

// An open editor that stops the fuzzer when handed more than promised, and reads the last of it.
struct CheckingEditor : EditorLink {
    bool isOpen() const override { return true; }
    void processOscilloscope(const int8_t* data, int32_t count, int32_t offset) override
    {
        require(count >= 0 && count <= 16384 && offset == 0 && (count == 0 || data != nullptr));
        [[maybe_unused]] volatile int8_t last = count > 0 ? data[count - 1] : 0;
    }
    void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) override
    {
        require(count >= 0 && count <= MidiEventRing::kCapacity && (count == 0 || notes != nullptr));
        [[maybe_unused]] volatile int32_t last = count > 0 ? notes[count - 1].velocity : 0;
    }
    bool setHiddenParameter(int32_t index, double value) override
    {
        require(index >= 0 && index <= 6 && value >= 0.0 && value <= 1.0);
        return true;
    }
};

// A processor at 44.1 kHz and a controller with the checking editor open, connected both ways.
struct Plugin {
    Plugin()
    {
        processor->initialize(&host);
        ProcessSetup setup {kRealtime, kSample32, 256, 44100.0};
        processor->setupProcessing(setup);
        controller->initialize(&host);
        controller->setEditor(&checking);
        controller->connect(processor);
        processor->connect(controller);
    }
    ~Plugin() // the connection holds each side: a cycle never freed
    {
        controller->disconnect(processor);
        processor->disconnect(controller);
    }
    // Every parameter in 0..1, and states of their sizes.
    void requireSound()
    {
        for (ParamID id = 0; id < 38; ++id)
            require(controller->getParamNormalized(id) >= 0.0 && controller->getParamNormalized(id) <= 1.0);
        auto processorState = owned(new MemoryStream), controllerState = owned(new MemoryStream);
        require(processor->getState(processorState) == kResultOk && processorState->getSize() == kProgramChunkSize);
        require(controller->getState(controllerState) == kResultOk && controllerState->getSize() == 64);
    }
    MessageHost host;
    CheckingEditor checking;
    IPtr<Vextoria3> processor = owned(new Vextoria3);
    IPtr<Vextoria3Controller> controller = owned(new Vextoria3Controller);
    IPtr<Vextoria3Editor> editor = owned(new Vextoria3Editor(controller, nullptr)); // never opened
};

// Host input: states to either side taken whole or refused, messages read only within what was given.
std::vector<FuzzSeed> hostSeeds()
{
    const uint8_t* record = factoryBank() + 3 * kProgramChunkSize;
    return {FuzzSeed().add(kProcessorIdle).raw(record, kProgramChunkSize),
            FuzzSeed().add(kProcessorRunning).raw(factoryBank(), kProgramChunkSize),
            FuzzSeed().add(kControllerOwn).add(uint64_t {1}).raw(std::vector<double>(7).data(), 7 * sizeof(double)),
            FuzzSeed().add(kController).raw(record, kProgramChunkSize),
            messageSeed(kToProcessor, kBinaryMessage, "loadpreset", std::vector<uint8_t>(record, record + kProgramChunkSize)),
            messageSeed(kToProcessor, kBinaryMessage, "synchiddenparam", std::vector<uint8_t>(56)),
            messageSeed(kToProcessor, kIntMessage, "setslice", FuzzSeed().add(int64 {3}).bytes),
            messageSeed(kToProcessor, kTextMessage, "Text", std::vector<uint8_t>(600, 'x')),
            messageSeed(kToController, kBinaryMessage, "AudioData", std::vector<uint8_t>(16384, 7)),
            messageSeed(kToController, kBinaryMessage, "MidiNote", std::vector<uint8_t>(3 * sizeof(MidiNoteRecord)))};
}

void host(Plugin& plugin, FuzzInput& in)
{
    const auto input = HostInput(in.value() % 6);
    plugin.processor->setActive(input == kProcessorRunning || input == kMessagesRunning);
    for (int32 count = 0; input >= kMessages && count < 4 && in.offset < in.size; ++count) {
        IConnectionPoint* receiver = in.value() % 2 == kToProcessor ? static_cast<IConnectionPoint*>(plugin.processor)
                                                                    : static_cast<IConnectionPoint*>(plugin.controller);
        receiver->notify(readMessage(in));
    }
    if (input >= kMessages)
        return;
    std::vector<uint8_t> bytes = in.bytes(in.size);
    auto stream = owned(new MemoryStream(bytes.data(), TSize(bytes.size())));
    if (input == kControllerOwn)
        plugin.controller->setState(stream);
    else if (input == kController)
        plugin.controller->setComponentState(stream);
    else
        plugin.processor->setState(stream);
    plugin.requireSound();
}

// User files: settings read, written by line and kept in range; dropped presets read in bounds, loaded in range.
std::vector<FuzzSeed> filesSeeds()
{
    const std::string saved = "; saved by the editor\n[Plugin]\nactive=1.000000\nsize=0.250000\ndarkmode=1\n"
                              "knobspeed=0x1p-1\nscopestyle=inf\nnodirect= 7.5e-1junk\n[Other]\nsize=2\n";
    const std::string broken = "[Plugin\nactive\n=1\n[Plugin]]\nsize==0.5\n\xff\xfe[\n";
    std::vector<uint8_t> state(64);
    state[0] = 1; // the marker, then seven hidden values of 0
    auto* record = const_cast<uint8_t*>(factoryBank() + 5 * kProgramChunkSize);
    auto file = owned(new MemoryStream);
    PresetFile::savePreset(file, kVextoria3ProcessorUID, owned(new MemoryStream(record, kProgramChunkSize)),
                           owned(new MemoryStream(state.data(), TSize(state.size()))), "<MetaInfo/>");
    return {FuzzSeed().add(uint8_t {0}).raw(saved.data(), saved.size()),
            FuzzSeed().add(uint8_t {0}).raw(broken.data(), broken.size()),
            FuzzSeed().add(uint8_t {1}).raw(file->getData(), size_t(file->getSize()))};
}

void files(Plugin& plugin, FuzzInput& in)
{
    static const std::string home = SettingsFile::homeFolder().value_or("");
    static const std::string settingsPath = [] { // where the DSP object and the controller look
        require(!home.empty());
        SettingsFile::prepare(home);
        return SettingsFile::settingsPath(home);
    }();
    static const std::string presetPath = home + "/fuzz-" + std::to_string(getpid()) + ".vstpreset";
    const bool settingsFile = in.value() % 2 == 0;
    const std::vector<uint8_t> bytes = in.bytes(in.size);
    const std::string& path = settingsFile ? settingsPath : presetPath;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!settingsFile) {
        if (const auto preset = Vextoria3Editor::readVST3Preset(path))
            require(!preset->compData.empty() && preset->compData.size() <= bytes.size() &&
                    preset->contData.size() <= bytes.size() && preset->name == Vextoria3Editor::getBaseName(path));
        plugin.editor->loadVST3Preset(path, "fuzz");
        plugin.requireSound();
        return;
    }
    static constexpr const char* kKeys[] = {"active", "size", "darkmode", "knobspeed", "scopestyle", "movetoast",
                                            "editfx", "scopespeed", "stretch", "nodirect", "pitchset", "replayseq"};
    static constexpr const char* kSections[] = {"Plugin", "Other", "New"};
    SettingsFile settings;
    const bool read = settings.load(path);
    settings.defaultsEnabled();
    for (const char* key : kKeys)
        require(!std::isnan(settings.number("Plugin", key).value_or(0)));
    HiddenParameters hidden;
    readHiddenDefaults(hidden);
    for (int32_t index = 0; index < HiddenParameters::count; ++index)
        require(hidden.getParamValue(index) >= 0.0 && hidden.getParamValue(index) <= 1.0);
    if (!read)
        return;
    // Up to three sets: each changes one line at most, and the text reads back as the reader's own state.
    IniLineEditor lines(std::string(bytes.begin(), bytes.end()));
    for (size_t set = 1; set <= std::min<size_t>(3, bytes.size()); ++set) {
        const uint8_t pick = bytes[bytes.size() - set];
        const char *section = kSections[pick % 3], *key = kKeys[pick / 3 % std::size(kKeys)];
        const std::string before = lines.text(), value = std::to_string(pick % 4);
        lines.set(section, key, value);
        settings.setText(section, key, value);
        const std::string& after = lines.text();
        const auto head = std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first;
        const auto tail = std::mismatch(before.rbegin(), std::make_reverse_iterator(head), after.rbegin(), after.rend()).first;
        require(std::find_if(head, tail.base(), [](char c) { return c == '\r' || c == '\n'; }) == tail.base());
    }
    SettingsFile written;
    require(written.loadText(lines.text()));
    for (const char* section : kSections)
        for (const char* key : kKeys)
            require(written.text(section, key) == settings.text(section, key));
}

// With VEXTORIA_FUZZ_SEEDS naming a folder, writes seed-0, seed-1, ... there and exits.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* folder = std::getenv("VEXTORIA_FUZZ_SEEDS");
    if (folder == nullptr)
        return 0;
    std::filesystem::create_directories(folder);
    int index = 0;
    for (const FuzzSeed& seed : VEXTORIA_FUZZ_TARGET_SEEDS()) {
        std::ofstream file(std::string(folder) + "/seed-" + std::to_string(index++), std::ios::binary);
        require(bool(file.write(reinterpret_cast<const char*>(seed.bytes.data()), std::streamsize(seed.bytes.size()))));
    }
    std::exit(0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Plugin plugin;
    FuzzInput in {data, size};
    VEXTORIA_FUZZ_TARGET(plugin, in);
    return 0;
}
