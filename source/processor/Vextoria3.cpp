#include "processor/Vextoria3.h"

#include "Vextoria3Cids.h"
#include "dsp/Vextoria3FX.h"
#include "sdk/streambytes.h"

#include "pluginterfaces/base/ustring.h"

#include <bit>

namespace Steinberg {
namespace Vst {
namespace {

constexpr int32 kMidiChannels = 16;

int32 channelCount(SpeakerArrangement arrangement)
{
    return std::popcount(static_cast<uint64>(arrangement));
}

} // namespace

Vextoria3::Vextoria3()
{
    setControllerClass(kVextoria3ControllerUID);
    fx = std::make_unique<Vextoria3FX>();
    createFactoryPresets();
}

Vextoria3::~Vextoria3() = default;

FUnknown* Vextoria3::createInstance(void* /*context*/)
{
    return static_cast<IAudioProcessor*>(new Vextoria3());
}

void Vextoria3::createFactoryPresets()
{
    // All 16 programs are filled and named; none is applied, so the live values stay the
    // defaults as the user settings changed them.
    fx->loadFactoryBank();
}

tresult PLUGIN_API Vextoria3::initialize(FUnknown* context)
{
    const tresult result = AudioEffect::initialize(context);
    if (result != kResultOk)
        return result;
    addAudioInput(STR16("Stereo In"), SpeakerArr::kStereo);
    addAudioOutput(STR16("Stereo Out"), SpeakerArr::kStereo);
    addEventInput(STR16("MIDI In"), kMidiChannels);
    addEventOutput(STR16("MIDI Out Vextoria3"), kMidiChannels);
    return result;
}

void Vextoria3::replaceAudioBuses(const TChar* inputName, SpeakerArrangement input, const TChar* outputName,
                                  SpeakerArrangement output)
{
    removeAudioBusses();
    addAudioInput(inputName, input);
    addAudioOutput(outputName, output);
}

tresult PLUGIN_API Vextoria3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                 SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns != 1 || numOuts != 1)
        return kResultFalse;
    if (inputs == nullptr || outputs == nullptr)
        return kInvalidArgument;
    AudioBus* currentInput = getAudioInput(0);
    if (currentInput == nullptr)
        return kResultFalse;

    const int32 inChannels = channelCount(inputs[0]);
    const int32 outChannels = channelCount(outputs[0]);
    if (inChannels == 1 && outChannels == 1)
    {
        if (currentInput->getArrangement() != inputs[0])
            replaceAudioBuses(STR16("Mono In"), inputs[0], STR16("Mono Out"), inputs[0]);
        return kResultTrue;
    }
    if (inChannels == 2 && outChannels == 2)
    {
        replaceAudioBuses(STR16("Stereo In"), inputs[0], STR16("Stereo Out"), outputs[0]);
        return kResultTrue;
    }
    // Anything else is refused; the buses fall back to (or stay) stereo.
    if (currentInput->getArrangement() != SpeakerArr::kStereo)
        replaceAudioBuses(STR16("Stereo In"), SpeakerArr::kStereo, STR16("Stereo Out"), SpeakerArr::kStereo);
    return kResultFalse;
}

uint32 PLUGIN_API Vextoria3::getProcessContextRequirements()
{
    using Flags = IProcessContextRequirements::Flags;
    return Flags::kNeedSystemTime | Flags::kNeedContinousTimeSamples | Flags::kNeedProjectTimeMusic
           | Flags::kNeedBarPositionMusic | Flags::kNeedCycleMusic | Flags::kNeedSamplesToNextClock
           | Flags::kNeedTempo | Flags::kNeedTimeSignature | Flags::kNeedChord | Flags::kNeedFrameRate
           | Flags::kNeedTransportState;
}

uint32 PLUGIN_API Vextoria3::getTailSamples()
{
    return fx->tailSamples();
}

tresult PLUGIN_API Vextoria3::setActive(TBool state)
{
    if (state)
    {
        fx->resume(processSetup.sampleRate, processSetup.maxSamplesPerBlock);
    }
    else
    {
        fx->suspend();
        // No block runs any more, so a record still waiting for one is applied here.
        fx->applyPendingChunk();
    }
    active = state != 0;
    return AudioEffect::setActive(state);
}

tresult PLUGIN_API Vextoria3::setState(IBStream* state)
{
    if (state == nullptr)
        return kInvalidArgument;
    std::vector<uint8_t> bytes;
    readStreamBytes(*state, kMaxStateBytes, bytes);
    if (bytes.empty())
        return kResultFalse;
    return takeRecord(bytes.data(), static_cast<int32>(bytes.size())) ? kResultOk : kResultFalse;
}

bool Vextoria3::takeRecord(const void* data, int32 size)
{
    // While blocks run, the audio thread takes the record at the start of its next block.
    return active ? fx->postChunk(data, size) : fx->setChunk(data, size, true);
}

tresult PLUGIN_API Vextoria3::getState(IBStream* state)
{
    if (state == nullptr)
        return kInvalidArgument;
    // A controller that answers at once has its hidden values in the record below.
    copyHiddenParamToChunk();
    std::vector<uint8_t> record;
    fx->getChunk(record, true);
    return writeStreamBytes(*state, record);
}

} // namespace Vst
} // namespace Steinberg
