// The 100 ms tick: deferred work in its order, the toast's motion with the editor's own
// random generator, and note highlights; the host-specific sizing that needs no window.
#include "EditorHarness.h"

#include "editor/FxView.h"
#include "editor/MidiSlicerView.h"
#include "editor/TabView.h"
#include "dsp/MidiEventRing.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <cstdlib>
#include <set>

using namespace EditorTest;

namespace {

class TickTest : public EditorFixture {
protected:
    // The toast's offsets over `ticks` ticks, with Slice Amt at `sliceAmount`.
    std::pair<int, int> toastRange(double sliceAmount, int ticks, std::set<int>& seen)
    {
        controller->setParamNormalized(8, sliceAmount);
        const CRect home = editor->toastButton->getViewSize();
        int low = 100, high = -100;
        for (int i = 0; i < ticks; ++i) {
            editor->idle();
            const CRect now = editor->toastButton->getViewSize();
            EXPECT_EQ(CPoint(now.left - home.left, now.top - home.top), CPoint(editor->toastOffset[0], editor->toastOffset[1]));
            for (int offset : {editor->toastOffset[0], editor->toastOffset[1]}) {
                low = std::min(low, offset);
                high = std::max(high, offset);
                seen.insert(offset);
            }
            // back home so that the next offset is measured from the same place
            editor->toastButton->setViewSize(home);
            editor->toastOffset[0] = editor->toastOffset[1] = 0;
        }
        return {low, high};
    }
    BundlePictures pictures;
};

class RenoiseHost : public StandIn<Steinberg::Vst::IHostApplication> {
public:
    tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override
    {
        const char* text = "ReNoise 3";
        for (int i = 0; i < 10; ++i)
            name[i] = Steinberg::Vst::TChar(text[i]);
        return Steinberg::kResultOk;
    }
    tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kResultFalse;
    }
};

} // namespace

TEST_F(TickTest, PendingWorkRunsAtTheTickInOrderAndTheProcessorIsAskedEveryTime)
{
    buildFace(kUiRack);
    controller->setParamNormalized(14, 1.0);
    editor->getWrapper()->setHiddenParameter(5, 1.0);
    editor->getWrapper()->setHiddenParameter(6, 0.5);
    EXPECT_FALSE(editor->slicePads->isVisible()) << "nothing before the tick";
    EXPECT_FALSE(editor->fxPanel->isVisible());
    editor->idle();
    EXPECT_TRUE(editor->slicePads->isVisible());
    EXPECT_TRUE(editor->fxPanel->isVisible()) << "edit FX comes after the trig mode";
    EXPECT_EQ(editor->fxPanel->tabView->selectedTab, 2);
    EXPECT_EQ(processor.received.back().command, "linuxtimer");
    EXPECT_EQ(processor.received.back().integer, 1);

    // A Trig Mode change from the host hides the panel, leaving the setting and the button on.
    controller->setParamNormalized(14, 0.0);
    editor->idle();
    EXPECT_FALSE(editor->slicePads->isVisible());
    EXPECT_FALSE(editor->fxPanel->isVisible());
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(5), 1.0);
    EXPECT_EQ(editor->hiddenControls[5]->getValue(), 1.f);

    editor->close();
    const size_t sent = processor.received.size();
    editor->idle();
    EXPECT_EQ(processor.received.size(), sent) << "a closed editor does nothing";
    EXPECT_FALSE(editor->setHiddenParameter(0, 0.5));
    editor->close();
}

TEST_F(TickTest, TheToastMovesWithTheEditorsOwnGeneratorLeavingLibcsAlone)
{
    std::srand(7);
    const int expected = std::rand();
    std::srand(7);
    buildFace(kUiLegacy);
    controller->setParamNormalized(0, 1.0);
    editor->getWrapper()->setHiddenParameter(4, 1.0);
    std::set<int> seen;
    EXPECT_EQ(toastRange(0.0, 60, seen), std::pair(-3, -2)) << "Slice Amt 0: k = 2";
    seen.clear();
    EXPECT_EQ(toastRange(1.0, 400, seen), std::pair(-3, 8)) << "Slice Amt 1: k = 12";
    EXPECT_EQ(seen.size(), 12u);
    EXPECT_EQ(std::rand(), expected) << "the processor's replayable sequence is untouched";

    controller->setParamNormalized(0, 0.0);
    const CRect still = editor->toastButton->getViewSize();
    editor->idle();
    EXPECT_EQ(editor->toastButton->getViewSize(), still) << "only while the effect is on";
    buildFace(kUiLegacy);
    EXPECT_EQ(editor->toastOffset[0], 0);
}

TEST_F(TickTest, NotesLightTheirPadsAndAreForgottenWhenTheTreeIsBuiltAgain)
{
    buildFace(kUiRack);
    const MidiNoteRecord notes[] = {{1, 60, 0, 100}, {1, 64, 0, 100}, {2, 64, 0, 0}, {1, 200, 0, 1}, {1, -5, 0, 1}};
    editor->processMidiNoteFromhost(notes, 2);
    EXPECT_EQ(editor->slicePads->highlightedSlice, 4);
    editor->processMidiNoteFromhost(notes + 2, 3);
    EXPECT_EQ(editor->slicePads->highlightedSlice, 0) << "back to key 60; keys outside 0..127 ignored";
    EXPECT_TRUE(editor->anyKeyHeld());
    editor->processUISelect(1.f);
    editor->idle();
    EXPECT_FALSE(editor->anyKeyHeld()) << "a rebuild forgets held keys";
}

TEST_F(TickTest, HostsThatSizeFromGetSizeGetTheZoomedSizeAndSetTheZoomThroughOnSize)
{
    RenoiseHost renoise;
    auto other = owned(new Steinberg::Vst::Vextoria3Controller);
    ASSERT_EQ(other->initialize(&renoise), Steinberg::kResultOk);
    other->getHiddenParameters().setParamValue(0, 1.0 / 3.0);
    auto* view = new Vextoria3Editor(other, nullptr);
    EXPECT_TRUE(Vextoria3Editor::isRenoise("renoise"));
    EXPECT_TRUE(Vextoria3Editor::isRenoise("x audiopluginserver64"));
    EXPECT_FALSE(Vextoria3Editor::isRenoise("Reason"));
    view->openUI(kUiRack);
    Steinberg::ViewRect rect(10, 20, 0, 0);
    EXPECT_EQ(view->getSize(&rect), Steinberg::kResultOk);
    EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right, rect.bottom), std::tuple(10, 20, 1300, 470));
    other->getHiddenParameters().setParamValue(0, 0.9);
    view->getSize(&rect);
    EXPECT_EQ(rect.getWidth(), 645) << "one zoom index everywhere: 0.9 is 75 %";
    Steinberg::ViewRect given(0, 0, 645, 225);
    EXPECT_EQ(view->onSize(&given), Steinberg::kResultOk);
    EXPECT_EQ(view->getFrame()->getZoom(), 0.75);
    EXPECT_EQ(view->getRect().getWidth(), 0) << "nothing stored";
    view->release();
    other->terminate();
}
