#include "sdk/audioeffect.h"

#include <cmath>

namespace Steinberg {
namespace Vst {
namespace {

template <typename BusClass>
BusClass* busAt(BusList& list, int32 index)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return nullptr;
    return FCast<BusClass>(list[static_cast<size_t>(index)].get());
}

template <typename BusClass, typename... Arguments>
BusClass* appendBus(BusList& list, Arguments... arguments)
{
    auto* bus = new BusClass(arguments...);
    list.push_back(IPtr<Vst::Bus>(bus, false));
    return bus;
}

} // namespace

AudioEffect::AudioEffect()
{
    processSetup.processMode = kRealtime;
    processSetup.symbolicSampleSize = kSample32;
    processSetup.maxSamplesPerBlock = 1024;
    processSetup.sampleRate = 44100.0;
}

AudioBus* AudioEffect::addAudioInput(const TChar* name, SpeakerArrangement arrangement, BusType busType, int32 flags)
{
    return appendBus<AudioBus>(audioInputs, name, busType, flags, arrangement);
}

AudioBus* AudioEffect::addAudioOutput(const TChar* name, SpeakerArrangement arrangement, BusType busType, int32 flags)
{
    return appendBus<AudioBus>(audioOutputs, name, busType, flags, arrangement);
}

EventBus* AudioEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
    return appendBus<EventBus>(eventInputs, name, busType, flags, channels);
}

EventBus* AudioEffect::addEventOutput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
    return appendBus<EventBus>(eventOutputs, name, busType, flags, channels);
}

AudioBus* AudioEffect::getAudioInput(int32 index)
{
    return busAt<AudioBus>(audioInputs, index);
}

AudioBus* AudioEffect::getAudioOutput(int32 index)
{
    return busAt<AudioBus>(audioOutputs, index);
}

tresult PLUGIN_API AudioEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns < 0 || numOuts < 0 || (numIns > 0 && inputs == nullptr) || (numOuts > 0 && outputs == nullptr))
        return kInvalidArgument;
    if (static_cast<size_t>(numIns) > audioInputs.size() || static_cast<size_t>(numOuts) > audioOutputs.size())
        return kResultFalse;
    for (int32 index = 0; index < numIns; ++index)
        getAudioInput(index)->setArrangement(inputs[index]);
    for (int32 index = 0; index < numOuts; ++index)
        getAudioOutput(index)->setArrangement(outputs[index]);
    return kResultTrue;
}

tresult PLUGIN_API AudioEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arrangement)
{
    AudioBus* bus = dir == kInput ? getAudioInput(index) : getAudioOutput(index);
    if (bus == nullptr)
        return kInvalidArgument;
    arrangement = bus->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API AudioEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API AudioEffect::getLatencySamples()
{
    return 0;
}

tresult PLUGIN_API AudioEffect::setupProcessing(ProcessSetup& setup)
{
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    if (setup.maxSamplesPerBlock < 1 || !(setup.sampleRate > 0.0 && std::isfinite(setup.sampleRate)))
        return kInvalidArgument;
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API AudioEffect::setProcessing(TBool /*state*/)
{
    return kResultOk;
}

uint32 PLUGIN_API AudioEffect::getTailSamples()
{
    return kNoTail;
}

uint32 PLUGIN_API AudioEffect::getProcessContextRequirements()
{
    return 0;
}

} // namespace Vst
} // namespace Steinberg
