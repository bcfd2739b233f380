// Pop-up menu: the row under the pointer, the click handed to the editor, hiding after the
// pointer left, rows out of range, timers that end with the menu, and its drawing.
#include "controls/Menu.h"
#include "editor/Vextoria3Editor.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

// Records the rows the menu hands back, as the editor reads them.
struct MenuOwner : Vextoria3Editor
{
    MenuOwner() : Vextoria3Editor(nullptr, nullptr) {}
    std::vector<int> choices;
    void processContextMenu(Menu* menu) override { choices.push_back(menu->hoveredItem); }
};

const CColor kCheckmark(0, 255, 0, 255);

struct MenuScene : ::testing::Test
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;
    MenuOwner owner;
    Menu* menu = nullptr;

    void SetUp() override
    {
        folder.writeBands("checkmark.png", 12, 12, {kCheckmark});
        menu = scene.add(new Menu(CRect(100, 50, 200, 130), &owner));
        for (const char* name : {"Lines", "Dots", "Bars"})
            menu->addItem(name);
    }
};

} // namespace

TEST_F(MenuScene, PointerPicksTheRowBelowItAtAnyZoomAndClickHandsItBack)
{
    scene.click(150, 110);
    EXPECT_EQ(owner.choices, std::vector<int>{0}) << "a click without any move chooses the first row";
    EXPECT_FALSE(menu->hoverActive);
    // Rows of 20 pixels from the view's top; below the last row the last row stays lit.
    for (auto [y, row] : {std::pair{50, 0}, {69, 0}, {70, 1}, {95, 2}, {129, 2}})
    {
        scene.move(150, y, 0);
        EXPECT_EQ(menu->hoveredItem, row) << y;
        EXPECT_TRUE(menu->hoverActive);
    }
    scene.move(150, 75, 0);
    scene.click(150, 75);
    EXPECT_EQ(owner.choices, (std::vector<int>{0, 1}));
    scene.click(150, 75, kRButton);
    EXPECT_EQ(owner.choices.size(), 2u) << "only a left click chooses";

    scene.frame->setZoom(2);
    scene.move(300, 2 * 95, 0); // window pixels: the third row
    EXPECT_EQ(menu->hoveredItem, 2);
}

TEST_F(MenuScene, HidesWhenThePointerStaysAwayAndStaysWhenItReturns)
{
    scene.move(150, 75, 0);
    scene.move(300, 75, 0); // left
    scene.runLoop.advance(200);
    scene.move(150, 75, 0); // back within 300 ms
    scene.runLoop.advance(1000);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->hoveredItem, 1);

    scene.move(300, 75, 0);
    scene.runLoop.advance(299);
    EXPECT_TRUE(menu->isVisible());
    scene.runLoop.advance(1);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(menu->hoveredItem, 0) << "a menu shown again lights its first row";
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u) << "the hide fires once";
}

TEST_F(MenuScene, MenuOpenedAgainIsNotClosedByTheEarlierHide)
{
    scene.move(150, 75, 0);
    scene.move(300, 75, 0); // leaves: the hide is pending
    menu->setVisible(false); // the owner opens it again elsewhere
    menu->setViewSize(CRect(300, 75, 400, 155));
    menu->setVisible(true);
    scene.runLoop.advance(1000);
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(MenuScene, TimerEndsWithTheMenu)
{
    scene.move(150, 75, 0);
    scene.move(300, 75, 0);
    ASSERT_EQ(scene.runLoop.loop().timerCount(), 1u);
    scene.frame->removeView(menu); // forgets it too
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u);
    scene.runLoop.advance(1000); // ASan: nothing may fire on the freed menu
}

TEST_F(MenuScene, RowsOutOfRangeGiveAPlaceholderThatIsNotKept)
{
    for (int index : {-1, 3, 1000})
    {
        SCOPED_TRACE(index);
        MenuItem* item = menu->getItem(index);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->name, "Out Of Range");
        EXPECT_FALSE(item->checked);
        item->checked = true; // a careless caller changes nothing in the menu
        EXPECT_EQ(menu->itemCount, 3);
        EXPECT_EQ(menu->items.size(), 3u);
    }
    EXPECT_FALSE(menu->getItem(3)->checked);
    menu->getItem(1)->checked = true;
    EXPECT_TRUE(menu->items[1].checked);
    EXPECT_TRUE(menu->addItem(MenuItem("Wide", true)));
    EXPECT_EQ(menu->itemCount, 4);
}

TEST_F(MenuScene, PanelRowsHighlightAndCheckmarkAreDrawnWhereTheyBelong)
{
    menu->getItem(2)->checked = true;
    scene.move(150, 75, 0); // lights row 1
    for (double zoom : {1.0, 2.0})
    {
        SCOPED_TRACE(zoom);
        OffscreenImage image = renderView(*menu, zoom);
        auto at = [&](double x, double y) { return image.getPixel(int(x * zoom), int(y * zoom)); };
        // The outline's stroke reaches half a pixel beyond the panel, from T+0.5 to T+63.5.
        if (zoom == 2)
        {
            EXPECT_EQ(at(50, 0.2).alpha, 0) << "the panel starts at T+1";
        }
        EXPECT_GT(at(50, 62.5).alpha, 100) << "and reaches T+63 for three rows";
        EXPECT_EQ(at(50, 64.5).alpha, 0);
        EXPECT_TRUE(ToolkitTest::near(at(95, 30), CColor(0, 143, 214, 254), 3)) << "row 1 lit from T+22";
        EXPECT_FALSE(ToolkitTest::near(at(95, 15), CColor(0, 143, 214, 254), 30));
        EXPECT_EQ(at(10, 50), kCheckmark) << "checkmark of row 2 at T+44..T+56";
        EXPECT_NE(at(10, 10), kCheckmark);
    }
}
