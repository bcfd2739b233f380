// The pointer rules widgets share, met through the frame, and the rarer widgets' own rules.
#include "controls/ButtonGroup.h"
#include "widget_test_support.h"

using namespace VSTGUI;
using namespace WidgetTest;

TEST(PointerRules, DoubleClicksFineDragsWheelStepsSlidesRepeatsAndGroups)
{
    playCases({{"knob", "default 0.25; set 0.75; click 10 10; click 14 6 soon shift; set 0.75; click 14 6 soon; "
                        "click 18.5 6 soon; click 18.5 6 right; click 18.5 6 soon; wait 1; click 18.5 6 soon",
                "begin end begin 0.25 end begin end begin end begin end begin end", 0.75f},
               {"knob", "set 0; drag 10 10 -118 shift", "...end", 128 / 1024.f},
               {"knob", "set 0.99; wheel 10 10 5; wheel 10 10 5; wheel 10 10 -0.5; wait 1000", "begin 1 0.99 end"},
               {"vector knob", "set 0; wheel 50 50 -1; wheel 50 50 0.2; wheel 50 50 2", "0.01562 0.03125"},
               {"bar slider", "set 0.99; wheel 150 20 3; wheel 150 20 1; wheel 150 20 -0.1; wait 1000",
                "begin 1 0.98 end"},
               {"push button", "press 20 20; value; release 20 20; value", "owner 3=1 owner pressed =1 owner 3=0 =0"},
               {"slide push button", "move 20 20 none; press 20 20; move 200 200; move 20 20",
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
    scene.make("fader");
    EXPECT_FALSE(scene.frame->platformOnMouseWheel(CPoint(20, 100), kMouseWheelAxisY, 1, 0));
}
