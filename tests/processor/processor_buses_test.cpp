#include "ProcessorFixture.h"

#include "pluginterfaces/base/ustring.h"

#include <string>

using namespace ProcessorTest;

namespace {

struct Buses : ProcessorFixture
{
    // "name/channels" of the first bus, as a host shows it.
    std::string bus(MediaType type, BusDirection direction)
    {
        BusInfo info {};
        if (processor->getBusInfo(type, direction, 0, info) != kResultTrue)
            return "<none>";
        char8 name[128] {};
        UString(info.name, 128).toAscii(name, 128);
        return std::string(name) + "/" + std::to_string(info.channelCount);
    }
    tresult arrange(SpeakerArrangement input, SpeakerArrangement output)
    {
        return processor->setBusArrangements(&input, 1, &output, 1);
    }
    void expectAudioBuses(const char* input, const char* output)
    {
        EXPECT_EQ(processor->getBusCount(kAudio, kInput), 1);
        EXPECT_EQ(processor->getBusCount(kAudio, kOutput), 1);
        EXPECT_EQ(bus(kAudio, kInput), input);
        EXPECT_EQ(bus(kAudio, kOutput), output);
    }
};

} // namespace

TEST_F(Buses, InitializeOffersStereoAudioAndSixteenChannelMidiBuses)
{
    expectAudioBuses("Stereo In/2", "Stereo Out/2");
    EXPECT_EQ(bus(kEvent, kInput), "MIDI In/16");
    EXPECT_EQ(bus(kEvent, kOutput), "MIDI Out Vextoria3/16");
}

TEST_F(Buses, MonoAndStereoPairsAreTakenAndRenameTheBuses)
{
    EXPECT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kMono), kResultTrue);
    expectAudioBuses("Mono In/1", "Mono Out/1");
    EXPECT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kMono), kResultTrue); // already mono: unchanged
    expectAudioBuses("Mono In/1", "Mono Out/1");
    EXPECT_EQ(arrange(SpeakerArr::kStereo, SpeakerArr::kStereo), kResultTrue);
    expectAudioBuses("Stereo In/2", "Stereo Out/2");
}

TEST_F(Buses, MixedOrWiderRequestsAreRefusedAndLeaveOrRestoreStereo)
{
    EXPECT_EQ(arrange(SpeakerArr::kStereo, SpeakerArr::kMono), kResultFalse);
    expectAudioBuses("Stereo In/2", "Stereo Out/2");

    ASSERT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kMono), kResultTrue);
    EXPECT_EQ(arrange(SpeakerArr::kMono, SpeakerArr::kStereo), kResultFalse);
    expectAudioBuses("Stereo In/2", "Stereo Out/2");

    EXPECT_EQ(arrange(SpeakerArr::k51, SpeakerArr::k51), kResultFalse);
    expectAudioBuses("Stereo In/2", "Stereo Out/2");
    SpeakerArrangement two[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    EXPECT_EQ(processor->setBusArrangements(two, 2, two, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(two, 1, two, 0), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(nullptr, 1, two, 1), kInvalidArgument);
    expectAudioBuses("Stereo In/2", "Stereo Out/2");
}

TEST_F(Buses, SixtyFourBitSamplesAreRefusedAndTheWholeTransportIsAskedFor)
{
    EXPECT_EQ(processor->getProcessContextRequirements(), 0x7FFu); // all eleven fields
    EXPECT_EQ(processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultFalse);
    ProcessSetup wide {kRealtime, kSample64, 512, 48000.0};
    EXPECT_EQ(processor->setupProcessing(wide), kResultFalse);
}
