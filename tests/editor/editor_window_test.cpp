// The editor in a real X window, as a host opens it: sizes at every zoom whatever the host's
// way of answering, failed opens, the idle tick through the host's run loop, two views of
// one controller, the layout switch, and a host that releases without removing.
#include "EditorHarness.h"
#include "FakeHost.h"
#include "toolkit/x11_drag_source.h"

#include "editor/Oscilloscope.h"
#include "editor/FxView.h"

#include <fstream>

using namespace EditorTest;

namespace {

struct Size {
    int32 width, height;
};
const double kViewSizes[] = {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0};
const Size kRackSizes[] = {{860, 300}, {1290, 450}, {1720, 600}, {645, 225}};
const Size kLegacySizes[] = {{600, 400}, {900, 600}, {1200, 800}, {450, 300}};
const double kZooms[] = {1.0, 1.5, 2.0, 0.75};

class WindowTest : public ControllerFixture {
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        if (!window.usable())
            GTEST_SKIP() << "no X display";
    }
    // A new view from the controller, as the host asks for it.
    IPtr<IPlugView> makeView()
    {
        IPtr<IPlugView> made = owned(controller->createView("editor"));
        EXPECT_TRUE(made);
        return made;
    }
    static Vextoria3Editor& editorOf(IPlugView* view) { return *dynamic_cast<Vextoria3Editor*>(view); }
    tresult attach(IPlugView* view, FakePlugFrame& plugFrame, void* parent = nullptr)
    {
        view->setFrame(&plugFrame);
        const tresult result = view->attached(parent ? parent : window.parentHandle(), kPlatformTypeX11EmbedWindowID);
        plugFrame.settle(view);
        return result;
    }
    void setLayout(const char* uiid) { writeSettings(std::string("[Plugin]\nuiid=") + uiid + "\n"); }
    std::string settingsText() const
    {
        std::ifstream file(home.settingsFolder() + "/Vextoria3.conf");
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    size_t ticksReceived() const
    {
        return size_t(std::count_if(peer.received.begin(), peer.received.end(),
                                    [](const auto& message) { return message.messageId == "IntMessage"; }));
    }

    ToolkitTest::TestHostWindow window;
    BundlePictures pictures;
    FakeHostRunLoop hostLoop;
};

} // namespace

TEST_F(WindowTest, TheWindowEndsAtTheZoomOfTheViewSizeHoweverTheHostAnswers)
{
    for (const char* uiid : {"1", "0"}) {
        setLayout(uiid);
        const Size* sizes = uiid[0] == '1' ? kRackSizes : kLegacySizes;
        for (int zoom = 0; zoom < 4; ++zoom) {
            // Every way of answering in one face; the other face's sizes at once.
            for (Answer answer : {Answer::atOnce, Answer::later, Answer::refusesWhileAttaching}) {
                if (uiid[0] == '0' && answer != Answer::atOnce)
                    continue;
                SCOPED_TRACE(testing::Message() << "uiid " << uiid << " zoom " << kZooms[zoom] << " answer " << int(answer));
                controller->getHiddenParameters().setParamValue(0, kViewSizes[zoom]);
                FakePlugFrame plugFrame(answer, &hostLoop);
                IPtr<IPlugView> view = makeView();
                ASSERT_EQ(attach(view, plugFrame), kResultOk);
                CFrame* frame = editorOf(view).getFrame();
                EXPECT_EQ(frame->getZoom(), kZooms[zoom]);
                EXPECT_EQ(frame->getViewSize(), CRect(0, 0, sizes[zoom].width, sizes[zoom].height));
                ViewRect rect;
                EXPECT_EQ(view->getSize(&rect), kResultTrue);
                EXPECT_EQ(std::pair(rect.getWidth(), rect.getHeight()), std::pair(sizes[zoom].width, sizes[zoom].height));
                EXPECT_EQ(plugFrame.requests.back().getWidth(), sizes[zoom].width);
                const std::pair<int, int> expected(sizes[zoom].width, sizes[zoom].height);
                EXPECT_TRUE(hostLoop.runUntil([&] { return window.sizeOf(window.child()) == expected; }, 1000))
                    << "the embedded window";
                EXPECT_EQ(view->removed(), kResultOk);
                EXPECT_EQ(window.childCount(), 0);
            }
        }
    }
}

TEST_F(WindowTest, SizesOutsideTheOfferedZoomsAreRefused)
{
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = makeView();
    ASSERT_EQ(attach(view, plugFrame), kResultOk);
    for (int32 width : {30000, 600, 0, -860}) {
        ViewRect huge(0, 0, width, 300);
        EXPECT_EQ(view->onSize(&huge), kResultFalse) << width;
    }
    EXPECT_EQ(editorOf(view).getFrame()->getZoom(), 1.0);
    EXPECT_EQ(view->onSize(nullptr), kResultFalse);
    EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
    ViewRect same(0, 0, 860, 300);
    EXPECT_EQ(view->onSize(&same), kResultFalse) << "the width it already has";
    ViewRect larger(0, 0, 1720, 600);
    EXPECT_EQ(view->onSize(&larger), kResultTrue);
    EXPECT_EQ(editorOf(view).getFrame()->getZoom(), 2.0);
    view->removed();
}

