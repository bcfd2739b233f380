// What the frame's X window shows: the same pixels as the offscreen render of its tree, and
// tooltips drawn inside the frame.
#include "x11_frame_fixture.h"

#include "offscreen.h"

using namespace ToolkitTest;

namespace {

// A view that fills itself and draws an antialiased ring, so edges and blending are compared too.
class RingView : public CView
{
public:
    using CView::CView;
    void draw(CDrawContext* context) override
    {
        context->setFillColor(CColor(30, 90, 200));
        context->drawRect(getViewSize(), kDrawFilled);
        context->setDrawMode(kAntiAliasing);
        context->setFrameColor(CColor(250, 200, 40));
        context->setLineWidth(3);
        CRect ring = getViewSize();
        ring.inset(6, 6);
        context->drawEllipse(ring, kDrawStroked);
    }
};

// Share of the pixels whose channels differ by more than `tolerance`.
double mismatchShare(const std::vector<CColor>& window, const OffscreenImage& expected, int tolerance)
{
    const int width = expected.getWidth();
    size_t mismatches = 0;
    for (size_t i = 0; i < window.size(); ++i)
    {
        CColor reference = expected.getPixel(int(i) % width, int(i) / width);
        reference.alpha = 255;
        if (!near(window[i], reference, tolerance))
            ++mismatches;
    }
    return window.empty() ? 1.0 : double(mismatches) / double(window.size());
}

} // namespace

// Screenshots need their pixels unobscured: the window sits away from where the other tests'
// windows appear, and paint tests take turns.
class X11PaintAtZoom : public X11FrameFixture, public testing::WithParamInterface<double>
{
protected:
    X11PaintAtZoom() : X11FrameFixture(640, 480, true) {}
};

TEST_P(X11PaintAtZoom, WindowShowsTheOffscreenRenderOfTheSameTree)
{
    openFrame(GetParam());
    frame->setBackgroundColor(CColor(20, 120, 60));
    auto* panel = new CViewContainer(CRect(70, 50, 190, 95));
    panel->setBackgroundColor(CColor(200, 40, 40));
    panel->addView(new RingView(CRect(5, 5, 45, 40)));
    frame->addView(panel);
    a->setAlphaValue(0.5f);

    const OffscreenImage expected = renderView(*frame, 1.0);
    const int width = expected.getWidth();
    const int height = expected.getHeight();
    ASSERT_EQ(host.sizeOf(window), std::make_pair(width, height));
    double share = 1.0;
    loop().runUntil([&] {
        share = mismatchShare(host.screenshot(window, width, height), expected, 4);
        return share < 0.002;
    });
    EXPECT_LT(share, 0.002) << "zoom " << GetParam();
}

TEST_P(X11PaintAtZoom, TooltipShowsInsideTheFrameAfterItsDelayAndGoesOnPress)
{
    openFrame(GetParam());
    frame->setBackgroundColor(CColor(0, 0, 0));
    frame->enableTooltips(true, 50);
    a->setTooltipText("Slice amount");
    const int width = int(frame->getWidth());
    const int height = int(frame->getHeight());
    // The box sits below the view, starting at its left edge; its inner padding is plain fill.
    const int probeX = px(10) + 2;
    const int probeY = px(40) + 2 + 9;
    auto probe = [&] { return host.screenshot(window, width, height).at(size_t(probeY * width + probeX)); };
    const CColor tooltipFill(255, 255, 225);

    host.sendPointer(window, XCB_ENTER_NOTIFY, 0, px(20), px(20));
    EXPECT_TRUE(loop().runUntil([&] { return near(probe(), tooltipFill); }));

    host.click(window, 1, px(20), px(20));
    EXPECT_TRUE(loop().runUntil([&] { return near(probe(), CColor(0, 0, 0)); }));
}

INSTANTIATE_TEST_SUITE_P(Zoom, X11PaintAtZoom, testing::Values(1.0, 2.0));
