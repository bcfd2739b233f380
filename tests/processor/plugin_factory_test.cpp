#include "Vextoria3Cids.h"
#include "processor/Vextoria3.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <string>

using namespace Steinberg;

namespace {

std::string ascii(const char16* text)
{
    std::string result;
    for (; *text != 0; ++text)
        result.push_back(static_cast<char>(*text));
    return result;
}

// The module's factory as a host gets it; the last release drops it again.
struct ModuleFactory : ::testing::Test
{
    IPluginFactory* factory = GetPluginFactory();
    void TearDown() override { EXPECT_EQ(factory->release(), 0u); }
};

} // namespace

TEST_F(ModuleFactory, RepeatedRequestsShareOneFactoryWithOneMoreReference)
{
    IPluginFactory* again = GetPluginFactory();
    EXPECT_EQ(again, factory);
    EXPECT_EQ(again->release(), 1u);
}

TEST_F(ModuleFactory, DescribesTheVendorAndTheTwoClassesProcessorFirst)
{
    PFactoryInfo info;
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Harlowmint");
    EXPECT_EQ(info.flags, 16);
    EXPECT_EQ(std::string(info.email).rfind("mailto:", 0), 0u);

    ASSERT_EQ(factory->countClasses(), 2);
    FUnknownPtr<IPluginFactory2> factory2(factory);
    ASSERT_TRUE(factory2);
    PClassInfo2 processor;
    ASSERT_EQ(factory2->getClassInfo2(0, &processor), kResultOk);
    EXPECT_EQ(FUID::fromTUID(processor.cid), Vst::kVextoria3ProcessorUID);
    EXPECT_STREQ(processor.name, "VextoriaPRO");
    EXPECT_STREQ(processor.category, "Audio Module Class");
    EXPECT_STREQ(processor.subCategories, "Fx");
    EXPECT_EQ(processor.classFlags, 1u);
    EXPECT_EQ(processor.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(processor.vendor, "");
    EXPECT_STREQ(processor.version, "1.3.2.1");
    EXPECT_STREQ(processor.sdkVersion, "VST 3.7.3");

    PClassInfo2 controller;
    ASSERT_EQ(factory2->getClassInfo2(1, &controller), kResultOk);
    EXPECT_EQ(FUID::fromTUID(controller.cid), Vst::kVextoria3ControllerUID);
    EXPECT_STREQ(controller.name, "VextoriaPROController");
    EXPECT_STREQ(controller.category, "Component Controller Class");
    EXPECT_STREQ(controller.subCategories, "");
    EXPECT_EQ(controller.classFlags, 0u);

    FUnknownPtr<IPluginFactory3> factory3(factory);
    ASSERT_TRUE(factory3);
    PClassInfoW unicode;
    ASSERT_EQ(factory3->getClassInfoUnicode(1, &unicode), kResultOk);
    EXPECT_EQ(ascii(unicode.name), "VextoriaPROController");
    EXPECT_EQ(ascii(unicode.version), "1.3.2.1");
}

TEST_F(ModuleFactory, CreatesBothHalvesThroughTheirInterfaces)
{
    Vst::IAudioProcessor* processor = nullptr;
    ASSERT_EQ(factory->createInstance(Vst::kVextoria3ProcessorUID, Vst::IAudioProcessor::iid,
                                      reinterpret_cast<void**>(&processor)), kResultOk);
    ASSERT_NE(processor, nullptr);
    FUnknownPtr<Vst::IComponent> component(processor);
    EXPECT_TRUE(component);
    component = nullptr;
    EXPECT_EQ(processor->release(), 0u);

    Vst::IEditController* controller = nullptr;
    ASSERT_EQ(factory->createInstance(Vst::kVextoria3ControllerUID, Vst::IEditController::iid,
                                      reinterpret_cast<void**>(&controller)), kResultOk);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->release(), 0u);
}
