// The processor's message handler, fed up to four messages built from the input while idle
// or running: nothing it is sent can make it read outside what it was given.
#include "FuzzMessage.h"
#include "FuzzPeers.h"

#include "dsp/Vextoria3FX.h"
#include "processor/Vextoria3.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace FuzzMessage;

namespace {

struct Processor {
    Processor()
    {
        processor->initialize(&host);
        ProcessSetup setup {kRealtime, kSample32, 256, 44100.0};
        processor->setupProcessing(setup);
        processor->connect(&peer);
    }
    MessageHost host;
    AcceptingPeer peer;
    IPtr<Vextoria3> processor = owned(new Vextoria3());
};

} // namespace

std::vector<FuzzSeed> fuzzSeeds()
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Processor plugin;
    FuzzInput in(data, size);
    plugin.processor->setActive((in.byte() & 1) != 0);
    for (int32 count = 0; count < 4 && !in.empty(); ++count)
        plugin.processor->notify(read(in));
    return 0;
}
