// Sliders: the bar slider's absolute clicks, drags, wheel steps and value text; the mini
// slider's handle clicks, drags and pinned ends; the picture slider's grabbed handle.
#include "controls/HSlider.h"
#include "controls/MiniSlider.h"
#include "controls/VSlider.h"
#include "editor/Vextoria3Editor.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

using Calls = std::vector<std::string>;

// A listener that is also the editor, for the mini slider's change callback.
struct SliderOwner : Vextoria3Editor
{
    SliderOwner() : Vextoria3Editor(nullptr, nullptr) {}
    ListenerLog* log = nullptr;
    int changes = 0;
    void valueChanged(CControl* control) override { log->valueChanged(control); }
    void onSliderChange(MiniSlider*) { ++changes; }
};

// A bar slider 100 x 20 at (100, 10), falling from left to right.
struct BarScene : ::testing::Test
{
    Scene scene;
    VSlider* slider = scene.add(new VSlider(CRect(100, 10, 200, 30), &scene.log, 7));
};

} // namespace

TEST_F(BarScene, ClickSetsTheValueWhereItLandsAndDragsStopAtTheEnds)
{
    scene.press(125, 20);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.25f});
    for (CCoord x : {150.0, 199.0, 230.0, 260.0, 250.0})
        scene.move(x, 20);
    scene.release(250, 20);
    EXPECT_EQ(scene.log.values, (std::vector<float>{0.25f, 0.5f, 0.99f, 1.f})) << "1.0 once past the end";
    EXPECT_EQ(scene.log.calls.front(), "begin");
    EXPECT_EQ(scene.log.calls.back(), "end");

    scene.log.clear();
    scene.move(150, 20, 0); // a move without the button is no drag
    scene.click(150, 20, kRButton);
    EXPECT_TRUE(scene.log.values.empty());
    EXPECT_FALSE(slider->dragging);
}

TEST_F(BarScene, ARisingSliderCountsFromTheBottom)
{
    scene.add(new VSlider(CRect(10, 100, 30, 200), &scene.log, 7))->orientation = 0;
    scene.click(20, 175);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.25f});
}

// A left Ctrl-click resets the mini and picture sliders; the bar slider has no reset, and a
// double click resets none of them. A press taken away ends its gesture without a value.
TEST(SliderGestures, ResetOnlyWhereOfferedAndACancelledPressEndsItsGesture)
{
    struct Case
    {
        const char* name;
        CControl* (*make)(ListenerLog&);
        bool ctrlClickResets;
    };
    const Case cases[] = {
        {"VSlider", [](ListenerLog& log) -> CControl* { return new VSlider(CRect(100, 10, 200, 30), &log, 7); }, false},
        {"MiniSlider", [](ListenerLog& log) -> CControl* { return new MiniSlider(CRect(100, 10, 200, 30), &log, 33); }, true},
        {"HSlider", [](ListenerLog& log) -> CControl* { return new HSlider(CRect(100, 10, 200, 30), &log, 1); }, true},
    };
    for (const Case& each : cases)
    {
        SCOPED_TRACE(each.name);
        Scene scene;
        CControl* slider = scene.add(each.make(scene.log));
        slider->setDefaultValue(0.4f);
        for (int32 state : {kLButton | kControl, kLButton | kDoubleClick})
        {
            slider->setValue(0.9f);
            scene.log.clear();
            scene.click(180, 20, state);
            const bool reset = state == (kLButton | kControl) && each.ctrlClickResets;
            ASSERT_FALSE(scene.log.values.empty()) << state;
            EXPECT_EQ(scene.log.values.back() == 0.4f, reset) << state;
        }
        scene.log.clear();
        scene.press(150, 20);
        scene.frame->platformOnMouseCancel();
        scene.release(150, 20);
        EXPECT_EQ(scene.log.calls.front(), "begin");
        EXPECT_EQ(scene.log.calls.back(), "end");
        EXPECT_EQ(std::count(scene.log.calls.begin(), scene.log.calls.end(), "end"), 1);
    }
}

TEST_F(BarScene, EachWheelStepMovesTwoHundredthsAndStopsAtTheEnds)
{
    slider->setValue(0.99f);
    EXPECT_TRUE(scene.wheel(150, 20, 0.1f));
    EXPECT_TRUE(scene.wheel(150, 20, 3.f));
    EXPECT_EQ(scene.log.values, std::vector<float>{1.f}) << "the second step changes nothing";
    EXPECT_TRUE(scene.wheel(150, 20, -7.f, kMouseWheelAxisX));
    EXPECT_NEAR(scene.log.values.back(), 0.98f, 1e-6);
    scene.runLoop.advance(1000);
    EXPECT_EQ(scene.log.calls, (Calls{"begin", "value", "value", "end"}));
}

TEST(VSliderDrawing, BarTextAndUnitFollowTheValue)
{
    VSlider slider(CRect(0, 0, 100, 20), nullptr, 0);
    slider.unit = "%";
    for (auto [value, text] : {std::pair{0.f, "0%"}, std::pair{0.5f, "50%"}, std::pair{0.999f, "99%"}})
    {
        slider.setValue(value);
        for (double zoom : {1.0, 2.0})
        {
            OffscreenImage image = renderView(slider, zoom);
            EXPECT_EQ(slider.valueText, text);
            // Bar pixels near the bottom edge (clear of the text), left of the value and right of it.
            const CColor inside = image.getPixel(int(3 * zoom), int(17 * zoom));
            const CColor outside = image.getPixel(int(90 * zoom), int(17 * zoom));
            EXPECT_TRUE(value > 0.85f || outside.alpha == 0) << value;
            EXPECT_TRUE(value < 0.1f || ToolkitTest::near(inside, slider.barColor, 3)) << value;
        }
    }
}

