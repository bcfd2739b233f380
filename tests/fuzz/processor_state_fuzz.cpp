// The processor's state reader and the DSP object's record reader, for one record or a bank:
// whatever the bytes, a record is taken whole or refused, and the state written afterwards
// is a record again.
#include "FuzzInput.h"

#include "dsp/FactoryBank.h"
#include "dsp/Vextoria3FX.h"
#include "processor/Vextoria3.h"
#include "support/SafeHostMessage.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

enum Reader : uint8_t { kProcessorIdle, kProcessorRunning, kRecord, kBank };

struct Plugin {
    Plugin()
    {
        processor->initialize(&host);
        ProcessSetup setup {kRealtime, kSample32, 256, 44100.0};
        processor->setupProcessing(setup);
    }
    MessageHost host;
    IPtr<Vextoria3> processor = owned(new Vextoria3());
    Vextoria3FX fx;
};

} // namespace

std::vector<FuzzSeed> fuzzSeeds()
{
    Vextoria3FX fx;
    fx.loadFactoryBank();
    std::vector<uint8_t> record;
    fx.getChunk(record, true);
    const std::vector<uint8_t> bank(factoryBank(), factoryBank() + factoryBankSize());
    std::vector<uint8_t> shortRecord(record.begin(), record.begin() + 100);
    return {FuzzSeed().byte(kProcessorIdle).raw(record), FuzzSeed().byte(kProcessorRunning).raw(record),
            FuzzSeed().byte(kRecord).raw(shortRecord), FuzzSeed().byte(kBank).raw(bank)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Plugin plugin;
    FuzzInput in(data, size);
    const Reader reader = static_cast<Reader>(in.byte() % 4);
    const std::vector<uint8_t> bytes = in.rest();
    if (reader == kRecord || reader == kBank) {
        plugin.fx.setChunk(bytes.data(), static_cast<int32_t>(bytes.size()), reader == kRecord);
        std::vector<uint8_t> written;
        if (plugin.fx.getChunk(written, reader == kRecord) != static_cast<int32_t>(written.size()))
            std::abort();
        return 0;
    }
    plugin.processor->setActive(reader == kProcessorRunning);
    auto stream = owned(new MemoryStream(const_cast<uint8_t*>(bytes.data()), static_cast<TSize>(bytes.size())));
    plugin.processor->setState(stream);
    auto saved = owned(new MemoryStream());
    plugin.processor->getState(saved);
    int64 savedSize = 0;
    saved->tell(&savedSize);
    if (savedSize != 372)
        std::abort();
    return 0;
}
