#include "host/ProcessData.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace VextoriaHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// queryInterface for host-owned objects that expose one interface besides FUnknown.
template <typename Interface>
tresult answerQuery(Interface* self, const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, Interface::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = self;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

// A position moved on, stopping at the end of int64 rather than wrapping around.
int64 movedOn(int64 position, int64 by)
{
    int64 moved = 0;
    return __builtin_add_overflow(position, by, &moved) ? std::numeric_limits<int64>::max() : moved;
}

}  // namespace

// ---- ParamValueQueue

ParamValueQueue::ParamValueQueue(ParamID id) : parameterId(id) { points.reserve(16); }

void ParamValueQueue::reset(ParamID id)
{
    parameterId = id;
    points.clear();
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value)
{
    if (index < 0 || index >= getPointCount())
        return kInvalidArgument;
    sampleOffset = points[static_cast<size_t>(index)].sampleOffset;
    value = points[static_cast<size_t>(index)].value;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index)
{
    auto at = std::lower_bound(points.begin(), points.end(), sampleOffset,
                               [](const Point& point, int32 offset) { return point.sampleOffset < offset; });
    if (at != points.end() && at->sampleOffset == sampleOffset)
        at->value = value;
    else
        at = points.insert(at, Point {sampleOffset, value});
    index = static_cast<int32>(at - points.begin());
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<IParamValueQueue>(this, iid, obj);
}

// ---- ParameterChanges

void ParameterChanges::addPoint(ParamID id, int32 sampleOffset, ParamValue value)
{
    int32 index = 0;
    if (auto* queue = addParameterData(id, index))
        queue->addPoint(sampleOffset, value, index);
}

bool ParameterChanges::lastValue(ParamID id, ParamValue& value) const
{
    auto* queue = findQueue(id);
    int32 offset = 0;
    return queue && queue->getPointCount() > 0 && queue->getPoint(queue->getPointCount() - 1, offset, value) == kResultOk;
}

ParamValueQueue* ParameterChanges::findQueue(ParamID id) const
{
    for (int32 i = 0; i < usedQueues; ++i)
        if (queues[static_cast<size_t>(i)]->getParameterId() == id)
            return queues[static_cast<size_t>(i)].get();
    return nullptr;
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || index >= usedQueues)
        return nullptr;
    return queues[static_cast<size_t>(index)].get();
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index)
{
    for (int32 i = 0; i < usedQueues; ++i) {
        if (queues[static_cast<size_t>(i)]->getParameterId() == id) {
            index = i;
            return queues[static_cast<size_t>(i)].get();
        }
    }
    if (usedQueues == static_cast<int32>(queues.size()))
        queues.push_back(std::make_unique<ParamValueQueue>(id));
    else
        queues[static_cast<size_t>(usedQueues)]->reset(id);
    index = usedQueues++;
    return queues[static_cast<size_t>(index)].get();
}

tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<IParameterChanges>(this, iid, obj);
}

// ---- EventList

namespace {

Event noteEvent(uint16 type, int16 pitch, float velocity, int32 sampleOffset, int16 channel)
{
    Event event {};
    event.type = type;
    event.sampleOffset = sampleOffset;
    if (type == Event::kNoteOnEvent)
        event.noteOn = NoteOnEvent {channel, pitch, 0.f, velocity, 0, -1};
    else
        event.noteOff = NoteOffEvent {channel, pitch, velocity, -1, 0.f};
    return event;
}

}  // namespace

void EventList::addNoteOn(int16 pitch, float velocity, int32 sampleOffset, int16 channel)
{
    events.push_back(noteEvent(Event::kNoteOnEvent, pitch, velocity, sampleOffset, channel));
}

void EventList::addNoteOff(int16 pitch, float velocity, int32 sampleOffset, int16 channel)
{
    events.push_back(noteEvent(Event::kNoteOffEvent, pitch, velocity, sampleOffset, channel));
}

tresult PLUGIN_API EventList::getEvent(int32 index, Event& event)
{
    if (index < 0 || index >= getEventCount())
        return kInvalidArgument;
    event = events[static_cast<size_t>(index)];
    return kResultOk;
}

tresult PLUGIN_API EventList::addEvent(Event& event)
{
    events.push_back(event);
    return kResultOk;
}

tresult PLUGIN_API EventList::queryInterface(const TUID iid, void** obj)
{
    return answerQuery<IEventList>(this, iid, obj);
}

// ---- AudioBlock

AudioBlock::AudioBlock(int32 inputChannels, int32 outputChannels, int32 maxFrames)
    : frameCapacity(std::max(maxFrames, int32 {1})),
      samples(static_cast<size_t>(std::max(inputChannels, 0) + std::max(outputChannels, 0)) * static_cast<size_t>(frameCapacity), 0.f)
{
    float* next = samples.data();
    for (int32 i = 0; i < inputChannels; ++i, next += frameCapacity)
        inputPointers.push_back(next);
    for (int32 i = 0; i < outputChannels; ++i, next += frameCapacity)
        outputPointers.push_back(next);
}

