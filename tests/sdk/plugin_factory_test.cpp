#include "sdk/pluginfactory.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/ipluginbase.h"

#include <gtest/gtest.h>

#include <string>

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

std::string utf8(const char16* text)
{
    std::string result;
    for (; *text != 0; ++text)
        result.push_back(static_cast<char>(*text));
    return result;
}

} // namespace

TEST_F(GlobalFactory, LastReleaseClearsTheGlobalPointerAndEarlierOnesDoNot)
{
    EXPECT_EQ(gPluginFactory->addRef(), 2u);
    EXPECT_EQ(gPluginFactory->release(), 1u);
    EXPECT_NE(gPluginFactory, nullptr);
    EXPECT_EQ(gPluginFactory->release(), 0u);
    EXPECT_EQ(gPluginFactory, nullptr);
}

TEST_F(GlobalFactory, AnswersAllThreeFactoryInterfaces)
{
    for (const TUID* iid : {&IPluginFactory::iid.toTUID(), &IPluginFactory2::iid.toTUID(), &IPluginFactory3::iid.toTUID(),
                            &FUnknown::iid.toTUID()})
    {
        void* object = nullptr;
        ASSERT_EQ(gPluginFactory->queryInterface(*iid, &object), kResultOk);
        EXPECT_EQ(object, static_cast<IPluginFactory3*>(gPluginFactory));
        gPluginFactory->release();
    }
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(gPluginFactory->queryInterface(IPluginBase::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
}

TEST_F(GlobalFactory, ReportsFactoryInfoAndClassesInRegistrationOrder)
{
    PFactoryInfo factory;
    ASSERT_EQ(gPluginFactory->getFactoryInfo(&factory), kResultOk);
    EXPECT_STREQ(factory.vendor, "Maker");
    EXPECT_EQ(factory.flags, PFactoryInfo::kUnicode);

    ASSERT_EQ(gPluginFactory->countClasses(), 2);
    PClassInfo info;
    ASSERT_EQ(gPluginFactory->getClassInfo(0, &info), kResultOk);
    EXPECT_EQ(FUID::fromTUID(info.cid), kFirstId);
    EXPECT_STREQ(info.name, "First");
    EXPECT_STREQ(info.category, "Audio Module Class");
    EXPECT_EQ(info.cardinality, PClassInfo::kManyInstances);
    ASSERT_EQ(gPluginFactory->getClassInfo(1, &info), kResultOk);
    EXPECT_EQ(FUID::fromTUID(info.cid), kSecondId);

    PClassInfo2 info2;
    ASSERT_EQ(gPluginFactory->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.subCategories, "Fx");
    EXPECT_EQ(info2.classFlags, 1u);
    EXPECT_STREQ(info2.vendor, "");
    EXPECT_STREQ(info2.version, "1.0.0.0");
    EXPECT_STREQ(info2.sdkVersion, "VST 3.7.3");

    PClassInfoW infoW;
    ASSERT_EQ(gPluginFactory->getClassInfoUnicode(1, &infoW), kResultOk);
    EXPECT_EQ(FUID::fromTUID(infoW.cid), kSecondId);
    EXPECT_EQ(utf8(infoW.name), "Second");
    EXPECT_EQ(utf8(infoW.sdkVersion), "VST 3.7.3");
    EXPECT_STREQ(infoW.category, "Audio Module Class");
}

TEST_F(GlobalFactory, RefusesBadIndicesNullInfosAndDuplicateClasses)
{
    PClassInfo info;
    PClassInfo2 info2;
    PClassInfoW infoW;
    for (int32 index : {-1, 2, 1000})
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
    EXPECT_TRUE(gPluginFactory->isClassRegistered(kSecondId));
}

TEST_F(GlobalFactory, CreateInstanceHandsOutOneReferenceOfTheAskedInterface)
{
    IPluginBase* object = nullptr;
    ASSERT_EQ(gPluginFactory->createInstance(kFirstId, IPluginBase::iid, reinterpret_cast<void**>(&object)), kResultOk);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(liveObjects, 1);
    EXPECT_EQ(object->release(), 0u);
    EXPECT_EQ(liveObjects, 0);
}

TEST_F(GlobalFactory, CreateInstanceRefusesUnknownClassesAndInterfacesWithoutLeaking)
{
    void* object = reinterpret_cast<void*>(1);
    const FUID unknown(1, 2, 3, 4);
    EXPECT_EQ(gPluginFactory->createInstance(unknown, IPluginBase::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(gPluginFactory->createInstance(kFirstId, IPluginFactory::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(liveObjects, 0);
    EXPECT_EQ(gPluginFactory->createInstance(kFirstId, IPluginBase::iid, nullptr), kInvalidArgument);
}