TEST(MiniSliderMouse, ClickOffTheHandleCentresItOnThePointerAndCtrlClickResets)
{
    Scene scene;
    SliderOwner owner;
    owner.log = &scene.log;
    auto* slider = scene.add(new MiniSlider(CRect(100, 10, 206, 20), &owner, 33));
    slider->changeCallback = static_cast<MiniSlider::ChangeCallback>(&SliderOwner::onSliderChange);
    scene.click(153, 15);
    EXPECT_EQ(slider->handleRect.left, 150);
    EXPECT_EQ(slider->handleRect.right, 156);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.5f});
    EXPECT_EQ(owner.changes, 1);

    slider->setDefaultValue(0.25f);
    scene.click(180, 15, kLButton | kControl);
    EXPECT_EQ(scene.log.values, (std::vector<float>{0.5f, 0.25f}));
    EXPECT_EQ(slider->handleRect.left, 125);
    scene.click(180, 15, kRButton);
    EXPECT_EQ(scene.log.values.size(), 2u);
}

TEST(MiniSliderMouse, GrabbedHandleMovesByThePointersMotionAndReportsEveryMove)
{
    Scene scene;
    auto* slider = scene.add(new MiniSlider(CRect(100, 10, 206, 20), &scene.log, 33));
    slider->setValue(0.5f);
    ASSERT_EQ(slider->handleRect.left, 150);
    scene.press(152, 15);
    EXPECT_TRUE(scene.log.values.empty()) << "a press on the handle reports nothing";
    scene.move(162, 15);
    EXPECT_EQ(slider->handleRect.left, 160);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.6f});

    slider->setValue(0.1f); // a host echo during the drag
    EXPECT_EQ(slider->handleRect.left, 160) << "ignored while dragging";

    for (CCoord x : {250.0, 260.0, 270.0})
        scene.move(x, 15);
    scene.release(270, 15);
    EXPECT_EQ(slider->handleRect.left, 200);
    EXPECT_EQ(scene.log.values, (std::vector<float>{0.6f, 1.f, 1.f, 1.f})) << "pinned, still told";
    EXPECT_EQ(scene.log.calls.back(), "end");
    slider->setValue(0.1f);
    EXPECT_EQ(slider->handleRect.left, 110);
}

TEST(MiniSliderDrawing, HandleOutlineStaysVisibleOnABlackHandle)
{
    MiniSlider slider(CRect(0, 0, 106, 10), nullptr, 0);
    slider.setValue(0.5f);
    for (auto [handle, outline] : {std::pair{CColor(196, 196, 196, 255), CColor(127, 127, 127, 255)},
                                   std::pair{CColor(0, 0, 0, 255), CColor(82, 82, 82, 255)}})
    {
        slider.handleColor = handle;
        for (double zoom : {1.0, 2.0})
        {
            OffscreenImage image = renderView(slider, zoom);
            EXPECT_TRUE(ToolkitTest::near(image.getPixel(int(53 * zoom), int(5 * zoom)), handle, 3)) << "middle";
            EXPECT_FALSE(ToolkitTest::near(image.getPixel(int(20 * zoom), int(5 * zoom)), handle, 3)) << "track";
        }
        // The outline straddles the handle's edge; at zoom 2 one device pixel lies wholly on it.
        EXPECT_TRUE(ToolkitTest::near(renderView(slider, 2).getPixel(100, 10), outline, 40)) << "handle edge";
    }
}

TEST(HSliderMouse, PressOnTheHandleGrabsItAndOffItCentresIt)
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;
    auto* slider = scene.add(new HSlider(CRect(100, 10, 210, 30), &scene.log, 1));
    CBitmap* handle = solidPicture(folder, "handle.png", 10, 20, kBlueCColor);
    slider->setHandle(handle);
    handle->forget();
    slider->setValue(0.5f);
    ASSERT_EQ(slider->handleRect().left, 150);

    scene.press(152, 20); // 3 px left of the handle centre
    EXPECT_TRUE(scene.log.values.empty());
    scene.move(162, 20);
    EXPECT_NEAR(slider->handleRect().left, 160, 1e-3);
    EXPECT_NEAR(scene.log.values.back(), 0.6f, 1e-6);
    scene.move(400, 20);
    scene.release(400, 20);
    EXPECT_EQ(scene.log.values.back(), 1.f);

    scene.log.clear();
    scene.click(120, 20);
    EXPECT_NEAR(scene.log.values.back(), 0.15f, 1e-6) << "handle centred on the pointer: left at 115";
    EXPECT_EQ(scene.log.calls, (Calls{"begin", "value", "end"}));
    scene.click(180, 20, kLButton | kControl);
    EXPECT_EQ(scene.log.values.back(), 0.5f);

    for (double zoom : {1.0, 2.0})
    {
        OffscreenImage image = renderView(*slider, zoom);
        EXPECT_EQ(image.getPixel(int(55 * zoom), int(10 * zoom)), kBlueCColor);
        EXPECT_EQ(image.getPixel(int(20 * zoom), int(10 * zoom)).alpha, 0);
    }
}
