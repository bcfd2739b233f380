// The controller's readers of its own state and of the processor's: whatever the bytes,
// values out of range are refused, and the state written afterwards has its 64 bytes.
#include "FuzzInput.h"
#include "FuzzPeers.h"

#include "controller/Vextoria3Controller.h"
#include "dsp/Vextoria3FX.h"
#include "support/SafeHostMessage.h"

#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

enum Reader : uint8_t { kControllerState, kComponentState };

struct Controller {
    Controller()
    {
        controller->initialize(&host);
        controller->setEditor(&editor);
    }
    MessageHost host;
    CheckingEditor editor;
    IPtr<Vextoria3Controller> controller = owned(new Vextoria3Controller);
};

} // namespace

std::vector<FuzzSeed> fuzzSeeds()
{
    FuzzSeed controllerState;
    controllerState.byte(kControllerState).add(uint64_t {1});
    for (double value : {0.5, 1.0, 0.5, 1.0, 0.0, 1.0, 0.75})
        controllerState.add(value);
    Vextoria3FX fx;
    fx.loadFactoryBank();
    fx.setProgram(3);
    std::vector<uint8_t> record;
    fx.getChunk(record, true);
    return {controllerState, FuzzSeed().byte(kComponentState).raw(record)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Controller plugin;
    FuzzInput in(data, size);
    const Reader reader = static_cast<Reader>(in.byte() % 2);
    std::vector<uint8_t> bytes = in.rest();
    auto stream = owned(new MemoryStream(bytes.data(), static_cast<TSize>(bytes.size())));
    if (reader == kControllerState)
        plugin.controller->setState(stream);
    else
        plugin.controller->setComponentState(stream);
    for (int32 index = 0; index < plugin.controller->getParameterCount(); ++index) {
        ParameterInfo info {};
        plugin.controller->getParameterInfo(index, info);
        const double value = plugin.controller->getParamNormalized(info.id);
        if (!(value >= 0.0 && value <= 1.0))
            std::abort();
    }
    auto saved = owned(new MemoryStream());
    if (plugin.controller->getState(saved) != kResultOk)
        std::abort();
    int64 savedSize = 0;
    saved->tell(&savedSize);
    if (savedSize != 64)
        std::abort();
    return 0;
}
