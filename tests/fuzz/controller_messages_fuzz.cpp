// The controller's message handler, fed up to four messages built from the input, with an
// editor open: what it passes on to the editor stays inside the sizes it promises.
#include "FuzzMessage.h"

#include "controller/EditorLink.h"
#include "controller/Vextoria3Controller.h"
#include "dsp/MidiEventRing.h"

#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace FuzzMessage;

namespace {

class CheckingEditor : public EditorLink {
public:
    bool isOpen() const override { return true; }
    void processOscilloscope(const int8_t* data, int32_t count, int32_t offset) override
    {
        if (count < 0 || count > 16384 || offset != 0 || (count > 0 && data == nullptr))
            std::abort();
        volatile int8_t last = count > 0 ? data[count - 1] : 0; // read all it was given
        (void)last;
    }
    void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) override
    {
        if (count < 0 || count > MidiEventRing::kCapacity || (count > 0 && notes == nullptr))
            std::abort();
        volatile int32_t last = count > 0 ? notes[count - 1].velocity : 0;
        (void)last;
    }
    bool setHiddenParameter(int32_t, double) override { return true; }
};

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

struct Controller {
    Controller()
    {
        controller->initialize(&host);
        controller->connect(&peer);
        controller->setEditor(&editor);
    }
    MessageHost host;
    Peer peer;
    CheckingEditor editor;
    IPtr<Vextoria3Controller> controller = owned(new Vextoria3Controller);
};

std::vector<FuzzSeed> seeds()
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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    writeSeedsIfAsked(seeds());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Controller plugin;
    FuzzInput in(data, size);
    for (int32 count = 0; count < 4 && !in.empty(); ++count)
        plugin.controller->notify(read(in));
    return 0;
}
