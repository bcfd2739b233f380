// The processor as JUCE's VST3 host loads and drives it: the class it finds, the buses it
// negotiates, audio handed through unchanged, and parameters set by name.

#include "loaded_plugin_fixture.h"

namespace probe::testing {
namespace {

const auto mono = juce::AudioChannelSet::mono();
const auto stereo = juce::AudioChannelSet::stereo();

juce::AudioProcessor::BusesLayout layoutOf(const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(in);
    layout.outputBuses.add(out);
    return layout;
}

TEST_F(LoadedPluginTest, TheBundleOffersOneProcessorClassOfItsMakerWithStereoBusesAndMidi)
{
    // The host lists audio classes only: the controller class is paired, not offered.
    const auto classes = listClasses(bundlePath);
    ASSERT_EQ(classes.size(), 1);
    const auto& c = *classes[0];
    EXPECT_EQ(c.name + " by " + c.manufacturerName + ", " + c.pluginFormatName + " " + c.category + " " + c.version
                  + (c.isInstrument ? ", instrument, " : ", effect, ") + juce::String(c.numInputChannels) + " in / "
                  + juce::String(c.numOutputChannels) + " out",
              processorClassName + " by Harlowmint, VST3 Fx 1.3.2.1, effect, 2 in / 2 out");

    ASSERT_EQ(plugin().getBusCount(true), 1);
    ASSERT_EQ(plugin().getBusCount(false), 1);
    EXPECT_EQ(plugin().getName() + ": " + plugin().getBus(true, 0)->getName() + " ("
                  + juce::String(plugin().getTotalNumInputChannels()) + ") to " + plugin().getBus(false, 0)->getName()
                  + " (" + juce::String(plugin().getTotalNumOutputChannels()) + ")"
                  + (plugin().acceptsMidi() ? ", MIDI in" : ""),
              processorClassName + ": Stereo In (2) to Stereo Out (2), MIDI in");
}

TEST(PluginLoading, AMissingBundleOrClassIsRefusedWithAReason)
{
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    for (const auto& [bundle, className, reason] :
         {std::tuple{juce::String("/nonexistent/Missing.vst3"), processorClassName, "no VST3 bundle"},
          {bundlePath, juce::String("NoSuchClass"), "no class named \"NoSuchClass\""}}) {
        const auto refused = loadClass(bundle, className);
        EXPECT_EQ(refused.instance, nullptr);
        EXPECT_TRUE(refused.error.contains(reason)) << refused.error;
    }
}

TEST_F(LoadedPluginTest, MonoAndStereoBusesAreTakenAndARefusedLayoutLeavesThemAsTheyWere)
{
    EXPECT_TRUE(plugin().checkBusesLayoutSupported(layoutOf(stereo, stereo)));
    EXPECT_TRUE(plugin().checkBusesLayoutSupported(layoutOf(mono, mono)));
    EXPECT_FALSE(plugin().checkBusesLayoutSupported(layoutOf(stereo, mono)));
    EXPECT_FALSE(plugin().checkBusesLayoutSupported(layoutOf(mono, stereo)));
    const auto surround = juce::AudioChannelSet::create5point1();
    EXPECT_FALSE(plugin().checkBusesLayoutSupported(layoutOf(surround, surround)));

    ASSERT_TRUE(plugin().setBusesLayout(layoutOf(mono, mono)));
    EXPECT_FALSE(plugin().setBusesLayout(layoutOf(mono, stereo)));
    EXPECT_EQ(plugin().getTotalNumInputChannels(), 1);
    EXPECT_EQ(plugin().getTotalNumOutputChannels(), 1);
    // Host and plug-in still agree on one channel: mono audio comes through unchanged.
    const auto input = makeTestLoop(1, 44100.0, 120.0, 0.2);
    expectIdentical(rendered(input), input);

    ASSERT_TRUE(plugin().setBusesLayout(layoutOf(stereo, stereo)));
    EXPECT_EQ(plugin().getTotalNumInputChannels(), 2);
    EXPECT_EQ(plugin().getTotalNumOutputChannels(), 2);
}

// With the default program ("Active" off) the processor hands its input through unchanged,
// whatever the buses, rate, block size and transport.
struct PassThroughCase {
    int numChannels;
    double sampleRate;  // Hz
    int blockSize;      // samples
    bool playing;
};

class PassThrough : public LoadedPluginTest, public ::testing::WithParamInterface<PassThroughCase> {};

TEST_P(PassThrough, OutputEqualsInput)
{
    const auto& param = GetParam();
    const auto input = makeTestLoop(param.numChannels, param.sampleRate, 120.0, 1.3);
    expectIdentical(rendered(input, {param.sampleRate, param.blockSize, 120.0, param.playing}), input);
}

INSTANTIATE_TEST_SUITE_P(BusesRatesAndBlocks, PassThrough,
                         ::testing::ValuesIn(std::vector<PassThroughCase>{{2, 44100.0, 512, true},
                                                                          {1, 44100.0, 512, true},
                                                                          {2, 48000.0, 1, true},
                                                                          {1, 96000.0, 4096, true},
                                                                          {2, 96000.0, 333, false},
                                                                          {1, 48000.0, 4096, false}}),
                         [](const auto& info) {  // such as "stereo_44100Hz_blocks512_playing"
                             const auto& c = info.param;
                             return std::string(c.numChannels == 1 ? "mono" : "stereo") + "_"
                                    + std::to_string(int(c.sampleRate)) + "Hz_blocks" + std::to_string(c.blockSize)
                                    + (c.playing ? "_playing" : "_stopped");
                         });

TEST_F(LoadedPluginTest, BypassSetByNameReachesTheProcessorAndPassesTheInput)
{
    constexpr int activeId = 0, bypassId = 37;
    const auto processorValue = [&](int id) {
        return readRecord<double>(savedRecord(plugin()), recordValueOffset(id));
    };
    ASSERT_NE(findParameter(plugin(), "Bypass"), nullptr);
    EXPECT_EQ(plugin().getBypassParameter(), findParameter(plugin(), "Bypass"));

    // With the slicer switched on, only the bypass path can give the input back unchanged.
    ASSERT_TRUE(setParameter(plugin(), "Active", 1.0f));
    ASSERT_TRUE(setParameter(plugin(), "Bypass", 1.0f));
    const auto input = makeTestLoop(2, 44100.0, 120.0, 1.0);
    expectIdentical(rendered(input), input);
    EXPECT_EQ(processorValue(activeId), 1.0);
    EXPECT_EQ(processorValue(bypassId), 1.0);

    ASSERT_TRUE(setParameter(plugin(), "Bypass", 0.0f));
    rendered(input);
    EXPECT_EQ(processorValue(bypassId), 0.0);
}

TEST_F(LoadedPluginTest, AnUnknownParameterNameSetsNothing)
{
    const auto before = savedRecord(plugin());
    EXPECT_EQ(findParameter(plugin(), "No Such Parameter"), nullptr);
    EXPECT_FALSE(setParameter(plugin(), "No Such Parameter", 1.0f));
    EXPECT_EQ(savedRecord(plugin()), before);
}

}  // namespace
}  // namespace probe::testing
