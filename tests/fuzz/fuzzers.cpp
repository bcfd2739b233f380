// The fuzzers, one per reader of outside bytes: each is this file built with the names of its
// two functions, VEXTORIA_FUZZ_TARGET (plugin, input) and VEXTORIA_FUZZ_TARGET_SEEDS. Each reads
// fields off the fuzzer's input, stops the fuzzer where a promise is broken, and writes its own
// seeds when a test asks.
#include "Vextoria3Cids.h"
#include "controller/HiddenDefaults.h"
#include "controller/Vextoria3Controller.h"
#include "dsp/FactoryBank.h"
#include "dsp/MidiEventRing.h"
#include "dsp/ProgramChunk.h"
#include "dsp/Vextoria3FX.h"
#include "editor/Vextoria3Editor.h"
#include "processor/Vextoria3.h"
#include "settings/SettingsFile.h"
#include "support/SafeHostMessage.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
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
        if (const std::vector<uint8_t> taken = bytes(sizeof(Value)); !taken.empty())
            std::memcpy(&result, taken.data(), taken.size());
        return result;
    }
    uint32_t length(uint32_t limit) { return value<uint32_t>() % (limit + 1); }
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
    FuzzSeed& add(Value value)
    {
        return raw(&value, sizeof value);
    }
    FuzzSeed& raw(const void* more, size_t count)
    {
        bytes.insert(bytes.end(), static_cast<const uint8_t*>(more), static_cast<const uint8_t*>(more) + count);
        return *this;
    }
    std::vector<uint8_t> bytes;
};

// Messages: an id, then up to four attributes, each a key, a type and a value. The keys are
// the commands of both sides and one other, so most inputs say something a receiver looks at.
const char* const kIds[] = {"IntMessage", "BinaryMessage", "TextMessage", nullptr};
const char* const kKeys[] = {"setslice",    "linuxtimer", "loadpreset", "setpresetname", "synchiddenparam",
                             "copyhiddenparam", "askpresonus", "MidiNote", "AudioData", "Text", "other"};
enum Id : uint8_t { kIntMessage, kBinaryMessage, kTextMessage };
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
            std::u16string text(in.length(1000), u'\0'); // the list copies up to the terminator
            for (char16_t& unit : text)
                unit = in.value<char16_t>();
            message->getAttributes()->setString(key, reinterpret_cast<const TChar*>(text.c_str()));
            break;
        }
        default:
            const std::vector<uint8_t> bytes = in.bytes(in.length(100000));
            message->getAttributes()->setBinary(key, bytes.data(), static_cast<uint32>(bytes.size()));
        }
    }
    return message;
}

// A seed of one message with one attribute of the id's type; strings and bytes lead with their length.
FuzzSeed messageSeed(Id id, std::string_view key, const std::vector<uint8_t>& value)
{
    const auto pick = uint8_t(std::find(std::begin(kKeys), std::end(kKeys), key) - std::begin(kKeys));
    const Type type = id == kIntMessage ? kInt : id == kTextMessage ? kString : kBinary;
    FuzzSeed seed = FuzzSeed().add(id).add(uint8_t {1}).add(pick).add(type);
    if (type == kString || type == kBinary)
        seed.add(uint32_t(type == kString ? value.size() / 2 : value.size()));
    return seed.raw(value.data(), value.size());
}

// An open editor that stops the fuzzer when the controller hands it more than it promises,
// and reads the last of what it is given.
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

// A processor set up at 44.1 kHz and a controller with the checking editor open, connected
// both ways as a host connects them; the preset reader's editor is never opened.
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
    ~Plugin()
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
    IPtr<Vextoria3Editor> editor = owned(new Vextoria3Editor(controller, nullptr));
    Vextoria3FX fx;
};

void writeInput(const std::string& path, const FuzzInput& in)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(in.data), in.size);
}

// The processor's state reader and the DSP object's record reader, for one record or a bank:
// a record is taken whole or refused, and the state written afterwards is a record again.
enum RecordReader : uint8_t { kProcessorIdle, kProcessorRunning, kRecord, kBank };

