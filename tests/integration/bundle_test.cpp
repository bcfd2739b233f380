// The bundle as a DAW loads it: its classes, and processor and controller joined while saving a state.

#include "BundleUnderTest.h"

#include "host/HostError.h"
#include "host/MessageRelay.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstring>
#include <filesystem>

using namespace VextoriaHost;
using namespace VextoriaTest;
using namespace Vextoria3Ids;

TEST(Bundle, OffersTheProcessorFirstAndItsController)
{
    PluginModule module(VEXTORIA_BUNDLE_PATH);
    EXPECT_EQ(module.vendor(), "Harlowmint");
    const ClassInfo* processor = module.findClass(kVstAudioEffectClass);
    const ClassInfo* controller = module.findClass(kVstComponentControllerClass);
    ASSERT_TRUE(processor && controller);
    EXPECT_EQ(module.classes().front().name, "VextoriaPRO");
    EXPECT_EQ(processor->subCategories, "Fx");
    EXPECT_EQ(processor->version, "1.3.2.1");
    EXPECT_EQ(controller->name, "VextoriaPROController");
    EXPECT_NE(controller->classId, processor->classId);
    std::filesystem::create_directories(std::string(VEXTORIA_TEST_OUTPUT) + "/Missing.vst3");
    EXPECT_THROW(PluginHost {std::string(VEXTORIA_TEST_OUTPUT) + "/Missing.vst3"}, HostError);
    EXPECT_THROW(PluginHost {"/nonexistent/Vextoria3.vst3"}, HostError);
}

namespace {

// Keeps the payloads of the hidden-values messages the host routes.
struct HiddenValuesLog : MessageObserver
{
    void messageSent(MessageDirection direction, Steinberg::Vst::IMessage& message) override
    {
        const void* data = nullptr;
        Steinberg::uint32 size = 0;
        Steinberg::int64 number = 0;
        if (message.getAttributes()->getInt("copyhiddenparam", number) == Steinberg::kResultOk)
            questions.push_back(direction);
        if (message.getAttributes()->getBinary("synchiddenparam", data, size) == Steinberg::kResultOk)
        {
            std::vector<double> values(size / sizeof(double));
            std::memcpy(values.data(), data, values.size() * sizeof(double));
            answers.emplace_back(direction, values);
        }
    }
    std::vector<MessageDirection> questions;
    std::vector<std::pair<MessageDirection, std::vector<double>>> answers;
};

} // namespace

TEST(Bundle, StateSaveCarriesTheHiddenValuesTheControllerAnswers)
{
    HiddenValuesLog log; // outlives the host, which reports to it until it is gone
    auto host = loadBundle();
    host->observeMessages(&log);
    ASSERT_EQ(host->configure(BusLayout::stereo, 44100.0, 512), Steinberg::kResultOk);
    // Program 1 gives the controller's hidden settings values that differ from the defaults.
    ASSERT_EQ(host->controller()->setParamNormalized(kFactoryPresets, 1.0 / 15.0), Steinberg::kResultOk);
    for (bool running : {false, true})
    {
        if (running)
            host->start();
        log.questions.clear();
        log.answers.clear();
        const std::vector<uint8_t> state = host->saveState();
        ASSERT_EQ(log.questions, std::vector {MessageDirection::toController});
        ASSERT_EQ(log.answers.size(), 1u);
        EXPECT_EQ(log.answers[0].first, MessageDirection::toProcessor);
        const std::vector<double>& hidden = log.answers[0].second;
        ASSERT_EQ(hidden.size(), 7u);
        EXPECT_EQ(hidden[6], 0.75);
        ASSERT_EQ(state.size(), 372u);
        std::vector<double> saved(7);
        std::memcpy(saved.data(), state.data() + 316, 56);
        EXPECT_EQ(saved, hidden) << (running ? "running" : "idle");
    }
}
