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
};

ProcessSetup setupOf(int32 sampleSize, int32 maxBlock, double sampleRate)
{
    ProcessSetup setup {};
    setup.processMode = kOffline;
    setup.symbolicSampleSize = sampleSize;
    setup.maxSamplesPerBlock = maxBlock;
    setup.sampleRate = sampleRate;
    return setup;
}

} // namespace

TEST_F(Effect, BusesAreCountedDescribedAndRemoved)
{
    effect->addAudioInput(STR16("In"), SpeakerArr::kMono);
    effect->addAudioOutput(STR16("Out"), SpeakerArr::kStereo);
    effect->addAudioOutput(STR16("Side"), SpeakerArr::kStereo, kAux, 0);
    effect->addEventInput(STR16("Notes"), 16);
    effect->addEventOutput(STR16("Notes Out"), 4);

    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 2);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(effect->getBusCount(kEvent, kOutput), 1);

    BusInfo info {};
    ASSERT_EQ(effect->getBusInfo(kAudio, kOutput, 1, info), kResultTrue);
    EXPECT_EQ(info.channelCount, 2);
    EXPECT_EQ(info.busType, kAux);
    EXPECT_EQ(info.flags, 0u);
    ASSERT_EQ(effect->getBusInfo(kEvent, kOutput, 0, info), kResultTrue);
    EXPECT_EQ(info.channelCount, 4);
    EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));

    ASSERT_NE(effect->getAudioInput(0), nullptr);
    EXPECT_EQ(effect->getAudioInput(0)->getArrangement(), SpeakerArr::kMono);
    EXPECT_EQ(effect->getAudioInput(1), nullptr);
    EXPECT_EQ(effect->getAudioOutput(-1), nullptr);

    effect->removeAudioBusses();
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 0);
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
    ASSERT_EQ(effect->getBusArrangement(kInput, 0, read), kResultTrue);
    EXPECT_EQ(read, SpeakerArr::kMono);
    ASSERT_EQ(effect->getBusArrangement(kOutput, 0, read), kResultTrue);
    EXPECT_EQ(read, SpeakerArr::kMono);

    EXPECT_EQ(effect->setBusArrangements(pair, 2, &mono, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(&mono, -1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->getBusArrangement(kInput, 1, read), kInvalidArgument);
}

TEST_F(Effect, SetupIsStoredOnlyForThirtyTwoBitSamplesAndSaneValues)
{
    EXPECT_EQ(effect->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);

    ProcessSetup good = setupOf(kSample32, 512, 48000.0);
    ASSERT_EQ(effect->setupProcessing(good), kResultOk);
    EXPECT_EQ(effect->setup().maxSamplesPerBlock, 512);
    EXPECT_EQ(effect->setup().sampleRate, 48000.0);
    EXPECT_EQ(effect->setup().processMode, kOffline);

    ProcessSetup wide = setupOf(kSample64, 256, 44100.0);
    EXPECT_EQ(effect->setupProcessing(wide), kResultFalse);
    ProcessSetup noBlock = setupOf(kSample32, 0, 44100.0);
    EXPECT_EQ(effect->setupProcessing(noBlock), kInvalidArgument);
    ProcessSetup noRate = setupOf(kSample32, 256, 0.0);
    EXPECT_EQ(effect->setupProcessing(noRate), kInvalidArgument);
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
        ASSERT_NE(object, nullptr);
        object->release();
    }
    EXPECT_EQ(effect->getLatencySamples(), 0u);
    EXPECT_EQ(effect->getTailSamples(), kNoTail);
    EXPECT_EQ(effect->setProcessing(true), kResultOk);
}
