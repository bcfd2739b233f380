// The processor's message handler, fed up to four messages built from the input while idle
// or running: nothing it is sent can make it read outside what it was given.
#include "FuzzMessage.h"

#include "dsp/Vextoria3FX.h"
#include "processor/Vextoria3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace FuzzMessage;

namespace {

// The controller's end of the connection: takes every message.
class Peer : public IConnectionPoint {
public:
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage*) override { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

struct Processor {
    Processor()
    {
        processor->initialize(&host);
        ProcessSetup setup {kRealtime, kSample32, 256, 44100.0};
        processor->setupProcessing(setup);
        processor->connect(&peer);
    }
    MessageHost host;
    Peer peer;
    IPtr<Vextoria3> processor = owned(new Vextoria3());
};

std::vector<FuzzSeed> seeds()
{
    Vextoria3FX fx;
    std::vector<uint8_t> record;
    fx.getChunk(record, true);
    std::vector<uint8_t> hidden(56, 0);
    const std::u16string longText(300, u'x');
    FuzzSeed preset, slice, tick, text;
    binaryAttribute(attributeCount(preset.byte(0), kBinaryMessage, 1), key("loadpreset"), record);
    binaryAttribute(attributeCount(preset, kBinaryMessage, 1), key("synchiddenparam"), hidden);
    intAttribute(attributeCount(slice.byte(1), kIntMessage, 1), key("setslice"), 3);
    intAttribute(attributeCount(tick.byte(1), kIntMessage, 1), key("linuxtimer"), 1);
    stringAttribute(attributeCount(text.byte(0), kTextMessage, 1), key("Text"), longText);
    return {preset, slice, tick, text};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    writeSeedsIfAsked(seeds());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Processor plugin;
    FuzzInput in(data, size);
    plugin.processor->setActive((in.byte() & 1) != 0);
    for (int32 count = 0; count < 4 && !in.empty(); ++count)
        plugin.processor->notify(read(in));
    return 0;
}
