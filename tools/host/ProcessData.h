#pragma once
// Host-side process plumbing: the parameter queues, event lists, audio buffers and transport
// a DAW hands to IAudioProcessor::process, built headless for tests, tools and benchmarks.

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace VextoriaHost {

using Steinberg::int16;
using Steinberg::int32;
using Steinberg::tresult;
using Steinberg::uint32;
using Steinberg::Vst::ParamID;
using Steinberg::Vst::ParamValue;

// The automation points of one parameter within one block, ordered by sample offset.
class ParamValueQueue final : public Steinberg::Vst::IParamValueQueue {
public:
    explicit ParamValueQueue(ParamID id);
    void reset(ParamID id);  // empties the queue and gives it to another parameter

    ParamID PLUGIN_API getParameterId() override { return parameterId; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) override;
    // A point at an offset already present replaces that point's value.
    tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value, int32& index) override;

    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override { return 1; }   // owned by the host, never deleted by the plug-in
    uint32 PLUGIN_API release() override { return 1; }

private:
    struct Point {
        int32 sampleOffset;  // samples from the block start
        ParamValue value;    // normalised 0..1
    };
    ParamID parameterId;
    std::vector<Point> points;
};

// One block's parameter changes: one queue per parameter, each with any number of points.
// Queues are kept across clear() so a steady stream of changes stops allocating.
class ParameterChanges final : public Steinberg::Vst::IParameterChanges {
public:
    ParameterChanges() = default;
    ParameterChanges(const ParameterChanges&) = delete;
    ParameterChanges& operator=(const ParameterChanges&) = delete;

    void addPoint(ParamID id, int32 sampleOffset, ParamValue value);
    void clear() { usedQueues = 0; }
    // The value of the last point for id (what a processor should end the block with).
    bool lastValue(ParamID id, ParamValue& value) const;

    int32 PLUGIN_API getParameterCount() override { return usedQueues; }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) override;

    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    ParamValueQueue* findQueue(ParamID id) const;
    std::vector<std::unique_ptr<ParamValueQueue>> queues;  // stable addresses for the plug-in
    int32 usedQueues = 0;
};

// One block's events, in the order they were added.
class EventList final : public Steinberg::Vst::IEventList {
public:
    // pitch 0..127, velocity 0..1, offset in samples from the block start
    void addNoteOn(int16 pitch, float velocity, int32 sampleOffset, int16 channel = 0);
    void addNoteOff(int16 pitch, float velocity, int32 sampleOffset, int16 channel = 0);
    void clear() { events.clear(); }

    int32 PLUGIN_API getEventCount() override { return static_cast<int32>(events.size()); }
    tresult PLUGIN_API getEvent(int32 index, Steinberg::Vst::Event& event) override;
    tresult PLUGIN_API addEvent(Steinberg::Vst::Event& event) override;

    tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<Steinberg::Vst::Event> events;
};

// Float buffers for one input and one output bus; either may have no channels (no bus).
class AudioBlock {
public:
    AudioBlock(int32 inputChannels, int32 outputChannels, int32 maxFrames);
    AudioBlock(const AudioBlock&) = delete;
    AudioBlock& operator=(const AudioBlock&) = delete;

    float* input(int32 channel) { return inputPointers[static_cast<size_t>(channel)]; }
    float* output(int32 channel) { return outputPointers[static_cast<size_t>(channel)]; }
    int32 inputChannels() const { return static_cast<int32>(inputPointers.size()); }
    int32 outputChannels() const { return static_cast<int32>(outputPointers.size()); }
    int32 maxFrames() const { return frameCapacity; }

    // Points the bus descriptions of data at these buffers (0 or 1 bus each way).
    void attach(Steinberg::Vst::ProcessData& data);
    void clearOutputs();  // lets a test see whether the plug-in wrote every sample

private:
    int32 frameCapacity;                // samples per channel
    std::vector<float> samples;         // all channels, one after another
    std::vector<float*> inputPointers;  // into samples
    std::vector<float*> outputPointers; // into samples
    Steinberg::Vst::AudioBusBuffers inputBus, outputBus;
};

// The transport a DAW reports: tempo, time signature, playing flag and a position that
// moves on by each processed block while playing.
class TransportClock {
public:
    explicit TransportClock(double sampleRate = 44100.0, double tempo = 120.0);

    void setSampleRate(double rate) { context.sampleRate = rate; }
    void setTempo(double beatsPerMinute) { context.tempo = beatsPerMinute; }
    void setTimeSignature(int32 numerator, int32 denominator);
    void setPlaying(bool playing);
    void setCycle(double startQuarters, double endQuarters);  // turns cycle on
    void setStateFlags(uint32 flags) { context.state = flags; }  // full control for odd hosts
    void locate(int64_t projectSamples);  // moves the position, as a DAW's locate does

    const Steinberg::Vst::ProcessContext& current() const { return context; }
    Steinberg::Vst::ProcessContext& current() { return context; }
    void advance(int32 frames);  // after a block: position and continuous time move on

private:
    void updateMusicalPosition();
    Steinberg::Vst::ProcessContext context {};
};

// Fills data for one block of frames; any pointer may be null (the host sends nothing).
void makeProcessData(Steinberg::Vst::ProcessData& data, AudioBlock& audio, int32 frames,
                     ParameterChanges* inputChanges, EventList* inputEvents,
                     Steinberg::Vst::ProcessContext* context,
                     int32 processMode = Steinberg::Vst::kRealtime);

// Everything one process call needs, reused block after block like a DAW's engine does.
// The transport starts playing at position 0 in 4/4.
class ProcessBlock {
public:
    ProcessBlock(int32 inputChannels, int32 outputChannels, int32 maxFrames,
                 double sampleRate = 44100.0, double tempo = 120.0);

    AudioBlock audio;
    ParameterChanges inputChanges;
    ParameterChanges outputChanges;
    EventList inputEvents;
    EventList outputEvents;
    TransportClock clock;

    // The process data for the next block of frames (<= audio.maxFrames()).
    Steinberg::Vst::ProcessData& prepare(int32 frames, int32 processMode = Steinberg::Vst::kRealtime);
    // After process: clears this block's changes and events and moves the transport on.
    void finish();

private:
    Steinberg::Vst::ProcessData data;
    int32 preparedFrames = 0;
};

}  // namespace VextoriaHost
