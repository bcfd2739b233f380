// Knobs, faders and sliders: what clicks, drags, wheel steps, resets and pushed-in values do,
// as scripted cases; the strip knob's refused settings.
#include "widget_test_support.h"

using namespace VSTGUI;
using namespace WidgetTest;

// 128 pixels up turn a knob through its range (the vector knob's accelerator sets its own);
// Shift alone makes it eight times finer. A drag past an end stops there and reports no more.
TEST(Dials, DragsTurnKnobsByThePixelAndStopAtTheEnds)
{
    playCases({{"knob", "set 0; drag 10 10 -118", "...0.9922 1 end", 1.f},
          {"knob", "set 0; drag 10 10 -118 shift", "...0.125 end", 0.125f},
          {"knob", "set 0; drag 10 10 -1014 shift", "...1 end", 1.f},
          {"vector knob", "set 0; drag 10 10 -118", "...1 end", 1.f},
          {"vector knob", "set 0; drag 10 10 -118 shift", "...0.125 end", 0.125f},
          {"slow vector knob", "set 0; drag 10 10 -118", "...0.5 end", 0.5f},
          {"slow vector knob", "set 0; drag 10 10 -246", "...1 end", 1.f},
          {"knob", "drag 10 10 -200; say again; drag 10 10 -40", "...1 end again begin end", 1.f},
          {"knob", "set 1; drag 10 10 260", "...0.007812 0 end", 0.f}});
}

// A left Ctrl-click or a double click resets a knob, reporting even at the default; Ctrl with
// Shift or with the right button does not. The fader resets on Ctrl only, the bar slider never
// (a click sets the value where it lands), the mini and picture sliders on Ctrl-click only.
TEST(Dials, ResetsToTheDefaultOnlyWhereOffered)
{
    playCases({{"knob", "default 0.25; set 0.75; click 10 10 ctrl", "begin 0.25 end", 0.25f},
          {"knob", "default 0.25; set 0.75; click 10 10 double", "begin 0.25 end", 0.25f},
          {"knob", "default 0.25; set 0.75; click 10 10 ctrl shift", "begin end", 0.75f},
          {"knob", "default 0.25; set 0.75; click 10 10 right ctrl", "", 0.75f},
          {"vector knob", "default 0.25; set 0.75; click 50 50 ctrl", "begin 0.25 end", 0.25f},
          {"vector knob", "default 0.25; set 0.75; click 50 50 double", "begin 0.25 end", 0.25f},
          {"vector knob", "default 0.5; set 0.5; click 50 50 ctrl", "begin 0.5 end", 0.5f},
          {"fader", "default 0.2; set 0.2; draw; click 20 60 right; click 20 60 middle; click 20 60 both; "
                    "wheel 20 100 1; click 20 60 ctrl", "begin 0.2 end", 0.2f},
          {"bar slider", "default 0.4; set 0.9; click 180 20 ctrl", "begin 0.8 end", 0.8f},
          {"mini slider", "default 0.4; set 0.9; click 180 15 ctrl", "begin owner changed 0.4 end", 0.4f},
          {"mini slider", "default 0.4; set 0.9; click 180 15 double", "begin owner changed 0.77 end", 0.77f},
          {"picture slider", "default 0.4; set 0.9; click 180 20 ctrl", "begin 0.4 end", 0.4f},
          {"picture slider", "default 0.4; set 0.9; click 180 20 double", "begin 0.75 end", 0.75f}});
}

// Each wheel event is one step: a hundredth for the strip knob, in one edit that ends 500 ms
// after the last step; a sixty-fourth for the vector knob, in no edit, redrawn once 300 ms
// after the last step; two hundredths on either axis for the bar slider. None at the ends.
TEST(Dials, EachWheelEventIsOneStepAndNoneAtTheEnds)
{
    playCases({{"knob", "wheel 10 10 0.1; wheel 10 10 5; wheel 10 10 -0.5; wheel 10 10 30; wait 499; say later; wait 1",
           "begin 0.01 0.02 0.01 0.02 later end", 0.02f},
          {"knob", "wheel 10 10 1; wheel 10 10 -1; wheel 10 10 -1; wheel 10 10 -1; wait 500", "begin 0.01 0 end", 0.f},
          {"vector knob", "wheel 50 50 7; wheel 50 50 0.2; wheel 50 50 -1; wheel 50 50 -1; wheel 50 50 -1; look; "
                          "wait 299; look; say later; wait 1; look", "0.01562 0.03125 0.01562 0 redraw later redraw", 0.f},
          {"bar slider", "set 0.99; wheel 150 20 0.1; wheel 150 20 3; wheel 150 20 -7 sideways; wait 1000",
           "begin 1 0.98 end", 0.98f},
          {"fader", "set 0.5; wheel 20 150 1", "", 0.5f}});
}

