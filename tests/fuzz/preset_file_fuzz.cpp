// A dropped preset file, whatever its bytes: the editor's reader never reads or allocates
// beyond the file, and a load leaves the processor and the controller with values in range.
#include "FuzzInput.h"
#include "FuzzPeers.h"

#include "Vextoria3Cids.h"
#include "controller/Vextoria3Controller.h"
#include "dsp/FactoryBank.h"
#include "dsp/ProgramChunk.h"
#include "editor/Vextoria3Editor.h"
#include "processor/Vextoria3.h"
#include "settings/SettingsFile.h"
#include "support/SafeHostMessage.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A controller and a processor connected as a host connects them, and an editor that was
// never opened: the load needs no window.
struct Plugin {
    Plugin()
    {
        processor->initialize(&host);
        controller->initialize(&host);
        controller->connect(processor);
        controller->setEditor(&checking);
    }
    MessageHost host;
    CheckingEditor checking;
    IPtr<Vextoria3> processor = owned(new Vextoria3);
    IPtr<Vextoria3Controller> controller = owned(new Vextoria3Controller);
    IPtr<Vextoria3Editor> editor = owned(new Vextoria3Editor(controller, nullptr));
};

// A file as the SDK writes it, with a meta-information chunk ahead of the states when given.
std::vector<uint8_t> presetFile(const std::vector<uint8_t>& component, const std::vector<uint8_t>& state, const char* info)
{
    auto stream = owned(new MemoryStream);
    PresetFile writer(stream);
    writer.setClassID(kVextoria3ProcessorUID);
    writer.writeHeader();
    if (info)
        writer.writeMetaInfo(info);
    writer.writeChunk(component.data(), int32(component.size()), kComponentState);
    writer.writeChunk(state.data(), int32(state.size()), kControllerState);
    writer.writeChunkList();
    return {stream->getData(), stream->getData() + stream->getSize()};
}

} // namespace

std::vector<FuzzSeed> fuzzSeeds()
{
    const std::vector<uint8_t> record(factoryBank() + 5 * kProgramChunkSize, factoryBank() + 6 * kProgramChunkSize);
    FuzzSeed state;
    state.add(uint64_t {1});
    for (double value : {0.0, 1.0, 0.5, 0.25, 1.0, 0.0, 0.75})
        state.add(value);
    return {FuzzSeed().raw(presetFile(record, state.bytes, nullptr)),
            FuzzSeed().raw(presetFile(record, state.bytes, "<MetaInfo><Attr id=\"MediaType\"/></MetaInfo>"))};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Plugin plugin;
    static const std::string path =
        SettingsFile::homeFolder().value_or("/tmp") + "/fuzz-" + std::to_string(getpid()) + ".vstpreset";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));

    if (const auto preset = Vextoria3Editor::readVST3Preset(path))
        if (preset->compData.empty() || preset->compData.size() > size || preset->contData.size() > size ||
            preset->name != Vextoria3Editor::getBaseName(path))
            std::abort();
    plugin.editor->loadVST3Preset(path, "fuzz");

    for (ParamID id = 0; id < 38; ++id) {
        const double value = plugin.controller->getParamNormalized(id);
        if (!(value >= 0.0 && value <= 1.0))
            std::abort();
    }
    auto saved = owned(new MemoryStream);
    if (plugin.processor->getState(saved) != kResultOk || saved->getSize() != 372)
        std::abort();
    return 0;
}
