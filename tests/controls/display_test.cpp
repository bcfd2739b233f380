// The text read-out: where its text sits, what is clipped, its colour and alpha.
#include "controls/SimpleDisplay.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

Ink inkOf(const OffscreenImage& image)
{
    return inkWhere(image, [](const CColor& pixel) { return pixel.alpha != 0; });
}

} // namespace

TEST(SimpleDisplayText, CentredSixPixelsRightAndEmptyDrawsNothing)
{
    SimpleDisplay display(CRect(0, 0, 200, 40), nullptr);
    EXPECT_TRUE(display.getTransparency());
    for (double zoom : {1.0, 2.0})
        EXPECT_TRUE(blank(renderView(display, zoom))) << "empty text: nothing";

    display.setText("CUTOFF 50%");
    EXPECT_TRUE(display.isDirty());
    for (double zoom : {1.0, 2.0})
    {
        const Ink ink = inkOf(renderView(display, zoom));
        ASSERT_GE(ink.last, 0);
        EXPECT_NEAR((ink.first + ink.last) / 2.0 / zoom, 106, 3) << "centre of the shifted rectangle";
    }

    display.setText("A LINE MUCH WIDER THAN THIS SMALL VIEW CAN HOLD");
    const Ink wide = inkOf(renderView(display));
    EXPECT_LE(wide.first, 1);
    EXPECT_GE(wide.last, 198) << "runs past both edges, clipped by the view";
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
    auto brightestRed = [&] {
        int brightest = 0;
        inkWhere(renderView(*frame), [&](const CColor& c) { return (brightest = std::max(brightest, int(c.red))) < 0; });
        return brightest;
    };
    EXPECT_GT(brightestRed(), 250);
    display->setAlphaValue(0.8f);
    EXPECT_NEAR(brightestRed(), 204, 3);
    display->font->forget();
    frame->forget();
}
