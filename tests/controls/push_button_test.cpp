// Push buttons: editor callbacks on press and release, mouse-button states, toggles, pushed-in
// values, refusals, slide mode across a row, hover pictures, radio groups and drawing.
#include "controls/ButtonGroup2.h"
#include "controls/PushButton.h"
#include "editor/Vextoria3Editor.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

using Calls = std::vector<std::string>;

// Logs the callbacks the buttons make on their owner.
struct EditorSpy : Vextoria3Editor
{
    EditorSpy() : Vextoria3Editor(nullptr, nullptr) {}
    Calls calls;
    void onValue(int tag, float value) { calls.push_back("value " + std::to_string(tag) + " " + std::to_string(int(value))); }
    void onPressed() { calls.push_back("pressed"); }
};

const auto kValueCallback = static_cast<PushButton::ValueChangedCallback>(&EditorSpy::onValue);
const auto kPressedCallback = static_cast<PushButton::PressedCallback>(&EditorSpy::onPressed);

struct PushButtonScene : ::testing::Test
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;
    EditorSpy editor;

    PushButton* addButton(CCoord left = 10, int tag = 3)
    {
        auto* button = scene.add(new PushButton(CRect(left, 10, left + 40, 30), &editor, tag));
        button->valueChangedCallback = kValueCallback;
        button->pressedCallback = kPressedCallback;
        return button;
    }
    void giveAll(PushButton& button, bool withActive = true) { givePictures(folder, button, 40, 20, withActive); }
    // Three buttons with pictures, 50 pixels apart, tagged 0, 1 and 2.
    std::vector<PushButton*> addRow()
    {
        std::vector<PushButton*> row;
        for (int i = 0; i < 3; ++i)
        {
            row.push_back(addButton(10 + 50 * i, i));
            giveAll(*row.back());
        }
        return row;
    }
    // The colour shown, the same at zoom 1 and 2 (transparent when they differ).
    static CColor shown(PushButton& button)
    {
        const CColor atOne = renderView(button).getPixel(20, 10);
        return renderView(button, 2).getPixel(40, 20) == atOne ? atOne : CColor(0, 0, 0, 0);
    }
};

} // namespace

TEST_F(PushButtonScene, MomentaryPressCallsOwnerBeforeTheReleaseAndOnlyTheCallbacksSet)
{
    PushButton* button = addButton();
    giveAll(*button);
    EXPECT_EQ(scene.press(20, 20), kMouseEventHandled);
    EXPECT_EQ(editor.calls, (Calls{"value 3 1", "pressed"}));
    EXPECT_EQ(button->value, 1.f);
    EXPECT_EQ(shown(*button), kPressed);
    scene.release(20, 20);
    EXPECT_EQ(editor.calls, (Calls{"value 3 1", "pressed", "value 3 0"}));
    EXPECT_EQ(button->value, 0.f);
    EXPECT_EQ(shown(*button), kNormal);
    EXPECT_TRUE(scene.log.values.empty()) << "push buttons never use a control listener";

    editor.calls.clear();
    button->valueChangedCallback = nullptr;
    scene.click(20, 20);
    EXPECT_EQ(editor.calls, Calls{"pressed"});
    button->owner = nullptr;
    scene.click(20, 20);
    EXPECT_EQ(editor.calls.size(), 1u);
}

TEST_F(PushButtonScene, OnlyTheLeftButtonAloneCountsAsALeftPress)
{
    const Calls click{"value 3 1", "pressed", "value 3 0"};
    for (auto [state, calls] : {std::pair{kLButton | kShift, click}, std::pair{kLButton | kControl, click},
                                std::pair{kLButton | kRButton, Calls{}}, std::pair{int32(kRButton), Calls{}},
                                std::pair{int32(kMButton), Calls{}}})
    {
        SCOPED_TRACE(state);
        editor.calls.clear();
        PushButton* button = addButton();
        EXPECT_EQ(scene.press(20, 20, state), kMouseEventHandled);
        scene.release(20, 20, state);
        EXPECT_EQ(editor.calls, calls);
        EXPECT_FALSE(button->mouseDown);
        EXPECT_FALSE(button->rightDown);
        scene.frame->removeView(button);
    }
}

