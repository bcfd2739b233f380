// The FX panel over the slice pads: its nine controls in both looks, the tabs' edge offsets,
// selections and random flags, which gestures reach the host, and that the panel keeps
// presses and wheel steps from the views below it.
#include "EditorHarness.h"

#include "controls/Knob2.h"
#include "controls/VSlider.h"
#include "editor/FxView.h"
#include "editor/MidiSlicerView.h"
#include "editor/TabView.h"
#include "ids.h"

#include <algorithm>

using namespace EditorTest;
using namespace Vextoria3Ids;

namespace {

constexpr int32 kPanelIds[] = {23, 25, 24, 21, 22, 18, 19, 20, 26};

struct Look {
    int style;
    CRect panel;  // the layout's scope rectangle
    CCoord tabStep; // tab width less the 2-pixel overlap
    CCoord tabRowTop;
};
const Look kRack {FxView::kRackStyle, CRect(236, 18, 772, 174), 102, 18 + 136};
const Look kLegacy {FxView::kLegacyStyle, CRect(224, 80, 415, 134), 47, 80 + 39};

class FxPanelTest : public EditorFixture {
protected:
    FxView* build(const Look& look)
    {
        look_ = look;
        controller->setParamNormalized(kReverbDryWet, 0.6);
        pads = add(new MidiSlicerView(look.panel, editor));
        editor->slicePads = pads;
        panel = add(new FxView(look.panel, editor, look.style));
        editor->fxPanel = panel;
        editor->setRandomFlags();
        processor.received.clear();
        host.edits.clear();
        return panel;
    }
    // A click `dx` pixels into tab `tab`, in window pixels.
    void clickTab(int tab, CCoord dx, int32 state = kLButton)
    {
        click(look_.panel.left + tab * look_.tabStep + dx, look_.tabRowTop + 5, state);
    }
    Look look_ = kRack;
    MidiSlicerView* pads = nullptr;
    FxView* panel = nullptr;
};

} // namespace

TEST_F(FxPanelTest, NineControlsRegisteredWithTheirValuesInBothLooks)
{
    for (const Look& look : {kRack, kLegacy}) {
        SCOPED_TRACE(look.style);
        build(look);
        for (int32 id : kPanelIds) {
            CControl* control = editor->getControl(id);
            ASSERT_NE(control, nullptr) << id;
            EXPECT_EQ(control->getListener(), editor);
            EXPECT_EQ(dynamic_cast<Knob2*>(control) != nullptr, look.style == FxView::kRackStyle) << id;
        }
        EXPECT_EQ(editor->getControl(kReverbDryWet)->getValue(), 0.6f);
        if (auto* knob = dynamic_cast<Knob2*>(editor->getControl(kReverbDryWet))) {
            EXPECT_EQ(knob->converter(knob->getValue()) + knob->unit, "40/60%");
        }
        EXPECT_EQ(panel->tabView->selectedTab, 0);
        editor->setKnobSpeed(1.0); // 128 pixels for the whole range
        for (int32 id : kPanelIds) {
            if (auto* knob = dynamic_cast<Knob2*>(editor->getControl(id))) {
                EXPECT_EQ(knob->sensitivity, 64.0 / 128.0);
                EXPECT_EQ(knob->lineWidth, id == kRoomSize ? 4.0 : 3.0);
            }
        }
        for (int tab = 0; tab < 4; ++tab) {
            panel->tabView->selectTab(tab);
            renderToPng(*panel, std::string("fx_panel_") + (look.style ? "rack" : "legacy") + "_tab" + std::to_string(tab));
        }
        frame->removeView(pads);
        frame->removeView(panel);
    }
}

TEST_F(FxPanelTest, RackTabsToggleOnTheCircleAndSelectBesideIt)
{
    build(kRack);
    for (CCoord dx : {8.0, 19.0}) {
        clickTab(2, dx);
        EXPECT_EQ(panel->tabView->selectedTab, 0) << dx;
    }
    EXPECT_EQ(host.edits, (std::vector<std::string>{"begin 30", "perform 30 0.000", "end 30", "begin 30", "perform 30 1.000", "end 30"}))
        << "only the filter's flag, off and on again, each in its own gesture, none of tag 2";
    clickTab(2, 7);
    EXPECT_EQ(panel->tabView->selectedTab, 2);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(6), 0.5);
    clickTab(3, 20);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(6), 0.75);
    EXPECT_EQ(host.edits.size(), 6u) << "selections are no parameter edits";

    controller->setParamNormalized(kBitCrushActive, 0.49);
    EXPECT_FALSE(panel->tabView->tabs[1]->randomFlag) << "the parameter comes back to the tab";
    panel->tabView->selectTab(3);
    const OffscreenImage image = renderView(*panel, 2);
    // Tab 3 selected: its circle opaque, tab 0's faded, tab 1's (flag off) only outlined.
    auto circleCentre = [&](int tab) { return image.getPixel(int(tab * 102 + 13) * 2, 146 * 2); };
    EXPECT_GT(circleCentre(3).blue, 200);
    EXPECT_LT(circleCentre(0).blue, 150);
    EXPECT_GT(circleCentre(0).blue, circleCentre(0).red + 40);
    EXPECT_EQ(circleCentre(1).blue, circleCentre(1).red) << "the panel's grey shows through";
}

TEST_F(FxPanelTest, LegacyTabsSelectAnywhereAndToggleOnADoubleClick)
{
    build(kLegacy);
    clickTab(1, 10);
    EXPECT_EQ(panel->tabView->selectedTab, 1);
    clickTab(2, 10, kLButton | kDoubleClick);
    EXPECT_EQ(host.edits, (std::vector<std::string>{"begin 30", "perform 30 0.000", "end 30"}));
}

TEST_F(FxPanelTest, ControlEditsAreBracketedAndThePanelKeepsEventsFromBelow)
{
    build(kRack);
    const CPoint roomKnob(236 + 172, 18 + 72);
    press(roomKnob.x, roomKnob.y);
    move(roomKnob.x, roomKnob.y - 10);
    release(roomKnob.x, roomKnob.y - 10);
    ASSERT_GE(host.edits.size(), 3u);
    EXPECT_EQ(host.edits.front(), "begin 23");
    EXPECT_EQ(host.edits[1].substr(0, 11), "perform 23 ");
    EXPECT_EQ(host.edits.back(), "end 23");

    host.edits.clear();
    auto* below = new VSlider(CRect(240, 110, 300, 124), editor, kScopeSpeed); // under an empty part of a page
    frame->addView(below, panel);
    below->setValue(0.5f);
    click(236 + 310, 18 + 24); // the "DAMP" caption, over the pads
    EXPECT_TRUE(frame->platformOnMouseWheel(CPoint(250, 117), kMouseWheelAxisY, 1, CButtonState()) == false);
    EXPECT_EQ(below->getValue(), 0.5f);
    EXPECT_TRUE(processor.slices().empty());
    EXPECT_TRUE(host.edits.empty());
    EXPECT_EQ(pads->highlightedSlice, -1);
}
