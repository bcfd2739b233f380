// Spin boxes: steps from picture-button arrows and from the box's own halves, limits, the
// held-arrow repeat with the manual clock, defaults, refusals, timers that end with the box,
// listeners that remove the box while it reports, and the shown number.
#include "controls/Button.h"
#include "controls/SpinBox.h"
#include "controls/SpinBox2.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

// A spin box with its two arrows beside it, as the editor lays them out.
struct ArrowScene : ::testing::Test
{
    Scene scene;
    SpinBox2* box = scene.add(new SpinBox2(CRect(10, 10, 60, 30), &scene.log, 9, nullptr));

    void SetUp() override
    {
        box->maximum = 12;
        for (int32 arrowTag : {SpinBox2::kDownArrowTag, SpinBox2::kUpArrowTag})
            arrows.push_back(scene.add(new Button(CRect(70 + 30 * arrowTag, 10, 90 + 30 * arrowTag, 30), box, arrowTag)));
    }
    std::vector<Button*> arrows;
    static constexpr CCoord kDownX = 80;
    static constexpr CCoord kUpX = 110;
};

// The box with its own arrow halves, 50 x 30 at (10, 10).
struct BoxScene : ::testing::Test
{
    Scene scene;
    SpinBox* box = scene.add(new SpinBox(CRect(10, 10, 60, 40), &scene.log, 2, nullptr));
};

} // namespace

TEST_F(ArrowScene, ArrowsStepOnceAndStopAtTheLimits)
{
    box->setValue(0.5f);
    EXPECT_EQ(box->number(), 6);
    scene.click(kUpX, 20);
    EXPECT_EQ(scene.log.values, std::vector<float>{7.f / 12.f});
    EXPECT_EQ(box->number(), 7);

    for (auto [start, arrow, expected] : {std::tuple{1.f, kUpX, 12}, {0.f, kDownX, 0}, {1.f, kDownX, 11}})
    {
        scene.log.clear();
        box->setValue(start);
        scene.press(arrow, 20);
        EXPECT_EQ(box->number(), expected);
        EXPECT_EQ(scene.log.values.size(), expected == 11 ? 1u : 0u) << "a limit tells nobody";
        EXPECT_TRUE(box->repeat.isRunning()) << "the repeat runs until the release, even at a limit";
        scene.release(arrow, 20);
        EXPECT_FALSE(box->repeat.isRunning());
    }
}

TEST_F(ArrowScene, EveryNumberReadsBackAsItself)
{
    box->maximum = 100;
    box->setValue(0.f);
    for (int n = 1; n <= 100; ++n)
    {
        scene.click(kUpX, 20);
        ASSERT_EQ(box->number(), n);
    }
    EXPECT_EQ(scene.log.values.size(), 100u);
    EXPECT_EQ(scene.log.values.back(), 1.f);
}

TEST_F(ArrowScene, HeldArrowRepeatsAfterAPauseThenFasterUntilReleaseOrRemoval)
{
    box->maximum = 1000;
    box->setValue(0.f);
    scene.press(kUpX, 20);
    auto stepsAfter = [&](uint64_t ms) {
        const size_t before = scene.log.values.size();
        scene.runLoop.advance(ms);
        return scene.log.values.size() - before;
    };
    EXPECT_EQ(scene.log.values.size(), 1u) << "one step at the press";
    EXPECT_EQ(stepsAfter(499), 0u) << "nothing until 500 ms after the press";
    EXPECT_EQ(stepsAfter(1), 1u);
    EXPECT_EQ(stepsAfter(1000), 10u) << "every 100 ms";
    EXPECT_EQ(stepsAfter(1390), 13u) << "until 2900 ms after the press";
    stepsAfter(110); // the switch to fast steps falls in here
    EXPECT_EQ(stepsAfter(200), 10u) << "then every 20 ms";
    scene.release(kUpX, 20);
    EXPECT_EQ(stepsAfter(1000), 0u);
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u);

    scene.press(kUpX, 20);
    ASSERT_GT(scene.runLoop.loop().timerCount(), 0u);
    scene.frame->removeView(box);
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u) << "the timers end with the box";
    scene.runLoop.advance(3000); // ASan: no step reaches the freed box
    for (Button* arrow : arrows)
        arrow->setListener(nullptr); // the held arrow's cancel at the end must not reach the freed box
}

TEST(SpinBox2Safety, ListenerMayRemoveTheBoxWhileItReports)
{
    Scene scene;
    RemovingListener owner;
    owner.frame = scene.frame;
    auto* box = scene.add(new SpinBox2(CRect(10, 10, 60, 30), &owner, 9, nullptr));
    box->maximum = 12;
    // The arrow outlives the box here, so it is told by hand rather than through the frame.
    Button up(CRect(0, 0, 10, 10), box, SpinBox2::kUpArrowTag);
    up.setValue(1.f);
    box->valueChanged(&up); // reports, is removed and freed
    EXPECT_EQ(owner.values.size(), 1u);
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u);
    scene.runLoop.advance(3000);
}

