// The controller's message handler, fed up to four messages built from the input, with an
// editor open: what it passes on to the editor stays inside the sizes it promises.
#include "FuzzMessage.h"
#include "FuzzPeers.h"

#include "controller/Vextoria3Controller.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace FuzzMessage;

namespace {

struct Controller {
    Controller()
    {
        controller->initialize(&host);
        controller->connect(&peer);
        controller->setEditor(&editor);
    }
    MessageHost host;
    AcceptingPeer peer;
    CheckingEditor editor;
    IPtr<Vextoria3Controller> controller = owned(new Vextoria3Controller);
};

} // namespace

std::vector<FuzzSeed> fuzzSeeds()
{
    std::vector<uint8_t> scope(16384, 7);
    std::vector<uint8_t> notes(3 * sizeof(MidiNoteRecord), 0);
    FuzzSeed audio, midi, ask, text;
    binaryAttribute(attributeCount(audio, kBinaryMessage, 1), key("AudioData"), scope);
    binaryAttribute(attributeCount(midi, kBinaryMessage, 1), key("MidiNote"), notes);
    intAttribute(attributeCount(ask, kIntMessage, 1), key("copyhiddenparam"), 1);
    stringAttribute(attributeCount(text, kTextMessage, 1), key("Text"), u"hello");
    return {audio, midi, ask, text};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Controller plugin;
    FuzzInput in(data, size);
    for (int32 count = 0; count < 4 && !in.empty(); ++count)
        plugin.controller->notify(read(in));
    return 0;
}
