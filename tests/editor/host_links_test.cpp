// The controller wrapper, the run-loop bridge, and the editor in a real X window as a host opens it.
#include "EditorHarness.h"
#include "toolkit/x11_drag_source.h"

#include "editor/FxView.h"
#include "editor/Oscilloscope.h"
#include "editor/RunLoopBridge.h"
#include "editor/UserDefaults.h"
#include "ids.h"

#include <functional>

using namespace EditorTest;
using namespace Vextoria3Ids;
using BridgeLoop = Steinberg::Vst::RunLoop;

namespace {
// The plug frame: offers `loop` as its run loop and sizes the view as asked.
class FakePlugFrame : public StandIn<IPlugFrame> {
public:
    explicit FakePlugFrame(FakeHostRunLoop* loop = nullptr) : runLoop(loop) {}
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (runLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
            return *obj = static_cast<Linux::IRunLoop*>(runLoop), kResultOk;
        return StandIn<IPlugFrame>::queryInterface(iid, obj);
    }
    tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* size) override
    {
        requests.push_back(*size);
        ViewRect given = *size; // the view's own rectangle stays its own
        view->onSize(&given);
        return kResultOk;
    }
    FakeHostRunLoop* runLoop;
    std::vector<ViewRect> requests;
};

struct CountingHandler : VSTGUI::X11::IEventHandler, VSTGUI::X11::ITimerHandler {
    void onEvent() override { then(); }
    void onTimer() override { ++ticks, then(); }
    int ticks = 0;
    std::function<void()> then = [] {};
};

struct BridgeTest : testing::Test {
    BridgeLoop* bridge(FUnknown* plugFrame) { return made.emplace_back(new BridgeLoop(plugFrame)); }
    void TearDown() override { std::for_each(made.begin(), made.end(), [](BridgeLoop* loop) { loop->forget(); }); }
    FakeHostRunLoop host;
    FakePlugFrame withLoop {&host}, withoutLoop;
    CountingHandler handler;
    std::vector<BridgeLoop*> made;
};

using WrapperTest = EditorFixture;

class WindowTest : public ControllerFixture {
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        if (!window.usable())
            GTEST_SKIP() << "no X display";
    }
    // A new view from the controller, attached to the test window (or `parent`) through `plugFrame`.
    IPtr<IPlugView> open(FakePlugFrame& plugFrame, tresult expected = kResultOk, void* parent = nullptr)
    {
        IPtr<IPlugView> made = owned(controller->createView("editor"));
        made->setFrame(&plugFrame);
        EXPECT_EQ(made->attached(parent ? parent : window.parentHandle(), kPlatformTypeX11EmbedWindowID), expected);
        return made;
    }
    static Vextoria3Editor& editorOf(IPlugView* view) { return *dynamic_cast<Vextoria3Editor*>(view); }
    size_t handlers() const { return hostLoop.count(false) + hostLoop.count(true); }

    ToolkitTest::TestHostWindow window;
    BundlePictures pictures;
    FakeHostRunLoop hostLoop;
};

} // namespace

TEST_F(WrapperTest, EditsCarryTheStoredValueWhileOpenAndRefusalsChangeNothing)
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
    for (auto [name, sizesItself] : {std::pair {"ReNoise 3", true}, {"x audiopluginserver64", true}, {"Reason", false}})
        EXPECT_EQ(Vextoria3Editor::isRenoise(name), sizesItself) << name;

    const std::vector<double> before = hiddenValues();
    for (auto [index, value] : {std::pair {0, 1.2}, {0, -0.1}, {7, 0.5}, {-1, 0.5}, {3, std::nan("")}})
        EXPECT_FALSE(wrapper.setHiddenParameter(index, value)) << index;
    EXPECT_EQ(hiddenValues(), before);
    EXPECT_FALSE(editor->tabSelectPending);
    EXPECT_TRUE(wrapper.setHiddenParameter(6, 0.5));
    EXPECT_EQ(wrapper.getHiddenParameter(6), 0.5);
    EXPECT_TRUE(editor->tabSelectPending) << "the echo reached the open editor at once";
    EXPECT_EQ(wrapper.getHiddenParameter(9), 0.0);

    editor->close();
    EXPECT_EQ(controller->getEditor(), nullptr);
    controller->setParamNormalized(kDamping, 0.3); // ASan: reaches nobody
    EXPECT_FALSE(editor->setHiddenParameter(6, 0.25));
}

