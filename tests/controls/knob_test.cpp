// Film-strip knob and vector knob: frame by value, drag speed and fine mode, resets, wheel
// steps, pushed-in values; the vector knob's arc angles and the percent text.
#include "controls/Knob.h"
#include "controls/Knob2.h"
#include "widget_test_support.h"
#include <cmath>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

struct KnobScene : ::testing::Test
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;

    // A 20 x 20 knob at (0, 0) with a 127-frame strip.
    Knob* addKnob()
    {
        CBitmap* strip = numberedStrip(folder, "knob.png", 20, 20, 127);
        auto* knob = scene.add(new Knob(CRect(0, 0, 20, 20), &scene.log, 1, strip, 127));
        strip->forget();
        return knob;
    }
    Knob2* addKnob2() { return scene.add(new Knob2(CRect(0, 0, 100, 100), &scene.log, 2, nullptr)); }
};

} // namespace

TEST_F(KnobScene, FilmStripFrameFollowsTheValueAtEveryZoom)
{
    Knob* knob = addKnob();
    for (auto [value, frame] : {std::pair{1.f, 126}, std::pair{0.5f, 63}, std::pair{0.f, 0}, std::pair{0.25f, 31}})
    {
        knob->setValue(value);
        EXPECT_EQ(knob->frame, frame);
        for (double zoom : {1.0, 2.0})
            EXPECT_EQ(frameIndexOf(renderView(*knob, zoom).getPixel(int(10 * zoom), int(10 * zoom))), frame)
                << value << " at zoom " << zoom;
    }
}

TEST_F(KnobScene, DragSpeedFollowsTheAcceleratorAndShiftIsFine)
{
    struct Case
    {
        bool vector;
        int accelerator; // 0: the knob's own
        int pixels;
        int32 state;
        float expected;
    };
    for (Case c : {Case{false, 0, 128, kLButton, 1.f}, Case{false, 0, 64, kLButton, 0.5f},
                   Case{false, 0, 128, kLButton | kShift, 0.125f}, Case{false, 0, 1024, kLButton | kShift, 1.f},
                   Case{true, 0, 128, kLButton, 1.f}, Case{true, 256, 128, kLButton, 0.5f},
                   Case{true, 256, 256, kLButton, 1.f}, Case{true, 0, 128, kLButton | kShift, 0.125f}})
    {
        SCOPED_TRACE(testing::Message() << (c.vector ? "vector " : "strip ") << c.pixels << " pixels");
        CControl* knob = c.vector ? static_cast<CControl*>(addKnob2()) : addKnob();
        if (c.accelerator)
            static_cast<Knob2*>(knob)->setAccelerator(c.accelerator);
        knob->setValue(0.f);
        scene.drag(10, 10, 10 - c.pixels, c.state);
        EXPECT_NEAR(knob->getValue(), c.expected, 1e-6);
        scene.frame->removeView(knob);
    }
}

TEST_F(KnobScene, DragPastTheEndsStopsAndReportsNothingNew)
{
    Knob* knob = addKnob();
    scene.drag(10, 10, -200);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f);
    const size_t reports = scene.log.values.size();
    scene.drag(10, 10, -40);
    EXPECT_EQ(scene.log.values.size(), reports);
    scene.drag(10, 10, 260);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f);
    EXPECT_EQ(scene.log.values.back(), 0.f);
}

TEST_F(KnobScene, EachWheelEventIsOneStepInOneEditAndNoneAtTheEnds)
{
    Knob* knob = addKnob();
    for (float distance : {0.1f, 5.f, -0.5f, 30.f})
        scene.wheel(10, 10, distance);
    EXPECT_DOUBLE_EQ(knob->position, 2.0);
    EXPECT_EQ(scene.log.values, (std::vector<float>{0.01f, 0.02f, 0.01f, 0.02f}));
    EXPECT_EQ(scene.log.calls.front(), "begin");
    EXPECT_FALSE(scene.log.logged("end"));
    scene.runLoop.advance(600);
    EXPECT_EQ(scene.log.calls.back(), "end");

    scene.log.clear();
    for (int step = 0; step < 3; ++step)
        scene.wheel(10, 10, -1.f);
    EXPECT_EQ(scene.log.values, (std::vector<float>{0.01f, 0.f}));
}

TEST_F(KnobScene, CtrlClickAndDoubleClickResetEvenAtTheDefaultButNotCtrlWithShift)
{
    for (auto [state, resets] : {std::pair{kLButton | kControl, true}, {kLButton | kDoubleClick, true},
                                 {kLButton | kControl | kShift, false}, {kRButton | kControl, false}})
    {
        for (bool vector : {false, true})
        {
            CControl* knob = vector ? static_cast<CControl*>(addKnob2()) : addKnob();
            knob->setDefaultValue(0.25f);
            knob->setValue(0.75f);
            scene.click(10, 10, state);
            EXPECT_FLOAT_EQ(knob->getValue(), resets ? 0.25f : 0.75f) << state << (vector ? " vector" : "");
            scene.frame->removeView(knob);
        }
    }
    scene.log.clear();
    addKnob2()->setValue(0.5f);
    scene.click(50, 50, kLButton | kControl);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.5f}) << "a reset at the default still reports";
    EXPECT_EQ(scene.log.calls, (std::vector<std::string>{"begin", "value", "end"}));
}

