// Widgets that step through positions, numbers, rows and notes: switches, spin boxes, lists,
// the pop-up menu and the keyboard, as scripted cases; their timers, owners that remove them
// while they report, and the values they refuse.
#include "controls/DropDown.h"
#include "widget_test_support.h"

using namespace VSTGUI;
using namespace WidgetTest;

// A click or a drag picks the position under the pointer (past the ends the first or the
// last), each new one reported once without an edit bracket; right clicks do nothing. A
// position pushed in is not reported again and keeps the value last picked. The handle switch
// steps by its handle's height and picks the first position without a handle.
TEST(Steps, SwitchesReportEachNewPositionOnce)
{
    playCases({{"horizontal switch", "set 0; click 145 20; click 145 20; press 145 20; move 250 20; move 255 25; "
                                     "move 50 -40; release 50 -40; click 145 20 right", "0.5 1 0", 0.f},
               {"vertical switch", "set 0; click 110 55; click 110 55; press 110 55; move 110 250; move 115 255; "
                                   "move 50 -40; release 50 -40; click 110 55 right", "0.5 1 0", 0.f},
               {"horizontal switch", "set 0.6; value; click 145 20; click 105 20", "=0 0", 0.f},
               {"handle switch", "click 20 35; press 20 15; move 20 100; release 20 100; set 0.5; click 20 25", "1 0 1 0.5"},
               {"no handle switch", "click 20 12; click 20 25; click 20 38", "0"}});
}

// Spin boxes step by one within their range and tell nobody at a limit. The arrows' box
// reports each step; the halves' box steps in one edit each and repeats from 300 ms after the
// press until an end. A held arrow steps at the press, 500 ms later, then every 100 ms until
// 2900 ms after the press, then every 20 ms (counted with a range of 1000).
TEST(Steps, SpinBoxesStepWithinTheirRangeAndRefuseWhileDisabled)
{
    playCases({{"arrow spin box", "set 0.5; value; click 110 20", "=0.5 0.5833", 7 / 12.f},
               {"arrow spin box", "set 1; press 110 20; wait 1000; release 110 20", "", 1.f},
               {"arrow spin box", "set 0; press 80 20; wait 1000; release 80 20", "", 0.f},
               {"arrow spin box", "set 1; click 80 20", "0.9167", 11 / 12.f},
               {"spin box 0..128", "set 0.0546875; click 30 15; click 30 35; click 30 35",
                "begin 0.0625 end begin 0.05469 end begin 0.04688 end", 6 / 128.f},
               {"spin box 0..64", "set 1; click 30 15", "begin end", 1.f},
               {"spin box 0..10", "set 0.5; press 30 15; wait 299; say later; wait 1; wait 1000; release 30 15",
                "begin 0.6 later 0.7 0.8 0.9 1 end", 1.f}});
    Scene scene;
    auto* box = static_cast<SpinBox2*>(scene.make("arrow spin box"));
    box->maximum = 1000;
    auto stepsAfter = [&](const char* script) {
        scene.play(box, script);
        const std::string told = scene.log.told();
        return told.empty() ? 0 : std::count(told.begin(), told.end(), ' ') + 1;
    };
    for (auto [script, steps] : {std::pair{"press 110 20", 1}, {"wait 499", 0}, {"wait 1", 1}, {"wait 1000", 10},
                                 {"wait 1390", 13}, {"wait 110", 6}, {"wait 200", 10}, {"release 110 20; wait 1000", 0}})
        EXPECT_EQ(stepsAfter(script), steps) << script;
    box->maximum = 100;
    box->setValue(0.f);
    for (int n = 1; n <= 100; ++n) // every number of the arrows' box reads back as itself
    {
        scene.play(box, "click 110 20");
        ASSERT_EQ(box->number(), n);
    }

    // The halves' box keeps its default within its range; disabled, it refuses presses and
    // pushed-in values and opens no edit that no release would close.
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
}

// Timers end with their widget, even while running (ASan: nothing fires on a freed widget),
// and owners may remove a switch or a spin box from inside its report.
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

