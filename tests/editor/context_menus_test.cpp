// Right-click menus through the frame in both looks: where each opens, its rows and check
// marks, what a pick sets, which presses close menus and the FX panel, and that the settings
// overlay keeps every press to itself.
#include "EditorHarness.h"

#include "controls/Knob.h"
#include "controls/Menu.h"
#include "editor/FxView.h"
#include "editor/Oscilloscope.h"
#include "editor/TabView.h"

using namespace EditorTest;

namespace {

constexpr int kScopeStyle = 2, kEditFx = 5, kFxTab = 6; // hidden settings
constexpr int kTrigMode = 14, kFxSelect = 16;           // parameters

class ContextMenusTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        buildFace(kUiRack);
    }
    void rightClick(CPoint where) { click(where.x, where.y, kRButton); }
    // The pointer over row `row`, then a left click there.
    void pick(Menu* menu, int row)
    {
        const CPoint where(menu->getViewSize().left + 50, menu->getViewSize().top + row * 20 + 12);
        frame->platformOnMouseMoved(where, CButtonState());
        click(where.x, where.y);
    }
    CPoint fxKnob(CCoord y) const { return CPoint(editor->mainKnobs[2]->getViewSize().getCenter().x, y); }
    void showFxPanel()
    {
        editor->getWrapper()->setHiddenParameter(kEditFx, 1.0);
        editor->idle();
        ASSERT_TRUE(editor->fxPanel->isShowing());
    }
    static std::vector<std::string> rowsOf(const Menu* menu)
    {
        std::vector<std::string> rows;
        for (const MenuItem& item : menu->items)
            rows.push_back(item.name + (item.checked ? " *" : ""));
        return rows;
    }
    static bool showing(const Menu* menu) { return menu && menu->isShowing(); }
    BundlePictures pictures;
};

} // namespace

TEST_F(ContextMenusTest, EffectMenuFlipsAtTheBottomMarksTheEffectAndPicksThroughTheWrapper)
{
    controller->setParamNormalized(kFxSelect, 0.5);
    rightClick(fxKnob(250));
    Menu* menu = editor->fxSelectMenu;
    ASSERT_TRUE(showing(menu));
    EXPECT_EQ(menu->getViewSize(), CRect(467, 142, 567, 250)) << "50 px above the bottom: opens upwards";
    EXPECT_EQ(menu->getParentView(), frame);
    EXPECT_EQ(menu->title, "FX Select");
    EXPECT_EQ(menu->textColor, CColor(220, 220, 220, 255));
    EXPECT_EQ(rowsOf(menu), (std::vector<std::string> {"Reverb", "Bit Crusher", "HP Filter *", "Pitch FX", "Random"}));

    host.edits.clear();
    pick(menu, 3);
    EXPECT_EQ(controller->getParamNormalized(kFxSelect), 0.75);
    EXPECT_EQ(host.edits, (std::vector<std::string> {"perform 16 0.750"}));
    EXPECT_FALSE(menu->isVisible());

    rightClick(fxKnob(210));
    EXPECT_EQ(editor->fxSelectMenu, menu) << "made once, then kept";
    EXPECT_EQ(menu->getViewSize(), CRect(467, 102, 567, 210)) << "210 + 108 > 300";
    EXPECT_EQ(rowsOf(menu)[3], "Pitch FX *");
    EXPECT_EQ(menu->hoveredItem, 0);
}

TEST_F(ContextMenusTest, PickingAnEffectWithThePanelShowingKeepsItsTabAndRandomLeavesTheTabAlone)
{
    showFxPanel();
    TabView* tabs = editor->fxPanel->tabView;
    rightClick(fxKnob(220));
    pick(editor->fxSelectMenu, 2);
    EXPECT_EQ(tabs->selectedTab, 2);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(kFxTab), 0.5);
    editor->idle();
    EXPECT_EQ(tabs->selectedTab, 2) << "the next tick keeps the tab the pick showed";

    rightClick(fxKnob(220));
    pick(editor->fxSelectMenu, 4);
    EXPECT_EQ(controller->getParamNormalized(kFxSelect), 1.0);
    editor->idle();
    EXPECT_EQ(tabs->selectedTab, 2);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(kFxTab), 0.5);
}

