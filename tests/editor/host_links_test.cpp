// The editor's roads to its host: the controller wrapper (edits, hidden settings with their
// echo, the host's name, changes coming back), the run-loop bridge onto the host's loop, the
// host-specific sizing, and the pictures found through the bundle module's own path.
#include "EditorHarness.h"
#include "FakeHost.h"

#include "controls/VSlider.h"
#include "editor/MyBitmap.h"
#include "editor/ResourceFolder.h"
#include "editor/RunLoopBridge.h"
#include "ids.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <dlfcn.h>
#include <functional>

using namespace EditorTest;
using namespace Vextoria3Ids;
using BridgeLoop = Steinberg::Vst::RunLoop;

namespace {

// A host with the name `text`, repeated to fill all 128 units without a terminator when long.
class NamedHost : public StandIn<IHostApplication> {
public:
    explicit NamedHost(std::string text) : name(std::move(text)) {}
    tresult PLUGIN_API getName(String128 out) override
    {
        for (size_t i = 0; i < 128; ++i)
            out[i] = i < name.size() || name.size() > 26 ? TChar(name[i % name.size()]) : 0;
        return kResultOk;
    }
    tresult PLUGIN_API createInstance(TUID, TUID, void** obj) override { return *obj = nullptr, kResultFalse; }
    std::string name;
};

struct CountingHandler : VSTGUI::X11::IEventHandler, VSTGUI::X11::ITimerHandler {
    void onEvent() override { ++events, then(); }
    void onTimer() override { ++ticks, then(); }
    int events = 0, ticks = 0;
    std::function<void()> then = [] {};
};

struct BridgeTest : testing::Test {
    BridgeLoop* bridge(FUnknown* plugFrame) { return made.emplace_back(new BridgeLoop(plugFrame)); }
    void TearDown() override
    {
        for (BridgeLoop* loop : made)
            loop->forget();
    }
    FakeHostRunLoop host;
    FakePlugFrame withLoop {Answer::atOnce, &host}, withoutLoop {Answer::atOnce};
    CountingHandler handler;
    std::vector<BridgeLoop*> made;
};

using WrapperTest = EditorFixture;

} // namespace

TEST_F(WrapperTest, EditsAndHiddenSettingsCarryTheStoredValueAndRefusalsChangeNothing)
{
    PluginWrapper& wrapper = *editor->getWrapper();
    EXPECT_TRUE(wrapper.setParameterAutomated(kRoomSize, 1.7));
    EXPECT_TRUE(wrapper.setParameterAutomated(kDamping, 0.25));
    EXPECT_EQ(host.edits, (std::vector<std::string> {"perform 23 1.000", "perform 24 0.250"}));
    for (auto [id, value] : {std::pair {12, 0.5}, {40, 0.5}, {-1, 0.5}, {kDamping, std::nan("")}, {kDamping, HUGE_VAL}})
        EXPECT_FALSE(wrapper.setParameterAutomated(id, value)) << id;
    EXPECT_EQ(host.edits.size(), 2u);
    EXPECT_EQ(std::pair(wrapper.getParameter(kDamping), wrapper.getParameter(12)), std::pair(0.25, 0.0));
    EXPECT_FALSE(PluginWrapper(nullptr).setParameterAutomated(kDamping, 0.5));

    const std::vector<double> before = hiddenValues();
    for (auto [index, value] : {std::pair {0, 1.2}, {0, -0.1}, {7, 0.5}, {-1, 0.5}, {3, std::nan("")}})
        EXPECT_FALSE(wrapper.setHiddenParameter(index, value)) << index;
    EXPECT_EQ(hiddenValues(), before);
    EXPECT_FALSE(editor->tabSelectPending);
    EXPECT_TRUE(wrapper.setHiddenParameter(6, 0.5));
    EXPECT_EQ(wrapper.getHiddenParameter(6), 0.5);
    EXPECT_TRUE(editor->tabSelectPending) << "the echo reached the open editor at once";
    EXPECT_EQ(wrapper.getHiddenParameter(9), 0.0);
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

// A host's name is cut to its buffer; hosts that size from getSize get the zoomed size and set
// the zoom through onSize, storing nothing.
TEST(HostName, IsCutToItsBufferAndDecidesTheSizing)
{
    EXPECT_EQ(PluginWrapper(nullptr).getHostName(), "");
    NamedHost longName("abcdefghijklmnopqrstuvwxyz!"), renoise("ReNoise 3");
    auto other = owned(new Vextoria3Controller);
    ASSERT_EQ(other->initialize(&longName), kResultOk);
    const std::string name = PluginWrapper(other).getHostName();
    EXPECT_EQ(std::pair(name.size(), name.substr(0, 3)), std::pair(size_t(127), std::string("abc")));
    other->terminate();

    EXPECT_TRUE(Vextoria3Editor::isRenoise("renoise") && Vextoria3Editor::isRenoise("x audiopluginserver64"));
    EXPECT_FALSE(Vextoria3Editor::isRenoise("Reason"));
    ASSERT_EQ(other->initialize(&renoise), kResultOk);
    other->getHiddenParameters().setParamValue(0, 1.0 / 3.0);
    auto* view = new Vextoria3Editor(other, nullptr);
    view->openUI(kUiRack);
    ViewRect rect(10, 20, 0, 0);
    EXPECT_EQ(view->getSize(&rect), kResultOk);
    EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right, rect.bottom), std::tuple(10, 20, 1300, 470));
    other->getHiddenParameters().setParamValue(0, 0.9);
    view->getSize(&rect);
    EXPECT_EQ(rect.getWidth(), 645) << "one zoom index everywhere: 0.9 is 75 %";
    ViewRect given(0, 0, 645, 225);
    EXPECT_EQ(view->onSize(&given), kResultOk);
    EXPECT_EQ(view->getFrame()->getZoom(), 0.75);
    EXPECT_EQ(view->getRect().getWidth(), 0) << "nothing stored";
    view->release();
    other->terminate();
}

