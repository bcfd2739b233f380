// Right-click menus through the frame in both looks: where each opens, its check marks, what a
// pick sets, which presses close menus and the FX panel, and the settings overlay's cover.
#include "EditorHarness.h"

#include "controls/Menu.h"
#include "editor/FxView.h"
#include "editor/Oscilloscope.h"
#include "editor/TabView.h"

using namespace EditorTest;

namespace {

class ContextMenusTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        buildFace(kUiRack);
    }
    // The rows as "Reverb,HP Filter*,...", a star on checked rows; "" for no menu showing.
    std::string rightClick(CCoord x, CCoord y, Menu* Vextoria3Editor::*menu)
    {
        click(x, y, kRButton);
        Menu* shown = editor->*menu;
        std::string rows;
        for (const MenuItem& item : shown && shown->isShowing() ? shown->items : std::vector<MenuItem> {})
            rows += (rows.empty() ? "" : ",") + item.name + (item.checked ? "*" : "");
        return rows;
    }
    // The pointer over row `row`, then a left click there.
    void pick(Menu* menu, int row)
    {
        const CPoint where(menu->getViewSize().left + 50, menu->getViewSize().top + row * 20 + 12);
        frame->platformOnMouseMoved(where, CButtonState());
        click(where.x, where.y);
    }
    void showFxPanel()
    {
        editor->getWrapper()->setHiddenParameter(5, 1.0);
        editor->idle();
    }
    double hidden(int index) { return editor->getWrapper()->getHiddenParameter(index); }
    BundlePictures pictures;
};

using E = Vextoria3Editor;

} // namespace

TEST_F(ContextMenusTest, RackMenusOpenInsideTheWindowMarkTheChoiceAndPickThroughTheWrapper)
{
    controller->setParamNormalized(16, 0.5);
    EXPECT_EQ(rightClick(467, 250, &E::fxSelectMenu), "Reverb,Bit Crusher,HP Filter*,Pitch FX,Random");
    Menu* fx = editor->fxSelectMenu;
    EXPECT_EQ(fx->getViewSize(), CRect(467, 142, 567, 250)) << "50 px above the bottom: opens upwards";
    EXPECT_EQ(fx->getParentView(), frame);
    EXPECT_EQ(fx->textColor, CColor(220, 220, 220, 255));
    host.edits.clear();
    pick(fx, 3);
    EXPECT_EQ(host.edits, (std::vector<std::string> {"begin 16", "perform 16 0.750", "end 16"}));
    EXPECT_FALSE(fx->isVisible());

    controller->getHiddenParameters().setParamValue(2, 1.0);
    EXPECT_EQ(rightClick(300, 100, &E::oscModeMenu), "SquaryScope,Waveform,Smoothy*");
    Menu* scope = editor->oscModeMenu;
    EXPECT_EQ(scope->getViewSize(), CRect(300, 100, 400, 168));
    rightClick(771, 170, &E::oscModeMenu);
    EXPECT_EQ(editor->oscModeMenu, scope) << "made once, then placed again";
    EXPECT_EQ(scope->getViewSize(), CRect(760, 170, 860, 238)) << "moved left into the window";
    pick(scope, 1);
    EXPECT_EQ(hidden(2), 0.5);
    EXPECT_FALSE(editor->scopeView->smooth) << "the controller's echo restyles the scope";
    EXPECT_EQ(host.edits.size(), 3u) << "a hidden setting, not a parameter";

    controller->setParamNormalized(14, 1.0);
    EXPECT_EQ(rightClick(300, 100, &E::oscModeMenu), "") << "Midi Slice";
    controller->setParamNormalized(14, 0.0);
    showFxPanel();
    EXPECT_EQ(rightClick(300, 100, &E::oscModeMenu), "") << "the FX panel covers the scope";

    // With the panel showing a picked effect shows its tab for good; "Random" leaves it.
    rightClick(467, 220, &E::fxSelectMenu);
    pick(fx, 2);
    editor->idle();
    EXPECT_EQ(editor->fxPanel->tabView->selectedTab, 2);
    rightClick(467, 220, &E::fxSelectMenu);
    pick(fx, 4);
    editor->idle();
    EXPECT_EQ(controller->getParamNormalized(16), 1.0);
    EXPECT_EQ(editor->fxPanel->tabView->selectedTab, 2);
    EXPECT_EQ(hidden(6), 0.5);
}

TEST_F(ContextMenusTest, LegacyToastPicksTheTriggerModeAndTheKnobTheEffect)
{
    buildFace(kUiLegacy);
    EXPECT_EQ(editor->fxSelectMenu, nullptr) << "a rebuild forgets the old tree's menus";
    EXPECT_EQ(rightClick(60, 351, &E::trigModeMenu), "Auto Mode*,Midi Slice");
    EXPECT_EQ(editor->trigModeMenu->getViewSize(), CRect(60, 351, 160, 399));
    pick(editor->trigModeMenu, 1);
    EXPECT_EQ(controller->getParamNormalized(14), 1.0);
    EXPECT_EQ(rightClick(60, 300, &E::trigModeMenu), "Auto Mode,Midi Slice*");
    EXPECT_EQ(rightClick(300, 200, &E::fxSelectMenu), "Reverb,Bit Crusher,HP Filter,Pitch FX,Random*");
    EXPECT_FALSE(editor->trigModeMenu->isVisible()) << "a right press closes the other menus";
    EXPECT_EQ(editor->fxSelectMenu->getViewSize(), CRect(300, 200, 400, 308));
}

TEST_F(ContextMenusTest, PressesCloseWhatTheyMissTheScopeCornerClosesThePanelAndTheOverlayCoversAll)
{
    rightClick(467, 220, &E::fxSelectMenu);
    for (int32 buttons : {int32(kMButton), kLButton | kRButton})
        click(10, 290, buttons);
    EXPECT_TRUE(editor->fxSelectMenu->isVisible()) << "only one button alone counts";
    click(10, 290);
    EXPECT_FALSE(editor->fxSelectMenu->isVisible());
    rightClick(467, 220, &E::fxSelectMenu);
    pick(editor->fxSelectMenu, 1); // the menu itself takes the left press it is hit by
    EXPECT_EQ(controller->getParamNormalized(16), 0.25);

    showFxPanel();
    for (CPoint miss : {CPoint(761, 18), CPoint(767, 28)}) // the scope's right edge is 772
        click(miss.x, miss.y);
    EXPECT_EQ(hidden(5), 1.0);
    editor->showSettings();
    click(762, 18);
    EXPECT_EQ(rightClick(467, 220, &E::fxSelectMenu), "") << "the overlay covers the knob";
    EXPECT_EQ(hidden(5), 1.0);
    editor->hideSettings();
    click(762, 18);
    EXPECT_EQ(hidden(5), 0.0);
    editor->idle();
    EXPECT_FALSE(editor->fxPanel->isVisible());
    EXPECT_EQ(editor->hiddenControls[5]->getValue(), 0.f);
}
