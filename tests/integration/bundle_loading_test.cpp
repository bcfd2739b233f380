// The bundle loads like a DAW loads it and offers the classes a host looks for.

#include "BundleUnderTest.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <filesystem>

using namespace VextoriaHost;
using namespace VextoriaTest;

TEST(BundleLoading, OffersTheProcessorAndItsControllerFromTheVendor)
{
    PluginModule module(VEXTORIA_BUNDLE_PATH);
    EXPECT_EQ(module.vendor(), "Harlowmint");
    const ClassInfo* processor = module.findClass(kVstAudioEffectClass);
    ASSERT_NE(processor, nullptr);
    EXPECT_EQ(processor->name, "VextoriaPRO");
    EXPECT_EQ(processor->subCategories, "Fx");
    EXPECT_EQ(processor->version, "1.3.2.1");
    EXPECT_EQ(module.classes().front().name, "VextoriaPRO") << "the processor class comes first";
    const ClassInfo* controller = module.findClass(kVstComponentControllerClass);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->name, "VextoriaPROController");
    EXPECT_NE(controller->classId, processor->classId);
}

TEST(BundleLoading, CreatesConnectsAndTearsDownTheInstanceRepeatedly)
{
    // Each round runs ModuleEntry to ModuleExit and dlclose; a second round proves the
    // module returns to a loadable state.
    for (int round = 0; round < 2; ++round) {
        auto host = loadBundle();
        EXPECT_EQ(host->processorClass().name, "VextoriaPRO");
        EXPECT_NE(host->processor(), nullptr);
        EXPECT_NE(host->controller(), nullptr) << "the processor names a controller class the factory creates";
        EXPECT_EQ(host->configure(BusLayout::stereo, 44100.0, 512), Steinberg::kResultOk);
        host->start();
        EXPECT_TRUE(host->isRunning());
    }
}

TEST(BundleLoading, RefusesAFolderThatIsNoBundle)
{
    const std::string notABundle = std::string(VEXTORIA_TEST_OUTPUT) + "/Missing.vst3";
    std::filesystem::create_directories(notABundle);
    EXPECT_THROW(PluginHost {notABundle}, HostError);
    EXPECT_THROW(PluginHost {"/nonexistent/Vextoria3.vst3"}, HostError);
}