std::vector<FuzzSeed> processorStateSeeds()
{
    const uint8_t* bank = factoryBank();
    return {FuzzSeed().add(kProcessorIdle).raw(bank + 3 * kProgramChunkSize, kProgramChunkSize),
            FuzzSeed().add(kProcessorRunning).raw(bank, kProgramChunkSize), FuzzSeed().add(kRecord).raw(bank, 100),
            FuzzSeed().add(kBank).raw(bank, factoryBankSize())};
}

void processorState(Plugin& plugin, FuzzInput& in)
{
    const auto reader = RecordReader(in.value() % 4);
    std::vector<uint8_t> bytes = in.bytes(in.size);
    if (reader == kRecord || reader == kBank) {
        plugin.fx.setChunk(bytes.data(), int32_t(bytes.size()), reader == kRecord);
        std::vector<uint8_t> written;
        require(plugin.fx.getChunk(written, reader == kRecord) == int32_t(written.size()));
        return;
    }
    plugin.processor->setActive(reader == kProcessorRunning);
    plugin.processor->setState(owned(new MemoryStream(bytes.data(), TSize(bytes.size()))));
    plugin.requireSound();
}

// The controller's readers of its own state (first byte even) and of the processor's: values
// out of range are refused, and the state written afterwards has its 64 bytes.
std::vector<FuzzSeed> controllerStateSeeds()
{
    FuzzSeed ownState = FuzzSeed().add(uint8_t {0}).add(uint64_t {1});
    for (double value : {0.5, 1.0, 0.5, 1.0, 0.0, 1.0, 0.75})
        ownState.add(value);
    return {ownState, FuzzSeed().add(uint8_t {1}).raw(factoryBank() + 3 * kProgramChunkSize, kProgramChunkSize)};
}

void controllerState(Plugin& plugin, FuzzInput& in)
{
    const bool ownState = in.value() % 2 == 0;
    std::vector<uint8_t> bytes = in.bytes(in.size);
    auto stream = owned(new MemoryStream(bytes.data(), TSize(bytes.size())));
    if (ownState)
        plugin.controller->setState(stream);
    else
        plugin.controller->setComponentState(stream);
    plugin.requireSound();
}

// The message handlers of both sides, fed up to four messages while the processor is idle or
// running: nothing either is sent makes it read outside what it was given, and what the
// controller passes on to its open editor stays inside what it promises.
std::vector<FuzzSeed> messagesSeeds()
{
    const std::vector<uint8_t> record(factoryBank(), factoryBank() + kProgramChunkSize);
    const auto number = [](int64 value) { return FuzzSeed().add(value).bytes; };
    const std::pair<uint8_t, FuzzSeed> messages[] = { // to the processor (0) or the controller (1)
        {0, messageSeed(kBinaryMessage, "loadpreset", record)},
        {0, messageSeed(kBinaryMessage, "synchiddenparam", std::vector<uint8_t>(56))},
        {0, messageSeed(kIntMessage, "setslice", number(3))}, {0, messageSeed(kIntMessage, "linuxtimer", number(1))},
        {0, messageSeed(kTextMessage, "Text", std::vector<uint8_t>(600, 'x'))},
        {1, messageSeed(kBinaryMessage, "AudioData", std::vector<uint8_t>(16384, 7))},
        {1, messageSeed(kBinaryMessage, "MidiNote", std::vector<uint8_t>(3 * sizeof(MidiNoteRecord)))},
        {1, messageSeed(kIntMessage, "copyhiddenparam", number(1))}, {1, messageSeed(kTextMessage, "Text", {'h', 0})},
    };
    std::vector<FuzzSeed> seeds;
    for (const auto& [receiver, message] : messages)
        seeds.push_back(FuzzSeed().add(uint8_t {1}).add(receiver).raw(message.bytes.data(), message.bytes.size()));
    return seeds;
}

void messages(Plugin& plugin, FuzzInput& in)
{
    plugin.processor->setActive((in.value() & 1) != 0);
    for (int32 count = 0; count < 4 && in.offset < in.size; ++count) {
        IConnectionPoint* receiver = in.value() % 2 == 0 ? static_cast<IConnectionPoint*>(plugin.processor)
                                                         : static_cast<IConnectionPoint*>(plugin.controller);
        receiver->notify(readMessage(in));
    }
}