TEST(SpinBox2Drawing, StripFrameOrTextShowsTheNumber)
{
    ToolkitTest::ResourceFolder folder;
    CBitmap* strip = numberedStrip(folder, "digits.png", 40, 20, 13);
    SpinBox2 box(CRect(0, 0, 40, 20), nullptr, 9, strip);
    strip->forget();
    box.maximum = 12;
    for (int n : {0, 5, 7, 12})
    {
        box.setValue(float(n) / 12.f);
        for (double zoom : {1.0, 2.0})
            EXPECT_EQ(frameIndexOf(renderView(box, zoom).getPixel(int(20 * zoom), int(10 * zoom))), n) << zoom;
    }
    box.textMode = true;
    box.fontColor = kRedCColor;
    auto red = [](const CColor& c) { return c.green < 60 && c.red > 200; };
    EXPECT_GT(inkWhere(renderView(box), red).count, 5) << "the number over the picture";
}

TEST_F(BoxScene, HalvesStepUpAndDownWithinTheRange)
{
    box->setMaximum(128);
    box->setValue(7.f / 128.f);
    EXPECT_EQ(box->text, "7");
    scene.click(30, 15); // upper half
    scene.click(30, 35); // lower half
    scene.click(30, 35);
    EXPECT_EQ(box->text, "6");
    EXPECT_EQ(scene.log.values, (std::vector<float>{8.f / 128, 7.f / 128, 6.f / 128}));
    EXPECT_EQ(scene.log.calls.front(), "begin");

    scene.log.clear();
    box->setMaximum(64);
    box->setValue(1.f);
    scene.click(30, 15);
    EXPECT_EQ(box->text, "64");
    EXPECT_TRUE(scene.log.values.empty()) << "at its maximum the box tells nobody";
}

TEST_F(BoxScene, HeldHalfRepeatsUntilAnEnd)
{
    box->setMaximum(10);
    box->setValue(0.5f);
    scene.press(30, 15);
    scene.runLoop.advance(299);
    EXPECT_EQ(box->number, 6);
    scene.runLoop.advance(1);
    EXPECT_EQ(box->number, 7) << "repeats from 300 ms after the press";
    scene.runLoop.advance(1000);
    EXPECT_EQ(box->number, 10);
    EXPECT_EQ(box->direction, 0);
    EXPECT_EQ(scene.log.values.back(), 1.f);
    scene.release(30, 15);
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u);
}

TEST_F(BoxScene, CtrlClickRestoresTheDefaultAndDisabledBoxesRefuse)
{
    box->setMinimum(-5);
    EXPECT_EQ(box->text, "-5");
    box->setMaximum(20);
    box->setDefaultValue(50);
    EXPECT_EQ(box->defaultNumber, 20) << "kept within the range";
    box->setDefaultValue(3);
    scene.click(30, 35, kLButton | kControl);
    EXPECT_EQ(box->text, "3");
    EXPECT_EQ(scene.log.values, std::vector<float>{8.f / 25});
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u);

    scene.log.clear();
    box->enabled = false;
    EXPECT_EQ(scene.press(30, 15), kMouseEventNotHandled);
    box->setValue(1.f);
    EXPECT_EQ(box->text, "3");
    EXPECT_TRUE(scene.log.calls.empty()) << "no edit opened that no release would close";
}

TEST(SpinBoxDrawing, TrianglesOrArrowPicturesOnlyWhileEnabled)
{
    ToolkitTest::ResourceFolder folder;
    SpinBox box(CRect(0, 0, 50, 30), nullptr, 0, nullptr);
    auto arrowPixel = [&](double zoom) {
        return renderView(box, zoom).getPixel(int(41 * zoom), int(7 * zoom)); // inside the up triangle
    };
    for (double zoom : {1.0, 2.0})
    {
        EXPECT_TRUE(ToolkitTest::near(arrowPixel(zoom), CColor(127, 127, 127, 255), 3)) << zoom;
        box.enabled = false;
        EXPECT_EQ(arrowPixel(zoom), box.backColor) << zoom;
        box.enabled = true;
    }
    CBitmap* up = solidPicture(folder, "up.png", 8, 8, kGreenCColor);
    CBitmap* down = solidPicture(folder, "down.png", 8, 8, kBlueCColor);
    box.setUpPix(up);
    box.setDownPix(down);
    up->forget();
    down->forget();
    OffscreenImage image = renderView(box);
    EXPECT_EQ(image.getPixel(46, 3), kGreenCColor);
    EXPECT_EQ(image.getPixel(46, 26), kBlueCColor);
}
