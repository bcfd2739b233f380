// The editor in a real X window, as a host opens it: sizes at every zoom whatever the host's
// way of answering, refused sizes, failed opens, the host's run loop, two views of one
// controller, the layout switch, and a host that releases without removing.
#include "EditorHarness.h"
#include "FakeHost.h"
#include "toolkit/x11_test_support.h"

#include "editor/FxView.h"
#include "editor/Oscilloscope.h"

#include <fstream>

using namespace EditorTest;

namespace {

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
        plugFrame.settle(made);
        return made;
    }
    static Vextoria3Editor& editorOf(IPlugView* view) { return *dynamic_cast<Vextoria3Editor*>(view); }
    size_t handlers() const { return hostLoop.count(false) + hostLoop.count(true); }

    ToolkitTest::TestHostWindow window;
    BundlePictures pictures;
    FakeHostRunLoop hostLoop;
};

} // namespace

TEST_F(WindowTest, TheWindowEndsAtTheZoomOfTheViewSizeHoweverTheHostAnswers)
{
    const double zooms[] = {1.0, 1.5, 2.0, 0.75};
    for (const char* uiid : {"1", "0"}) {
        writeSettings(std::string("[Plugin]\nuiid=") + uiid + "\n");
        const std::pair<int, int> base = uiid[0] == '1' ? std::pair(860, 300) : std::pair(600, 400);
        for (int index = 0; index < 4; ++index)
            for (Answer answer : {Answer::atOnce, Answer::later, Answer::refusesWhileAttaching}) {
                if (uiid[0] == '0' && answer != Answer::atOnce)
                    continue; // every way of answering in one face; the other face's sizes at once
                SCOPED_TRACE(testing::Message() << "uiid " << uiid << " zoom " << zooms[index] << " answer " << int(answer));
                controller->getHiddenParameters().setParamValue(0, index / 3.0);
                const std::pair<int, int> size(int(base.first * zooms[index]), int(base.second * zooms[index]));
                FakePlugFrame plugFrame(answer, &hostLoop);
                IPtr<IPlugView> view = open(plugFrame);
                EXPECT_EQ(editorOf(view).getFrame()->getZoom(), zooms[index]);
                EXPECT_EQ(editorOf(view).getFrame()->getViewSize(), CRect(0, 0, size.first, size.second));
                ViewRect rect;
                EXPECT_EQ(view->getSize(&rect), kResultTrue);
                EXPECT_EQ(std::pair(rect.getWidth(), rect.getHeight()), size);
                EXPECT_EQ(plugFrame.requests.back().getWidth(), size.first);
                EXPECT_TRUE(hostLoop.runUntil([&] { return window.sizeOf(window.child()) == size; }, 1000)) << "embedded";
                EXPECT_EQ(view->removed(), kResultOk);
                EXPECT_EQ(window.childCount(), 0);
            }
    }
}

TEST_F(WindowTest, SizesOutsideTheOfferedZoomsAndTheSizeItHasAreRefused)
{
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = open(plugFrame);
    for (int32 width : {30000, 600, 0, -860, 860}) { // 860: the width it already has
        ViewRect refused(0, 0, width, 300);
        EXPECT_EQ(view->onSize(&refused), kResultFalse) << width;
    }
    EXPECT_EQ(editorOf(view).getFrame()->getZoom(), 1.0);
    EXPECT_EQ(view->onSize(nullptr), kResultFalse);
    EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
    ViewRect larger(0, 0, 1720, 600);
    EXPECT_EQ(view->onSize(&larger), kResultTrue);
    EXPECT_EQ(editorOf(view).getFrame()->getZoom(), 2.0);
    view->removed();
}

TEST_F(WindowTest, AWindowThatCannotOpenUndoesEverythingAndAHostWithoutALoopStillGetsOne)
{
    {
        FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
        IPtr<IPlugView> view = open(plugFrame, kResultFalse, reinterpret_cast<void*>(uintptr_t(0x3fffffff)));
        EXPECT_FALSE(editorOf(view).isOpen());
        EXPECT_EQ(editorOf(view).getFrame(), nullptr);
        EXPECT_EQ(controller->getEditor(), nullptr);
        EXPECT_EQ(handlers(), 0u);
    }
    controller->setParamNormalized(1, 0.3); // no listener of the released view is left behind
    FakePlugFrame noLoop(Answer::atOnce);
    IPtr<IPlugView> view = open(noLoop);
    EXPECT_TRUE(editorOf(view).isOpen());
    EXPECT_EQ(window.childCount(), 1);
    view->removed();
}

TEST_F(WindowTest, TheHostsLoopPaintsAndTicksAndEveryWayOfLettingGoWithdrawsAll)
{
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = open(plugFrame);
    Vextoria3Editor& editor = editorOf(view);
    EXPECT_EQ(hostLoop.count(false), 1u) << "the X connection";
    EXPECT_TRUE(hostLoop.runUntil([&] { return editor.getFrame()->getDirtyRect().isEmpty(); }));
    EXPECT_TRUE(hostLoop.runUntil([&] {
        return std::count_if(peer.received.begin(), peer.received.end(), [](auto& m) { return m.messageId == "IntMessage"; }) >= 2;
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
    FakePlugFrame first(Answer::atOnce, &hostLoop), second(Answer::atOnce, &hostLoop);
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

TEST_F(WindowTest, TheLayoutSwitchIsRecordedAtOnceAndRebuiltAtTheNextTick)
{
    controller->getHiddenParameters().setParamValue(0, 1.0 / 3.0);
    writeSettings(""); // as the processor leaves it
    FakePlugFrame plugFrame(Answer::atOnce, &hostLoop);
    IPtr<IPlugView> view = open(plugFrame);
    Vextoria3Editor& editor = editorOf(view);
    editor.showSettings();
    CView* rackOverlay = editor.settingsView;
    editor.processUISelect(0.f);
    std::ifstream file(home.settingsFolder() + "/Vextoria3.conf");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "[Plugin]\nuiid=0\n");
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
    view->removed();
}