// The user settings file as the DSP object and the controller read it: any bytes give each
// key's text and number, or none, and the controller's hidden settings stay in 0..1.
std::vector<FuzzSeed> settingsFileSeeds()
{
    const std::string saved = "; saved by the editor\n[Plugin]\nactive=1.000000\nsize=0.250000\ndarkmode=1\n"
                              "knobspeed=0x1p-1\nscopestyle=inf\nnodirect= 7.5e-1junk\n[Other]\nsize=2\n";
    const std::string broken = "[Plugin\nactive\n=1\n[Plugin]]\nsize==0.5\n\xff\xfe[\n";
    return {FuzzSeed().raw(saved.data(), saved.size()), FuzzSeed().raw(broken.data(), broken.size())};
}

void settingsFile(Plugin&, FuzzInput& in)
{
    static const std::string path = [] { // where the DSP object and the controller look
        const std::string home = SettingsFile::homeFolder().value_or("");
        require(!home.empty());
        SettingsFile::prepare(home);
        return SettingsFile::settingsPath(home);
    }();
    writeInput(path, in);
    SettingsFile settings;
    settings.load(path);
    settings.defaultsEnabled();
    for (const char* key : {"active", "size", "darkmode", "knobspeed", "scopestyle", "movetoast", "editfx",
                            "scopespeed", "stretch", "nodirect", "pitchset", "replayseq"})
        require(!std::isnan(settings.number("Plugin", key).value_or(0)));
    HiddenParameters hidden;
    readHiddenDefaults(hidden);
    for (int32_t index = 0; index < HiddenParameters::count; ++index)
        require(hidden.getParamValue(index) >= 0.0 && hidden.getParamValue(index) <= 1.0);
    parseLeadingNumber(std::string_view(reinterpret_cast<const char*>(in.data), in.size));
}

// A dropped preset file: the editor's reader never reads or allocates beyond the file, and a
// load leaves the processor and the controller with values in range.
std::vector<FuzzSeed> presetFileSeeds()
{
    FuzzSeed state = FuzzSeed().add(uint64_t {1});
    for (double value : {0.0, 1.0, 0.5, 0.25, 1.0, 0.0, 0.75})
        state.add(value);
    auto* record = const_cast<uint8_t*>(factoryBank() + 5 * kProgramChunkSize);
    auto file = owned(new MemoryStream);
    PresetFile::savePreset(file, kVextoria3ProcessorUID, owned(new MemoryStream(record, kProgramChunkSize)),
                           owned(new MemoryStream(state.bytes.data(), TSize(state.bytes.size()))), "<MetaInfo/>");
    return {FuzzSeed().raw(file->getData(), size_t(file->getSize()))};
}

void presetFile(Plugin& plugin, FuzzInput& in)
{
    static const std::string path =
        SettingsFile::homeFolder().value_or("/tmp") + "/fuzz-" + std::to_string(getpid()) + ".vstpreset";
    writeInput(path, in);
    if (const auto preset = Vextoria3Editor::readVST3Preset(path))
        require(!preset->compData.empty() && preset->compData.size() <= in.size && preset->contData.size() <= in.size &&
                preset->name == Vextoria3Editor::getBaseName(path));
    plugin.editor->loadVST3Preset(path, "fuzz");
    plugin.requireSound();
}



// When VEXTORIA_FUZZ_SEEDS names a folder, writes the target's seeds there as seed-0, seed-1,
// ... and ends the process: the tests make each corpus this way.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* folder = std::getenv("VEXTORIA_FUZZ_SEEDS");
    if (folder == nullptr)
        return 0;
    const std::vector<FuzzSeed> seeds = VEXTORIA_FUZZ_TARGET_SEEDS();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (size_t index = 0; index < seeds.size(); ++index) {
        std::ofstream file(std::string(folder) + "/seed-" + std::to_string(index), std::ios::binary);
        file.write(reinterpret_cast<const char*>(seeds[index].bytes.data()), std::streamsize(seeds[index].bytes.size()));
        require(bool(file));
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