TEST_F(KnobScene, PushedInValuesOutsideTheRangeOrDuringAGestureAreIgnoredUnreported)
{
    Knob* knob = addKnob();
    knob->setValue(0.5f);
    for (float bad : {-0.1f, 1.1f, std::nanf("")})
        knob->setValue(bad);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    scene.press(10, 10);
    knob->setValue(0.9f);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    scene.release(10, 10);
    knob->setValue(0.9f);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.9f);
    EXPECT_EQ(knob->text, "90");

    knob->setDefaultValue(1.5f);
    EXPECT_FLOAT_EQ(knob->getDefaultValue(), 0.5f);
    EXPECT_TRUE(scene.log.values.empty());

    Knob2* vector = addKnob2();
    vector->setValue(0.25f);
    scene.frame->takeDirtyRect();
    for (float ignored : {0.25f, -0.5f, 1.5f, std::nanf("")})
        vector->setValue(ignored);
    EXPECT_FLOAT_EQ(vector->getValue(), 0.25f);
    EXPECT_TRUE(scene.frame->takeDirtyRect().isEmpty()) << "nothing to redraw";
}

TEST_F(KnobScene, StripGeometryAndRefusedSettings)
{
    Knob knob(CRect(0, 0, 20, 20), nullptr, 0, nullptr, 128);
    EXPECT_EQ(knob.frameSize, 64);
    folder.writeBands("square.png", 30, 30, {kRedCColor});
    CBitmap* square = new CBitmap(CResourceDescription("square.png"));
    knob.setKnobPix(square, 10);
    EXPECT_EQ(knob.frameSize, 64); // a square strip says nothing about its frames
    EXPECT_EQ(knob.lastFrame, 9);
    knob.setKnobPix(square, 0);
    EXPECT_EQ(knob.lastFrame, 9);
    square->forget();

    knob.setRange(0);
    EXPECT_EQ(knob.range, 100);
    knob.setAccelerator(0);
    EXPECT_DOUBLE_EQ(knob.accelerator, 100 / 128.0);
    knob.setAccelerator(200);
    EXPECT_DOUBLE_EQ(knob.accelerator, 0.5);
    knob.setStartValue(100);
    EXPECT_EQ(knob.startValue, 0);
    knob.setStartValue(-20);
    knob.setValue(0.5f);
    EXPECT_EQ(knob.text, "30");
}

TEST_F(KnobScene, VectorKnobWheelStepsAreOneSixtyFourthAndSendNoEdit)
{
    Knob2* knob = addKnob2();
    scene.wheel(50, 50, 7.f);
    scene.wheel(50, 50, 0.2f);
    EXPECT_FLOAT_EQ(knob->getValue(), 2.f / 64);
    scene.wheel(50, 50, -1.f);
    scene.wheel(50, 50, -1.f);
    scene.wheel(50, 50, -1.f); // at the end: nothing
    EXPECT_EQ(scene.log.values, (std::vector<float>{1.f / 64, 2.f / 64, 1.f / 64, 0.f}));
    EXPECT_FALSE(scene.log.logged());

    // One more redraw after the last step.
    scene.frame->takeDirtyRect();
    scene.runLoop.advance(299);
    EXPECT_TRUE(scene.frame->takeDirtyRect().isEmpty());
    scene.runLoop.advance(1);
    EXPECT_FALSE(scene.frame->takeDirtyRect().isEmpty());
}

TEST(Knob2Drawing, ArcAndPointerSpanTheirAngles)
{
    Knob2 knob(CRect(0, 0, 100, 100), nullptr, 0, nullptr);
    knob.textColor = CColor(0, 0, 0, 0); // keep the text out of the probes
    // Colour at `angle` degrees (clockwise from three o'clock) and `radius` from the centre.
    auto probe = [](const OffscreenImage& image, double angle, double radius) {
        const double rad = angle * M_PI / 180;
        return image.getPixel(int(50 + radius * std::cos(rad)), int(50 + radius * std::sin(rad)));
    };
    auto isArc = [](const CColor& c) { return c.alpha > 200 && c.green > 100 && c.red < 60; };
    struct Case
    {
        float value;
        std::vector<double> arcAngles, clearAngles;
        double pointerAngle;
    };
    for (const Case& c : {Case{0.f, {}, {140, 270, 45}, 125}, Case{0.5f, {130, 200, 265}, {290, 0, 100}, 270},
                          Case{1.f, {130, 270, 0, 50}, {70, 90, 110}, 415}})
    {
        knob.setValue(c.value);
        OffscreenImage image = renderView(knob);
        for (double angle : c.arcAngles)
            EXPECT_TRUE(isArc(probe(image, angle, 47))) << c.value << " arc at " << angle;
        for (double angle : c.clearAngles)
            EXPECT_FALSE(isArc(probe(image, angle, 47))) << c.value << " no arc at " << angle;
        EXPECT_TRUE(isArc(probe(image, c.pointerAngle, 43))) << c.value << " pointer";
        EXPECT_FALSE(isArc(probe(image, c.pointerAngle + 12, 43))) << c.value << " pointer is short";
    }
}

TEST(ValueConverter, PercentTruncatesAndTakesAUnit)
{
    for (auto [value, text] : {std::pair{0.f, "0"}, std::pair{0.5f, "50"}, std::pair{0.999f, "99"},
                               std::pair{1.f, "100"}})
        EXPECT_EQ(convertPercent(value), text);
    Knob2 knob(CRect(0, 0, 60, 60), nullptr, 0, nullptr);
    knob.unit = "%";
    knob.setValue(0.5f);
    renderView(knob);
    EXPECT_EQ(knob.valueText, "50%");
}
