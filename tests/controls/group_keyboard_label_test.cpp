// Radio groups of picture buttons, the on-screen keyboard's notes, and the tag label.
#include "controls/Button.h"
#include "controls/ButtonGroup.h"
#include "controls/Keyboard.h"
#include "controls/LeftLabel.h"
#include "offscreen.h"
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

TEST_F(GroupScene, UnlockedGroupLetsTheCurrentMemberGoOff)
{
    group.lock = false;
    scene.click(10, 10);
    scene.click(10, 10);
    EXPECT_FALSE(first->on);
    EXPECT_FALSE(first->disabled);
    first->setValue(1.f);
    first->setValue(1.f); // switching on the member already on keeps it on
    EXPECT_TRUE(first->on);
}

TEST_F(GroupScene, RemovingMembersForgetsOnlyTheCurrentOne)
{
    first->setValue(1.f);
    group.removeButton(second);
    EXPECT_EQ(group.current, first);
    group.removeButton(first);
    EXPECT_EQ(group.current, nullptr);
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
    struct Case
    {
        double x, y;
        int note;
    };
    for (Case c : {Case{25, 35, 40}, Case{25, 10, 40}, Case{10, 10, 37}, Case{8, 10, 37}, Case{5, 30, 36},
                   Case{38, 10, 42}, Case{31, 10, 41}})
    {
        notes.notes.clear();
        scene.click(c.x, c.y);
        const int velocity = int(c.y / (c.note == 37 || c.note == 42 ? 25.0 : 40.0) * 127);
        ASSERT_EQ(notes.notes.size(), 2u) << c.x;
        EXPECT_EQ(notes.notes[0], (std::array<int, 3>{144, c.note, velocity})) << c.x << "," << c.y;
        EXPECT_EQ(notes.notes[1][0], 128);
        EXPECT_EQ(notes.notes[1][1], c.note);
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
    OffscreenImage image = renderView(keyboard);
    EXPECT_EQ(image.getPixel(10, 30).alpha, 0);
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
    OffscreenImage withText = renderView(label);
    int dark = 0;
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 20; ++y)
            dark += withText.getPixel(x, y).green < 128;
    EXPECT_GT(dark, 5);
}
