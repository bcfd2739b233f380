// The audio thread's side of the processor: one block of transport, parameters, notes and audio.
#include "processor/Vextoria3.h"

#include "dsp/TransportLimits.h"
#include "dsp/Vextoria3FX.h"
#include "ids.h"
#include "processor/ScopedFlushDenormals.h"

#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {
namespace {

constexpr int32 kMaxChannels = 2; // the buses are mono or stereo; the DSP object handles no more

// Velocity 0..1 as the DSP object's 0..127, truncated; out-of-range values are clamped.
int32 velocity127(float velocity)
{
    const float clamped = std::isnan(velocity) ? 0.0f : std::clamp(velocity, 0.0f, 1.0f);
    return static_cast<int32>(clamped * 127.0f);
}

// Channel pointers of one bus, moved on to the current piece of a split block.
class ChannelWindow
{
public:
    ChannelWindow(float* const* channels, int32 count) : source(channels), channelCount(std::min(count, kMaxChannels)) {}

    float* const* at(int32 offset)
    {
        if (source == nullptr)
            return nullptr;
        for (int32 channel = 0; channel < channelCount; ++channel)
            pointers[channel] = source[channel] + offset;
        return pointers;
    }

private:
    float* const* source;
    int32 channelCount;
    float* pointers[kMaxChannels] {};
};

// The bypass output: the input as it came in, a mono input on every output channel.
void copyInputToOutput(const AudioBusBuffers* input, AudioBusBuffers& output, int32 sampleCount)
{
    const size_t bytes = static_cast<size_t>(sampleCount) * sizeof(float);
    for (int32 channel = 0; channel < output.numChannels; ++channel)
    {
        float* destination = output.channelBuffers32[channel];
        if (destination == nullptr)
            continue;
        // A mono input feeds every output channel; a missing input reads as silence.
        const int32 sourceChannel = input != nullptr && output.numChannels <= input->numChannels ? channel : 0;
        const float* source = input != nullptr ? input->channelBuffers32[sourceChannel] : nullptr;
        if (source == nullptr)
            std::memset(destination, 0, bytes);
        else if (source != destination)
            std::memmove(destination, source, bytes);
    }
}

// Moves the transport on past one piece of a block, so that the next piece, or a next block
// without a transport of its own, continues the clock instead of looking like a jump.
void advanceTransport(HostTimeInfo& time, int32 samples)
{
    time.projectTimeSamples = saturatingAdd(time.projectTimeSamples, samples);
    time.continuousTimeSamples = saturatingAdd(time.continuousTimeSamples, samples);
    if (time.samplesPerBeat > 0.0)
        time.projectTimeMusic = TransportLimits::boundedQuarterNotes(time.projectTimeMusic + samples / time.samplesPerBeat);
}

} // namespace

void Vextoria3::processVstTimeInfo(const ProcessContext& context)
{
    HostTimeInfo& time = fx->timeInfo;
    time.contextValid = true;
    time.playing = (context.state & ProcessContext::kPlaying) != 0;
    time.cycleActive = (context.state & ProcessContext::kCycleActive) != 0;
    time.projectMusicValid = (context.state & ProcessContext::kProjectTimeMusicValid) != 0;
    time.barPositionValid = (context.state & ProcessContext::kBarPositionValid) != 0;
    time.tempoValid = (context.state & ProcessContext::kTempoValid) != 0;
    time.timeSigNumerator = context.timeSigNumerator;
    time.timeSigDenominator = context.timeSigDenominator;
    time.projectTimeSamples = context.projectTimeSamples;
    time.continuousTimeSamples = context.continousTimeSamples;
    time.systemTime = context.systemTime;
    time.barPositionMusic = time.barPositionValid ? TransportLimits::boundedQuarterNotes(context.barPositionMusic) : 0.0;
    time.projectTimeMusic = time.projectMusicValid ? TransportLimits::boundedQuarterNotes(context.projectTimeMusic) : 0.0;
    // A rate or a tempo outside the usable ranges (0, negative, not a number, absurdly small
    // or large) keeps the last good one and the last beat length, so that every length the
    // engine derives from them stays finite and inside its integer types.
    if (TransportLimits::isUsableSampleRate(context.sampleRate))
        time.sampleRate = context.sampleRate;
    const double tempo = time.tempoValid ? context.tempo : 120.0;
    if (TransportLimits::isUsableTempo(tempo))
    {
        time.tempo = tempo;
        time.samplesPerBeat = time.sampleRate * 60.0 / tempo;
    }
    time.cycleStartMusic = context.cycleStartMusic;
    time.cycleEndMusic = context.cycleEndMusic;
}

