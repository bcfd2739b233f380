// Bitmap fader: jumps to a click beside the handle, keeps the grab point on the handle,
// resets on Ctrl-click, ignores other buttons and the wheel; strip frame by value.
#include "controls/Fader2.h"
#include "widget_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

struct FaderScene : ::testing::Test
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;

    // A vertical fader 20 x 200 at (10, 50) with a 100-frame strip and the 32-pixel band.
    Fader2* addVertical()
    {
        CBitmap* strip = numberedStrip(folder, "fader.png", 20, 200, 100);
        auto* fader = scene.add(new Fader2(CRect(10, 50, 30, 250), &scene.log, 7, nullptr));
        fader->setFaderPix(strip, 100);
        fader->style = Fader2::kVertical;
        strip->forget();
        return fader;
    }
    // Clicks where the fader was last drawn, as the user sees it.
    void clickDrawn(Fader2& fader, CCoord y, int32 state = kLButton)
    {
        renderView(fader);
        scene.click(20, y, state);
    }
};

} // namespace

TEST_F(FaderScene, ClickBesideTheBandJumpsTheHandleCentreToThePointer)
{
    Fader2* fader = addVertical();
    for (auto [y, expected] : {std::pair{50.0, 1.f}, std::pair{249.0, 0.f}, std::pair{150.0, 1.f - 84.f / 168.f}})
    {
        fader->setValue(y == 249.0 ? 1.f : 0.f); // the band sits at the far end
        clickDrawn(*fader, y);
        EXPECT_FLOAT_EQ(fader->getValue(), expected) << y;
    }
    EXPECT_EQ(scene.log.values.size(), 3u);
}

TEST_F(FaderScene, DragOnTheBandMovesByThePointerOnly)
{
    Fader2* fader = addVertical();
    fader->setValue(0.5f); // band from y 134 to 166
    renderView(*fader);
    scene.press(20, 160);
    EXPECT_TRUE(scene.log.values.empty());
    scene.move(20, 160 - 42);
    EXPECT_FLOAT_EQ(fader->getValue(), 0.75f);
    scene.move(20, 160 - 42); // unchanged: nothing
    scene.release(20, 100);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.75f});
    EXPECT_EQ(scene.log.calls, (std::vector<std::string>{"begin", "value", "end"}));
}

TEST_F(FaderScene, CtrlClickResetsAndReportsEvenAtTheDefaultOtherButtonsAndTheWheelDoNothing)
{
    Fader2* fader = addVertical();
    fader->setValue(0.2f);
    for (int32 state : {int32(kRButton), int32(kMButton), kLButton | kRButton})
        clickDrawn(*fader, 60, state);
    EXPECT_FALSE(scene.wheel(20, 100, 1.f));
    EXPECT_FLOAT_EQ(fader->getValue(), 0.2f);
    EXPECT_TRUE(scene.log.calls.empty());

    fader->setDefaultValue(0.2f);
    clickDrawn(*fader, 60, kLButton | kControl);
    EXPECT_FLOAT_EQ(fader->getValue(), 0.2f);
    EXPECT_EQ(scene.log.values, std::vector<float>{0.2f});
}

TEST_F(FaderScene, StripFrameFollowsTheValue)
{
    Fader2* fader = addVertical();
    for (auto [value, frame] : {std::pair{1.f, 99}, std::pair{0.5f, 49}, std::pair{0.f, 0}})
    {
        fader->setValue(value);
        EXPECT_EQ(frameIndexOf(renderView(*fader, 2).getPixel(20, 200)), frame) << value;
    }
}

TEST_F(FaderScene, HandlePictureSlidesSideways)
{
    CBitmap* handle = solidPicture(folder, "handle.png", 10, 20, kRedCColor);
    auto* fader = scene.add(new Fader2(CRect(0, 0, 110, 20), &scene.log, 8, nullptr));
    fader->setHandle(handle);
    handle->forget();
    fader->setValue(0.5f);
    OffscreenImage image = renderView(*fader);
    EXPECT_EQ(image.getPixel(55, 10), kRedCColor);
    EXPECT_EQ(image.getPixel(45, 10).alpha, 0);
    scene.click(105, 10); // beside the handle: its centre jumps to the pointer
    EXPECT_FLOAT_EQ(fader->getValue(), 1.f);
}