TEST_F(WindowTest, AWindowThatCannotOpenUndoesEverythingAndAHostWithoutALoopStillGetsOne)
{
    {
        FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
        IPtr<IPlugView> view = makeView();
        EXPECT_EQ(attach(view, plugFrame, reinterpret_cast<void*>(uintptr_t(0x3fffffff))), kResultFalse) << "no such window";
        EXPECT_FALSE(editorOf(view).isOpen());
        EXPECT_EQ(editorOf(view).getFrame(), nullptr);
        EXPECT_EQ(controller->getEditor(), nullptr);
        EXPECT_EQ(hostLoop.count(false) + hostLoop.count(true), 0u);
    }
    controller->setParamNormalized(1, 0.3); // no listener of the released view is left behind

    FakePlugFrame noLoop(Answer::atOnce);
    IPtr<IPlugView> view = makeView();
    ASSERT_EQ(attach(view, noLoop), kResultOk);
    EXPECT_TRUE(editorOf(view).isOpen());
    EXPECT_EQ(window.childCount(), 1);
    view->removed();
}

TEST_F(WindowTest, TheHostsLoopPaintsTheWindowAndTicksTheProcessor)
{
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = makeView();
    ASSERT_EQ(attach(view, plugFrame), kResultOk);
    Vextoria3Editor& editor = editorOf(view);
    EXPECT_EQ(hostLoop.count(false), 1u) << "the X connection";
    EXPECT_TRUE(hostLoop.runUntil([&] { return editor.getFrame()->getDirtyRect().isEmpty(); }));
    EXPECT_TRUE(hostLoop.runUntil([&] { return ticksReceived() >= 2; }, 1000));
    EXPECT_TRUE(editor.fxPanel && !editor.fxPanel->isVisible()) << "the first tick applied the FX panel setting";
    view->removed();
    EXPECT_EQ(hostLoop.count(false) + hostLoop.count(true), 0u) << "all withdrawn at close";
}

TEST_F(WindowTest, TwoViewsTheLastOpenedOwnsTheControllersPointerAndKeepsDrawing)
{
    FakePlugFrame first(Answer::atOnce, &hostLoop), second(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> a = makeView(), b = makeView();
    ASSERT_EQ(attach(a, first), kResultOk);
    ASSERT_EQ(attach(b, second), kResultOk);
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

TEST_F(WindowTest, TheLayoutSwitchIsRecordedAtOnceAndRebuiltAtTheNextTick)
{
    controller->getHiddenParameters().setParamValue(0, 1.0 / 3.0);
    writeSettings(""); // as the processor leaves it
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = makeView();
    ASSERT_EQ(attach(view, plugFrame), kResultOk);
    Vextoria3Editor& editor = editorOf(view);
    editor.showSettings();
    CView* rackOverlay = editor.settingsView;
    editor.processUISelect(0.f);
    EXPECT_EQ(settingsText(), "[Plugin]\nuiid=0\n");
    EXPECT_EQ(editor.settingsView, rackOverlay) << "nothing rebuilt inside the switch's event";
    editor.idle();
    EXPECT_EQ(editor.baseSize[2], 600.0);
    EXPECT_EQ(plugFrame.requests.back().getWidth(), 900);
    EXPECT_EQ(plugFrame.requests.back().getHeight(), 600);
    EXPECT_EQ(editor.getFrame()->getViewSize(), CRect(0, 0, 900, 600));
    EXPECT_TRUE(editor.settingsView->isVisible()) << "the user stays in the overlay";
    EXPECT_EQ(editor.hiddenControls[4]->getValue(), 0.f) << "the LEGACY overlay has MOVE TOAST";
    view->removed();

    IPtr<IPlugView> next = makeView();
    ASSERT_EQ(attach(next, plugFrame), kResultOk);
    EXPECT_EQ(editorOf(next).uiStyle, kUiLegacy) << "the next window opens in the recorded layout";
    next->removed();
}

TEST_F(WindowTest, AHostThatReleasesWithoutRemovingLeavesNothingBehind)
{
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = makeView();
    ASSERT_EQ(attach(view, plugFrame), kResultOk);
    view = nullptr; // the last reference: the editor closes itself
    EXPECT_EQ(controller->getEditor(), nullptr);
    EXPECT_EQ(window.childCount(), 0);
    EXPECT_EQ(hostLoop.count(false) + hostLoop.count(true), 0u);
    controller->setParamNormalized(1, 0.4);
}

TEST_F(WindowTest, AFileDraggedFromAFileManagerIsTakenAsACopyAndNamesTheProgram)
{
    const std::string path = home.path() + "/Dropped Room.vstpreset";
    const Bytes file = presetFile(programState(9), controllerState(1, {0, 1, 0.5, 0.5, 0, 0, 0}));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = makeView();
    ASSERT_EQ(attach(view, plugFrame), kResultOk);

    ToolkitTest::DisplayLock turn; // one drag selection per display
    ToolkitTest::DragSource source(window);
    auto pumpUntil = [&](auto done) { return hostLoop.runUntil([&] { source.handleEvents(); return done(); }); };
    source.uriList = "file://" + home.path() + "/Dropped%20Room.vstpreset\r\n";
    source.enter(window.child(), "text/uri-list");
    source.moveTo(window.child(), 400, 150);
    ASSERT_TRUE(pumpUntil([&] { return source.statusAccepted; }));
    EXPECT_EQ(source.statusAction, source.atom("XdndActionCopy"));
    source.send(window.child(), "XdndDrop", 0, XCB_CURRENT_TIME, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return source.finished; }));
    EXPECT_TRUE(source.finishAccepted);
    EXPECT_EQ(source.finishAction, source.atom("XdndActionCopy"));

    String128 name {};
    controller->getProgramName(36, controller->getCurrentProgram(), name);
    EXPECT_EQ(narrow(name), "Dropped Room");
    EXPECT_EQ(controller->getHiddenParameters().getParamValue(2), 0.5);
    view->removed();
}
