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

} // namespace

std::vector<FuzzSeed> fuzzSeeds()
{
    const std::vector<uint8_t> record(factoryBank() + 5 * kProgramChunkSize, factoryBank() + 6 * kProgramChunkSize);
    FuzzSeed state;
    state.add(uint64_t {1});
    for (double value : {0.0, 1.0, 0.5, 0.25, 1.0, 0.0, 0.75})
        state.add(value);
    auto component = owned(new MemoryStream(const_cast<uint8_t*>(record.data()), TSize(record.size())));
    auto controllerState = owned(new MemoryStream(state.bytes.data(), TSize(state.bytes.size())));
    auto file = owned(new MemoryStream);
    PresetFile::savePreset(file, kVextoria3ProcessorUID, component, controllerState, "<MetaInfo/>");
    return {FuzzSeed().raw(file->getData(), size_t(file->getSize()))};
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
