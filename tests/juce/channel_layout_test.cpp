// Mono and stereo buses as JUCE's host negotiates them.

#include "loaded_plugin_fixture.h"

#include "probe/offline_render.h"
#include "probe/test_loop.h"

namespace probe::testing {
namespace {

juce::AudioProcessor::BusesLayout layoutOf(const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(in);
    layout.outputBuses.add(out);
    return layout;
}

const auto mono = juce::AudioChannelSet::mono();
const auto stereo = juce::AudioChannelSet::stereo();

TEST_F(LoadedPluginTest, MonoAndStereoBusesAreTakenAndMixedCountsRefused)
{
    EXPECT_TRUE(plugin().checkBusesLayoutSupported(layoutOf(stereo, stereo)));
    EXPECT_TRUE(plugin().checkBusesLayoutSupported(layoutOf(mono, mono)));
    EXPECT_FALSE(plugin().checkBusesLayoutSupported(layoutOf(stereo, mono)));
    EXPECT_FALSE(plugin().checkBusesLayoutSupported(layoutOf(mono, stereo)));
    EXPECT_FALSE(plugin().checkBusesLayoutSupported(layoutOf(juce::AudioChannelSet::create5point1(),
                                                             juce::AudioChannelSet::create5point1())));
}

TEST_F(LoadedPluginTest, SwitchingToMonoAndBackChangesTheChannelCounts)
{
    ASSERT_TRUE(plugin().setBusesLayout(layoutOf(mono, mono)));
    EXPECT_EQ(plugin().getTotalNumInputChannels(), 1);
    EXPECT_EQ(plugin().getTotalNumOutputChannels(), 1);

    ASSERT_TRUE(plugin().setBusesLayout(layoutOf(stereo, stereo)));
    EXPECT_EQ(plugin().getTotalNumInputChannels(), 2);
    EXPECT_EQ(plugin().getTotalNumOutputChannels(), 2);
}

TEST_F(LoadedPluginTest, ARefusedLayoutLeavesTheBusesAsTheyWere)
{
    ASSERT_TRUE(plugin().setBusesLayout(layoutOf(mono, mono)));
    EXPECT_FALSE(plugin().setBusesLayout(layoutOf(mono, stereo)));
    EXPECT_EQ(plugin().getTotalNumInputChannels(), 1);
    EXPECT_EQ(plugin().getTotalNumOutputChannels(), 1);

    // Host and plug-in still agree on one channel: mono audio comes through unchanged.
    const auto input = makeTestLoop(1, defaultSampleRate, 120.0, 0.2);
    const auto rendered = render(plugin(), input, RenderSettings{});
    ASSERT_TRUE(rendered.error.isEmpty()) << rendered.error.toStdString();
    expectIdentical(rendered.output, input);
}

}  // namespace
}  // namespace probe::testing
