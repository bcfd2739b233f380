// Offscreen renders: pictures that failed to load draw nothing and never break a widget, and
// copies hold their own pictures and timers.
#include "controls/Button.h"
#include "controls/Fader2.h"
#include "controls/FilmStrip.h"
#include "controls/HSlider.h"
#include "controls/Keyboard.h"
#include "controls/Knob.h"
#include "controls/Menu.h"
#include "controls/PushButton.h"
#include "controls/SpinBox.h"
#include "controls/SpinBox2.h"
#include "controls/Switch.h"
#include "controls/Switch2.h"
#include "widget_test_support.h"
#include <climits>
#include <functional>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

namespace {

using Make = std::function<CView*(CBitmap*)>;
const CRect kBox(0, 0, 20, 20);

} // namespace

TEST(BrokenPictures, WidgetsDrawNothingFromThemAtAnyZoom)
{
    ToolkitTest::ResourceFolder folder;
    folder.writeBands("short.png", 20, 10, {kRedCColor}); // 10 pixels for 127 frames
    const std::vector<std::pair<const char*, std::function<CControl*(CBitmap*)>>> widgets{
        {"button strip", [](CBitmap* strip) {
             auto* button = new Button(kBox, nullptr, 0);
             button->setButtonPix(strip, 127);
             return button;
         }},
        {"knob", [](CBitmap* strip) { return new Knob(kBox, nullptr, 0, strip, 127); }},
        {"fader", [](CBitmap* strip) {
             auto* fader = new Fader2(kBox, nullptr, 0, nullptr);
             fader->setFaderPix(strip, 127);
             return fader;
         }},
        {"keyboard", [](CBitmap* keys) { return new Keyboard(kBox, nullptr, 0, nullptr, keys, keys); }},
    };
    for (const char* file : {"missing.png", "short.png"})
        for (const auto& [name, make] : widgets)
        {
            SCOPED_TRACE(std::string(name) + " with " + file);
            CBitmap* bitmap = new CBitmap(CResourceDescription(file));
            CControl* control = make(bitmap);
            bitmap->forget();
            control->setValue(1.f); // the last frame lies furthest past a short strip
            // A one-pixel-high key picture must only not fail.
            const bool drawsNothing = std::string(name) != "keyboard" || std::string(file) == "missing.png";
            for (double zoom : {1.0, 2.0})
                EXPECT_TRUE(blank(renderView(*control, zoom)) || !drawsNothing) << zoom;
            control->forget();
        }
}

namespace {

// Draws one frame of a strip into its whole rectangle.
class FrameView : public CView
{
public:
    FrameView(const CRect& size, CBitmap* strip, int32 frameHeight, int32 index)
        : CView(size), strip(strip), frameHeight(frameHeight), index(index)
    {
    }
    void draw(CDrawContext* context) override { FilmStrip::drawFrame(context, strip, size, frameHeight, index); }

private:
    CBitmap* strip;
    int32 frameHeight, index;
};

} // namespace

// A frame shows only its own rows, from odd coordinates and a rectangle taller than a frame,
// at every zoom; indices past either end of the strip draw nothing.
TEST(FilmStripFrames, ShowTheirOwnRowsOrNothingAtEveryZoom)
{
    ToolkitTest::ResourceFolder folder;
    constexpr int frames = 5;
    CBitmap* strip = numberedStrip(folder, "strip.png", 10, 10, frames);
    for (int32 index : {frames - 1, 2, frames, -1, INT_MAX})
    {
        CViewContainer container(CRect(0, 0, 20, 24));
        container.setTransparency(true);
        container.addView(new FrameView(CRect(3, 5, 13, 19), strip, 10, index));
        const bool exists = index >= 0 && index < frames;
        for (double zoom : {0.75, 1.0, 1.5, 2.0})
        {
            SCOPED_TRACE(testing::Message() << "frame " << index << " at zoom " << zoom);
            const OffscreenImage image = renderView(container, zoom);
            const int own = inkWhere(image, [index](const CColor& pixel) {
                                return pixel.alpha != 0 && frameIndexOf(pixel) == index;
                            }).count;
            EXPECT_EQ(own, inkWhere(image, [](const CColor& pixel) { return pixel.alpha != 0; }).count);
            auto whole = [zoom](double coordinate) { return int(std::floor(coordinate * zoom + 0.5)); };
            EXPECT_EQ(own, exists ? (whole(15) - whole(5)) * (whole(13) - whole(3)) : 0);
        }
    }
    strip->forget();
}

TEST(WidgetCopies, OutliveTheOriginalAndStillDrawTheirPictures)
{
    ToolkitTest::ResourceFolder folder;
    const std::vector<std::pair<const char*, Make>> widgets{
        {"button", [](CBitmap* picture) {
             auto* button = new Button(kBox, nullptr, 0);
             button->setActivePix(picture);
             button->toggle = true;
             button->setValue(1.f);
             return button;
         }},
        {"push button", [](CBitmap* picture) {
             auto* button = new PushButton(kBox, nullptr, 0);
             button->setNormalPix(picture);
             return button;
         }},
        {"spin box strip", [](CBitmap* picture) {
             auto* box = new SpinBox2(kBox, nullptr, 0, picture);
             box->maximum = 0; // one frame: the whole picture
             return box;
         }},
        {"spin box picture", [](CBitmap* picture) { return new SpinBox(kBox, nullptr, 0, picture); }},
        {"switch", [](CBitmap* picture) { return new Switch(kBox, nullptr, 0, picture, nullptr, 2); }},
        {"strip switch", [](CBitmap* picture) {
             auto* control = new Switch2(kBox, nullptr, 0, 1, Switch2::kVertical);
             control->setStrip(picture);
             return control;
         }},
        {"picture slider", [](CBitmap* picture) {
             auto* slider = new HSlider(kBox, nullptr, 0);
             slider->setHandle(picture);
             return slider;
         }},
    };
    for (const auto& [name, make] : widgets)
    {
        SCOPED_TRACE(name);
        CBitmap* picture = solidPicture(folder, "blue.png", 20, 20, kBlueCColor);
        CView* original = make(picture);
        picture->forget();
        CView* copy = original->newCopy();
        ASSERT_NE(copy, nullptr);
        original->forget();
        EXPECT_EQ(renderView(*copy).getPixel(2, 2), kBlueCColor);
        copy->forget();
    }
}

TEST(WidgetCopies, MenuCopyHidesOnItsOwnTimer)
{
    ToolkitTest::ResourceFolder folder;
    Scene scene;
    auto* original = new Menu(CRect(0, 0, 100, 48), nullptr);
    original->addItem("One");
    auto* copy = scene.add(static_cast<Menu*>(original->newCopy()));
    original->forget();
    ASSERT_EQ(copy->itemCount, 1);
    scene.move(50, 10, 0);
    scene.move(300, 10, 0);
    scene.runLoop.advance(300);
    EXPECT_FALSE(copy->isVisible());
}
