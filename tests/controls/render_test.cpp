// Offscreen renders: pictures that failed to load draw nothing and never break a widget,
// and a contact sheet of every widget in its main states.
#include "controls/Button.h"
#include "controls/DropDown.h"
#include "controls/DropDown2.h"
#include "controls/Fader2.h"
#include "controls/Keyboard.h"
#include "controls/Knob.h"
#include "controls/Knob2.h"
#include "controls/LeftLabel.h"
#include "offscreen.h"
#include "widget_test_support.h"
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

bool blank(const OffscreenImage& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixel(x, y).alpha != 0)
                return false;
    return true;
}

} // namespace

TEST(BrokenPictures, WidgetsDrawNothingFromThemAtAnyZoom)
{
    ToolkitTest::ResourceFolder folder;
    folder.writeBands("short.png", 20, 10, {kRedCColor}); // 10 pixels for 127 frames
    using Make = std::function<CView*(CBitmap*)>;
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
    {
        for (const auto& [name, make] : widgets)
        {
            CBitmap* bitmap = new CBitmap(CResourceDescription(file));
            CView* view = make(bitmap);
            bitmap->forget();
            for (double zoom : {1.0, 2.0})
            {
                if (std::string(name) != "keyboard" || std::string(file) == "missing.png")
                    EXPECT_TRUE(blank(renderView(*view, zoom))) << name << " with " << file << " at " << zoom;
                else
                    renderView(*view, zoom); // a one-pixel-high key picture: must not fail
            }
            view->forget();
        }
    }
}

TEST(ContactSheet, EveryWidgetInItsMainStatesIsWrittenToOnePicture)
{
    ToolkitTest::ResourceFolder folder;
    ScopedManualRunLoop runLoop;
    auto* sheet = new CFrame(CRect(0, 0, 560, 300), nullptr);
    sheet->setBackgroundColor(CColor(40, 40, 48, 255));
    CBitmap* toggleStrip = numberedStrip(folder, "toggle.png", 40, 20, 3);
    CBitmap* knobStrip = numberedStrip(folder, "knob.png", 40, 40, 128);
    CBitmap* faderStrip = numberedStrip(folder, "fader.png", 20, 120, 100);
    folder.writeBands("white.png", 10, 80, {kWhiteCColor, CColor(255, 170, 0, 255)});
    folder.writeBands("black.png", 6, 50, {kBlackCColor, CColor(255, 170, 0, 255)});
    CBitmap* white = new CBitmap(CResourceDescription("white.png"));
    CBitmap* black = new CBitmap(CResourceDescription("black.png"));

    // Buttons: off, on (toggle) and with caption over pictures.
    for (int i = 0; i < 3; ++i)
    {
        auto* button = new Button(CRect(10 + 50 * i, 10, 50 + 50 * i, 30), nullptr, 0);
        button->toggle = true;
        button->setButtonPix(toggleStrip, 3);
        button->setValue(float(i) / 2);
        sheet->addView(button);
    }
    // Film-strip knobs at 0, 0.5 and 1 (the last shows its number), vector knobs likewise.
    for (int i = 0; i < 3; ++i)
    {
        auto* knob = new Knob(CRect(10 + 50 * i, 40, 50 + 50 * i, 80), nullptr, 0, knobStrip, 128);
        knob->setValue(float(i) / 2);
        knob->showText = i == 2;
        sheet->addView(knob);
        auto* vector = new Knob2(CRect(170 + 70 * i, 10, 230 + 70 * i, 70), nullptr, 0, nullptr);
        vector->unit = "%";
        vector->setValue(float(i) / 2);
        sheet->addView(vector);
    }
    // Faders at 0.25 and 0.75.
    for (int i = 0; i < 2; ++i)
    {
        auto* fader = new Fader2(CRect(390 + 30 * i, 10, 410 + 30 * i, 130), nullptr, 0, nullptr);
        fader->setFaderPix(faderStrip, 100);
        fader->style = Fader2::kVertical;
        fader->setValue(0.25f + 0.5f * i);
        sheet->addView(fader);
    }
    // A folded list, an open list with a lit row, and the older list.
    auto* folded = new DropDown2(CRect(10, 100, 130, 120), nullptr, 0);
    auto* unfolded = new DropDown2(CRect(140, 100, 260, 120), nullptr, 0);
    for (DropDown2* list : {folded, unfolded})
    {
        for (const char* name : {"Small", "Medium", "Large"})
            list->addItem(name, 0);
        list->setValue(0.5f);
        sheet->addView(list);
    }
    auto* older = new DropDown(CRect(270, 100, 380, 120), nullptr, 0);
    sheet->addView(older);
    sheet->platformOnMouseDown(CPoint(200, 110), CButtonState(kLButton));
    sheet->platformOnMouseUp(CPoint(200, 110), CButtonState(kLButton));
    sheet->platformOnMouseMoved(CPoint(200, 150), CButtonState());
    // A keyboard with a chord held, and a label.
    auto* keyboard = new Keyboard(CRect(10, 200, 360, 240), nullptr, 0, nullptr, white, black);
    for (int note : {48, 52, 55, 61})
        keyboard->setMidiNote(144, note);
    sheet->addView(keyboard);
    auto* label = new LeftLabel(CRect(10, 260, 130, 280), "Label");
    label->fillColor = CColor(0, 120, 200, 255);
    sheet->addView(label);
    for (CBitmap* bitmap : {toggleStrip, knobStrip, faderStrip, white, black})
        bitmap->forget();

    OffscreenImage image = renderView(*sheet);
    const std::filesystem::path path = std::filesystem::path(VEXTORIA_TEST_OUTPUT) / "widget_contact_sheet.png";
    ASSERT_TRUE(image.writePng(path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    EXPECT_EQ(frameIndexOf(image.getPixel(120, 20)), 2); // the on toggle's frame
    EXPECT_EQ(frameIndexOf(image.getPixel(130, 45)), 127);
    EXPECT_EQ(image.getPixel(15, 235), kWhiteCColor);               // a released key
    EXPECT_EQ(image.getPixel(125, 235), CColor(255, 170, 0, 255)); // G of the chord: white key 11
    sheet->forget();
}
