// A small sample editor scene rendered to PNG (toolkit-demo.png and toolkit-demo-2x.png in
// the test output folder), for people to look at the toolkit without a display.
#include "offscreen.h"
#include "toolkit_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

// A vector knob face: a grey disc, a value arc from 125 degrees and a thick pointer.
class DemoKnob : public CControl
{
public:
    using CControl::CControl;
    void draw(CDrawContext* context) override
    {
        const float end = 125.f + 290.f * getValue();
        context->setDrawMode(kAntiAliasing);
        context->setFillColor(CColor(127, 127, 127, 62));
        context->drawEllipse(CRect(size).inset(4.5, 4.5), kDrawFilled);
        context->setFrameColor(CColor(0, 143, 214, 254));
        context->setLineWidth(3);
        context->drawArc(CRect(size).inset(3, 3), 125.f, end);
        context->setLineWidth(7);
        context->drawArc(CRect(size).inset(5, 5), end - 5.f, end + 5.f);
        context->setFont(kNormalFontBig);
        context->setFontColor(kWhiteCColor);
        context->drawString((std::to_string(int(getValue() * 100)) + "%").c_str(), size);
        setDirty(false);
    }
};

// One frame of a three-frame film strip (stacked vertically): 0 off, 1 lit, 2 blinking.
class DemoLed : public CView
{
public:
    DemoLed(const CRect& size, CBitmap* strip, int frameIndex) : CView(size), frame(frameIndex) { setBackground(strip); }
    void draw(CDrawContext* context) override
    {
        CBitmap* strip = getBackground();
        context->drawBitmap(strip, size, CPoint(0, strip->getHeight() / 3 * frame));
        setDirty(false);
    }

private:
    int frame;
};

// A dark panel with a rounded outline, drawn before its children.
class DemoPanel : public CViewContainer
{
public:
    using CViewContainer::CViewContainer;
    void drawBackgroundRect(CDrawContext* context, const CRect&) override
    {
        CGraphicsPath* path = context->createRoundRectGraphicsPath(CRect(1, 1, getWidth() - 1, getHeight() - 1), 8);
        context->setDrawMode(kAntiAliasing);
        context->setFillColor(CColor(64, 64, 72, 230));
        context->drawGraphicsPath(path, CDrawContext::kPathFilled);
        context->setFrameColor(CColor(127, 127, 127, 255));
        context->drawGraphicsPath(path, CDrawContext::kPathStroked);
        path->forget();
    }
};

CFrame* buildDemoFrame(CBitmap* strip)
{
    auto* frame = new CFrame(CRect(0, 0, 320, 160), nullptr);
    frame->setBackgroundColor(CColor(227, 227, 227, 255));

    auto* title = new CTextLabel(CRect(10, 6, 310, 30), "SLICER DEMO");
    auto* titleFont = new CFontDesc("Tahoma", 18, kBoldFace);
    title->setFont(titleFont);
    titleFont->forget();
    title->setFontColor(CColor(40, 40, 48, 255));
    title->setTransparency(true);
    frame->addView(title);

    auto* panel = new DemoPanel(CRect(10, 36, 310, 150));
    panel->setTransparency(true);
    auto* knob = new DemoKnob(CRect(12, 12, 92, 92));
    knob->setValue(0.7f);
    panel->addView(knob);
    panel->addView(new DemoLed(CRect(110, 20, 130, 40), strip, 1));
    auto* box = new CCheckBox(CRect(110, 60, 290, 84), nullptr, 4, "MOVE TOAST ");
    box->setCheckMarkColor(CColor(0, 0, 255, 255));
    box->setValue(1.f);
    panel->addView(box);
    auto* caption = new CTextLabel(CRect(150, 16, 290, 40), "LEFT ALIGNED");
    caption->setHoriAlign(kLeftText);
    caption->setBackColor(CColor(0, 170, 255, 254));
    caption->setFrameColor(CColor(0, 0, 0, 255));
    caption->setTextInset(CPoint(4, 0));
    panel->addView(caption);
    frame->addView(panel);
    return frame;
}

} // namespace

TEST(DemoScene, RendersASampleEditorToPng)
{
    ToolkitTest::ResourceFolder resources;
    resources.writeBands("led.png", 20, 60, {kRedCColor, kGreenCColor, kBlueCColor});
    auto* strip = new CBitmap("led.png");
    CFrame* frame = buildDemoFrame(strip);
    strip->forget();

    OffscreenImage image = renderView(*frame);
    const std::string output = VEXTORIA_TEST_OUTPUT;
    EXPECT_TRUE(image.writePng(output + "/toolkit-demo.png"));
    frame->setZoom(2);
    OffscreenImage zoomed = renderView(*frame);
    EXPECT_TRUE(zoomed.writePng(output + "/toolkit-demo-2x.png"));
    EXPECT_EQ(zoomed.getWidth(), 640);
    EXPECT_EQ(image.getPixel(2, 2), CColor(227, 227, 227, 255));
    EXPECT_EQ(image.getPixel(165, 60).blue, 255);                   // the caption's blue fill
    EXPECT_EQ(image.getPixel(125, 61), CColor(0, 255, 0, 255));       // the lit LED frame
    frame->forget();
}