TEST_F(PushButtonScene, ToggleFlipsOnEachReleaseAndShowsItsOnPicture)
{
    for (bool withActive : {true, false})
    {
        SCOPED_TRACE(withActive ? "with active picture" : "pressed picture stands in");
        editor.calls.clear();
        PushButton* button = addButton();
        button->toggle = true;
        giveAll(*button, withActive);
        const CColor onColour = withActive ? kActive : kPressed;
        scene.press(20, 20);
        EXPECT_EQ(editor.calls, Calls{"pressed"});
        EXPECT_EQ(shown(*button), kPressed);
        scene.release(20, 20);
        EXPECT_TRUE(button->on);
        EXPECT_EQ(shown(*button), onColour);
        scene.click(20, 20);
        EXPECT_FALSE(button->on);
        EXPECT_EQ(shown(*button), kNormal);
        EXPECT_EQ(editor.calls, (Calls{"pressed", "value 3 1", "pressed", "value 3 0"}));
        scene.frame->removeView(button);
    }
}

TEST_F(PushButtonScene, ToggleKeepingItsStateReportsItOnEveryRelease)
{
    PushButton* button = addButton();
    button->toggle = true;
    button->keepStateOnUp = true;
    giveAll(*button);
    for (int i = 0; i < 2; ++i)
        scene.click(20, 20);
    EXPECT_FALSE(button->on);
    EXPECT_EQ(editor.calls, (Calls{"pressed", "value 3 0", "pressed", "value 3 0"}));
    button->setValue(1.f);
    editor.calls.clear();
    scene.click(20, 20);
    EXPECT_TRUE(button->on);
    EXPECT_EQ(shown(*button), kActive);
    EXPECT_EQ(editor.calls, (Calls{"pressed", "value 3 1"}));
}

TEST_F(PushButtonScene, HoverFollowsThePointerAndPushedInValuesAreNotReported)
{
    PushButton* button = addButton();
    giveAll(*button);
    scene.move(20, 20, 0);
    ASSERT_EQ(shown(*button), kHover);
    scene.move(100, 100, 0);
    EXPECT_EQ(shown(*button), kNormal);
    scene.move(20, 20, 0);
    button->setValue(0.f);
    EXPECT_EQ(shown(*button), kHover) << "the value it holds: not even the picture changes";
    button->setValue(0.7f);
    EXPECT_EQ(shown(*button), kPressed);
    EXPECT_EQ(button->value, 0.7f);
    button->setValue(0.2f);
    EXPECT_EQ(shown(*button), kNormal);
    button->setValue(std::nanf(""));
    EXPECT_EQ(button->value, 0.2f);
    EXPECT_TRUE(editor.calls.empty());
    button->toggle = true;
    button->setValue(1.f);
    scene.move(100, 100, 0);
    scene.move(20, 20, 0);
    EXPECT_EQ(shown(*button), kActive) << "hover never hides the on picture";
}

TEST_F(PushButtonScene, DisabledOrLockedButtonsRefuseTheLeftButton)
{
    for (bool locked : {false, true})
    {
        SCOPED_TRACE(locked ? "locked" : "disabled");
        PushButton* button = addButton();
        giveAll(*button);
        (locked ? button->locked : button->disabled) = true;
        EXPECT_EQ(scene.press(20, 20), kMouseEventNotHandled);
        CPoint where(20, 20);
        EXPECT_EQ(button->onMouseUp(where, CButtonState(kLButton)), kMouseEventNotHandled);
        EXPECT_NE(shown(*button), kPressed);
        EXPECT_TRUE(editor.calls.empty());
        scene.frame->removeView(button);
    }
}