TEST_F(ContextMenusTest, ScopeMenuOpensOnlyInAutoModeWithoutThePanelAndStaysInsideTheWindow)
{
    controller->getHiddenParameters().setParamValue(kScopeStyle, 1.0);
    rightClick({300, 100});
    Menu* menu = editor->oscModeMenu;
    ASSERT_TRUE(showing(menu));
    EXPECT_EQ(menu->getViewSize(), CRect(300, 100, 400, 168));
    EXPECT_EQ(rowsOf(menu), (std::vector<std::string> {"SquaryScope", "Waveform", "Smoothy *"}));
    EXPECT_EQ(menu->title, "OscMode");

    rightClick({771, 170}); // the scope's right edge: moved left into the window
    EXPECT_EQ(editor->oscModeMenu, menu);
    EXPECT_EQ(menu->getViewSize(), CRect(760, 170, 860, 238));

    pick(menu, 1);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(kScopeStyle), 0.5);
    EXPECT_FALSE(editor->scopeView->smooth);
    EXPECT_TRUE(host.edits.empty()) << "a hidden setting, not a parameter";

    controller->setParamNormalized(kTrigMode, 1.0);
    rightClick({300, 100});
    EXPECT_FALSE(showing(menu)) << "Midi Slice";
    controller->setParamNormalized(kTrigMode, 0.0);
    showFxPanel();
    rightClick({300, 100});
    EXPECT_FALSE(showing(menu)) << "the FX panel covers the scope";
}

TEST_F(ContextMenusTest, OnlyALeftOrARightPressAloneActsAndALeftPressClosesTheMenusItMisses)
{
    rightClick(fxKnob(220));
    Menu* menu = editor->fxSelectMenu;
    for (int32 buttons : {int32(kMButton), kLButton | kRButton}) {
        click(10, 290, buttons);
        click(fxKnob(220).x, 220, buttons);
    }
    EXPECT_TRUE(showing(menu)) << "middle and two-button presses change nothing";
    rightClick({300, 100});
    EXPECT_FALSE(menu->isVisible()) << "a right press closes every open menu first";
    ASSERT_TRUE(showing(editor->oscModeMenu));
    click(10, 290);
    EXPECT_FALSE(editor->oscModeMenu->isVisible());

    rightClick(fxKnob(220));
    pick(menu, 0); // the menu gets the press, so the observer left it open for it
    EXPECT_EQ(controller->getParamNormalized(kFxSelect), 0.0);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(ContextMenusTest, ALeftPressInTheScopesCornerClosesTheShowingFxPanel)
{
    const CRect scope = editor->scopeView->getViewSize();
    click(scope.right - 5, scope.top + 5);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(kEditFx), 0.0);
    showFxPanel();
    for (CPoint outside : {CPoint(scope.right - 11, scope.top), CPoint(scope.right - 5, scope.top + 10)})
        click(outside.x, outside.y);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(kEditFx), 1.0);
    click(scope.right - 10, scope.top);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(kEditFx), 0.0);
    editor->idle();
    EXPECT_FALSE(editor->fxPanel->isVisible());
    EXPECT_EQ(editor->hiddenControls[kEditFx]->getValue(), 0.f);
}

TEST_F(ContextMenusTest, WhileTheSettingsOverlayShowsNoPressOpensAMenuOrClosesThePanel)
{
    showFxPanel();
    rightClick(fxKnob(220));
    Menu* menu = editor->fxSelectMenu;
    editor->showSettings();
    for (CPoint where : {fxKnob(220), CPoint(300, 100)})
        rightClick(where);
    EXPECT_TRUE(showing(menu)) << "not closed, not reopened";
    EXPECT_EQ(editor->oscModeMenu, nullptr);
    const CRect scope = editor->scopeView->getViewSize();
    click(scope.right - 5, scope.top + 5);
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(kEditFx), 1.0);
}

TEST_F(ContextMenusTest, LegacyToastOpensTheTriggerModeMenuAndTheKnobTheEffectMenu)
{
    buildFace(kUiLegacy);
    ASSERT_EQ(editor->fxSelectMenu, nullptr) << "a rebuild forgets the old tree's menus";
    const CPoint toast = editor->toastButton->getViewSize().getCenter();
    rightClick(toast);
    Menu* menu = editor->trigModeMenu;
    ASSERT_TRUE(showing(menu));
    EXPECT_EQ(menu->getViewSize(), CRect(toast.x, toast.y, toast.x + 100, toast.y + 48));
    EXPECT_EQ(rowsOf(menu), (std::vector<std::string> {"Auto Mode *", "Midi Slice"}));
    pick(menu, 1);
    EXPECT_EQ(controller->getParamNormalized(kTrigMode), 1.0);
    EXPECT_EQ(host.edits.back(), "perform 14 1.000");

    rightClick(toast);
    EXPECT_EQ(rowsOf(menu), (std::vector<std::string> {"Auto Mode", "Midi Slice *"}));
    rightClick(CPoint(399, 399));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(menu->getViewSize(), CRect(toast.x, toast.y, toast.x + 100, toast.y + 48)) << "no menu moved";

    const CPoint knob = editor->mainKnobs[2]->getViewSize().getCenter();
    rightClick(knob);
    ASSERT_TRUE(showing(editor->fxSelectMenu));
    EXPECT_EQ(editor->fxSelectMenu->getViewSize().getTopLeft(), knob);
}
