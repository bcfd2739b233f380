// The plug-in's base classes: the module entry, the class factory, the audio effect and the
// stream helpers, each with the bad input a host may hand it.
#include "sdk/audioeffect.h"
#include "sdk/moduleentry.h"
#include "sdk/pluginfactory.h"
#include "sdk/streambytes.h"

#include "base/source/fobject.h"
#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string calls; // the module functions that ran, in order; registered in reverse of it
const ModuleInitializer lateInit([] { calls += "init-late "; }, 60);
const ModuleInitializer earlyInit([] { calls += "init-early "; }, 10);
const ModuleTerminator lateExit([] { calls += "exit-late "; }, 60);
const ModuleTerminator earlyExit([] { calls += "exit-early "; }, 10);

int liveObjects = 0;

// A plug-in base object that counts its instances, so tests see leaks and double frees.
class CountedObject : public FObject, public IPluginBase
{
public:
    CountedObject() { ++liveObjects; }
    ~CountedObject() override { --liveObjects; }
    tresult PLUGIN_API initialize(FUnknown*) override { return kResultOk; }
    tresult PLUGIN_API terminate() override { return kResultOk; }
    OBJ_METHODS(CountedObject, FObject)
    DEFINE_INTERFACES
        DEF_INTERFACE(IPluginBase)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)
    static FUnknown* create(void*) { return static_cast<IPluginBase*>(new CountedObject()); }
};

const FUID kFirstId(0x11111111, 0x22222222, 0x33333333, 0x44444444);
const FUID kSecondId(0x55555555, 0x66666666, 0x77777777, 0x88888888);

PClassInfo2 classInfo(const FUID& id, const char* name, const char* subCategories)
{
    return PClassInfo2(id, PClassInfo::kManyInstances, "Audio Module Class", name, 1, subCategories, nullptr,
                       "1.0.0.0", "VST 3.7.3");
}

} // namespace

TEST(ModuleEntry, OnlyTheFirstEntryAndTheLastExitSetUpAndTearDown)
{
    int firstHandle = 1, secondHandle = 2;
    EXPECT_FALSE(ModuleExit()) << "an exit without an entry is refused";
    ASSERT_TRUE(ModuleEntry(&firstHandle));
    ASSERT_TRUE(ModuleEntry(&secondHandle)); // the module loaded a second time
    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(calls, "init-early init-late ");
    EXPECT_EQ(getPlatformModuleHandle(), &firstHandle);
    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(getPlatformModuleHandle(), nullptr);
    EXPECT_FALSE(ModuleExit());
    ASSERT_TRUE(ModuleEntry(&secondHandle)); // a later load starts again from the beginning
    EXPECT_EQ(getPlatformModuleHandle(), &secondHandle);
    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(calls, "init-early init-late exit-early exit-late init-early init-late exit-early exit-late ");
}

// The factory installed as the module's global one, as the entry point does: it reports its
// classes in registration order in all three forms, creates one reference per instance, and
// refuses bad indices, null infos, unknown classes and interfaces and duplicate classes
// without leaking; only its last release clears the global pointer.
TEST(GlobalFactory, ReportsAndCreatesItsClassesAndRefusesWhatItHasNot)
{
    gPluginFactory = new CPluginFactory(PFactoryInfo("Maker", "https://maker.example", "mailto:a@maker.example",
                                                     PFactoryInfo::kUnicode));
    for (const PClassInfo2& info : {classInfo(kFirstId, "First", "Fx"), classInfo(kSecondId, "Second", "")})
        ASSERT_TRUE(gPluginFactory->registerClass(&info, CountedObject::create));
    PFactoryInfo factory;
    ASSERT_EQ(gPluginFactory->getFactoryInfo(&factory), kResultOk);
    EXPECT_STREQ(factory.vendor, "Maker");
    ASSERT_EQ(gPluginFactory->countClasses(), 2);
    PClassInfo info;
    PClassInfo2 info2;
    PClassInfoW infoW;
    ASSERT_EQ(gPluginFactory->getClassInfo(1, &info), kResultOk);
    EXPECT_EQ(FUID::fromTUID(info.cid), kSecondId);
    ASSERT_EQ(gPluginFactory->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.subCategories, "Fx");
    ASSERT_EQ(gPluginFactory->getClassInfoUnicode(1, &infoW), kResultOk);
    EXPECT_EQ(std::u16string(infoW.name), u"Second");
    EXPECT_EQ(std::u16string(infoW.sdkVersion), u"VST 3.7.3");
    for (int32 index : {-1, 2})
    {
        EXPECT_EQ(gPluginFactory->getClassInfo(index, &info), kInvalidArgument);
        EXPECT_EQ(gPluginFactory->getClassInfo2(index, &info2), kInvalidArgument);
        EXPECT_EQ(gPluginFactory->getClassInfoUnicode(index, &infoW), kInvalidArgument);
    }
    EXPECT_EQ(gPluginFactory->getClassInfo(0, nullptr), kInvalidArgument);
    EXPECT_EQ(gPluginFactory->getFactoryInfo(nullptr), kInvalidArgument);
    const PClassInfo2 again = classInfo(kFirstId, "Again", "");
    EXPECT_FALSE(gPluginFactory->registerClass(&again, CountedObject::create));
    EXPECT_FALSE(gPluginFactory->registerClass(nullptr, CountedObject::create));
    EXPECT_EQ(gPluginFactory->countClasses(), 2);

    IPluginBase* object = nullptr;
    ASSERT_EQ(gPluginFactory->createInstance(kFirstId, IPluginBase::iid, reinterpret_cast<void**>(&object)), kResultOk);
    EXPECT_EQ(object->release(), 0u);
    void* refused = reinterpret_cast<void*>(1);
    EXPECT_EQ(gPluginFactory->createInstance(FUID(1, 2, 3, 4), IPluginBase::iid, &refused), kNoInterface);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(gPluginFactory->createInstance(kFirstId, IPluginFactory::iid, &refused), kNoInterface);
    EXPECT_EQ(gPluginFactory->createInstance(kFirstId, IPluginBase::iid, nullptr), kInvalidArgument);
    EXPECT_EQ(liveObjects, 0);

    for (const FUID* iid : {&IPluginFactory::iid, &IPluginFactory2::iid, &IPluginFactory3::iid, &FUnknown::iid})
    {
        void* answer = nullptr;
        ASSERT_EQ(gPluginFactory->queryInterface(iid->toTUID(), &answer), kResultOk);
        EXPECT_EQ(answer, static_cast<IPluginFactory3*>(gPluginFactory));
        gPluginFactory->release();
    }
    EXPECT_EQ(gPluginFactory->queryInterface(IPluginBase::iid, &refused), kNoInterface);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(gPluginFactory->addRef(), 2u);
    EXPECT_EQ(gPluginFactory->release(), 1u);
    EXPECT_NE(gPluginFactory, nullptr);
    EXPECT_EQ(gPluginFactory->release(), 0u);
    EXPECT_EQ(gPluginFactory, nullptr);
}

