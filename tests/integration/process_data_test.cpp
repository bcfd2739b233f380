// The host's process plumbing: queues, events, buffers and the transport a plug-in sees.

#include "host/ProcessData.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace VextoriaHost;
using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(ParameterChangesTest, QueuesKeepPointsInOrderReplaceAPointAtTheSameOffsetAndAreReused)
{
    ParameterChanges changes;
    changes.addPoint(7, 200, 0.9);
    changes.addPoint(7, 0, 0.1);
    changes.addPoint(3, 5, 0.5);
    changes.addPoint(7, 100, 0.4);
    changes.addPoint(7, 100, 0.45);
    ASSERT_EQ(changes.getParameterCount(), 2);
    IParamValueQueue* queue = changes.getParameterData(0);
    ASSERT_NE(queue, nullptr);
    EXPECT_EQ(queue->getParameterId(), 7u);
    ASSERT_EQ(queue->getPointCount(), 3);
    const int32 expectedOffsets[] = {0, 100, 200};
    const double expectedValues[] = {0.1, 0.45, 0.9};
    for (int32 i = 0; i < 3; ++i) {
        int32 offset = -1;
        ParamValue value = -1;
        ASSERT_EQ(queue->getPoint(i, offset, value), kResultOk);
        EXPECT_EQ(offset, expectedOffsets[i]);
        EXPECT_EQ(value, expectedValues[i]);
    }
    int32 offset;
    ParamValue value;
    EXPECT_EQ(queue->getPoint(3, offset, value), kInvalidArgument);
    EXPECT_EQ(queue->getPoint(-1, offset, value), kInvalidArgument);
    EXPECT_EQ(changes.getParameterData(2), nullptr);
    ASSERT_TRUE(changes.lastValue(7, value));
    EXPECT_EQ(value, 0.9);
    EXPECT_FALSE(changes.lastValue(8, value));

    changes.clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
    int32 index = -1;
    IParamValueQueue* reused = changes.addParameterData(9, index);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(reused, queue) << "queues are kept, so steady automation does not allocate";
    EXPECT_EQ(reused->getParameterId(), 9u);
    EXPECT_EQ(reused->getPointCount(), 0);
}

TEST(EventListTest, NotesCarryPitchVelocityOffsetAndChannel)
{
    EventList events;
    events.addNoteOn(36, 0.5f, 12, 3);
    events.addNoteOff(36, 0.f, 100);
    ASSERT_EQ(events.getEventCount(), 2);
    Event event {};
    ASSERT_EQ(events.getEvent(0, event), kResultOk);
    EXPECT_EQ(std::tuple(event.type, event.sampleOffset, event.noteOn.pitch, event.noteOn.velocity, event.noteOn.channel),
              std::tuple(uint16 {Event::kNoteOnEvent}, 12, 36, 0.5f, 3));
    ASSERT_EQ(events.getEvent(1, event), kResultOk);
    EXPECT_EQ(std::tuple(event.type, event.sampleOffset, event.noteOff.pitch),
              std::tuple(uint16 {Event::kNoteOffEvent}, 100, 36));
    EXPECT_EQ(events.getEvent(2, event), kInvalidArgument);
    events.clear();
    EXPECT_EQ(events.getEventCount(), 0);
}

TEST(TransportClockTest, PlayingPositionAdvancesInQuartersAndBars)
{
    TransportClock clock(44100.0, 120.0);
    clock.setPlaying(true);
    const ProcessContext& context = clock.current();
    const uint32 flags = ProcessContext::kPlaying | ProcessContext::kTempoValid | ProcessContext::kTimeSigValid |
                         ProcessContext::kProjectTimeMusicValid | ProcessContext::kBarPositionValid;
    EXPECT_EQ(context.state & flags, flags);
    for (int block = 0; block < 5 * 22050 / 441; ++block)  // five quarters at 120 bpm
        clock.advance(441);
    EXPECT_EQ(context.projectTimeSamples, 5 * 22050);
    EXPECT_EQ(context.continousTimeSamples, 5 * 22050);
    EXPECT_NEAR(context.projectTimeMusic, 5.0, 1e-9);
    EXPECT_EQ(context.barPositionMusic, 4.0);

    clock.setTimeSignature(6, 8);  // three quarters per bar
    EXPECT_EQ(context.barPositionMusic, 3.0);
    clock.locate(7 * 22050);
    EXPECT_EQ(context.barPositionMusic, 6.0);
}

TEST(TransportClockTest, StoppedTransportKeepsItsPositionButContinuousTimeRuns)
{
    TransportClock clock(48000.0, 90.0);
    clock.locate(1000);
    clock.setPlaying(false);
    clock.advance(512);
    EXPECT_EQ(clock.current().projectTimeSamples, 1000);
    EXPECT_EQ(clock.current().continousTimeSamples, 512);
    EXPECT_FALSE(clock.current().state & ProcessContext::kPlaying);
    clock.setCycle(4.0, 8.0);
    EXPECT_TRUE(clock.current().state & ProcessContext::kCycleActive);
    EXPECT_EQ(clock.current().cycleEndMusic, 8.0);
}

TEST(ProcessBlockTest, PreparedDataPointsAtTheBuffersChangesEventsAndTransport)
{
    ProcessBlock block(1, 2, 64, 96000.0, 140.0);
    block.inputChanges.addPoint(37, 0, 1.0);
    block.inputEvents.addNoteOn(60, 1.f, 0);
    ProcessData& data = block.prepare(100);
    EXPECT_EQ(data.numSamples, 64) << "never more than the buffers hold";
    ASSERT_EQ(data.numInputs, 1);
    ASSERT_EQ(data.numOutputs, 1);
    EXPECT_EQ(data.inputs[0].numChannels, 1);
    EXPECT_EQ(data.outputs[0].numChannels, 2);
    EXPECT_EQ(data.outputs[0].channelBuffers32[1], block.audio.output(1));
    EXPECT_EQ(data.symbolicSampleSize, kSample32);
    EXPECT_EQ(data.inputParameterChanges->getParameterCount(), 1);
    EXPECT_EQ(data.inputEvents->getEventCount(), 1);
    EXPECT_EQ(data.processContext->sampleRate, 96000.0);
    EXPECT_EQ(data.processContext->tempo, 140.0);
    block.finish();
    EXPECT_EQ(block.inputChanges.getParameterCount(), 0);
    EXPECT_EQ(block.inputEvents.getEventCount(), 0);
    EXPECT_EQ(block.clock.current().projectTimeSamples, 64);

    AudioBlock outputOnly(0, 2, 16);
    ProcessData bare;
    makeProcessData(bare, outputOnly, 16, nullptr, nullptr, nullptr);
    EXPECT_EQ(bare.numInputs, 0);
    EXPECT_EQ(bare.inputs, nullptr);
    EXPECT_EQ(bare.inputParameterChanges, nullptr);
}