TEST_F(BridgeTest, RegistrationsNeedAHostLoopThatTakesThemAndEachIsOneWrapperUnregisteredOldestFirst)
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
    host.refuse = false;

    BridgeLoop* loop = bridge(&withLoop);
    ASSERT_TRUE(loop->registerTimer(100, &handler) && loop->registerTimer(100, &handler));
    ASSERT_TRUE(loop->registerEventHandler(0, &handler));
    host.fireTimers();
    EXPECT_EQ(handler.ticks, 2);
    EXPECT_EQ(host.intervals, (std::vector<uint64> {100, 100, 100}));
    EXPECT_TRUE(loop->unregisterTimer(&handler));
    EXPECT_EQ(host.count(true), 1u);
    CountingHandler stranger;
    EXPECT_FALSE(loop->unregisterTimer(&stranger) || loop->unregisterEventHandler(&stranger));
    EXPECT_EQ(host.calls, std::vector<std::string> {"timer"}) << "nothing asked of the host for a stranger";
}

TEST_F(BridgeTest, AHandlerMayUnregisterItselfFromItsOwnCallbackAndTheLastReferenceWithdrawsTheRest)
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

    host.calls.clear();
    handler.then = [] {};
    auto* owned = new BridgeLoop(&withLoop);
    ASSERT_TRUE(owned->registerTimer(100, &handler) && owned->registerEventHandler(0, &handler));
    BridgeLoop::TimerHandler probe(&handler); // a wrapper as the host would hold it
    probe.handler = nullptr;
    probe.onTimer();
    EXPECT_EQ(handler.ticks, 1) << "an unregistered wrapper reaches nothing";
    owned->remember();
    owned->forget();
    EXPECT_EQ(host.count(true), 1u) << "still referenced";
    owned->forget();
    EXPECT_EQ(host.count(true) + host.count(false), 0u);
    EXPECT_EQ(host.calls, (std::vector<std::string> {"timer", "event"}));
}

TEST_F(WindowTest, RefusedSizesAndFailedOpensChangeNothingAndEveryWayOfLettingGoWithdrawsAll)
{
    {
        FakePlugFrame plugFrame(&hostLoop);
        IPtr<IPlugView> view = open(plugFrame, kResultFalse, reinterpret_cast<void*>(uintptr_t(0x3fffffff)));
        EXPECT_FALSE(editorOf(view).isOpen());
        EXPECT_EQ(editorOf(view).getFrame(), nullptr);
        EXPECT_EQ(controller->getEditor(), nullptr);
        EXPECT_EQ(handlers(), 0u);
    }
    controller->setParamNormalized(1, 0.3); // no listener of the released view is left behind
    FakePlugFrame noLoop, plugFrame(&hostLoop);
    IPtr<IPlugView> view = open(noLoop);
    EXPECT_TRUE(editorOf(view).isOpen()) << "a host without a loop still gets one";
    EXPECT_EQ(window.childCount(), 1);
    view->removed();

    view = open(plugFrame);
    for (int32 width : {30000, 600, 0, -860, 860}) { // 860: the width it already has
        ViewRect refused(0, 0, width, 300);
        EXPECT_EQ(view->onSize(&refused), kResultFalse) << width;
    }
    EXPECT_EQ(view->onSize(nullptr), kResultFalse);
    EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
    EXPECT_EQ(editorOf(view).getFrame()->getZoom(), 1.0);
    ViewRect larger(0, 0, 1720, 600);
    EXPECT_EQ(view->onSize(&larger), kResultTrue);
    EXPECT_EQ(editorOf(view).getFrame()->getZoom(), 2.0);

    Vextoria3Editor& editor = editorOf(view);
    EXPECT_EQ(hostLoop.count(false), 1u) << "the X connection";
    EXPECT_TRUE(hostLoop.runUntil([&] { return editor.getFrame()->getDirtyRect().isEmpty(); })) << "the host's loop paints";
    EXPECT_TRUE(hostLoop.runUntil([&] {
        return std::count_if(peer.received.begin(), peer.received.end(), [](auto& m) { return m.id == "IntMessage"; }) >= 2;
    }, 1000)) << "ticks reach the processor";
    EXPECT_TRUE(editor.fxPanel && !editor.fxPanel->isVisible()) << "the first tick applied the FX panel setting";
    view->removed();
    EXPECT_EQ(handlers(), 0u) << "all withdrawn at close";

    view = open(plugFrame);
    view = nullptr; // the last reference without removed: the editor closes itself
    EXPECT_EQ(controller->getEditor(), nullptr);
    EXPECT_EQ(window.childCount(), 0);
    EXPECT_EQ(handlers(), 0u);
    controller->setParamNormalized(1, 0.4);
}

