// Picture buttons and push buttons as scripted cases: strip frames and pictures by state,
// momentary and toggle clicks, the owner's callbacks, which mouse buttons count, pushed-in
// values, refusals and the hover rule; slide mode and radio groups of either kind.
#include "controls/ButtonGroup.h"
#include "controls/ButtonGroup2.h"
#include "widget_test_support.h"

using namespace VSTGUI;
using namespace WidgetTest;

// A strip shows frame 1 while held and its last frame while on. A momentary button reports 1
// then 0 in one edit, released anywhere; a toggle reports on the release, on from 0.5 when
// pushed in, which tells nobody. The owner hears right clicks that began on the button, and
// a disabled button's right clicks only: no left clicks, no hover, no pushed-in state. Both
// kinds show the hover picture over a button that is off, never over the on picture.
TEST(Buttons, PictureButtonsReportTheirClicksAndShowTheirState)
{
    const char* hoverOffAndOn = "move 20 20 none; shows; move 200 200 none; shows; set 1; move 20 20 none; shows; "
                                "move 200 200 none; shows";
    const char* pressAndToggle = "shows; press 20 20; shows; release 20 20; shows; click 20 20; shows";
    playCases({{"3-frame toggle", pressAndToggle, "frame 0 frame 1 begin 1 end frame 2 begin 0 end frame 0"},
               {"2-frame toggle", pressAndToggle, "frame 0 frame 1 begin 1 end frame 1 begin 0 end frame 0"},
               {"momentary button", "press 20 20; say held; release 390 290", "begin 1 held 0 end", 0.f},
               {"toggle button", "press 20 20; say held; release 20 20; click 20 20", "held begin 1 end begin 0 end", 0.f},
               {"toggle button", "set 0.5; shows; set 0.49; shows; set nan; shows", "active normal normal", 0.49f},
               {"toggle button", hoverOffAndOn, "hover normal active active"},
               {"toggle push button", hoverOffAndOn, "hover normal active active"},
               {"owned button", "release 20 20 right; press 20 20 right; release 25 22 right; click 20 20",
                "owner right 9 at 25 begin 1 end owner released"},
               {"ownerless button", "click 20 20 right; click 20 20", "", 1.f},
               {"disabled owned button", "click 20 20; move 20 20 none; shows; click 20 20 right; set 1; shows",
                "declined normal owner right 9 at 20 normal", 1.f}});
}

// A push button calls its owner at the press, before the release, with only the callbacks
// set; only the left button alone counts, and not while disabled or locked. A toggle flips on
// each release (the pressed picture stands in for a missing active one), or keeps its state
// and reports it. Pushed-in values show without being reported.
TEST(Buttons, PushButtonsCallTheirOwner)
{
    const char* toggleTwice = "press 20 20; shows; release 20 20; shows; click 20 20; shows";
    const std::string click = "owner 3=1 owner pressed owner 3=0";
    playCases({{"push button", "press 20 20; shows; release 20 20; shows", "owner 3=1 owner pressed pressed owner 3=0 normal", 0.f},
               {"push button without value callback", "click 20 20", "owner pressed"},
               {"ownerless push button", "click 20 20", ""},
               {"push button", "click 20 20 shift; click 20 20 ctrl", click + " " + click},
               {"push button", "click 20 20 both; click 20 20 right; click 20 20 middle", ""},
               {"disabled push button", "press 20 20; shows; release 20 20", "declined normal"},
               {"locked push button", "press 20 20; shows; release 20 20", "declined hover"},
               {"toggle push button", toggleTwice, "owner pressed pressed owner 3=1 active owner pressed owner 3=0 normal"},
               {"toggle push button without active picture", toggleTwice,
                "owner pressed pressed owner 3=1 pressed owner pressed owner 3=0 normal"},
               {"keeping push button", "click 20 20; click 20 20; set 1; click 20 20; shows",
                "owner pressed owner 3=0 owner pressed owner 3=0 owner pressed owner 3=1 active"},
               {"push button", "move 20 20 none; set 0; shows; set 0.7; shows; set 0.2; shows; set nan",
                "hover pressed normal", 0.2f}});
}

// A left drag presses every button it enters, leaving their state to the owner; a left press
// on a button that is on does nothing, a right press releases it.
TEST(Buttons, SlideModePressesEveryButtonTheDragEnters)
{
    Scene scene;
    std::vector<PushButton*> row;
    for (int i = 0; i < 3; ++i)
    {
        row.push_back(static_cast<PushButton*>(scene.make("push button", CPoint(10 + 50 * i, 10))));
        row.back()->tag = i;
        row.back()->slideMode = true;
    }
    scene.play(row[0], "move 20 20 none; press 20 20; move 21 20; move 70 20; move 120 20; release 130 20; shows");
    EXPECT_EQ(scene.log.told(), "owner pressed owner 0=1 owner pressed owner 1=1 owner pressed owner 2=1 pressed");
    for (PushButton* button : row)
        EXPECT_FALSE(button->on);
    row[0]->on = true;
    scene.play(row[0], "press 20 20; say left; press 20 20 right; shows");
    EXPECT_EQ(scene.log.told(), "left owner 0=0 normal");
}

// Unlocked, the member that is on may go off. Locked, the group holds the member that is on
// and switches the old one off (a picture button's listener hears 0 before the new member's
// 1); a member pushed in by the owner takes over; a removed member leaves no pointer behind.
template <typename Group, typename Member>
void checkRadioGroup(const char* kind, const std::string& lockedStory)
{
    Scene scene;
    Group group;
    std::vector<Member*> members;
    for (int i = 0; i < 3; ++i)
    {
        members.push_back(static_cast<Member*>(scene.make(kind, CPoint(10 + 50 * i, 10))));
        group.addButton(members.back());
    }
    group.lock = false;
    scene.play(members[0], "click 20 20; click 20 20");
    EXPECT_FALSE(members[0]->on || members[0]->disabled);
    group.lock = true;
    scene.log.told();
    scene.play(members[0], "click 20 20; click 20 20; say then; click 120 20");
    EXPECT_EQ(scene.log.told(), lockedStory);
    EXPECT_TRUE(members[2]->on && members[2]->disabled);
    EXPECT_FALSE(members[0]->on || members[0]->disabled);
    members[1]->setValue(1.f);
    EXPECT_FALSE(members[2]->on);
    EXPECT_EQ(group.current, members[1]);
    group.removeButton(members[0]);
    EXPECT_EQ(group.current, members[1]) << "removing another member keeps the current one";
    for (Member* member : members)
        scene.frame->removeView(member);
    EXPECT_EQ(group.current, nullptr);
}

TEST(Buttons, RadioGroupsKeepOneMemberOnAndLockIt)
{
    checkRadioGroup<ButtonGroup, Button>("toggle button", "begin 1 end declined then begin 0 1 end");
    checkRadioGroup<ButtonGroup2, PushButton>("toggle push button", "owner pressed owner 3=1 declined then owner pressed owner 3=1");
}