TEST_F(BridgeTest, WithoutAHostLoopOrWhenTheHostRefusesEveryRegistrationFails)
{
    for (FUnknown* plugFrame : {static_cast<FUnknown*>(&withoutLoop), static_cast<FUnknown*>(nullptr)}) {
        BridgeLoop* loop = bridge(plugFrame);
        EXPECT_FALSE(loop->hasHostRunLoop());
        EXPECT_FALSE(loop->registerEventHandler(3, &handler) || loop->registerTimer(100, &handler));
        EXPECT_FALSE(loop->unregisterEventHandler(&handler) || loop->unregisterTimer(&handler));
    }
    host.refuse = true;
    EXPECT_FALSE(bridge(&withLoop)->registerTimer(100, &handler)) << "a refused wrapper is not kept";
    EXPECT_EQ(host.count(true), 0u);
}

TEST_F(BridgeTest, EachRegistrationIsOneWrapperAndUnregisteringTakesTheFirst)
{
    BridgeLoop* loop = bridge(&withLoop);
    ASSERT_TRUE(loop->registerTimer(100, &handler) && loop->registerTimer(100, &handler));
    ASSERT_TRUE(loop->registerEventHandler(0, &handler));
    host.fireTimers();
    EXPECT_EQ(handler.ticks, 2);
    EXPECT_TRUE(loop->unregisterTimer(&handler));
    EXPECT_EQ(host.count(true), 1u);
    CountingHandler stranger;
    EXPECT_FALSE(loop->unregisterTimer(&stranger) || loop->unregisterEventHandler(&stranger));
    EXPECT_EQ(host.calls, std::vector<std::string> {"timer"}) << "nothing asked of the host for a stranger";
    host.runOnce(0); // descriptor 0 need not be readable; timers are not due yet
    EXPECT_EQ(handler.ticks, 2);
}

TEST_F(BridgeTest, AHandlerMayUnregisterItselfFromItsOwnCallback)
{
    BridgeLoop* loop = bridge(&withLoop);
    handler.then = [&] {
        EXPECT_TRUE(loop->unregisterTimer(&handler));
        EXPECT_TRUE(loop->unregisterEventHandler(&handler));
    };
    ASSERT_TRUE(loop->registerTimer(100, &handler) && loop->registerEventHandler(0, &handler));
    host.fireTimers(); // the host holds no reference while it calls: the wrapper keeps itself
    EXPECT_EQ(handler.ticks, 1);
    EXPECT_EQ(host.count(true) + host.count(false), 0u);
    EXPECT_EQ(host.calls, (std::vector<std::string> {"timer", "event"}));
}

TEST_F(BridgeTest, TheLastReferenceWithdrawsWhatIsStillRegisteredAndItsWrappersCallNothing)
{
    auto* loop = new BridgeLoop(&withLoop);
    ASSERT_TRUE(loop->registerTimer(100, &handler) && loop->registerEventHandler(0, &handler));
    BridgeLoop::TimerHandler probe(&handler); // a wrapper as the host would hold it
    probe.handler = nullptr;
    probe.onTimer();
    EXPECT_EQ(handler.ticks, 0) << "an unregistered wrapper reaches nothing";
    loop->remember();
    loop->forget();
    EXPECT_EQ(host.count(true), 1u) << "still referenced";
    loop->forget();
    EXPECT_EQ(host.count(true) + host.count(false), 0u);
    EXPECT_EQ(host.calls, (std::vector<std::string> {"timer", "event"}));
}

TEST(BundlePictures, LoadInTheirScalesFromTheModulesResourceFolderTheScaleComingFromTheWidth)
{
    void* module = dlopen(VEXTORIA_BUNDLE_PATH "/Contents/x86_64-linux/Vextoria3.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    const std::string folder = ResourceFolder::ofModuleContaining(dlsym(module, "GetPluginFactory"));
    EXPECT_EQ(folder, std::filesystem::canonical(VEXTORIA_BUNDLE_PATH).string() + "/Contents/Resources");
    EXPECT_EQ(ResourceFolder::ofModuleContaining(&folder), "") << "a stack address lies in no module";
    dlclose(module);
    setResourceFolderFunction([folder] { return folder; });
    auto* knob = MyBitmap::fromLayout("vxp_knob_gate");
    EXPECT_EQ(knob->getSize(), CPoint(54, 6858));
    EXPECT_EQ(knob->getBestPlatformBitmapForScaleFactor(2.0)->getScaleFactor(), 2.0);
    knob->forget();
    auto* help = MyBitmap::fromOverlay("help");
    EXPECT_EQ(help->getBestPlatformBitmapForScaleFactor(1.5)->getScaleFactor(), 1.5);
    help->forget();

    ToolkitTest::ResourceFolder own;
    own.writeBands("a.png", 10, 20, {kRedCColor});
    own.writeBands("a_x2.png", 15, 30, {kRedCColor}); // only 1.5 times as wide
    MyBitmap picture("a.png");
    EXPECT_TRUE(picture.addScaledBitmap("a_x2.png"));
    EXPECT_EQ(picture.getBestPlatformBitmapForScaleFactor(2.0)->getScaleFactor(), 1.5);
    EXPECT_FALSE(picture.addScaledBitmap("missing.png"));
    MyBitmap missing("gone.png");
    EXPECT_FALSE(missing.addScaledBitmap("a_x2.png")) << "no 1x width to divide by";
    EXPECT_EQ(missing.getPlatformBitmap(), nullptr);
}