void Vextoria3::applyParameterChanges(IParameterChanges* changes)
{
    if (changes == nullptr)
        return;
    const int32 queueCount = changes->getParameterCount();
    for (int32 index = 0; index < queueCount; ++index)
    {
        IParamValueQueue* queue = changes->getParameterData(index);
        if (queue == nullptr)
            continue;
        // Each change applies from the block start: only the last point counts.
        const int32 pointCount = queue->getPointCount();
        int32 sampleOffset = 0;
        ParamValue value = 0.0;
        if (pointCount < 1 || queue->getPoint(pointCount - 1, sampleOffset, value) != kResultOk)
            continue;
        const auto id = static_cast<int32>(queue->getParameterId());
        fx->setParameter(id, value);
        if (id == Vextoria3Ids::kPitchBend)
            fx->setPitchBend(value);
        else if (id == Vextoria3Ids::kModWheel)
            fx->setModwheel(static_cast<float>(value));
    }
}

void Vextoria3::takeNotes(IEventList* events)
{
    if (events == nullptr)
        return;
    fx->startProcessMIDI();
    const int32 eventCount = events->getEventCount();
    for (int32 index = 0; index < eventCount; ++index)
    {
        Event event {};
        if (events->getEvent(index, event) != kResultOk)
            continue;
        if (event.type == Event::kNoteOnEvent)
            fx->noteOn(event.noteOn.pitch, velocity127(event.noteOn.velocity), event.sampleOffset);
        else if (event.type == Event::kNoteOffEvent)
            fx->noteOff(event.noteOff.pitch, velocity127(event.noteOff.velocity), event.sampleOffset);
    }
    fx->endProcessMIDI();
}

void Vextoria3::renderAudio(ProcessData& data)
{
    AudioBusBuffers& output = data.outputs[0];
    AudioBusBuffers* input = nullptr;
    if (data.numInputs > 0 && data.inputs != nullptr && data.inputs[0].numChannels > 0
        && data.inputs[0].channelBuffers32 != nullptr)
        input = &data.inputs[0];

    fx->outputChannelCount = std::min(output.numChannels, kMaxChannels);
    fx->inputChannelCount = input != nullptr ? std::min(input->numChannels, kMaxChannels) : 0;
    output.silenceFlags = 0;
    if (data.numSamples <= 0 || output.numChannels <= 0 || output.channelBuffers32 == nullptr)
        return;
    if (processSetup.symbolicSampleSize != kSample32)
        return;

    const bool bypassed = fx->getParameter(Vextoria3Ids::kBypass) >= 0.5f;
    ChannelWindow inputWindow(input != nullptr ? input->channelBuffers32 : nullptr, fx->inputChannelCount);
    ChannelWindow outputWindow(output.channelBuffers32, fx->outputChannelCount);
    // The DSP object is sized for the maximum block it was resumed with; a longer block
    // goes through in pieces.
    const int32 pieceLimit = std::max(fx->getBlockSize(), 1);
    for (int32 offset = 0; offset < data.numSamples; offset += pieceLimit)
    {
        const int32 pieceLength = std::min(pieceLimit, data.numSamples - offset);
        const float* const* inputs = inputWindow.at(offset);
        float* const* outputs = outputWindow.at(offset);
        if (bypassed)
            fx->processBypass(inputs, outputs, pieceLength);
        else
            fx->process(inputs, outputs, pieceLength);
        // Left where the block ends: a next block without a transport continues from there.
        advanceTransport(fx->timeInfo, pieceLength);
    }
    if (bypassed)
        copyInputToOutput(input, output, data.numSamples);
}

tresult PLUGIN_API Vextoria3::process(ProcessData& data)
{
    ScopedFlushDenormals flushDenormals;
    fx->applyPendingChunk();
    if (data.processContext != nullptr)
        processVstTimeInfo(*data.processContext);
    applyParameterChanges(data.inputParameterChanges);
    takeNotes(data.inputEvents);
    if (data.numOutputs > 0 && data.outputs != nullptr)
        renderAudio(data);
    return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
