// Pixel checks on offscreen renders of bitmaps at every zoom, and refused ones.
#include "toolkit_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using ToolkitTest::Ink, ToolkitTest::inkWhere;

struct BitmapRender : ::testing::Test
{
    ToolkitTest::ResourceFolder resources;
};

// The best version for the zoom is drawn, and from odd layout coordinates it lands on whole
// device pixels: each pixel is all picture or untouched, never a blend along an edge.
TEST_F(BitmapRender, TheBestVersionForTheZoomHasCrispEdgesAndAMismatchedOneIsRefused)
{
    resources.writeBands("lamp.png", 9, 7, {kRedCColor});
    resources.writeBands("lamp_x1.5.png", 14, 11, {kGreenCColor});
    resources.writeBands("lamp_wrong.png", 18, 20, {kBlueCColor});
    auto* picture = new CBitmap("lamp.png");
    auto larger = IPlatformBitmap::createFromPath(getResourcePath("lamp_x1.5.png"));
    ASSERT_TRUE(larger);
    larger->setScaleFactor(1.5);
    EXPECT_TRUE(picture->addBitmap(larger));
    auto wrong = IPlatformBitmap::createFromPath(getResourcePath("lamp_wrong.png"));
    wrong->setScaleFactor(2);
    EXPECT_FALSE(picture->addBitmap(wrong)); // its height does not match
    EXPECT_EQ(picture->getSize(), CPoint(9, 7));
    auto* frame = new CFrame(CRect(0, 0, 40, 30), nullptr);
    frame->setTransparency(true);
    auto* lamp = new CView(CRect(11, 7, 20, 14));
    lamp->setBackground(picture);
    picture->forget();
    frame->addView(lamp);
    for (double zoom : {0.75, 1.0, 1.5, 2.0})
    {
        SCOPED_TRACE(zoom);
        frame->setZoom(zoom);
        const OffscreenImage image = renderView(*frame);
        const CColor version = zoom > 1 ? kGreenCColor : kRedCColor;
        EXPECT_EQ(inkWhere(image, [&](const CColor& c) { return c.alpha != 0 && c != version; }).count, 0) << "blends";
        auto device = [zoom](double layout) { return std::floor(layout * zoom + 0.5); };
        const Ink ink = inkWhere(image, [](const CColor& c) { return c.alpha > 64; });
        EXPECT_EQ(CRect(ink.first, ink.top, ink.last + 1, ink.bottom + 1),
                  CRect(device(11), device(7), device(20), device(14)));
    }
    frame->forget();
}

TEST_F(BitmapRender, MissingOrEscapingFilesGiveEmptyBitmapsThatDrawNothing)
{
    auto* missing = new CBitmap("nothing_here.png");
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getPlatformBitmap(), nullptr);
    CView view(CRect(0, 0, 10, 10));
    view.setBackground(missing);
    missing->forget();
    EXPECT_EQ(renderView(view).getPixel(5, 5), CColor(0, 0, 0, 0));
    EXPECT_EQ(renderView(view, 0).getWidth(), 1); // a zoom of 0 is refused with an empty image
    EXPECT_EQ(getResourcePath("../secret.png"), "");
    EXPECT_EQ(getResourcePath("/etc/passwd"), "");
    EXPECT_FALSE(IPlatformBitmap::createFromPath(getResourcePath("../x.png")));
    setResourceFolderFunction([] { return std::string(); }); // a folder function without a folder
    EXPECT_EQ(getResourcePath("pic.png"), "");
    setResourceFolderFunction({});
    EXPECT_EQ(getResourcePath("pic.png"), "");
}
