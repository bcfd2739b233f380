// The editor's road to the controller: parameter edits towards the host, hidden settings with
// their echo, the host's name, messages to the processor, and changes coming back.
#include "EditorHarness.h"

#include "controls/VSlider.h"
#include "ids.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

using namespace EditorTest;
using namespace Vextoria3Ids;

namespace {

// A host whose name fills all 128 units without a terminator.
class LongNameHost : public StandIn<Steinberg::Vst::IHostApplication> {
public:
    tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override
    {
        for (int i = 0; i < 128; ++i)
            name[i] = Steinberg::Vst::TChar('a' + i % 26);
        return Steinberg::kResultOk;
    }
    tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kResultFalse;
    }
};

} // namespace

using WrapperTest = EditorFixture;

TEST_F(WrapperTest, EditsCarryTheStoredValueAndRefusalsSendNothing)
{
    PluginWrapper& wrapper = *editor->getWrapper();
    EXPECT_TRUE(wrapper.setParameterAutomated(kRoomSize, 1.7));
    EXPECT_TRUE(wrapper.setParameterAutomated(kDamping, 0.25));
    EXPECT_EQ(host.edits, (std::vector<std::string>{"perform 23 1.000", "perform 24 0.250"}));
    for (auto [id, value] : {std::pair{12, 0.5}, {40, 0.5}, {-1, 0.5}, {kDamping, std::nan("")}, {kDamping, HUGE_VAL}})
        EXPECT_FALSE(wrapper.setParameterAutomated(id, value)) << id;
    EXPECT_EQ(host.edits.size(), 2u);
    EXPECT_EQ(wrapper.getParameter(kDamping), 0.25);
    EXPECT_EQ(wrapper.getParameter(12), 0.0);
}

TEST_F(WrapperTest, HiddenSettingsEchoToTheOpenEditorAndRefusalsChangeNothing)
{
    PluginWrapper& wrapper = *editor->getWrapper();
    const std::vector<double> before = hiddenValues();
    for (auto [index, value] : {std::pair{0, 1.2}, {0, -0.1}, {7, 0.5}, {-1, 0.5}, {3, std::nan("")}})
        EXPECT_FALSE(wrapper.setHiddenParameter(index, value)) << index;
    EXPECT_EQ(hiddenValues(), before);
    EXPECT_FALSE(editor->tabSelectPending);

    EXPECT_TRUE(wrapper.setHiddenParameter(6, 0.5));
    EXPECT_EQ(wrapper.getHiddenParameter(6), 0.5);
    EXPECT_TRUE(editor->tabSelectPending) << "the echo reached the open editor at once";
    EXPECT_EQ(wrapper.getHiddenParameter(9), 0.0);
}

TEST_F(WrapperTest, TimerMessageIsOneIntegerAttribute)
{
    editor->getWrapper()->sendIntMessage("linuxtimer", 1);
    ASSERT_EQ(processor.received.size(), 1u);
    EXPECT_EQ(processor.received[0].id, "IntMessage");
    EXPECT_EQ(processor.received[0].command, "linuxtimer");
    EXPECT_EQ(processor.received[0].integer, 1);
}

TEST_F(WrapperTest, HostNameIsCutToItsBufferAndEmptyWithoutAHost)
{
    EXPECT_EQ(PluginWrapper(nullptr).getHostName(), "");
    EXPECT_FALSE(PluginWrapper(nullptr).setParameterAutomated(kDamping, 0.5));
    LongNameHost longName;
    auto other = owned(new Steinberg::Vst::Vextoria3Controller);
    ASSERT_EQ(other->initialize(&longName), Steinberg::kResultOk);
    const std::string name = PluginWrapper(other).getHostName();
    EXPECT_EQ(name.size(), 127u);
    EXPECT_EQ(name.substr(0, 3), "abc");
    other->terminate();
}

TEST_F(WrapperTest, ParameterChangesReachTheControlsWhileOpenAndNobodyAfterClose)
{
    auto* slider = add(new VSlider(CRect(0, 0, 60, 14), editor, kDamping));
    editor->addControl(slider);
    controller->setParamNormalized(kDamping, 0.75);
    EXPECT_EQ(slider->getValue(), 0.75f);
    slider->setValue(0.1f);
    controller->setParamNormalized(kDamping, 0.75); // the same value: no change, no call
    EXPECT_EQ(slider->getValue(), 0.1f);
    controller->setParamNormalized(kFreeze, 1.0);
    controller->setParamNormalized(kReverbActive, 0.0);

    editor->close();
    EXPECT_EQ(controller->getEditor(), nullptr);
    controller->setParamNormalized(kDamping, 0.3); // ASan: reaches nobody
    EXPECT_FALSE(editor->setHiddenParameter(6, 0.25));
}
