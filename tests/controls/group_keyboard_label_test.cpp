// Radio groups of picture buttons, the on-screen keyboard's notes, and the tag label.
#include "controls/Button.h"
#include "controls/ButtonGroup.h"
#include "controls/Keyboard.h"
#include "controls/LeftLabel.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

struct GroupScene : ::testing::Test
{
    Scene scene;
    ButtonGroup group;
    Button* first = addMember(CRect(0, 0, 20, 20));
    Button* second = addMember(CRect(30, 0, 50, 20));

    Button* addMember(const CRect& size)
    {
        auto* button = scene.add(new Button(size, &scene.log, 1));
        button->toggle = true;
        group.addButton(button);
        return button;
    }
};

struct NoteLog : KeyboardListener
{
    std::vector<std::array<int, 3>> notes;
    void keyboardMidi(int status, int note, int velocity) override { notes.push_back({status, note, velocity}); }
};

// Keys of 10 x 40 (white) and 6 x 25 (black) pixels; pressed halves below.
struct KeyboardScene : ::testing::Test
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;
    NoteLog notes;
    Keyboard* keyboard = nullptr;

    KeyboardScene()
    {
            folder.writeBands("white.png", 10, 80, {kWhiteCColor, kRedCColor});
        folder.writeBands("black.png", 6, 50, {kBlackCColor, kBlueCColor});
        CBitmap* white = new CBitmap(CResourceDescription("white.png"));
        CBitmap* black = new CBitmap(CResourceDescription("black.png"));
        keyboard = scene.add(new Keyboard(CRect(0, 0, 350, 40), &scene.log, 0, &notes, white, black));
        white->forget();
        black->forget();
    }
};

} // namespace

TEST_F(GroupScene, LockedGroupHoldsTheCurrentMemberAndSwitchesTheOldOneOff)
{
    scene.click(10, 10);
    EXPECT_TRUE(first->on);
    EXPECT_TRUE(first->disabled);
    EXPECT_EQ(group.current, first);
    scene.click(10, 10); // cannot be clicked off
    EXPECT_TRUE(first->on);

    scene.log.clear();
    scene.click(40, 10);
    EXPECT_TRUE(second->on);
    EXPECT_TRUE(second->disabled);
    EXPECT_FALSE(first->on);
    EXPECT_FALSE(first->disabled);
    // The old member's listener hears 0 before the new one's edit reports 1.
    EXPECT_EQ(scene.log.values, (std::vector<float>{0.f, 1.f}));
}

TEST_F(GroupScene, UnlockedGroupLetsTheCurrentMemberGoOffAndRemovedMembersLeaveNoPointer)
{
    group.lock = false;
    scene.click(10, 10);
    scene.click(10, 10);
    EXPECT_FALSE(first->on);
    EXPECT_FALSE(first->disabled);
    first->setValue(1.f);
    first->setValue(1.f); // switching on the member already on keeps it on
    EXPECT_TRUE(first->on);

    group.removeButton(second);
    EXPECT_EQ(group.current, first) << "removing another member keeps the current one";
    group.removeButton(first);
    EXPECT_EQ(group.current, nullptr);
    second->setValue(1.f); // still reports to the group
    EXPECT_EQ(group.current, second);
    scene.frame->removeView(second); // a member that goes leaves no dangling pointer
    EXPECT_EQ(group.current, nullptr);
}

TEST_F(KeyboardScene, PushedInValuesMarkAndReleaseNotes)
{
    keyboard->setValue(0.75f); // note on 64: white key 16
    EXPECT_TRUE(keyboard->whiteDown[16]);
    EXPECT_EQ(renderView(*keyboard).getPixel(165, 35), kRedCColor);
    keyboard->setValue(0.25f); // note off 64
    EXPECT_FALSE(keyboard->whiteDown[16]);
    keyboard->setMidiNote(144, 37); // C sharp: black slot 0
    EXPECT_TRUE(keyboard->blackDown[0]);
    for (int bad : {-1, 128, 20})
        keyboard->setMidiNote(144, bad);
    keyboard->setValue(std::nanf(""));
    EXPECT_EQ(std::count(keyboard->whiteDown.begin(), keyboard->whiteDown.end(), true), 0);
    EXPECT_TRUE(notes.notes.empty());
    EXPECT_FLOAT_EQ(keyboard->getValue(), 0.f);
}

TEST_F(KeyboardScene, PressesPlayTheKeyUnderThePointerWithDepthAsVelocity)
{
    for (auto [x, y, note] : {std::tuple{25., 35., 40}, {25., 10., 40}, {10., 10., 37}, {8., 10., 37}, {5., 30., 36},
                              {38., 10., 42}, {31., 10., 41}})
    {
        notes.notes.clear();
        scene.click(x, y);
        const int velocity = int(y / (note == 37 || note == 42 ? 25.0 : 40.0) * 127); // black keys are 25 high
        ASSERT_EQ(notes.notes.size(), 2u) << x;
        EXPECT_EQ(notes.notes[0], (std::array<int, 3>{144, note, velocity})) << x << "," << y;
        EXPECT_EQ(notes.notes[1], (std::array<int, 3>{128, note, notes.notes[1][2]}));
    }
    EXPECT_TRUE(scene.log.calls.empty());
}

TEST_F(KeyboardScene, SlidingToAnotherKeyEndsOneNoteAndStartsTheNext)
{
    scene.press(5, 35);
    scene.move(7, 35); // same key
    scene.move(15, 35);
    scene.move(500, 100); // clamped to the last key
    scene.release(500, 100);
    std::vector<std::array<int, 2>> played;
    for (auto& note : notes.notes)
        played.push_back({note[0], note[1]});
    EXPECT_EQ(played, (std::vector<std::array<int, 2>>{{144, 36}, {128, 36}, {144, 38}, {128, 38}, {144, 95}, {128, 95}}));
    EXPECT_EQ(std::count(keyboard->whiteDown.begin(), keyboard->whiteDown.end(), true), 0);
}

TEST(KeyboardWithoutPictures, StaysBlankAndSilent)
{
    NoteLog notes;
    Keyboard keyboard(CRect(0, 0, 100, 40), nullptr, 0, &notes, nullptr, nullptr);
    CPoint where(10, 30);
    keyboard.onMouseDown(where, CButtonState(kLButton));
    keyboard.onMouseUp(where, CButtonState(kLButton));
    keyboard.sendMidi(144, 3, 10, false);
    EXPECT_TRUE(notes.notes.empty());
    EXPECT_TRUE(blank(renderView(keyboard)));
}

TEST(LeftLabel, DrawsATagPointingRight)
{
    LeftLabel label(CRect(0, 0, 60, 20), "");
    label.fillColor = kGreenCColor;
    OffscreenImage image = renderView(label);
    EXPECT_EQ(image.getPixel(2, 2), kGreenCColor);
    EXPECT_EQ(image.getPixel(49, 18), kGreenCColor);
    EXPECT_TRUE(ToolkitTest::near(image.getPixel(58, 10), kGreenCColor, 80)); // the point
    EXPECT_EQ(image.getPixel(58, 1).alpha, 0);                                 // beside it
    EXPECT_EQ(image.getPixel(58, 18).alpha, 0);

    label.text = "Tag";
    label.fontColor = kBlackCColor;
    const Ink text = inkWhere(renderView(label), [](const CColor& c) { return c.green < 128; });
    EXPECT_GT(text.count, 5);
    EXPECT_LT(text.first, 30) << "the text sits at the left";
}
