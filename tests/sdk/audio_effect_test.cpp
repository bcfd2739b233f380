#include "sdk/audioeffect.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

class PlainEffect : public AudioEffect
{
public:
    tresult PLUGIN_API process(ProcessData&) override { return kResultOk; }
    const ProcessSetup& setup() const { return processSetup; }
};

// Each test owns one effect through its reference count, as a host does.
struct Effect : ::testing::Test
{
    IPtr<PlainEffect> effect = owned(new PlainEffect());

    tresult setUpProcessing(int32 sampleSize, int32 maxBlock, double sampleRate)
    {
        ProcessSetup setup {kOffline, sampleSize, maxBlock, sampleRate};
        return effect->setupProcessing(setup);
    }
};

} // namespace

TEST_F(Effect, BusesAreCountedDescribedAndAudioOnesRemoved)
{
    effect->addAudioInput(STR16("In"), SpeakerArr::kMono);
    effect->addAudioOutput(STR16("Out"), SpeakerArr::kStereo);
    effect->addAudioOutput(STR16("Side"), SpeakerArr::kStereo, kAux, 0);
    effect->addEventInput(STR16("Notes"), 16);

    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 2);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(effect->getBusCount(kEvent, kOutput), 0);
    BusInfo info {};
    ASSERT_EQ(effect->getBusInfo(kAudio, kOutput, 1, info), kResultTrue);
    EXPECT_EQ(info.channelCount, 2);
    EXPECT_EQ(info.busType, kAux);
    EXPECT_EQ(effect->getAudioInput(1), nullptr);
    EXPECT_EQ(effect->getAudioOutput(-1), nullptr);

    effect->removeAudioBusses();
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 0);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(effect->getAudioInput(0), nullptr);
}

TEST_F(Effect, BusArrangementsAreSetPerBusAndRefusedBeyondTheBuses)
{
    effect->addAudioInput(STR16("In"), SpeakerArr::kStereo);
    effect->addAudioOutput(STR16("Out"), SpeakerArr::kStereo);

    SpeakerArrangement mono = SpeakerArr::kMono;
    SpeakerArrangement pair[2] = {SpeakerArr::kMono, SpeakerArr::kMono};
    EXPECT_EQ(effect->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    SpeakerArrangement read = 0;
    ASSERT_EQ(effect->getBusArrangement(kOutput, 0, read), kResultTrue);
    EXPECT_EQ(read, SpeakerArr::kMono);

    EXPECT_EQ(effect->setBusArrangements(pair, 2, &mono, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(&mono, -1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->getBusArrangement(kInput, 1, read), kInvalidArgument);
}

TEST_F(Effect, SetupIsStoredOnlyForThirtyTwoBitSamplesAndSaneValues)
{
    EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);
    ASSERT_EQ(setUpProcessing(kSample32, 512, 48000.0), kResultOk);
    EXPECT_EQ(effect->setup().maxSamplesPerBlock, 512);
    EXPECT_EQ(effect->setup().processMode, kOffline);

    EXPECT_EQ(setUpProcessing(kSample64, 256, 44100.0), kResultFalse);
    EXPECT_EQ(setUpProcessing(kSample32, 0, 44100.0), kInvalidArgument);
    EXPECT_EQ(setUpProcessing(kSample32, 256, 0.0), kInvalidArgument);
    EXPECT_EQ(effect->setup().maxSamplesPerBlock, 512);
    EXPECT_EQ(effect->setup().sampleRate, 48000.0);
}

TEST_F(Effect, AnswersProcessorAndComponentInterfaces)
{
    for (const FUID* iid : {&IAudioProcessor::iid, &IProcessContextRequirements::iid, &IComponent::iid,
                            &IConnectionPoint::iid, &IPluginBase::iid})
    {
        FUnknown* object = nullptr;
        ASSERT_EQ(effect->queryInterface(*iid, reinterpret_cast<void**>(&object)), kResultOk);
        object->release();
    }
}