TEST_F(WindowTest, OfTwoViewsTheLastOpenedOwnsTheControllersPointerAndKeepsDrawing)
{
    FakePlugFrame first(&hostLoop), second(&hostLoop);
    IPtr<IPlugView> a = open(first), b = open(second);
    EXPECT_EQ(controller->getEditor(), static_cast<EditorLink*>(&editorOf(b)));
    a->removed();
    EXPECT_EQ(controller->getEditor(), static_cast<EditorLink*>(&editorOf(b))) << "closing the other view leaves it";
    auto audio = makeMessage("BinaryMessage");
    const std::vector<int8_t> samples(4000, 100);
    audio->getAttributes()->setBinary("AudioData", samples.data(), uint32(samples.size()));
    controller->notify(audio);
    EXPECT_GT(editorOf(b).scopeView->pointCount, 0);
    b->removed();
    EXPECT_EQ(controller->getEditor(), nullptr);
}

TEST_F(WindowTest, TheLayoutSwitchIsRecordedAtOnceRebuiltAtTheNextTickAndTheNextWindowTakesDroppedFiles)
{
    controller->getHiddenParameters().setParamValue(0, 1.0 / 3.0);
    writeSettings(""); // as the processor leaves it
    FakePlugFrame plugFrame(&hostLoop);
    IPtr<IPlugView> view = open(plugFrame);
    Vextoria3Editor& editor = editorOf(view);
    editor.showSettings();
    CView* rackOverlay = editor.settingsView;
    editor.processUISelect(0.f);
    EXPECT_EQ(settingsText(), "[Plugin]\nuiid=0\n");
    EXPECT_EQ(editor.settingsView, rackOverlay) << "nothing rebuilt inside the switch's event";
    editor.idle();
    EXPECT_EQ(editor.baseSize[2], 600.0);
    EXPECT_EQ(std::pair(plugFrame.requests.back().getWidth(), plugFrame.requests.back().getHeight()), std::pair(900, 600));
    EXPECT_EQ(editor.getFrame()->getViewSize(), CRect(0, 0, 900, 600));
    EXPECT_TRUE(editor.settingsView->isVisible()) << "the user stays in the overlay";
    EXPECT_EQ(editor.hiddenControls[4]->getValue(), 0.f) << "the LEGACY overlay has MOVE TOAST";
    view->removed();
    view = open(plugFrame);
    EXPECT_EQ(editorOf(view).uiStyle, kUiLegacy) << "the next window opens in the recorded layout";

    // A preset file dragged onto it from a file manager loads, taken as a copy.
    const Bytes preset = presetFile(programState(9), controllerState(1, {0, 1, 0.5, 0.5, 0, 0, 0}));
    std::ofstream(home.path() + "/Dropped Room.vstpreset").write(reinterpret_cast<const char*>(preset.data()), std::streamsize(preset.size()));
    ToolkitTest::DisplayLock turn; // one drag selection per display
    ToolkitTest::DragSource source(window);
    source.uriList = "file://" + home.path() + "/Dropped%20Room.vstpreset\r\n";
    source.enter(window.child(), "text/uri-list");
    source.moveTo(window.child(), 300, 300);
    source.drop(window.child());
    ASSERT_TRUE(hostLoop.runUntil([&] { return source.handleEvents(), source.finished; }));
    String128 name {};
    controller->getProgramName(36, controller->getCurrentProgram(), name);
    EXPECT_EQ(std::tuple(source.finishAction, narrow(name), hiddenValues()[2]),
              std::tuple(source.atom("XdndActionCopy"), std::string("Dropped Room"), 0.5));
    view->removed();
    for (auto [uiid, style] : {std::pair {"", kUiRack}, {"2", kUiRack}, {"-1", kUiRack}, {"abc", kUiLegacy}}) {
        writeSettings(std::string("[Plugin]\nactive=1\nknobspeed=\nscopestyle=0.5\nuiid=") + uiid + "\n");
        EXPECT_EQ(UserDefaults::readLayout(), style) << uiid;
    }
    initialise();
    EXPECT_EQ(std::pair(hiddenValues()[3], hiddenValues()[2]), std::pair(1.0, 0.5)) << "an empty value is no value";
}
