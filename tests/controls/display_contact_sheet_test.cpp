// The text read-out, and a contact sheet of the second widget set in its main states.
#include "controls/HSlider.h"
#include "controls/Menu.h"
#include "controls/MiniSlider.h"
#include "controls/PushButton.h"
#include "controls/SimpleDisplay.h"
#include "controls/SpinBox.h"
#include "controls/SpinBox2.h"
#include "controls/Switch.h"
#include "controls/Switch2.h"
#include "controls/VSlider.h"
#include "offscreen.h"
#include "widget_test_support.h"
#include <filesystem>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

// Columns of the image that hold ink (any pixel not fully transparent), as [first, last].
std::pair<int, int> inkColumns(const OffscreenImage& image)
{
    int first = image.getWidth(), last = -1;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixel(x, y).alpha != 0)
            {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

int brightestRed(const OffscreenImage& image)
{
    int brightest = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            brightest = std::max(brightest, int(image.getPixel(x, y).red));
    return brightest;
}

} // namespace

TEST(SimpleDisplayText, CentredSixPixelsRightAndEmptyDrawsNothing)
{
    SimpleDisplay display(CRect(0, 0, 200, 40), nullptr);
    EXPECT_TRUE(display.getTransparency());
    for (double zoom : {1.0, 2.0})
        EXPECT_EQ(inkColumns(renderView(display, zoom)).second, -1) << "empty text: nothing";

    display.setText("CUTOFF 50%");
    EXPECT_TRUE(display.isDirty());
    for (double zoom : {1.0, 2.0})
    {
        auto [first, last] = inkColumns(renderView(display, zoom));
        ASSERT_GE(last, 0);
        EXPECT_NEAR((first + last) / 2.0 / zoom, 106, 3) << "centre of the shifted rectangle";
    }

    display.setText("A LINE MUCH WIDER THAN THIS SMALL VIEW CAN HOLD");
    auto [first, last] = inkColumns(renderView(display));
    EXPECT_LE(first, 1);
    EXPECT_GE(last, 198) << "runs past both edges, clipped by the view";
}

TEST(SimpleDisplayText, DrawnInItsColourAtTheViewsAlpha)
{
    ScopedManualRunLoop runLoop;
    auto* frame = new CFrame(CRect(0, 0, 200, 40), nullptr);
    frame->setBackgroundColor(kBlackCColor);
    auto* display = new SimpleDisplay(CRect(0, 0, 200, 40), nullptr);
    display->textColor = CColor(255, 0, 0, 255);
    display->font = new CFontDesc("Tahoma", 20, kBoldFace);
    display->setText("TEMPO");
    frame->addView(display);
    EXPECT_GT(brightestRed(renderView(*frame)), 250);
    display->setAlphaValue(0.8f);
    EXPECT_NEAR(brightestRed(renderView(*frame)), 204, 3);
    display->font->forget();
    frame->forget();
}

