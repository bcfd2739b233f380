// Picture button: strip frames by state, momentary and toggle clicks, pushed-in values,
// right clicks, the disabled state and the hover picture.
#include "controls/Button.h"
#include "editor/Vextoria3Editor.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

using Calls = std::vector<std::string>;

struct ButtonScene : ::testing::Test
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;

    Button* addButton(bool toggle, int frames = 0)
    {
        auto* button = scene.add(new Button(CRect(10, 10, 50, 30), &scene.log, 3));
        button->toggle = toggle;
        if (frames)
        {
            CBitmap* strip = numberedStrip(folder, "strip.png", 40, 20, frames);
            button->setButtonPix(strip, frames);
            strip->forget();
        }
        return button;
    }
    // The strip frame shown, the same at zoom 1 and 2; -1 when they differ.
    static int shownFrame(Button& button)
    {
        const int atOne = frameIndexOf(renderView(button).getPixel(20, 10));
        return atOne == frameIndexOf(renderView(button, 2).getPixel(40, 20)) ? atOne : -1;
    }
};

// Records right clicks and releases; the buttons call it as their owner.
struct ClickOwner : Vextoria3Editor
{
    ClickOwner() : Vextoria3Editor(nullptr, nullptr) {}
    std::vector<std::pair<int, CPoint>> rightClicks;
    int releases = 0;
    void onRightClick(int tag, CPoint& where) { rightClicks.emplace_back(tag, where); }
    void onRelease() { ++releases; }
};
const auto kRightClick = static_cast<Button::RightClickCallback>(&ClickOwner::onRightClick);

} // namespace

TEST_F(ButtonScene, ToggleStripShowsPressedWhileHeldAndOnFrameByStripLength)
{
    for (auto [frames, held, on] : {std::tuple{2, 1, 1}, std::tuple{3, 1, 2}})
    {
        SCOPED_TRACE(frames);
        Button* button = addButton(true, frames);
        EXPECT_EQ(shownFrame(*button), 0);
        scene.press(20, 20);
        EXPECT_EQ(shownFrame(*button), held);
        scene.release(20, 20);
        EXPECT_EQ(shownFrame(*button), on);
        scene.click(20, 20);
        EXPECT_EQ(shownFrame(*button), 0);
        scene.frame->removeView(button);
    }
}

TEST_F(ButtonScene, MomentaryReportsOneThenZeroInOneEditAndToggleReportsOnTheRelease)
{
    Button* momentary = addButton(false);
    scene.press(20, 20);
    EXPECT_FLOAT_EQ(momentary->getValue(), 1.f);
    scene.release(390, 290); // far away: still the release
    EXPECT_FLOAT_EQ(momentary->getValue(), 0.f);
    EXPECT_EQ(scene.log.values, (std::vector<float>{1.f, 0.f}));
    EXPECT_EQ(scene.log.calls, (Calls{"begin", "value", "value", "end"}));
    EXPECT_FALSE(momentary->isEditing());
    scene.frame->removeView(momentary);

    scene.log.clear();
    Button* toggle = addButton(true);
    scene.press(20, 20);
    EXPECT_TRUE(scene.log.calls.empty());
    scene.release(20, 20);
    EXPECT_EQ(scene.log.calls, (Calls{"begin", "value", "end"}));
    scene.click(20, 20);
    EXPECT_EQ(scene.log.values, (std::vector<float>{1.f, 0.f}));
    EXPECT_FALSE(toggle->on);
}

TEST_F(ButtonScene, PushedInValuesSwitchAtTheThresholdWithoutTellingTheListener)
{
    Button* button = addButton(true);
    button->setValue(0.5f);
    EXPECT_TRUE(button->on);
    button->setValue(0.49f);
    EXPECT_FALSE(button->on);
    button->setValue(std::nanf(""));
    EXPECT_FALSE(button->on);
    EXPECT_FLOAT_EQ(button->getValue(), 0.49f);
    EXPECT_TRUE(scene.log.calls.empty());
}

TEST_F(ButtonScene, StripOnlyButtonDrawsNoCaption)
{
    Button* button = addButton(false, 2);
    button->text = "CAPTION";
    button->textColor = kBlackCColor;
    OffscreenImage image = renderView(*button);
    for (int x = 0; x < 40; x += 3)
        ASSERT_EQ(frameIndexOf(image.getPixel(x, 10)), 0) << x;
}

TEST_F(ButtonScene, RightClickRunsTheOwnersCallbackOnlyAfterARightPress)
{
    ClickOwner owner;
    auto* button = scene.add(new Button(CRect(10, 10, 50, 30), &owner, 9));
    scene.release(20, 20, kRButton); // no press on this button
    scene.click(20, 20, kRButton);   // no callback yet
    EXPECT_TRUE(owner.rightClicks.empty());

    button->rightClickCallback = kRightClick;
    button->releaseClickCallback = static_cast<Button::ReleaseClickCallback>(&ClickOwner::onRelease);
    scene.press(20, 20, kRButton);
    scene.release(25, 22, kRButton);
    ASSERT_EQ(owner.rightClicks.size(), 1u);
    EXPECT_EQ(owner.rightClicks[0], std::make_pair(9, CPoint(25, 22)));
    scene.click(20, 20);
    EXPECT_EQ(owner.releases, 1);

    button->setListener(nullptr); // no owner to call back
    scene.click(20, 20, kRButton);
    EXPECT_EQ(owner.rightClicks.size(), 1u);
}

TEST_F(ButtonScene, DisabledButtonDeclinesLeftClicksAndHoverButKeepsRightClicks)
{
    ClickOwner owner;
    Button button(CRect(0, 0, 40, 20), &owner, 4);
    button.toggle = true;
    button.rightClickCallback = kRightClick;
    button.disabled = true;
    CPoint where(5, 5);
    EXPECT_EQ(button.onMouseDown(where, CButtonState(kLButton)), kMouseEventNotHandled);
    EXPECT_EQ(button.onMouseUp(where, CButtonState(kLButton)), kMouseEventNotHandled);
    EXPECT_EQ(button.onMouseEntered(where, CButtonState()), kMouseEventNotHandled);
    EXPECT_EQ(button.onMouseExited(where, CButtonState()), kMouseEventNotHandled);
    EXPECT_EQ(button.onMouseDown(where, CButtonState(kRButton)), kMouseEventHandled);
    EXPECT_EQ(button.onMouseUp(where, CButtonState(kRButton)), kMouseEventHandled);
    EXPECT_EQ(owner.rightClicks.size(), 1u);

    button.setValue(1.f); // only stored
    EXPECT_FLOAT_EQ(button.getValue(), 1.f);
    EXPECT_FALSE(button.on);
}

TEST_F(ButtonScene, HoverPictureNeverHidesTheOnPicture)
{
    Button* button = addButton(true);
    givePictures(folder, *button, 40, 20);
    CPoint where(20, 20);
    button->onMouseEntered(where, CButtonState());
    EXPECT_EQ(button->currentPix, button->hoverPix);
    button->onMouseExited(where, CButtonState());
    EXPECT_EQ(button->currentPix, button->normalPix);

    button->setValue(1.f);
    button->onMouseEntered(where, CButtonState());
    EXPECT_EQ(button->currentPix, button->activePix);
    button->onMouseExited(where, CButtonState());
    EXPECT_EQ(button->currentPix, button->activePix);
    EXPECT_EQ(renderView(*button).getPixel(5, 5), kActive);
}
