// Parameters that a host sets by name reach the processor (through its next block).

#include "loaded_plugin_fixture.h"

#include "probe/offline_render.h"
#include "probe/parameter_access.h"
#include "probe/test_loop.h"

namespace probe::testing {
namespace {

constexpr int activeId = 0;
constexpr int bypassId = 37;

// The value of parameter id in the processor's saved program record.
double processorValue(juce::AudioPluginInstance& plugin, int id)
{
    return readRecord<double>(savedComponentState(plugin), recordValueOffset(id));
}

TEST_F(LoadedPluginTest, BypassSetByNameReachesTheProcessorAndPassesTheInput)
{
    auto* bypass = findParameter(plugin(), "Bypass");
    if (bypass == nullptr)
        GTEST_SKIP() << "the plug-in publishes no parameter named \"Bypass\" (its edit controller has none yet)";
    EXPECT_EQ(plugin().getBypassParameter(), bypass);

    // With the slicer switched on, only the bypass path can give the input back unchanged.
    ASSERT_TRUE(applyParameterSetting(plugin(), {"Active", 1.0f}));
    ASSERT_TRUE(applyParameterSetting(plugin(), {"Bypass", 1.0f}));
    const auto input = makeTestLoop(2, defaultSampleRate, 120.0, 1.0);
    const auto bypassed = render(plugin(), input, RenderSettings{});
    ASSERT_TRUE(bypassed.error.isEmpty()) << bypassed.error.toStdString();
    expectIdentical(bypassed.output, input);
    EXPECT_EQ(processorValue(plugin(), activeId), 1.0);
    EXPECT_EQ(processorValue(plugin(), bypassId), 1.0);

    ASSERT_TRUE(applyParameterSetting(plugin(), {"Bypass", 0.0f}));
    ASSERT_TRUE(render(plugin(), input, RenderSettings{}).error.isEmpty());
    EXPECT_EQ(processorValue(plugin(), bypassId), 0.0);
}

TEST_F(LoadedPluginTest, AnUnknownParameterNameSetsNothing)
{
    const auto before = savedComponentState(plugin());
    EXPECT_EQ(findParameter(plugin(), "No Such Parameter"), nullptr);
    EXPECT_FALSE(applyParameterSetting(plugin(), {"No Such Parameter", 1.0f}));
    EXPECT_EQ(savedComponentState(plugin()), before);
}

}  // namespace
}  // namespace probe::testing
