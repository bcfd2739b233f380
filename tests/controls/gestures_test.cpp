// Widgets under scripted mouse gestures: buttons, dials and steps, their timers, owners and refusals.
#include "widget_test_support.h"

using namespace VSTGUI;
using namespace WidgetTest;

// Strips show held/on frames and hover only when off; push buttons report at the press, switches once per position.
TEST(Buttons, ButtonsAndSwitchesReportTheirClicksAndShowTheirState)
{
    const char* hoverOffAndOn = "move 20 20 none; shows; move 200 200 none; shows; set 1; move 20 20 none; shows; "
                                "move 200 200 none; shows";
    const char* pressAndToggle = "shows; press 20 20; shows; release 20 20; shows; click 20 20; shows";
    playCases({{"3-frame toggle", pressAndToggle, "frame 0 frame 1 begin 1 end frame 2 begin 0 end frame 0"},
               {"momentary button", "press 20 20; say held; release 390 290", "begin 1 held 0 end", 0.f},
               {"toggle button", "set 0.5; shows; set 0.49; shows; set nan; shows", "active normal normal", 0.49f},
               {"toggle button", hoverOffAndOn, "hover normal active active"},
               {"toggle push button", hoverOffAndOn, "hover normal active active"},
               {"push button", "press 20 20; shows; release 20 20; shows",
                "owner 3=1 owner pressed pressed owner 3=0 normal", 0.f},
               {"disabled push button", "press 20 20; shows; release 20 20", "declined normal"},
               {"toggle push button", "press 20 20; shows; release 20 20; shows; click 20 20; shows",
                "owner pressed pressed owner 3=1 active owner pressed owner 3=0 normal"},
               {"push button", "move 20 20 none; set 0; shows; set 0.7; shows; set 0.2; shows; set nan",
                "hover pressed normal", 0.2f},
               {"horizontal switch", "set 0; click 145 20; click 145 20; press 145 20; move 250 20; move 255 25; "
                                     "move 50 -40; release 50 -40; click 145 20 right", "0.5 1 0", 0.f},
               {"horizontal switch", "set 0.6; value; click 145 20; click 105 20", "=0 0", 0.f},
               {"handle switch", "click 20 35; press 20 15; move 20 100; release 20 100; set 0.5; click 20 25",
                "1 0 1 0.5"}});
}