namespace {

class PlainEffect : public AudioEffect
{
public:
    tresult PLUGIN_API process(ProcessData&) override { return kResultOk; }
    const ProcessSetup& setup() const { return processSetup; }
};

} // namespace

// Buses are counted, described and the audio ones removed; arrangements are set per bus and
// refused beyond the buses; a setup is taken only for 32-bit samples, a block and a finite rate.
TEST(AudioEffect, BusesArrangementsAndSetupsAreTakenOnlyWhenSane)
{
    auto effect = owned(new PlainEffect());
    effect->addAudioInput(STR16("In"), SpeakerArr::kStereo);
    effect->addAudioOutput(STR16("Out"), SpeakerArr::kStereo);
    effect->addAudioOutput(STR16("Side"), SpeakerArr::kStereo, kAux, 0);
    effect->addEventInput(STR16("Notes"), 16);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 2);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
    BusInfo info {};
    ASSERT_EQ(effect->getBusInfo(kAudio, kOutput, 1, info), kResultTrue);
    EXPECT_EQ(info.busType, kAux);
    EXPECT_EQ(effect->getAudioOutput(-1), nullptr);

    SpeakerArrangement mono = SpeakerArr::kMono, pair[2] = {SpeakerArr::kMono, SpeakerArr::kMono}, read = 0;
    EXPECT_EQ(effect->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    ASSERT_EQ(effect->getBusArrangement(kInput, 0, read), kResultTrue);
    EXPECT_EQ(read, SpeakerArr::kMono);
    EXPECT_EQ(effect->setBusArrangements(pair, 2, &mono, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(&mono, -1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->getBusArrangement(kInput, 1, read), kInvalidArgument);
    effect->removeAudioBusses();
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 0);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);

    auto setUp = [&](int32 sampleSize, int32 maxBlock, double sampleRate) {
        ProcessSetup setup {kOffline, sampleSize, maxBlock, sampleRate};
        return effect->setupProcessing(setup);
    };
    EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);
    ASSERT_EQ(setUp(kSample32, 512, 48000.0), kResultOk);
    EXPECT_EQ(setUp(kSample64, 256, 44100.0), kResultFalse);
    for (auto [maxBlock, sampleRate] : {std::pair{0, 44100.0}, {256, 0.0}, {256, INFINITY}, {256, NAN}})
        EXPECT_EQ(setUp(kSample32, maxBlock, sampleRate), kInvalidArgument) << maxBlock << " at " << sampleRate;
    EXPECT_EQ(effect->setup().maxSamplesPerBlock, 512);
    EXPECT_EQ(effect->setup().sampleRate, 48000.0);
    for (const FUID* iid : {&IAudioProcessor::iid, &IProcessContextRequirements::iid, &IComponent::iid,
                            &IConnectionPoint::iid, &IPluginBase::iid})
    {
        FUnknown* object = nullptr;
        ASSERT_EQ(effect->queryInterface(*iid, reinterpret_cast<void**>(&object)), kResultOk);
        object->release();
    }
}

namespace {

// Accepts at most 100 bytes per write and claims success, like a nearly full disk file.
class ShortStream : public MemoryStream
{
public:
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        return MemoryStream::write(buffer, numBytes < 100 ? numBytes : 100, numBytesWritten);
    }
};

} // namespace

// Reads run from the current position up to the end or the cap; a write is whole or a failure.
TEST(StreamBytes, ReadUpToTheEndOrTheCapAndWriteEverythingOrFail)
{
    auto stream = owned(new MemoryStream());
    std::vector<uint8_t> bytes(10000);
    for (size_t index = 0; index < bytes.size(); ++index)
        bytes[index] = uint8_t(index * 7);
    EXPECT_EQ(writeStreamBytes(*stream, bytes), kResultOk);
    stream->seek(100, IBStream::kIBSeekSet, nullptr);
    readStreamBytes(*stream, 64 * 1024, bytes);
    ASSERT_EQ(bytes.size(), 9900u);
    EXPECT_EQ(bytes[0], uint8_t(100 * 7));
    EXPECT_EQ(bytes.back(), uint8_t(9999 * 7));
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    readStreamBytes(*stream, 5000, bytes);
    EXPECT_EQ(bytes.size(), 5000u);
    readStreamBytes(*owned(new MemoryStream()), 5000, bytes);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(writeStreamBytes(*owned(new ShortStream()), std::vector<uint8_t>(372, 0xAB)), kResultFalse);
}