TEST(ContactSheet, SecondWidgetSetInItsMainStatesIsWrittenToOnePicture)
{
    ToolkitTest::ResourceFolder folder;
    ScopedManualRunLoop runLoop;
    folder.writeBands("checkmark.png", 12, 12, {kGreenCColor});
    auto* sheet = new CFrame(CRect(0, 0, 520, 260), nullptr);
    sheet->setBackgroundColor(CColor(40, 40, 48, 255));
    CBitmap* normal = solidPicture(folder, "normal.png", 60, 20, CColor(90, 90, 90, 255));
    CBitmap* pressed = solidPicture(folder, "pressed.png", 60, 20, CColor(0, 143, 214, 255));
    CBitmap* digits = numberedStrip(folder, "digits.png", 40, 20, 13);
    CBitmap* handle = solidPicture(folder, "handle.png", 10, 20, kWhiteCColor);

    // Push buttons: off, held, dimmed with a caption.
    for (int i = 0; i < 3; ++i)
    {
        auto* button = new PushButton(CRect(10 + 70 * i, 10, 70 + 70 * i, 30), nullptr, 0);
        button->setNormalPix(normal);
        button->setPressedPix(pressed);
        button->setValue(i == 1 ? 1.f : 0.f);
        button->dimmed = i == 2;
        if (i == 2)
            button->text = "HELP";
        sheet->addView(button);
    }
    // A menu with a lit row and a checked row.
    auto* menu = new Menu(CRect(230, 10, 350, 80), nullptr);
    menu->textColor = CColor(220, 220, 220, 255);
    for (const char* name : {"Lines", "Dots", "Bars"})
        menu->addItem(name);
    menu->getItem(1)->checked = true;
    sheet->addView(menu);
    sheet->platformOnMouseMoved(CPoint(290, 55), CButtonState());
    // Bar sliders at 0.3 and 0.8, a mini slider, a picture slider.
    for (int i = 0; i < 2; ++i)
    {
        auto* slider = new VSlider(CRect(10, 50 + 30 * i, 210, 70 + 30 * i), nullptr, 0);
        slider->unit.push_back('%'); // push_back: gcc 12 warns wrongly on assigning "%"
        slider->setValue(0.3f + 0.5f * i);
        sheet->addView(slider);
    }
    auto* mini = new MiniSlider(CRect(10, 120, 116, 130), nullptr, 0);
    mini->setValue(0.7f);
    sheet->addView(mini);
    auto* picture = new HSlider(CRect(130, 115, 240, 135), nullptr, 0);
    picture->setHandle(handle);
    picture->setValue(0.25f);
    sheet->addView(picture);
    // Spin boxes: strip, text, and the box with its own arrows.
    auto* strip = new SpinBox2(CRect(10, 150, 50, 170), nullptr, 9, digits);
    strip->maximum = 12;
    strip->setValue(7.f / 12);
    sheet->addView(strip);
    auto* text = new SpinBox2(CRect(60, 150, 100, 170), nullptr, 9, nullptr);
    text->textMode = true;
    text->maximum = 12;
    text->setValue(0.5f);
    sheet->addView(text);
    auto* box = new SpinBox(CRect(110, 145, 170, 175), nullptr, 0, nullptr);
    box->setValue(0.5f);
    sheet->addView(box);
    // Switches: segments horizontal and vertical, and the picture switch without pictures.
    auto* horizontal = new Switch2(CRect(190, 150, 280, 170), nullptr, 0, 3, Switch2::kHorizontal);
    horizontal->setValue(0.5f);
    sheet->addView(horizontal);
    auto* vertical = new Switch2(CRect(290, 150, 310, 240), nullptr, 0, 3, Switch2::kVertical);
    vertical->setValue(1.f);
    sheet->addView(vertical);
    sheet->addView(new Switch(CRect(320, 150, 340, 240), nullptr, 0, nullptr, nullptr, 3));
    // The read-out.
    auto* display = new SimpleDisplay(CRect(10, 190, 280, 250), nullptr);
    display->setText("DRY/WET 42%");
    sheet->addView(display);
    for (CBitmap* bitmap : {normal, pressed, digits, handle})
        bitmap->forget();

    OffscreenImage image = renderView(*sheet);
    const std::filesystem::path path = std::filesystem::path(VEXTORIA_TEST_OUTPUT) / "widget_contact_sheet_2.png";
    ASSERT_TRUE(image.writePng(path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    EXPECT_EQ(image.getPixel(120, 20), CColor(0, 143, 214, 255));   // the held push button
    EXPECT_EQ(frameIndexOf(image.getPixel(30, 160)), 7);             // the strip spin box
    EXPECT_EQ(image.getPixel(235, 160), CColor(127, 127, 127, 255)); // the middle segment
    EXPECT_EQ(image.getPixel(240, 40), kGreenCColor);                // checkmark of row 1
    sheet->forget();
}