// Values pushed in by the owner outside the range, NaN or during a gesture are ignored, and
// none is reported; an ignored one does not even redraw.
TEST(Dials, PushedInValuesOutsideTheRangeOrDuringAGestureAreIgnoredUnreported)
{
    playCases({{"knob", "set 0.5; set -0.1; set 1.1; set nan", "", 0.5f},
          {"knob", "set 0.5; press 10 10; set 0.9; release 10 10", "begin end", 0.5f},
          {"vector knob", "set 0.25; look; set 0.25; set -0.5; set 1.5; set nan; look", "redraw", 0.25f},
          {"mini slider", "set 0.5; press 152 15; move 162 15; set 0.1; move 172 15; release 172 15",
           "begin owner changed 0.6 owner changed 0.7 end", 0.7f}});
}

// The fader's and the sliders' clicks and drags: a click beside the fader's band or off a
// slider's handle centres it on the pointer; a drag on it moves it by the pointer's motion only,
// pinned at the ends and still told; the bar slider sets the value where the pointer is. A
// press taken away ends its gesture once, without a value.
TEST(Dials, ClicksAndDragsPlaceTheHandleUnderThePointer)
{
    playCases({{"fader", "set 0; draw; click 20 50", "begin 1 end", 1.f},
          {"fader", "set 1; draw; click 20 249", "begin 0 end", 0.f},
          {"fader", "set 0; draw; click 20 150", "begin 0.5 end", 0.5f},
          {"fader", "set 0.5; draw; press 20 160; move 20 118; move 20 118; release 20 100", "begin 0.75 end", 0.75f},
          {"handle fader", "set 0.5; click 105 10", "begin 1 end", 1.f},
          {"bar slider", "press 125 20; move 150 20; move 199 20; move 230 20; move 260 20; move 250 20; release 250 20",
           "begin 0.25 0.5 0.99 1 end", 1.f},
          {"bar slider", "move 150 20 none; click 150 20 right", "", 0.f},
          {"rising bar slider", "click 20 175", "begin 0.25 end", 0.25f},
          {"mini slider", "click 153 15; click 180 15 right", "begin owner changed 0.5 end", 0.5f},
          {"mini slider", "set 0.5; press 152 15; move 162 15; move 250 15; move 260 15; release 270 15",
           "begin owner changed 0.6 owner changed 1 owner changed 1 end", 1.f},
          {"picture slider", "set 0.5; press 152 20; move 162 20; move 400 20; release 400 20",
           "begin 0.6 1 end", 1.f},
          {"picture slider", "click 120 20", "begin 0.15 end", 0.15f},
          {"bar slider", "press 150 20; cancel; release 150 20", "begin 0.5 end"},
          {"mini slider", "press 150 15; cancel; release 150 15", "begin owner changed 0.47 end"},
          {"picture slider", "press 150 20; cancel; release 150 20", "begin 0.45 end"}});
}

// A square strip says nothing about its frames; settings outside their range are refused.
TEST(KnobSettings, StripGeometryAndRefusedSettings)
{
    ToolkitTest::ResourceFolder folder;
    Knob knob(CRect(0, 0, 20, 20), nullptr, 0, nullptr, 128);
    CBitmap* square = numberedStrip(folder, "square.png", 30, 30, 1);
    knob.setKnobPix(square, 10);
    EXPECT_EQ(knob.frameSize, 64);
    EXPECT_EQ(knob.lastFrame, 9);
    knob.setKnobPix(square, 0);
    EXPECT_EQ(knob.lastFrame, 9);
    square->forget();

    knob.setRange(0);
    EXPECT_EQ(knob.range, 100);
    knob.setAccelerator(0);
    EXPECT_DOUBLE_EQ(knob.accelerator, 100 / 128.0);
    knob.setStartValue(100);
    EXPECT_EQ(knob.startValue, 0);
    knob.setDefaultValue(1.5f);
    EXPECT_FLOAT_EQ(knob.getDefaultValue(), 0.5f);
    knob.setStartValue(-20);
    knob.setValue(0.5f);
    EXPECT_EQ(knob.text, "30");
}
