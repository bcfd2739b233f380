// The pointer rules the widgets share, met through the frame as a user meets them: a double
// click made of two quick presses, Shift's fine drags, one step per wheel event; and the
// rarer widgets' own rules: radio groups, sliding push buttons, held arrows, disabled boxes.
#include "controls/ButtonGroup.h"
#include "widget_test_support.h"

using namespace VSTGUI;
using namespace WidgetTest;

// Two quick presses on the spot reset a knob; Shift makes its drag eight times finer. A wheel
// event moves one step in its direction whatever its distance, and nothing at an end; the
// fader declines the wheel.
TEST(PointerRules, DoubleClicksFineDragsAndWheelSteps)
{
    playCases({{"knob", "default 0.25; set 0.75; click 10 10; click 13 14 soon", "begin end begin 0.25 end", 0.25f},
               {"knob", "set 0; drag 10 10 -118 shift", "...end", 128 / 1024.f},
               {"knob", "set 0.99; wheel 10 10 5; wheel 10 10 5; wheel 10 10 -0.5; wait 1000", "begin 1 0.99 end"},
               {"vector knob", "set 0; wheel 50 50 -1; wheel 50 50 0.2; wheel 50 50 2", "0.01562 0.03125"},
               {"bar slider", "set 0.99; wheel 150 20 3; wheel 150 20 1; wheel 150 20 -0.1; wait 1000",
                "begin 1 0.98 end"}});
    Scene scene;
    scene.make("fader");
    EXPECT_FALSE(scene.frame->platformOnMouseWheel(CPoint(20, 100), kMouseWheelAxisY, 1, 0));
}

// A locked group holds its lit button until another lights, which turns the first off and
// frees it. Sliding push buttons press as the held pointer enters them, unless on. A held
// arrow repeats from 500 ms after the press; a disabled spin box ignores pushed-in values.
TEST(PointerRules, GroupsSlidingButtonsHeldArrowsAndDisabledBoxes)
{
    playCases({{"slide push button", "move 20 20 none; press 20 20; move 200 200; move 20 20",
                "owner pressed owner 3=1 owner pressed owner 3=1"},
               {"slide toggle push button", "set 1; move 20 20 none; press 20 20; move 200 200; move 20 20", ""},
               {"arrow spin box", "set 0; press 110 20; wait 499; say later; wait 1; wait 100; release 110 20",
                "0.08333 later 0.1667 0.25"},
               {"disabled spin box", "set 1", "", 0.f}});
    Scene scene;
    ButtonGroup group;
    for (CPoint at : {CPoint(10, 10), CPoint(60, 10)})
        group.addButton(static_cast<Button*>(scene.make("toggle button", at)));
    scene.play(nullptr, "click 20 20; click 20 20; click 70 20; click 20 20");
    EXPECT_EQ(scene.log.told(), "begin 1 end declined begin 0 1 end begin 0 1 end");
}
