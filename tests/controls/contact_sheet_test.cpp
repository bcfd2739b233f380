// A contact sheet: every widget of both sets in its main states in one frame, written to
// widget-contact-sheet-1x.png and widget-contact-sheet-2x.png in the test output folder.
#include "controls/Button.h"
#include "controls/ButtonGroup.h"
#include "controls/ButtonGroup2.h"
#include "controls/DropDown.h"
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
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

const CColor kBackdrop(40, 40, 48, 255);
const CColor kHeldKey(255, 170, 0, 255);
const CColor kOff(90, 90, 90, 255);
const CColor kOn(0, 143, 214, 255);

// Adds `widget` to the sheet at `value`.
template <typename Widget>
Widget* place(Scene& sheet, Widget* widget, float value)
{
    sheet.add(widget)->setValue(value);
    return widget;
}

} // namespace

TEST(ContactSheet, EveryWidgetInItsMainStatesAtBothZooms)
{
    ToolkitTest::ResourceFolder folder;
    folder.writeBands("checkmark.png", 12, 12, {kGreenCColor});
    folder.writeBands("white.png", 10, 80, {kWhiteCColor, kHeldKey});
    folder.writeBands("black.png", 6, 50, {kBlackCColor, kHeldKey});
    Scene sheet;
    sheet.frame->setSize(600, 380);
    sheet.frame->setBackgroundColor(kBackdrop);
    folder.writeBands("toggle.png", 40, 60, {kOff, kBlueCColor, kGreenCColor});
    auto* toggleStrip = new CBitmap(CResourceDescription("toggle.png"));
    CBitmap* knobStrip = numberedStrip(folder, "knob.png", 40, 40, 128);
    CBitmap* faderStrip = numberedStrip(folder, "fader.png", 20, 120, 100);
    CBitmap* digits = numberedStrip(folder, "digits.png", 40, 20, 13);
    CBitmap* normal = solidPicture(folder, "normal.png", 60, 20, kOff);
    CBitmap* pressed = solidPicture(folder, "pressed.png", 60, 20, kOn);
    CBitmap* groove = solidPicture(folder, "groove.png", 20, 90, kOff);
    CBitmap* handle = solidPicture(folder, "handle.png", 20, 30, kWhiteCColor);
    CBitmap* white = new CBitmap(CResourceDescription("white.png"));
    CBitmap* black = new CBitmap(CResourceDescription("black.png"));

    // Left column: grouped strip buttons and push buttons with the middle one on (the last
    // push button dimmed, with a caption), strip knobs and vector knobs at 0, 0.5 and 1.
    ButtonGroup buttons;
    ButtonGroup2 pushButtons;
    for (int i = 0; i < 3; ++i)
    {
        auto* button = sheet.add(new Button(CRect(10 + 50 * i, 10, 50 + 50 * i, 30), nullptr, 0));
        button->toggle = true;
        button->setButtonPix(toggleStrip, 3);
        buttons.addButton(button);
        button->setValue(i == 1 ? 1.f : 0.f);
        auto* push = sheet.add(new PushButton(CRect(10 + 70 * i, 40, 70 + 70 * i, 60), nullptr, 0));
        push->setNormalPix(normal);
        push->setPressedPix(pressed);
        push->toggle = true;
        pushButtons.addButton(push);
        push->setValue(i == 1 ? 1.f : 0.f);
        push->dimmed = i == 2;
        push->text = i == 2 ? "HELP" : "";
        place(sheet, new Knob(CRect(10 + 50 * i, 70, 50 + 50 * i, 110), nullptr, 0, knobStrip, 128), i / 2.f)
            ->showText = i == 2;
        place(sheet, new Knob2(CRect(10 + 70 * i, 120, 70 + 70 * i, 180), nullptr, 0, nullptr), i / 2.f)->unit.push_back('%');
    }
    // Sliders, spin boxes, the read-out and the label.
    place(sheet, new VSlider(CRect(10, 190, 210, 210), nullptr, 0), 0.3f);
    place(sheet, new VSlider(CRect(10, 215, 210, 235), nullptr, 0), 0.8f);
    place(sheet, new MiniSlider(CRect(10, 245, 116, 255), nullptr, 0), 0.7f);
    place(sheet, new HSlider(CRect(130, 240, 240, 260), nullptr, 0), 0.25f)->setHandle(handle);
    place(sheet, new SpinBox2(CRect(10, 270, 50, 290), nullptr, 9, digits), 7.f / 12)->maximum = 12;
    auto* textSpin = place(sheet, new SpinBox2(CRect(60, 270, 100, 290), nullptr, 9, nullptr), 0.5f);
    textSpin->textMode = true;
    textSpin->maximum = 12;
    place(sheet, new SpinBox(CRect(110, 265, 170, 295), nullptr, 0, nullptr), 0.5f);
    sheet.add(new SimpleDisplay(CRect(10, 300, 250, 330), nullptr))->setText("DRY/WET 42%");
    sheet.add(new LeftLabel(CRect(10, 345, 130, 365), "Label"))->fillColor = CColor(0, 120, 200, 255);

    // Right column: faders, switches, the menu with a checked and a lit row, the lists (the
    // second one open with a lit row) and a keyboard holding a chord.
    for (int i = 0; i < 2; ++i)
    {
        auto* fader = place(sheet, new Fader2(CRect(270 + 30 * i, 10, 290 + 30 * i, 130), nullptr, 0, nullptr), 0.f);
        fader->setFaderPix(faderStrip, 100);
        fader->style = Fader2::kVertical;
        fader->setValue(0.25f + 0.5f * i);
    }
    place(sheet, new Switch2(CRect(340, 10, 430, 30), nullptr, 0, 3, Switch2::kHorizontal), 0.5f);
    place(sheet, new Switch2(CRect(340, 40, 360, 130), nullptr, 0, 3, Switch2::kVertical), 1.f);
    place(sheet, new Switch(CRect(370, 40, 390, 130), nullptr, 0, groove, handle, 3), 1.f);
    auto* menu = sheet.add(new Menu(CRect(460, 10, 580, 80), nullptr));
    menu->textColor = CColor(220, 220, 220, 255);
    for (const char* name : {"Lines", "Dots", "Bars"})
        menu->addItem(name);
    menu->getItem(0)->checked = true;
    auto* folded = sheet.add(new DropDown2(CRect(270, 140, 390, 160), nullptr, 0));
    auto* unfolded = sheet.add(new DropDown2(CRect(270, 180, 390, 200), nullptr, 0));
    auto* older = sheet.add(new DropDown(CRect(460, 140, 580, 160), nullptr, 0));
    for (const char* name : {"Small", "Medium", "Large"})
    {
        folded->addItem(name, 0);
        unfolded->addItem(name, 0);
        older->addItem(name);
    }
    older->setValue(1.f);
    sheet.click(330, 190);                     // opens the second list
    sheet.move(330, 230, 0);                   // lights its second row
    sheet.move(520, 55, 0);                    // lights the menu's last row
    auto* keyboard = sheet.add(new Keyboard(CRect(270, 300, 590, 340), nullptr, 0, nullptr, white, black));
    for (int note : {48, 52, 55, 61})
        keyboard->setMidiNote(Keyboard::kNoteOn, note);
    for (CBitmap* bitmap : {toggleStrip, knobStrip, faderStrip, digits, normal, pressed, groove, handle, white, black})
        bitmap->forget();

    for (int zoom : {1, 2})
    {
        SCOPED_TRACE(zoom);
        const OffscreenImage image = renderView(*sheet.frame, zoom);
        const auto path = std::filesystem::path(VEXTORIA_TEST_OUTPUT) /
                          ("widget-contact-sheet-" + std::to_string(zoom) + "x.png");
        ASSERT_TRUE(image.writePng(path.string()));
        EXPECT_GT(std::filesystem::file_size(path), 1000u);
        EXPECT_EQ(image.getWidth(), 600 * zoom);
        EXPECT_EQ(image.getHeight(), 380 * zoom);
        auto at = [&](int x, int y) { return image.getPixel(x * zoom, y * zoom); };
        EXPECT_EQ(at(595, 375), kBackdrop);
        EXPECT_EQ(at(30, 20), kOff) << "the group switched the first button off";
        EXPECT_EQ(at(80, 20), kGreenCColor);
        EXPECT_EQ(at(30, 50), kOff) << "the push button group likewise";
        EXPECT_EQ(at(100, 50), kOn);
        EXPECT_EQ(frameIndexOf(at(20, 75)), 0);
        EXPECT_EQ(frameIndexOf(at(30, 280)), 7) << "the strip spin box";
        EXPECT_EQ(at(345, 335), kHeldKey) << "C of the chord";
        EXPECT_EQ(at(275, 335), kWhiteCColor) << "a released key";
    }
}
