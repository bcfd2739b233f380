// A small editor-like view tree rendered to PNG (toolkit-demo-1x.png and toolkit-demo-2x.png
// in the test output folder), for people to look at the toolkit without a display.
#include "offscreen.h"
#include "toolkit_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

const CColor kBackdrop(227, 227, 227, 255);
const CColor kArc(0, 143, 214, 255);

// A vector knob: a grey disc, a value arc from the lower left and its percentage in the middle.
class DemoKnob : public CControl
{
public:
    using CControl::CControl;
    void draw(CDrawContext* context) override
    {
        context->setDrawMode(kAntiAliasing);
        context->setFillColor(CColor(90, 90, 100, 255));
        context->drawEllipse(CRect(size).inset(6, 6), kDrawFilled);
        context->setFrameColor(kArc);
        context->setLineWidth(4);
        context->drawArc(CRect(size).inset(3, 3), 125.f, 125.f + 290.f * getValue());
        context->setFontColor(kWhiteCColor);
        context->drawString((std::to_string(int(getValue() * 100)) + "%").c_str(), size);
        setDirty(false);
    }
};

// One frame of a film strip whose frames are stacked from the top.
class StripFrame : public CView
{
public:
    StripFrame(const CRect& size, CBitmap* strip, int frameCount, int shown)
        : CView(size), frames(frameCount), index(shown)
    {
        setBackground(strip);
    }
    void draw(CDrawContext* context) override
    {
        CBitmap* strip = getBackground();
        context->drawBitmap(strip, size, CPoint(0, strip->getHeight() / frames * index));
        setDirty(false);
    }

private:
    int frames, index;
};

} // namespace

TEST(DemoScene, SampleEditorIsWrittenAtBothZooms)
{
    ToolkitTest::ResourceFolder resources;
    resources.writeBands("led.png", 20, 60, {kRedCColor, kGreenCColor, kBlueCColor});
    auto* frame = new CFrame(CRect(0, 0, 320, 160), nullptr);
    frame->setBackgroundColor(kBackdrop);

    auto* title = new CTextLabel(CRect(10, 6, 310, 30), "SLICER DEMO");
    title->setFontColor(CColor(40, 40, 48, 255));
    title->setTransparency(true);
    frame->addView(title);
    auto* panel = new CViewContainer(CRect(10, 36, 310, 150));
    panel->setBackgroundColor(CColor(64, 64, 72, 255));
    auto* knob = new DemoKnob(CRect(10, 12, 90, 92));
    knob->setValue(0.7f);
    panel->addView(knob);
    auto* strip = new CBitmap("led.png");
    panel->addView(new StripFrame(CRect(110, 20, 130, 40), strip, 3, 1));
    strip->forget();
    auto* box = new CCheckBox(CRect(110, 60, 290, 84), nullptr, 4, "MOVE TOAST");
    box->setValue(1.f);
    panel->addView(box);
    auto* caption = new CTextLabel(CRect(150, 16, 290, 40), "LEFT ALIGNED");
    caption->setHoriAlign(kLeftText);
    caption->setBackColor(CColor(0, 170, 255, 255));
    panel->addView(caption);
    frame->addView(panel);

    const std::string output = VEXTORIA_TEST_OUTPUT;
    OffscreenImage image = renderView(*frame);
    EXPECT_TRUE(image.writePng(output + "/toolkit-demo-1x.png"));
    ASSERT_TRUE(frame->setZoom(2));
    OffscreenImage zoomed = renderView(*frame);
    EXPECT_TRUE(zoomed.writePng(output + "/toolkit-demo-2x.png"));
    EXPECT_EQ(zoomed.getWidth(), 2 * image.getWidth());
    EXPECT_EQ(zoomed.getHeight(), 2 * image.getHeight());
    for (const auto* picture : {&image, &zoomed})
    {
        const int scale = picture->getWidth() / 320;
        SCOPED_TRACE(scale);
        EXPECT_EQ(picture->getPixel(2 * scale, 2 * scale), kBackdrop);
        EXPECT_EQ(picture->getPixel(125 * scale, 61 * scale), kGreenCColor); // the lit strip frame
        EXPECT_EQ(picture->getPixel(285 * scale, 60 * scale), CColor(0, 170, 255, 255)); // caption fill
        EXPECT_EQ(picture->getPixel(15 * scale, 140 * scale), CColor(64, 64, 72, 255)); // the panel
        EXPECT_TRUE(ToolkitTest::near(picture->getPixel(60 * scale, 51 * scale), kArc, 40)); // top of the arc
    }
    frame->forget();
}