// A list opens in place on a click; a row click picks the row under the pointer at any zoom
// and folds it, the header folds it unchanged; the wheel steps through the folded list,
// vertically only, with no edit bracket; an empty list takes nothing.
TEST(Steps, ListsPickTheRowUnderThePointerAndKeepTheirSelectionWithinThem)
{
    playCases({{"list", "set 0.6666667; wheel 50 20 3; wheel 50 20 1; wheel 50 20 1; wheel 50 20 1 sideways", "0.3333 0"},
               {"list", "set 0.6666667; click 50 20; click 50 20", ""},
               {"list", "set 0.6666667; click 50 20; click 50 109", "1"},
               {"list", "zoom 1.5; click 75 30; click 75 90", "0.3333"},
               {"list", "zoom 2; click 100 40; click 100 200", "1"},
               {"0-item list", "wheel 50 20 -1; set 0.5; click 50 20; click 50 25", ""},
               {"1-item list", "click 50 20; click 50 40", "0"}});

    // Pushed-in values and lookups move only the selection, within the list; a row above the
    // list is refused, one far below is the last; a copy owns its items. The older list
    // ignores values outside its range.
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
    auto* copy = static_cast<DropDown2*>(list->newCopy());
    scene.frame->removeView(list);
    EXPECT_EQ(copy->getCurrentItem()->name, "Item 3") << "a copy owns its items";
    copy->forget();

    DropDown older(CRect(0, 0, 100, 20), nullptr, 0);
    for (const char* name : {"a", "b", "c"})
        older.addItem(name);
    for (float value : {1.f, 1.5f, -0.5f, std::nanf("")})
        older.setValue(value);
    EXPECT_EQ(older.selected, 2);
}

// The menu hands the row under the pointer to its owner on a left click, rows of 20 pixels,
// the last below them, at any zoom; a click without a move chooses the first row. It hides
// 300 ms after the pointer left unless it came back; opened again elsewhere, it is not closed
// by the earlier hide and lights its first row.
TEST(Steps, MenuHandsTheRowUnderThePointerToItsOwnerAndRefusesOtherRows)
{
    playCases({{"menu", "click 150 110", "owner chose 0"},
               {"menu", "move 150 69 none; click 150 69; move 150 70 none; click 150 70; move 150 95 none; "
                        "click 150 95; move 150 129 none; click 150 129; click 150 129 right",
                "owner chose 0 owner chose 1 owner chose 2 owner chose 2"},
               {"menu", "zoom 2; move 300 190 none; click 300 190", "owner chose 2"},
               {"menu", "move 150 75 none; move 300 75 none; wait 200; move 150 75 none; wait 1000; seen", "shown"},
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
    EXPECT_TRUE(menu->addItem(MenuItem("Wide", true)));
    EXPECT_EQ(menu->itemCount, 4);
}

// A press plays the key under the pointer (black keys take their part of the upper area) with
// the press's depth as velocity; sliding ends one note and starts the next, up to the last key;
// notes above the last one are refused; without pictures nothing plays. Values pushed in press
// (from 0.5) and release notes without playing them; bad notes and NaN are refused.
TEST(Steps, KeyboardPlaysTheKeyUnderThePointer)
{
    playCases({{"keyboard", "click 25 35; click 25 10; click 10 10; click 8 10; click 5 30; click 38 10; click 31 10",
                "on 40 v111 off 40 on 40 v31 off 40 on 37 v50 off 37 on 37 v50 off 37 on 36 v95 off 36 "
                "on 42 v50 off 42 on 41 v31 off 41"},
               {"keyboard", "press 5 35; move 7 35; move 15 35; move 500 100; release 500 100",
                "on 36 v111 off 36 on 38 v111 off 38 on 95 v127 off 95"},
               {"high keyboard", "click 25 35; click 55 35", "on 124 v111 off 124"},
               {"keyboard without pictures", "click 10 30", ""}});
    Scene scene;
    auto* keyboard = static_cast<Keyboard*>(scene.make("keyboard"));
    keyboard->setValue(0.75f); // note on 64: white key 16
    EXPECT_EQ(renderView(*keyboard).getPixel(165, 35), kRedCColor);
    keyboard->setMidiNote(Keyboard::kNoteOn, 37); // C sharp: black slot 0
    EXPECT_TRUE(keyboard->blackDown[0]);
    for (int bad : {-1, 128, 20})
        keyboard->setMidiNote(Keyboard::kNoteOn, bad);
    keyboard->sendMidi(Keyboard::kNoteOn, 55, 10, false); // white key 55 would be note 131
    keyboard->setValue(0.25f);
    EXPECT_EQ(std::count(keyboard->whiteDown.begin(), keyboard->whiteDown.end(), true), 0);
    EXPECT_EQ(scene.log.told(), "");
}