TEST(Dials, DragsClicksResetsAndPushedInValues)
{
    playCases({
        // 128 pixels up turn a knob through its range; a drag stops at an end and reports no more.
        {"knob", "set 0; drag 10 10 -118", "...0.9922 1 end", 1.f},
        {"knob", "drag 10 10 -200; say again; drag 10 10 -40", "...1 end again begin end", 1.f},
        {"knob", "set 1; drag 10 10 260", "...0.007812 0 end", 0.f},
        // Ctrl-click or double click resets a knob; the fader and mini slider on Ctrl only, the bar slider never.
        {"knob", "default 0.25; set 0.75; click 10 10 ctrl", "begin 0.25 end", 0.25f},
        {"knob", "default 0.25; set 0.75; click 10 10 double", "begin 0.25 end", 0.25f},
        {"vector knob", "default 0.5; set 0.5; click 50 50 ctrl", "begin 0.5 end", 0.5f},
        {"fader", "default 0.2; set 0.2; draw; click 20 60 right; click 20 60 middle; click 20 60 both; "
         "wheel 20 100 1; click 20 60 ctrl", "begin 0.2 end", 0.2f},
        {"bar slider", "default 0.4; set 0.9; click 180 20 ctrl", "begin 0.8 end", 0.8f},
        {"mini slider", "default 0.4; set 0.9; click 180 15 ctrl", "begin owner changed 0.4 end", 0.4f},
        {"mini slider", "default 0.4; set 0.9; click 180 15 double", "begin owner changed 0.77 end", 0.77f},
        // Values pushed in out of range, NaN or during a gesture are ignored unreported, without a redraw.
        {"knob", "set 0.5; set -0.1; set 1.1; set nan", "", 0.5f},
        {"knob", "set 0.5; press 10 10; set 0.9; release 10 10", "begin end", 0.5f},
        {"vector knob", "set 0.25; look; set 0.25; set -0.5; set 1.5; set nan; look", "redraw", 0.25f},
        {"mini slider", "set 0.5; press 152 15; move 162 15; set 0.1; move 172 15; release 172 15",
         "begin owner changed 0.6 owner changed 0.7 end", 0.7f},
        // A click beside the fader's band centres it; drags move by the motion; a cancelled press ends once.
        {"fader", "set 0; draw; click 20 50", "begin 1 end", 1.f},
        {"fader", "set 0.5; draw; press 20 160; move 20 118; move 20 118; release 20 100", "begin 0.75 end", 0.75f},
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

// Spin boxes step by one within range; the halves' box repeats from 300 ms after the press until an end.
TEST(Steps, SpinBoxesStepWithinTheirRangeAndRefuseWhileDisabled)
{
    playCases({{"arrow spin box", "set 0.5; value; click 110 20", "=0.5 0.5833", 7 / 12.f},
               {"arrow spin box", "set 1; press 110 20; wait 1000; release 110 20", "", 1.f},
               {"spin box 0..10", "set 0.5; press 30 15; wait 299; say later; wait 1; wait 1000; release 30 15",
                "begin 0.6 later 0.7 0.8 0.9 1 end", 1.f}});
    Scene scene;
    auto* box = static_cast<SpinBox2*>(scene.make("arrow spin box"));
    box->maximum = 100;
    box->setValue(0.f);
    for (int n = 1; n <= 100; ++n) // every number of the arrows' box reads back as itself
    {
        scene.play(box, "click 110 20");
        ASSERT_EQ(box->number(), n);
    }

    // The halves' box keeps its range; disabled, it refuses presses and values and opens no edit.
    scene.frame->removeView(box);
    auto* halves = static_cast<SpinBox*>(scene.make("spin box -5..20"));
    EXPECT_EQ(halves->text, "-5");
    halves->setDefaultValue(50);
    EXPECT_EQ(halves->defaultNumber, 20);
    halves->setDefaultValue(3);
    halves->enabled = false;
    scene.log.told();
    scene.play(halves, "press 30 15; set 1; release 30 15");
    halves->enabled = true;
    scene.play(halves, "click 30 35 ctrl");
    EXPECT_EQ(scene.log.told(), "declined begin 0.32 end");
    EXPECT_EQ(halves->text, "3");
    scene.play(halves, "set 1; click 30 15");
    EXPECT_EQ(halves->text, "20") << "stepped past its top, it shows its top";
}

// Timers end with their widget, even running; owners may remove a switch or spin box while it reports.
TEST(Steps, WidgetsGoCleanlyWhileTheirTimersRunOrTheyReport)
{
    Scene scene;
    CView* box = scene.make("arrow spin box");
    CView* menu = scene.make("menu");
    for (auto [view, script] : {std::pair{menu, "move 150 75 none; move 300 75 none"}, {box, "press 110 20"}})
    {
        scene.play(view, script);
        ASSERT_EQ(scene.runLoop.loop().timerCount(), 1u) << script;
        scene.frame->removeView(view);
        EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u);
        scene.runLoop.advance(3000);
    }
    for (uint32_t i = 0; i < scene.frame->getNbViews(); ++i) // the held arrow's cancel at the end must not
        static_cast<CControl*>(scene.frame->getView(i))->setListener(nullptr); // reach the freed box either

    struct RemovingListener : IControlListener
    {
        CFrame* frame = nullptr;
        int reports = 0;
        void valueChanged(CControl* control) override
        {
            ++reports;
            frame->removeView(control); // frees it
        }
    } owner;
    owner.frame = scene.frame;
    CPoint where(150, 20); // called directly: the frame would keep the widget alive, an owner need not
    scene.add(new Switch2(CRect(100, 10, 160, 30), &owner, 8192, 2, Switch2::kHorizontal))->onMouseDown(where, CButtonState(kLButton));
    auto* spin = scene.add(new SpinBox2(CRect(10, 10, 60, 30), &owner, 9, nullptr));
    Button up(CRect(0, 0, 10, 10), spin, SpinBox2::kUpArrowTag);
    up.setValue(1.f);
    spin->valueChanged(&up);
    EXPECT_EQ(owner.reports, 2);
    EXPECT_EQ(scene.runLoop.loop().timerCount(), 0u);
    scene.runLoop.advance(3000);
}

// A list opens on a click, picks the row under the pointer at any zoom; the wheel steps it folded.
TEST(Steps, ListsPickTheRowUnderThePointerAndKeepTheirSelectionWithinThem)
{
    playCases({{"list", "set 0.6666667; wheel 50 20 3; wheel 50 20 1; wheel 50 20 1; wheel 50 20 1 sideways", "0.3333 0"},
               {"list", "set 0.6666667; click 50 20; click 50 109", "1"},
               {"list", "zoom 2; click 100 40; click 100 200", "1"},
               {"0-item list", "wheel 50 20 -1; set 0.5; click 50 20; click 50 25", ""}});

    // Pushed-in values and lookups move only the selection; a row above is refused, far below is the last.
    Scene scene;
    auto* list = static_cast<DropDown2*>(scene.make("list"));
    for (auto [value, selected] : {std::pair{0.5f, 1}, {1.f, 3}, {0.f, 0}, {1.5f, 3}, {-1.f, 0}})
    {
        list->setValue(value);
        EXPECT_EQ(list->selected, selected) << value;
    }
    list->setValueByName("Item 2");
    list->setValueByName("Nothing");
    list->setValueById(999);
    EXPECT_EQ(list->selected, 2);
    list->setValueById(103);
    EXPECT_EQ(list->getItem(4), nullptr);
    scene.play(list, "value; click 50 20; say above");
    list->fold(-45);
    scene.play(list, "click 50 20");
    list->fold(500);
    EXPECT_EQ(scene.log.told(), "=0 above 1") << "the stored value moves only by the mouse";
}

// The menu hands its owner the clicked row (20 px rows), hides 300 ms after the pointer leaves.
TEST(Steps, MenuHandsTheRowUnderThePointerToItsOwnerAndRefusesOtherRows)
{
    playCases({{"menu", "move 150 69 none; click 150 69; move 150 70 none; click 150 70; move 150 95 none; "
                        "click 150 95; move 150 129 none; click 150 129; click 150 129 right",
                "owner chose 0 owner chose 1 owner chose 2 owner chose 2"},
               {"menu", "move 150 75 none; move 300 75 none; wait 299; seen; wait 1; seen", "shown hidden"}});
    Scene scene;
    auto* menu = static_cast<Menu*>(scene.make("menu"));
    scene.play(menu, "move 150 95 none; move 300 95 none; wait 300");
    menu->setVisible(true);
    scene.play(menu, "click 150 95; move 150 75 none; move 300 75 none");
    menu->setVisible(false);
    menu->setViewSize(CRect(300, 75, 400, 155));
    menu->setVisible(true);
    scene.play(menu, "wait 1000; seen");
    EXPECT_EQ(scene.log.told(), "owner chose 0 shown");
    // Rows out of range give a placeholder that is not kept: a careless caller changes nothing.
    for (int index : {-1, 3, 1000})
    {
        EXPECT_EQ(menu->getItem(index)->name, "Out Of Range");
        EXPECT_FALSE(menu->getItem(index)->checked) << index;
        menu->getItem(index)->checked = true;
    }
    EXPECT_EQ(menu->items.size(), 3u);
}

// Keys above the last note are refused, by the mouse and by a caller alike.
TEST(Steps, KeyboardRefusesNotesAboveTheLast)
{
    playCases({{"high keyboard", "click 25 35; click 55 35", "on 124 v111 off 124"}});
    Scene scene;
    auto* keyboard = static_cast<Keyboard*>(scene.make("keyboard"));
    keyboard->sendMidi(Keyboard::kNoteOn, 55, 10, false); // white key 55 would be note 131
    EXPECT_EQ(scene.log.told(), "");
}
