// Offscreen renders: pictures that failed to load draw nothing and never break a widget,
// copies hold their own pictures, and a contact sheet of the widgets in one frame.
#include "controls/Button.h"
#include "controls/DropDown2.h"
#include "controls/Fader2.h"
#include "controls/HSlider.h"
#include "controls/Keyboard.h"
#include "controls/Knob.h"
#include "controls/Knob2.h"
#include "controls/LeftLabel.h"
#include "controls/Menu.h"
#include "controls/MiniSlider.h"
#include "controls/PushButton.h"
#include "controls/SimpleDisplay.h"
#include "controls/SpinBox.h"
#include "controls/SpinBox2.h"
#include "controls/Switch.h"
#include "controls/Switch2.h"
#include "controls/VSlider.h"
#include "widget_test_support.h"
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

using Make = std::function<CView*(CBitmap*)>;

} // namespace

TEST(BrokenPictures, WidgetsDrawNothingFromThemAtAnyZoom)
{
    ToolkitTest::ResourceFolder folder;
    folder.writeBands("short.png", 20, 10, {kRedCColor}); // 10 pixels for 127 frames
    const std::vector<std::pair<const char*, Make>> widgets{
        {"button strip", [](CBitmap* strip) {
             auto* button = new Button(CRect(0, 0, 20, 20), nullptr, 0);
             button->setButtonPix(strip, 127);
             button->setValue(1.f);
             return button;
         }},
        {"knob", [](CBitmap* strip) {
             auto* knob = new Knob(CRect(0, 0, 20, 20), nullptr, 0, strip, 127);
             knob->setValue(1.f);
             return knob;
         }},
        {"fader", [](CBitmap* strip) {
             auto* fader = new Fader2(CRect(0, 0, 20, 20), nullptr, 0, nullptr);
             fader->setFaderPix(strip, 127);
             fader->setValue(1.f);
             return fader;
         }},
        {"keyboard", [](CBitmap* keys) { return new Keyboard(CRect(0, 0, 20, 20), nullptr, 0, nullptr, keys, keys); }},
    };
    for (const char* file : {"missing.png", "short.png"})
        for (const auto& [name, make] : widgets)
        {
            SCOPED_TRACE(std::string(name) + " with " + file);
            CBitmap* bitmap = new CBitmap(CResourceDescription(file));
            CView* view = make(bitmap);
            bitmap->forget();
            // A one-pixel-high key picture must only not fail.
            const bool drawsNothing = std::string(name) != "keyboard" || std::string(file) == "missing.png";
            for (double zoom : {1.0, 2.0})
                EXPECT_TRUE(blank(renderView(*view, zoom)) || !drawsNothing) << zoom;
            view->forget();
        }
}

TEST(WidgetCopies, OutliveTheOriginalAndStillDrawTheirPictures)
{
    ToolkitTest::ResourceFolder folder;
    const std::vector<std::pair<const char*, Make>> widgets{
        {"button", [](CBitmap* picture) {
             auto* button = new Button(CRect(0, 0, 20, 20), nullptr, 0);
             button->setActivePix(picture);
             button->toggle = true;
             button->setValue(1.f);
             return button;
         }},
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

TEST(ContactSheet, WidgetsInTheirMainStatesDrawInPlaceInOneFrame)
{
    ToolkitTest::ResourceFolder folder;
    ScopedManualRunLoop runLoop;
    folder.writeBands("checkmark.png", 12, 12, {kGreenCColor});
    folder.writeBands("white.png", 10, 80, {kWhiteCColor, kRedCColor});
    folder.writeBands("black.png", 6, 50, {kBlackCColor, kRedCColor});
    auto* sheet = new CFrame(CRect(0, 0, 520, 260), nullptr);
    sheet->setBackgroundColor(CColor(40, 40, 48, 255));
    auto add = [&](auto* view) {
        sheet->addView(view);
        return view;
    };
    CBitmap* toggleStrip = numberedStrip(folder, "toggle.png", 40, 20, 3);
    CBitmap* knobStrip = numberedStrip(folder, "knob.png", 40, 40, 128);
    CBitmap* digits = numberedStrip(folder, "digits.png", 40, 20, 13);
    CBitmap* white = new CBitmap(CResourceDescription("white.png"));
    CBitmap* black = new CBitmap(CResourceDescription("black.png"));

    auto* toggle = add(new Button(CRect(10, 10, 50, 30), nullptr, 0));
    toggle->toggle = true;
    toggle->setButtonPix(toggleStrip, 3);
    toggle->setValue(1.f);
    add(new Knob(CRect(60, 10, 100, 50), nullptr, 0, knobStrip, 128))->setValue(1.f);
    auto* vector = add(new Knob2(CRect(110, 10, 170, 70), nullptr, 0, nullptr));
    vector->unit = "%";
    vector->setValue(0.5f);
    auto* menu = add(new Menu(CRect(230, 10, 350, 80), nullptr));
    for (const char* name : {"Lines", "Dots", "Bars"})
        menu->addItem(name);
    menu->getItem(1)->checked = true;
    auto* list = add(new DropDown2(CRect(360, 10, 480, 30), nullptr, 0));
    for (const char* name : {"Small", "Medium", "Large"})
        list->addItem(name, 0);
    list->setValue(0.5f);
    add(new VSlider(CRect(10, 90, 210, 110), nullptr, 0))->setValue(0.3f);
    add(new MiniSlider(CRect(10, 120, 116, 130), nullptr, 0))->setValue(0.7f);
    auto* strip = add(new SpinBox2(CRect(10, 150, 50, 170), nullptr, 9, digits));
    strip->maximum = 12;
    strip->setValue(7.f / 12);
    add(new SpinBox(CRect(110, 145, 170, 175), nullptr, 0, nullptr))->setValue(0.5f);
    add(new Switch2(CRect(190, 150, 280, 170), nullptr, 0, 3, Switch2::kHorizontal))->setValue(0.5f);
    auto* keyboard = add(new Keyboard(CRect(300, 200, 510, 240), nullptr, 0, nullptr, white, black));
    keyboard->setMidiNote(144, 36);
    add(new LeftLabel(CRect(10, 230, 130, 250), "Label"))->fillColor = CColor(0, 120, 200, 255);
    add(new SimpleDisplay(CRect(10, 190, 280, 220), nullptr))->setText("DRY/WET 42%");
    sheet->platformOnMouseMoved(CPoint(290, 55), CButtonState()); // lights menu row 2
    for (CBitmap* bitmap : {toggleStrip, knobStrip, digits, white, black})
        bitmap->forget();

    OffscreenImage image = renderView(*sheet);
    const std::filesystem::path path = std::filesystem::path(VEXTORIA_TEST_OUTPUT) / "widget_contact_sheet.png";
    ASSERT_TRUE(image.writePng(path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    EXPECT_EQ(frameIndexOf(image.getPixel(30, 20)), 2);              // the on toggle's frame
    EXPECT_EQ(frameIndexOf(image.getPixel(80, 15)), 127);            // the knob at its end
    EXPECT_EQ(frameIndexOf(image.getPixel(30, 160)), 7);             // the strip spin box
    EXPECT_EQ(image.getPixel(235, 160), CColor(127, 127, 127, 255)); // the middle segment
    EXPECT_EQ(image.getPixel(240, 40), kGreenCColor);                // checkmark of row 1
    EXPECT_EQ(image.getPixel(305, 235), kRedCColor);                 // the held key
    EXPECT_EQ(image.getPixel(315, 235), kWhiteCColor);               // a released one
    sheet->forget();
}
