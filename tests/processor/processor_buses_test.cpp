#include "ProcessorFixture.h"

#include "pluginterfaces/base/ustring.h"

#include <string>

using namespace ProcessorTest;

namespace {

std::string busName(Vextoria3& processor, MediaType type, BusDirection direction, int32 index)
{
    BusInfo info {};
    if (processor.getBusInfo(type, direction, index, info) != kResultTrue)
        return "<none>";
    char8 name[128] {};
    UString(info.name, 128).toAscii(name, 128);
    return name;
}

int32 channels(Vextoria3& processor, BusDirection direction)
{
    BusInfo info {};
    processor.getBusInfo(kAudio, direction, 0, info);
    return info.channelCount;
}

struct Buses : ProcessorFixture
{
    tresult arrange(SpeakerArrangement input, SpeakerArrangement output)
    {
        return processor->setBusArrangements(&input, 1, &output, 1);
    }
    void expectBuses(const char* input, const char* output, int32 channelCount)
    {
        EXPECT_EQ(processor->getBusCount(kAudio, kInput), 1);
        EXPECT_EQ(processor->getBusCount(kAudio, kOutput), 1);
        EXPECT_EQ(busName(*processor, kAudio, kInput, 0), input);
        EXPECT_EQ(busName(*processor, kAudio, kOutput, 0), output);
        EXPECT_EQ(channels(*processor, kInput), channelCount);
        EXPECT_EQ(channels(*processor, kOutput), channelCount);
    }
};

} // namespace

TEST_F(Buses, InitializeOffersStereoAudioAndSixteenChannelMidiBuses)
{
    expectBuses("Stereo In", "Stereo Out", 2);
    EXPECT_EQ(busName(*processor, kEvent, kInput, 0), "MIDI In");
    EXPECT_EQ(busName(*processor, kEvent, kOutput, 0), "MIDI Out Vextoria3");
    BusInfo info {};
    ASSERT_EQ(processor->getBusInfo(kEvent, kInput, 0, info), kResultTrue);
    EXPECT_EQ(info.channelCount, 16);
}

TEST_F(Buses, MonoAndStereoPairsAreTakenAndRenameTheBuses)
{
    EXPECT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kMono), kResultTrue);
    expectBuses("Mono In", "Mono Out", 1);
    EXPECT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kMono), kResultTrue); // already mono: unchanged
    expectBuses("Mono In", "Mono Out", 1);
    EXPECT_EQ(arrange(SpeakerArr::kStereo, SpeakerArr::kStereo), kResultTrue);
    expectBuses("Stereo In", "Stereo Out", 2);
}

TEST_F(Buses, MixedOrWiderRequestsAreRefusedAndLeaveOrRestoreStereo)
{
    EXPECT_EQ(arrange(SpeakerArr::kStereo, SpeakerArr::kMono), kResultFalse);
    expectBuses("Stereo In", "Stereo Out", 2);

    ASSERT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kMono), kResultTrue);
    EXPECT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kStereo), kResultFalse);
    expectBuses("Stereo In", "Stereo Out", 2);

    EXPECT_EQ(arrange(SpeakerArr::k51, SpeakerArr::k51), kResultFalse);
    expectBuses("Stereo In", "Stereo Out", 2);

    SpeakerArrangement two[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    EXPECT_EQ(processor->setBusArrangements(two, 2, two, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(two, 1, two, 0), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(nullptr, 1, two, 1), kInvalidArgument);
    expectBuses("Stereo In", "Stereo Out", 2);
}

TEST_F(Buses, SixtyFourBitSamplesAreRefusedAndTheWholeTransportIsAskedFor)
{
    EXPECT_EQ(processor->getProcessContextRequirements(), 0x7FFu); // all eleven fields
    EXPECT_EQ(processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultFalse);
    ProcessSetup wide {kRealtime, kSample64, 512, 48000.0};
    EXPECT_EQ(processor->setupProcessing(wide), kResultFalse);
}
