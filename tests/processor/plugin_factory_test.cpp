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

TEST_F(ModuleFactory, ListsTheProcessorFirstAndDescribesTheControllerInUnicodeToo)
{
    ASSERT_EQ(factory->countClasses(), 2);
    FUnknownPtr<IPluginFactory3> factory3(factory);
    ASSERT_TRUE(factory3);
    PClassInfoW info;
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &info), kResultOk);
    EXPECT_EQ(FUID::fromTUID(info.cid), Vst::kVextoria3ProcessorUID);
    EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
    ASSERT_EQ(factory3->getClassInfoUnicode(1, &info), kResultOk);
    EXPECT_EQ(FUID::fromTUID(info.cid), Vst::kVextoria3ControllerUID);
    EXPECT_EQ(ascii(info.name), "VextoriaPROController");
    EXPECT_EQ(ascii(info.version), "1.3.2.1");
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
