// Drop-down lists: unfolding in place, hover rows at any zoom, picking and folding, wheel
// steps, pushed-in selections, and the older list's differences.
#include "controls/DropDown.h"
#include "controls/DropDown2.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

struct DropDownScene : ::testing::Test
{
    Scene scene;

    // A list at (10, 10), 100 wide, rows of 20 pixels.
    DropDown2* addList(int items)
    {
        auto* list = scene.add(new DropDown2(CRect(10, 10, 110, 30), &scene.log, 5));
        for (int i = 0; i < items; ++i)
            list->addItem("Item " + std::to_string(i), 100 + i);
        return list;
    }
};

} // namespace

TEST_F(DropDownScene, WheelStepsThroughTheFoldedListAndStopsAtTheEnds)
{
    DropDown2* list = addList(4);
    list->setValue(2.f / 3);
    EXPECT_TRUE(scene.wheel(50, 20, 3.f));
    EXPECT_EQ(list->selected, 1);
    scene.wheel(50, 20, 1.f);
    scene.wheel(50, 20, 1.f); // already at the first item
    EXPECT_EQ(scene.log.values, (std::vector<float>{1.f / 3, 0.f}));
    EXPECT_FALSE(scene.wheel(50, 20, 1.f, kMouseWheelAxisX));
    EXPECT_FALSE(scene.log.logged());
}

TEST_F(DropDownScene, ClickOpensInPlaceAndARowClickPicksAndFolds)
{
    // y below the list's top, the item then selected, and what is reported
    for (const auto& [y, selected, reports] : {std::tuple{10, 2, std::vector<float>{}},
                                               std::tuple{45, 1, std::vector<float>{1.f / 3}},
                                               std::tuple{99, 3, std::vector<float>{1.f}}})
    {
        scene.log.clear();
        DropDown2* list = addList(4);
        list->setValue(2.f / 3);
        scene.click(50, 20);
        EXPECT_TRUE(list->open);
        EXPECT_EQ(list->getViewSize(), CRect(10, 10, 110, 110));
        EXPECT_EQ(list->getMouseableArea(), CRect(10, 10, 110, 110));
        scene.click(50, 10 + y);
        EXPECT_FALSE(list->open);
        EXPECT_EQ(list->getViewSize(), CRect(10, 10, 110, 30));
        EXPECT_EQ(list->getMouseableArea(), CRect(10, 10, 110, 30));
        EXPECT_EQ(list->selected, selected) << y;
        EXPECT_EQ(scene.log.values, reports) << y;
        EXPECT_FALSE(scene.log.logged());
        scene.frame->removeView(list);
    }
}

TEST_F(DropDownScene, HoveredRowIsTheOneUnderThePointerAtEveryZoom)
{
    for (double zoom : {1.0, 1.5, 2.0})
    {
        DropDown2* list = addList(4);
        scene.frame->setZoom(zoom);
        scene.click(50 * zoom, 20 * zoom);
        for (int row = 0; row <= 4; ++row)
        {
            scene.move(50 * zoom, (10 + 20 * row + 10) * zoom, 0);
            EXPECT_EQ(list->hovered, row) << "zoom " << zoom;
        }
        scene.click(50 * zoom, 20 * zoom);
        scene.frame->removeView(list);
    }
}

TEST_F(DropDownScene, PushedInValuesAndLookupsMoveOnlyTheSelection)
{
    DropDown2* list = addList(4);
    for (auto [value, selected] : {std::pair{0.5f, 1}, {1.f, 3}, {0.f, 0}, {1.5f, 3}, {-1.f, 0}})
    {
        list->setValue(value);
        EXPECT_EQ(list->selected, selected) << value;
    }
    list->setValueByName("Item 2");
    EXPECT_EQ(list->selected, 2);
    list->setValueByName("Nothing");
    list->setValueById(999);
    EXPECT_EQ(list->selected, 2);
    list->setValueById(103);
    EXPECT_EQ(list->getCurrentItem()->name, "Item 3");
    EXPECT_EQ(list->getValue(), 0.f); // the stored value moves only by the mouse
    EXPECT_TRUE(scene.log.calls.empty());
    EXPECT_EQ(list->getItem(4), nullptr);
    EXPECT_EQ(list->getItemName(-1), "");

    auto* copy = static_cast<DropDown2*>(list->newCopy());
    scene.frame->removeView(list);
    EXPECT_EQ(copy->getCurrentItem()->name, "Item 3") << "a copy owns its items";
    copy->forget();
}

TEST_F(DropDownScene, EmptyAndOneItemListsAndRowsOutsideTheList)
{
    DropDown2* list = addList(0);
    EXPECT_TRUE(scene.wheel(50, 20, -1.f));
    list->setValue(0.5f);
    EXPECT_EQ(list->getCurrentItem(), nullptr);
    scene.click(50, 20);
    scene.click(50, 25); // the header of an empty list
    EXPECT_TRUE(scene.log.values.empty());

    list->addItem("Only", 1);
    scene.click(50, 20);
    scene.click(50, 40);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.f});
    list->removeAllItem();
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->getCurrentItem(), nullptr);

    scene.log.clear();
    list->addItem("First", 1);
    list->addItem("Last", 2);
    for (int y : {-45, 500})
    {
        scene.click(50, 20);
        list->fold(y);
    }
    EXPECT_EQ(scene.log.values, std::vector<float>{1.f}) << "a row above is refused, far below is the last";
    EXPECT_EQ(list->selected, 1);
}

TEST_F(DropDownScene, OpenListDrawsItsRowsAndLightsTheHoveredOne)
{
    DropDown2* list = addList(3);
    scene.click(50, 20);
    scene.move(50, 55, 0); // row 2
    OffscreenImage image = renderView(*list);
    ASSERT_EQ(image.getHeight(), 80);
    auto lit = [](const CColor& c) { return c.blue > 150 && c.green > 100 && c.red < 60; };
    EXPECT_TRUE(lit(image.getPixel(85, 50)));
    EXPECT_FALSE(lit(image.getPixel(85, 30)));
    EXPECT_FALSE(lit(image.getPixel(85, 70)));
}

TEST(OlderDropDown, IgnoresValuesOutsideTheRangeAndNamesItsEmptyHeader)
{
    DropDown list(CRect(0, 0, 100, 20), nullptr, 0);
    list.setValue(0.5f); // empty: nothing
    EXPECT_EQ(list.selected, 0);
    for (const char* name : {"a", "b", "c"})
        list.addItem(name);
    list.setValue(1.f);
    EXPECT_EQ(list.selected, 2);
    for (float bad : {1.5f, -0.5f, std::nanf("")})
        list.setValue(bad);
    EXPECT_EQ(list.selected, 2);
    EXPECT_EQ(list.getItemName(3), "");
    EXPECT_EQ(DropDown(CRect(0, 0, 10, 10), nullptr, 0).emptyHeader(), "empty");
    EXPECT_EQ(DropDown2(CRect(0, 0, 10, 10), nullptr, 0).emptyHeader(), "Empty");
}
