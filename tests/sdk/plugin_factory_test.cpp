#include "sdk/pluginfactory.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/ipluginbase.h"

#include <gtest/gtest.h>

using namespace Steinberg;

namespace {

const FUID kFirstId(0x11111111, 0x22222222, 0x33333333, 0x44444444);
const FUID kSecondId(0x55555555, 0x66666666, 0x77777777, 0x88888888);

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

PClassInfo2 classInfo(const FUID& id, const char* name, int32 flags, const char* subCategories)
{
    return PClassInfo2(id, PClassInfo::kManyInstances, "Audio Module Class", name, flags, subCategories, nullptr,
                       "1.0.0.0", "VST 3.7.3");
}

// A factory installed as the module's global one, the way the entry point does it.
struct GlobalFactory : ::testing::Test
{
    void SetUp() override
    {
        gPluginFactory = new CPluginFactory(PFactoryInfo("Maker", "https://maker.example", "mailto:a@maker.example",
                                                         PFactoryInfo::kUnicode));
        const PClassInfo2 first = classInfo(kFirstId, "First", 1, "Fx");
        const PClassInfo2 second = classInfo(kSecondId, "Second", 0, "");
        ASSERT_TRUE(gPluginFactory->registerClass(&first, CountedObject::create));
        ASSERT_TRUE(gPluginFactory->registerClass(&second, CountedObject::create));
    }
    void TearDown() override
    {
        if (gPluginFactory != nullptr)
            gPluginFactory->release();
        EXPECT_EQ(gPluginFactory, nullptr);
        EXPECT_EQ(liveObjects, 0);
    }
};

} // namespace

TEST_F(GlobalFactory, AnswersItsInterfacesAndOnlyTheLastReleaseClearsTheGlobalPointer)
{
    for (const TUID* iid : {&IPluginFactory::iid.toTUID(), &IPluginFactory2::iid.toTUID(), &IPluginFactory3::iid.toTUID(),
                            &FUnknown::iid.toTUID()})
    {
        void* object = nullptr;
        ASSERT_EQ(gPluginFactory->queryInterface(*iid, &object), kResultOk);
        EXPECT_EQ(object, static_cast<IPluginFactory3*>(gPluginFactory));
        EXPECT_EQ(gPluginFactory->release(), 1u);
    }
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(gPluginFactory->queryInterface(IPluginBase::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);

    EXPECT_EQ(gPluginFactory->addRef(), 2u);
    EXPECT_EQ(gPluginFactory->release(), 1u);
    EXPECT_NE(gPluginFactory, nullptr);
    EXPECT_EQ(gPluginFactory->release(), 0u);
    EXPECT_EQ(gPluginFactory, nullptr);
}

TEST_F(GlobalFactory, ReportsClassesInRegistrationOrderInAllThreeForms)
{
    PFactoryInfo factory;
    ASSERT_EQ(gPluginFactory->getFactoryInfo(&factory), kResultOk);
    EXPECT_STREQ(factory.vendor, "Maker");

    ASSERT_EQ(gPluginFactory->countClasses(), 2);
    PClassInfo info;
    ASSERT_EQ(gPluginFactory->getClassInfo(1, &info), kResultOk);
    EXPECT_EQ(FUID::fromTUID(info.cid), kSecondId);
    EXPECT_STREQ(info.name, "Second");

    PClassInfo2 info2;
    ASSERT_EQ(gPluginFactory->getClassInfo2(0, &info2), kResultOk);
    EXPECT_EQ(FUID::fromTUID(info2.cid), kFirstId);
    EXPECT_STREQ(info2.subCategories, "Fx");
    EXPECT_EQ(info2.classFlags, 1u);

    PClassInfoW infoW;
    ASSERT_EQ(gPluginFactory->getClassInfoUnicode(1, &infoW), kResultOk);
    EXPECT_EQ(FUID::fromTUID(infoW.cid), kSecondId);
    EXPECT_EQ(std::u16string(infoW.name), u"Second");
    EXPECT_EQ(std::u16string(infoW.sdkVersion), u"VST 3.7.3");
    EXPECT_STREQ(infoW.category, "Audio Module Class");
}

TEST_F(GlobalFactory, RefusesBadIndicesNullInfosAndDuplicateClasses)
{
    PClassInfo info;
    PClassInfo2 info2;
    PClassInfoW infoW;
    for (int32 index : {-1, 2})
    {
        EXPECT_EQ(gPluginFactory->getClassInfo(index, &info), kInvalidArgument);
        EXPECT_EQ(gPluginFactory->getClassInfo2(index, &info2), kInvalidArgument);
        EXPECT_EQ(gPluginFactory->getClassInfoUnicode(index, &infoW), kInvalidArgument);
    }
    EXPECT_EQ(gPluginFactory->getClassInfo(0, nullptr), kInvalidArgument);
    EXPECT_EQ(gPluginFactory->getFactoryInfo(nullptr), kInvalidArgument);

    const PClassInfo2 again = classInfo(kFirstId, "Again", 0, "");
    EXPECT_FALSE(gPluginFactory->registerClass(&again, CountedObject::create));
    EXPECT_FALSE(gPluginFactory->registerClass(nullptr, CountedObject::create));
    EXPECT_EQ(gPluginFactory->countClasses(), 2);
}

TEST_F(GlobalFactory, CreateInstanceHandsOutOneReferenceAndRefusesWithoutLeaking)
{
    IPluginBase* object = nullptr;
    ASSERT_EQ(gPluginFactory->createInstance(kFirstId, IPluginBase::iid, reinterpret_cast<void**>(&object)), kResultOk);
    EXPECT_EQ(liveObjects, 1);
    EXPECT_EQ(object->release(), 0u);

    void* refused = reinterpret_cast<void*>(1);
    EXPECT_EQ(gPluginFactory->createInstance(FUID(1, 2, 3, 4), IPluginBase::iid, &refused), kNoInterface);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(gPluginFactory->createInstance(kFirstId, IPluginFactory::iid, &refused), kNoInterface);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(gPluginFactory->createInstance(kFirstId, IPluginBase::iid, nullptr), kInvalidArgument);
    EXPECT_EQ(liveObjects, 0);
}
