// The bundle as JUCE's VST3 host finds and loads it.

#include "loaded_plugin_fixture.h"

namespace probe::testing {
namespace {

TEST(PluginLoading, TheBundleOffersTheProcessorClassOfItsMaker)
{
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    const auto classes = listClasses(bundlePath);
    // The host lists audio classes only: the controller class is paired, not offered.
    ASSERT_EQ(classes.size(), 1);
    const auto& description = *classes[0];
    EXPECT_EQ(description.name, processorClassName);
    EXPECT_EQ(description.manufacturerName, "Harlowmint");
    EXPECT_EQ(description.pluginFormatName, "VST3");
    EXPECT_EQ(description.category, "Fx");
    EXPECT_EQ(description.version, "1.3.2.1");
    EXPECT_FALSE(description.isInstrument);
    EXPECT_EQ(description.numInputChannels, 2);
    EXPECT_EQ(description.numOutputChannels, 2);
}

TEST_F(LoadedPluginTest, TheProcessorLoadsWithStereoBusesAndMidi)
{
    EXPECT_EQ(plugin().getName(), processorClassName);
    ASSERT_EQ(plugin().getBusCount(true), 1);
    ASSERT_EQ(plugin().getBusCount(false), 1);
    EXPECT_EQ(plugin().getBus(true, 0)->getName(), "Stereo In");
    EXPECT_EQ(plugin().getBus(false, 0)->getName(), "Stereo Out");
    EXPECT_EQ(plugin().getTotalNumInputChannels(), 2);
    EXPECT_EQ(plugin().getTotalNumOutputChannels(), 2);
    EXPECT_TRUE(plugin().acceptsMidi());
}

TEST(PluginLoading, AMissingBundleOrClassIsRefusedWithAReason)
{
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    const auto noBundle = loadClass("/nonexistent/Missing.vst3", processorClassName, defaultSampleRate,
                                    defaultBlockSize);
    EXPECT_EQ(noBundle.instance, nullptr);
    EXPECT_TRUE(noBundle.error.contains("no VST3 bundle")) << noBundle.error;

    const auto noClass = loadClass(bundlePath, "NoSuchClass", defaultSampleRate, defaultBlockSize);
    EXPECT_EQ(noClass.instance, nullptr);
    EXPECT_TRUE(noClass.error.contains("NoSuchClass")) << noClass.error;
}

}  // namespace
}  // namespace probe::testing
