// The bundle as a DAW loads it: its classes, and processor and controller joined while saving a state.

#include "BundleUnderTest.h"

#include "host/HostError.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstring>
#include <filesystem>

using namespace VextoriaHost;
using namespace VextoriaTest;
using namespace Vextoria3Ids;

TEST(Bundle, OffersTheProcessorFirstAndItsController)
{
    PluginModule module(VEXTORIA_BUNDLE_PATH); // what each class reports: the processor's tests
    const ClassInfo* processor = module.findClass(kVstAudioEffectClass);
    const ClassInfo* controller = module.findClass(kVstComponentControllerClass);
    ASSERT_TRUE(processor && controller && processor == &module.classes().front());
    EXPECT_EQ(module.vendor(), "Harlowmint");
    EXPECT_NE(controller->classId, processor->classId);
    std::filesystem::create_directories(std::string(VEXTORIA_TEST_OUTPUT) + "/Missing.vst3");
    EXPECT_THROW(PluginHost {std::string(VEXTORIA_TEST_OUTPUT) + "/Missing.vst3"}, HostError);
    EXPECT_THROW(PluginHost {"/nonexistent/Vextoria3.vst3"}, HostError);
}

// Saving asks the controller for its hidden settings first (this host hands messages on at once):
// the record carries those of the program the controller switched to, not the processor's.
TEST(Bundle, StateSaveCarriesTheHiddenValuesTheControllerAnswers)
{
    auto host = loadBundle();
    ASSERT_EQ(host->configure(BusLayout::stereo, 44100.0, 512), Steinberg::kResultOk);
    ASSERT_EQ(host->controller()->setParamNormalized(kFactoryPresets, 1.0 / 15.0), Steinberg::kResultOk);
    for (bool running : {false, true})
    {
        if (running)
            host->start();
        const std::vector<uint8_t> state = host->saveState();
        ASSERT_EQ(state.size(), 372u);
        std::vector<double> saved(7);
        std::memcpy(saved.data(), state.data() + 316, 56);
        EXPECT_EQ(saved, (std::vector<double> {0, 0, 1, 1, 1, 1, 0.75})) << (running ? "running" : "idle");
    }
}
