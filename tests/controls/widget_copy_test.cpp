// Copies of the second widget set: each copy holds its own picture references and timers, so
// it outlives the original and still draws and hides.
#include "controls/HSlider.h"
#include "controls/Menu.h"
#include "controls/PushButton.h"
#include "controls/SpinBox.h"
#include "controls/SpinBox2.h"
#include "controls/Switch.h"
#include "controls/Switch2.h"
#include "offscreen.h"
#include "widget_test_support.h"
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

TEST(WidgetCopies, OutliveTheOriginalAndStillDrawTheirPictures)
{
    ToolkitTest::ResourceFolder folder;
    using Make = std::function<CView*(CBitmap*)>;
    const std::vector<std::pair<const char*, Make>> widgets{
        {"push button", [](CBitmap* picture) {
             auto* button = new PushButton(CRect(0, 0, 20, 20), nullptr, 0);
             button->setNormalPix(picture);
             return button;
         }},
        {"spin box strip", [](CBitmap* picture) { return new SpinBox2(CRect(0, 0, 20, 20), nullptr, 0, picture); }},
        {"spin box picture", [](CBitmap* picture) { return new SpinBox(CRect(0, 0, 20, 20), nullptr, 0, picture); }},
        {"switch", [](CBitmap* picture) { return new Switch(CRect(0, 0, 20, 20), nullptr, 0, picture, nullptr, 2); }},
        {"strip switch", [](CBitmap* picture) {
             auto* control = new Switch2(CRect(0, 0, 20, 20), nullptr, 0, 1, Switch2::kVertical);
             control->setStrip(picture);
             return control;
         }},
        {"picture slider", [](CBitmap* picture) {
             auto* slider = new HSlider(CRect(0, 0, 20, 20), nullptr, 0);
             slider->setHandle(picture);
             return slider;
         }},
    };
    for (const auto& [name, make] : widgets)
    {
        SCOPED_TRACE(name);
        CBitmap* picture = solidPicture(folder, "blue.png", 20, 20, kBlueCColor);
        CView* original = make(picture);
        picture->forget();
        CView* copy = original->newCopy();
        ASSERT_NE(copy, nullptr);
        original->forget();
        EXPECT_EQ(renderView(*copy).getPixel(2, 2), kBlueCColor);
        copy->forget();
    }
}

TEST(WidgetCopies, MenuCopyHidesOnItsOwnTimer)
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;
    auto* original = new Menu(CRect(0, 0, 100, 48), nullptr);
    original->addItem("One");
    auto* copy = scene.add(static_cast<Menu*>(original->newCopy()));
    original->forget();
    ASSERT_EQ(copy->itemCount, 1);
    scene.move(50, 10, 0);
    scene.move(300, 10, 0);
    scene.runLoop.advance(300);
    EXPECT_FALSE(copy->isVisible());
}
