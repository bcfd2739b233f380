// The bundle as a DAW loads it: the classes it offers, the parameters a host lists, and
// processor and controller joined by the host while a state is saved.

#include "BundleUnderTest.h"

#include "controller/ParameterTable.h"
#include "host/HostError.h"
#include "host/MessageRelay.h"
#include "host/ParameterList.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstring>
#include <filesystem>

using namespace VextoriaHost;
using namespace VextoriaTest;

TEST(Bundle, OffersTheProcessorFirstAndItsControllerAndLoadsRepeatedly)
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
    // Each round runs ModuleEntry to ModuleExit and dlclose: the module returns to a loadable state.
    for (int round = 0; round < 2; ++round)
    {
        auto host = loadBundle();
        EXPECT_EQ(host->processorClass().name, "VextoriaPRO");
        EXPECT_NE(host->controller(), nullptr) << "the processor names a controller class the factory creates";
        EXPECT_EQ(host->configure(BusLayout::stereo, 44100.0, 512), Steinberg::kResultOk);
        host->start();
        EXPECT_TRUE(host->isRunning());
    }
    std::filesystem::create_directories(std::string(VEXTORIA_TEST_OUTPUT) + "/Missing.vst3");
    EXPECT_THROW(PluginHost {std::string(VEXTORIA_TEST_OUTPUT) + "/Missing.vst3"}, HostError);
    EXPECT_THROW(PluginHost {"/nonexistent/Vextoria3.vst3"}, HostError);
}

TEST(Bundle, HostListsEveryParameterOfTheTableInOrderWithTheTextOfItsDefault)
{
    using Vextoria3Params::ParameterKind;
    const auto host = loadBundle();
    const std::vector<ParameterLine> lines = listParameters(*host->controller());
    const auto table = Vextoria3Params::parameterTable();
    ASSERT_EQ(lines.size(), table.size());
    for (size_t index = 0; index < lines.size(); ++index)
    {
        const ParameterLine& line = lines[index];
        const Vextoria3Params::ParameterSpec& spec = table[index];
        SCOPED_TRACE("id " + std::to_string(spec.id));
        EXPECT_EQ(std::tie(line.title, line.units), std::tie(spec.title, spec.units));
        EXPECT_EQ(line.id, static_cast<Steinberg::Vst::ParamID>(spec.id));
        // Lists keep the host default 0, whatever value they start from.
        const bool list = spec.kind == ParameterKind::list || spec.kind == ParameterKind::programList;
        EXPECT_NEAR(line.defaultValue, list ? 0.0 : spec.initialValue, 1e-12);
        char fourDecimals[16];
        std::snprintf(fourDecimals, sizeof fourDecimals, "%.4f", spec.initialValue);
        switch (spec.kind)
        {
        case ParameterKind::list:
            EXPECT_EQ(line.stepCount, static_cast<int32_t>(spec.entries.size()) - 1);
            EXPECT_EQ(line.defaultText, spec.entries[0]);
            break;
        case ParameterKind::programList: EXPECT_EQ(line.stepCount, 15); break;
        case ParameterKind::plain: EXPECT_EQ(line.defaultText, spec.stepCount == 1 ? "Off" : fourDecimals); break;
        case ParameterKind::sliceSize: EXPECT_EQ(line.defaultText, "1/2 BEAT"); break;
        case ParameterKind::semitones: EXPECT_EQ(line.defaultText, "6"); break;
        }
        if (!list)
        {
            EXPECT_EQ(line.stepCount, spec.stepCount);
        }
    }
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
    auto host = loadBundle();
    HiddenValuesLog log;
    host->observeMessages(&log);
    ASSERT_EQ(host->configure(BusLayout::stereo, 44100.0, 512), Steinberg::kResultOk);
    // Program 1 gives the controller's hidden settings values that differ from the defaults.
    ASSERT_EQ(host->controller()->setParamNormalized(Vextoria3Ids::kFactoryPresets, 1.0 / 15.0), Steinberg::kResultOk);
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
    host->observeMessages(nullptr);
}
