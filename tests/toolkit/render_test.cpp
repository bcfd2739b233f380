// Pixel checks on offscreen renders of bitmaps at every zoom, and refused ones.
#include "toolkit_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using ToolkitTest::Ink, ToolkitTest::inkWhere;

struct BitmapRender : ::testing::Test
{
    ToolkitTest::ResourceFolder resources;
};

// The zoom's best version, decoded when drawn, on whole device pixels; one failing to decode is dropped.
TEST_F(BitmapRender, TheBestVersionForTheZoomHasCrispEdgesAndAMismatchedOrBrokenOneIsLeftOut)
{
    resources.writeBands("lamp.png", 9, 7, {kRedCColor});
    resources.writeBands("lamp_x1.5.png", 14, 11, {kGreenCColor});
    resources.writeBands("lamp_x2.png", 18, 14, {kBlueCColor});
    std::filesystem::resize_file(getResourcePath("lamp_x2.png"), 60); // the header whole, the pixels cut
    resources.writeBands("lamp_wrong.png", 18, 20, {kBlueCColor});
    auto* picture = new CBitmap("lamp.png");
    PlatformBitmapPtr larger, broken, wrong;
    for (auto [version, name, scale] : {std::tuple {&larger, "lamp_x1.5.png", 1.5}, {&broken, "lamp_x2.png", 2.0},
                                        {&wrong, "lamp_wrong.png", 2.0}}) {
        *version = IPlatformBitmap::createFromPath(getResourcePath(name));
        ASSERT_TRUE(*version);
        (*version)->setScaleFactor(scale);
        EXPECT_EQ(picture->addBitmap(*version), version != &wrong) << name; // lamp_wrong's height differs
    }
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
        EXPECT_EQ(larger->getDecodedRows(), zoom > 1 ? 11 : 0);
        auto device = [zoom](double layout) { return std::floor(layout * zoom + 0.5); };
        const Ink ink = inkWhere(image, [](const CColor& c) { return c.alpha > 64; });
        EXPECT_EQ(CRect(ink.first, ink.top, ink.last + 1, ink.bottom + 1),
                  CRect(device(11), device(7), device(20), device(14)));
    }
    frame->forget();
}

TEST_F(BitmapRender, EveryColourTypeDrawsItsColours)
{
    for (auto [format, written, drawn] : {std::tuple {CAIRO_FORMAT_A8, CColor(0, 0, 0, 128), CColor(128, 128, 128, 255)},
                                          {CAIRO_FORMAT_A1, CColor(0, 0, 0, 255), kWhiteCColor},
                                          {CAIRO_FORMAT_RGB24, CColor(10, 20, 30, 255), CColor(10, 20, 30, 255)},
                                          {CAIRO_FORMAT_ARGB32, CColor(255, 40, 0, 128), CColor(255, 40, 0, 128)}}) {
        resources.writeBands("type.png", 4, 4, {written}, format);
        auto picture = SharedPointer<CBitmap>::adopt(new CBitmap("type.png"));
        CView view(CRect(0, 0, 4, 4));
        view.setBackground(picture.get());
        EXPECT_EQ(renderView(view).getPixel(2, 2), drawn) << format;
    }
}

TEST_F(BitmapRender, MissingOrEscapingFilesGiveEmptyBitmapsThatDrawNothing)
{
    auto* missing = new CBitmap("nothing_here.png");
    EXPECT_TRUE(missing->getWidth() == 0 && !missing->getPlatformBitmap());
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
