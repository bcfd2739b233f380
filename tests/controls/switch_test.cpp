// Switches: positions picked by clicks and drags, reported once per change, pushed-in
// positions, switches without a handle, listeners that remove the switch while it reports,
// and the drawn position.
#include "controls/Switch.h"
#include "controls/Switch2.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;


TEST(Switch2Mouse, ClicksAndDragsReportEachNewPositionOnce)
{
    for (auto [orientation, size, second, pastTheEnd] :
         {std::tuple{Switch2::kHorizontal, CRect(100, 10, 190, 30), CPoint(145, 20), CPoint(250, 20)},
          std::tuple{Switch2::kVertical, CRect(100, 10, 120, 100), CPoint(110, 55), CPoint(110, 250)}})
    {
        SCOPED_TRACE(orientation);
        Scene scene;
        auto* control = scene.add(new Switch2(size, &scene.log, 32, 3, orientation));
        control->setValue(0.f);
        scene.click(second.x, second.y);
        EXPECT_EQ(scene.log.values, std::vector<float>{0.5f});
        scene.click(second.x, second.y);
        EXPECT_EQ(scene.log.values.size(), 1u) << "the same segment again reports nothing";
        scene.press(second.x, second.y);
        scene.move(pastTheEnd.x, pastTheEnd.y);
        scene.move(pastTheEnd.x + 5, pastTheEnd.y + 5);
        scene.move(size.left - 50, size.top - 50); // before the start: the first position
        scene.release(size.left - 50, size.top - 50);
        EXPECT_EQ(scene.log.values, (std::vector<float>{0.5f, 1.f, 0.f}));
        EXPECT_FALSE(scene.log.logged()) << "no edit brackets";
        scene.click(second.x, second.y, kRButton);
        EXPECT_EQ(scene.log.values.size(), 3u);
    }
}

TEST(Switch2Mouse, PushedInPositionIsNotReportedAgain)
{
    Scene scene;
    auto* control = scene.add(new Switch2(CRect(100, 10, 190, 30), &scene.log, 32, 3, Switch2::kHorizontal));
    control->setValue(0.6f);
    EXPECT_EQ(control->index, 1);
    EXPECT_EQ(control->getValue(), 0.f) << "the control value stays the one last picked";
    scene.click(145, 20);
    EXPECT_TRUE(scene.log.values.empty());
    scene.click(105, 20);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.f});
}

TEST(Switch2Safety, ListenerMayRemoveTheSwitchWhileItReports)
{
    Scene scene;
    RemovingListener owner;
    owner.frame = scene.frame;
    auto* control = scene.add(new Switch2(CRect(100, 10, 160, 30), &owner, 8192, 2, Switch2::kHorizontal));
    // Called directly: the frame would keep the switch alive through its own handler, an
    // owner calling it need not.
    CPoint where(150, 20);
    control->onMouseDown(where, CButtonState(kLButton)); // reports 1, then the switch is gone
    EXPECT_EQ(owner.values, std::vector<float>{1.f});
    EXPECT_EQ(scene.frame->getNbViews(), 0u);
}

TEST(SwitchMouse, HandleHeightStepsThePositionsAndNoHandleMeansTheFirst)
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;
    CBitmap* handle = solidPicture(folder, "handle.png", 20, 10, kBlueCColor);
    auto* control = scene.add(new Switch(CRect(10, 10, 30, 40), &scene.log, 4, nullptr, handle, 3));
    handle->forget();
    scene.click(20, 35);
    scene.press(20, 15);
    scene.move(20, 100);
    scene.release(20, 100);
    EXPECT_EQ(scene.log.values, (std::vector<float>{1.f, 0.f, 1.f}));
    control->setValue(0.5f);
    EXPECT_EQ(control->index, 1);
    for (double zoom : {1.0, 2.0})
    {
        OffscreenImage image = renderView(*control, zoom);
        EXPECT_EQ(image.getPixel(int(10 * zoom), int(15 * zoom)), kBlueCColor) << "the handle of position 1";
        EXPECT_EQ(image.getPixel(int(10 * zoom), int(5 * zoom)), kRedCColor) << "no background: red";
    }
    scene.log.clear();
    scene.click(20, 25);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.5f}) << "a position pushed in is not one reported";

    scene.log.clear();
    scene.frame->removeView(control);
    scene.add(new Switch(CRect(10, 10, 30, 40), &scene.log, 4, nullptr, nullptr, 3));
    for (CCoord y : {12.0, 25.0, 38.0})
        scene.click(20, y);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.f}) << "without a handle every click is the first position";
}

TEST(Switch2Drawing, StripFrameOrSegmentShowsThePosition)
{
    ToolkitTest::ResourceFolder folder;
    CBitmap* strip = numberedStrip(folder, "modes.png", 30, 40, 2);
    Switch2 control(CRect(0, 0, 30, 40), nullptr, 14, 2, Switch2::kVertical);
    control.setStrip(strip);
    strip->forget();
    control.setValue(1.f);
    for (double zoom : {1.0, 2.0})
        EXPECT_EQ(frameIndexOf(renderView(control, zoom).getPixel(int(15 * zoom), int(20 * zoom))), 1) << zoom;

    Switch2 segments(CRect(0, 0, 90, 20), nullptr, 32, 3, Switch2::kHorizontal);
    segments.setValue(1.f);
    for (double zoom : {1.0, 2.0})
    {
        OffscreenImage image = renderView(segments, zoom);
        EXPECT_EQ(image.getPixel(int(75 * zoom), int(10 * zoom)), CColor(127, 127, 127, 255)) << "shown segment";
        EXPECT_NEAR(image.getPixel(int(15 * zoom), int(10 * zoom)).alpha, 64, 2) << "groove";
    }
}
