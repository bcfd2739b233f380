// Offscreen renders: pictures that failed to load draw nothing and never break a widget, and
// copies hold their own pictures and timers.
#include "controls/Button.h"
#include "controls/Fader2.h"
#include "controls/HSlider.h"
#include "controls/Keyboard.h"
#include "controls/Knob.h"
#include "controls/Menu.h"
#include "controls/PushButton.h"
#include "controls/SpinBox.h"
#include "controls/SpinBox2.h"
#include "controls/Switch.h"
#include "controls/Switch2.h"
#include "widget_test_support.h"
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

using Make = std::function<CView*(CBitmap*)>;
const CRect kBox(0, 0, 20, 20);

} // namespace

TEST(BrokenPictures, WidgetsDrawNothingFromThemAtAnyZoom)
{
    ToolkitTest::ResourceFolder folder;
    folder.writeBands("short.png", 20, 10, {kRedCColor}); // 10 pixels for 127 frames
    const std::vector<std::pair<const char*, std::function<CControl*(CBitmap*)>>> widgets{
        {"button strip", [](CBitmap* strip) {
             auto* button = new Button(kBox, nullptr, 0);
             button->setButtonPix(strip, 127);
             return button;
         }},
        {"knob", [](CBitmap* strip) { return new Knob(kBox, nullptr, 0, strip, 127); }},
        {"fader", [](CBitmap* strip) {
             auto* fader = new Fader2(kBox, nullptr, 0, nullptr);
             fader->setFaderPix(strip, 127);
             return fader;
         }},
        {"keyboard", [](CBitmap* keys) { return new Keyboard(kBox, nullptr, 0, nullptr, keys, keys); }},
    };
    for (const char* file : {"missing.png", "short.png"})
        for (const auto& [name, make] : widgets)
        {
            SCOPED_TRACE(std::string(name) + " with " + file);
            CBitmap* bitmap = new CBitmap(CResourceDescription(file));
            CControl* control = make(bitmap);
            bitmap->forget();
            control->setValue(1.f); // the last frame lies furthest past a short strip
            // A one-pixel-high key picture must only not fail.
            const bool drawsNothing = std::string(name) != "keyboard" || std::string(file) == "missing.png";
            for (double zoom : {1.0, 2.0})
                EXPECT_TRUE(blank(renderView(*control, zoom)) || !drawsNothing) << zoom;
            control->forget();
        }
}

TEST(WidgetCopies, OutliveTheOriginalAndStillDrawTheirPictures)
{
    ToolkitTest::ResourceFolder folder;
    const std::vector<std::pair<const char*, Make>> widgets{
        {"button", [](CBitmap* picture) {
             auto* button = new Button(kBox, nullptr, 0);
             button->setActivePix(picture);
             button->toggle = true;
             button->setValue(1.f);
             return button;
         }},
        {"push button", [](CBitmap* picture) {
             auto* button = new PushButton(kBox, nullptr, 0);
             button->setNormalPix(picture);
             return button;
         }},
        {"spin box strip", [](CBitmap* picture) { return new SpinBox2(kBox, nullptr, 0, picture); }},
        {"spin box picture", [](CBitmap* picture) { return new SpinBox(kBox, nullptr, 0, picture); }},
        {"switch", [](CBitmap* picture) { return new Switch(kBox, nullptr, 0, picture, nullptr, 2); }},
        {"strip switch", [](CBitmap* picture) {
             auto* control = new Switch2(kBox, nullptr, 0, 1, Switch2::kVertical);
             control->setStrip(picture);
             return control;
         }},
        {"picture slider", [](CBitmap* picture) {
             auto* slider = new HSlider(kBox, nullptr, 0);
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