void AudioBlock::attach(ProcessData& data)
{
    inputBus.numChannels = inputChannels();
    inputBus.silenceFlags = 0;
    inputBus.channelBuffers32 = inputPointers.data();
    outputBus.numChannels = outputChannels();
    outputBus.silenceFlags = 0;
    outputBus.channelBuffers32 = outputPointers.data();
    data.symbolicSampleSize = kSample32;
    data.numInputs = inputChannels() > 0 ? 1 : 0;
    data.inputs = data.numInputs ? &inputBus : nullptr;
    data.numOutputs = outputChannels() > 0 ? 1 : 0;
    data.outputs = data.numOutputs ? &outputBus : nullptr;
}

void AudioBlock::clearOutputs()
{
    for (float* channel : outputPointers)
        std::fill(channel, channel + frameCapacity, 0.f);
}

// ---- TransportClock

TransportClock::TransportClock(double sampleRate, double tempo)
{
    context.sampleRate = sampleRate;
    context.tempo = tempo;
    context.timeSigNumerator = 4;
    context.timeSigDenominator = 4;
    context.state = ProcessContext::kTempoValid | ProcessContext::kTimeSigValid |
                    ProcessContext::kProjectTimeMusicValid | ProcessContext::kBarPositionValid |
                    ProcessContext::kContTimeValid;
}

void TransportClock::setTimeSignature(int32 numerator, int32 denominator)
{
    context.timeSigNumerator = numerator;
    context.timeSigDenominator = denominator;
    updateMusicalPosition();
}

void TransportClock::setPlaying(bool playing)
{
    if (playing)
        context.state |= ProcessContext::kPlaying;
    else
        context.state &= ~static_cast<uint32>(ProcessContext::kPlaying);
}

void TransportClock::setCycle(double startQuarters, double endQuarters)
{
    context.cycleStartMusic = startQuarters;
    context.cycleEndMusic = endQuarters;
    context.state |= ProcessContext::kCycleActive | ProcessContext::kCycleValid;
}

void TransportClock::locate(int64_t projectSamples)
{
    context.projectTimeSamples = projectSamples;
    updateMusicalPosition();
}

void TransportClock::advance(int32 frames)
{
    context.continousTimeSamples = movedOn(context.continousTimeSamples, frames);
    // A rate a test set to nonsense (0, NaN, huge) leaves the system time where it was.
    const double nanoseconds = 1e9 * frames / context.sampleRate;
    if (nanoseconds >= 0.0 && nanoseconds < 1e15)
        context.systemTime = movedOn(context.systemTime, static_cast<int64>(nanoseconds));
    if (context.state & ProcessContext::kPlaying)
        locate(movedOn(context.projectTimeSamples, frames));
}

void TransportClock::updateMusicalPosition()
{
    if (context.sampleRate <= 0.0 || context.tempo <= 0.0 || context.timeSigDenominator <= 0)
        return;  // nothing musical can be derived; the fields keep their last values
    const double samplesPerQuarter = context.sampleRate * 60.0 / context.tempo;
    context.projectTimeMusic = static_cast<double>(context.projectTimeSamples) / samplesPerQuarter;
    const double quartersPerBar = context.timeSigNumerator * 4.0 / context.timeSigDenominator;
    if (quartersPerBar > 0.0)
        context.barPositionMusic = std::floor(context.projectTimeMusic / quartersPerBar) * quartersPerBar;
}

// ---- ProcessData

void makeProcessData(ProcessData& data, AudioBlock& audio, int32 frames, ParameterChanges* inputChanges,
                     EventList* inputEvents, ProcessContext* context, int32 processMode)
{
    audio.attach(data);
    data.processMode = processMode;
    data.numSamples = frames;
    data.inputParameterChanges = inputChanges;
    data.inputEvents = inputEvents;
    data.processContext = context;
}

ProcessBlock::ProcessBlock(int32 inputChannels, int32 outputChannels, int32 maxFrames, double sampleRate, double tempo)
    : audio(inputChannels, outputChannels, maxFrames), clock(sampleRate, tempo)
{
    clock.setPlaying(true);
}

ProcessData& ProcessBlock::prepare(int32 frames, int32 processMode)
{
    preparedFrames = std::clamp(frames, int32 {0}, audio.maxFrames());
    makeProcessData(data, audio, preparedFrames, &inputChanges, &inputEvents, &clock.current(), processMode);
    data.outputParameterChanges = &outputChanges;
    data.outputEvents = &outputEvents;
    return data;
}

void ProcessBlock::finish()
{
    inputChanges.clear();
    outputChanges.clear();
    inputEvents.clear();
    outputEvents.clear();
    clock.advance(preparedFrames);
    preparedFrames = 0;
}

}  // namespace VextoriaHost