TEST_F(PushButtonScene, SlideModeLeftDragPressesEveryButtonItEntersAndRightPressReleasesOnes)
{
    std::vector<PushButton*> row = addRow();
    for (PushButton* button : row)
        button->slideMode = true;
    scene.move(20, 20, 0); // over the first button before the press, as a hand would be
    EXPECT_EQ(scene.press(20, 20), kMouseMoveEventHandledButDontNeedMoreEvents);
    for (CCoord x = 21; x <= 130; x += 5)
        scene.move(x, 20);
    scene.release(130, 20);
    EXPECT_EQ(editor.calls, (Calls{"pressed", "value 0 1", "pressed", "value 1 1", "pressed", "value 2 1"}));
    for (PushButton* button : row)
    {
        EXPECT_EQ(shown(*button), kPressed);
        EXPECT_FALSE(button->on) << "slide mode leaves the state to the owner";
    }

    editor.calls.clear();
    row[0]->on = true;
    EXPECT_EQ(scene.press(20, 20), kMouseMoveEventHandledButDontNeedMoreEvents);
    EXPECT_TRUE(editor.calls.empty()) << "a left press on a button that is on does nothing";
    scene.press(20, 20, kRButton);
    EXPECT_EQ(editor.calls, Calls{"value 0 0"});
    EXPECT_EQ(shown(*row[0]), kNormal);
}

TEST_F(PushButtonScene, RadioGroupKeepsOneButtonOnAndLocksIt)
{
    ButtonGroup2 group;
    std::vector<PushButton*> buttons = addRow();
    for (PushButton* button : buttons)
    {
        button->toggle = true;
        group.addButton(button);
    }
    scene.click(20, 20);
    scene.click(120, 20);
    EXPECT_FALSE(buttons[0]->on);
    EXPECT_FALSE(buttons[0]->disabled);
    EXPECT_EQ(shown(*buttons[0]), kNormal);
    EXPECT_TRUE(buttons[2]->on);
    EXPECT_TRUE(buttons[2]->disabled);
    EXPECT_EQ(group.current, buttons[2]);
    editor.calls.clear();
    EXPECT_EQ(scene.press(120, 20), kMouseEventNotHandled) << "the button that is on cannot be clicked off";
    EXPECT_TRUE(editor.calls.empty());

    buttons[1]->setValue(1.f); // pushed in by the owner: the group follows
    EXPECT_FALSE(buttons[2]->on);
    EXPECT_EQ(group.current, buttons[1]);
    scene.frame->removeView(buttons[1]);
    EXPECT_EQ(group.current, nullptr) << "a removed button leaves the group";
}

TEST_F(PushButtonScene, DrawsNothingWithoutPicturesAndDimsWhenAsked)
{
    PushButton* button = addButton();
    EXPECT_EQ(renderView(*button).getPixel(20, 10).alpha, 0);
    EXPECT_EQ(scene.press(20, 20), kMouseEventHandled) << "still answers the mouse";
    giveAll(*button);
    button->dimmed = true;
    for (double zoom : {1.0, 2.0})
    {
        const CColor pixel = renderView(*button, zoom).getPixel(int(20 * zoom), int(10 * zoom));
        EXPECT_NEAR(pixel.alpha, 128, 2) << zoom;
    }
}

TEST_F(PushButtonScene, CaptionTakesTheOnTextAndColourWhileOn)
{
    PushButton* button = scene.add(new PushButton(CRect(0, 0, 120, 40), &editor, 0));
    button->toggle = true;
    CBitmap* black = solidPicture(folder, "black.png", 120, 40, kBlackCColor);
    button->setNormalPix(black);
    button->setPressedPix(black);
    black->forget();
    button->text = "OFF";
    button->activeText = "ONNNNNNN"; // wider, so its ink reaches further right
    // Caption ink is green or grey; the picture's scaled edge only fades to transparent black.
    auto inkRight = [&](double zoom) {
        return inkWhere(renderView(*button, zoom), [](const CColor& c) { return c.green > 40; }).last / zoom;
    };
    const double offRight = inkRight(1);
    EXPECT_GT(offRight, 0);
    button->setValue(1.f);
    EXPECT_GT(inkRight(1), offRight + 10);
    EXPECT_NEAR(inkRight(2), inkRight(1), 2);
}
