// Offscreen renders: pictures that failed to load draw nothing and never break a widget, a
// film-strip frame shows its own rows or nothing, and copies hold their own pictures and timers.
#include "controls/FilmStrip.h"
#include "widget_test_support.h"
#include <climits>
#include <gtest/gtest.h>

using namespace VSTGUI;
using namespace WidgetTest;

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

// At full scale the last frame lies furthest past a picture that is too short for its strip.
TEST(BrokenStrips, WidgetsDrawNothingFromThemAtAnyZoom)
{
    for (const char* file : {"missing.png", "short.png"})
        for (const char* kind : {"3-frame toggle", "knob", "fader", "strip spin box", "strip spin box from 13",
                                 "keyboard"})
        {
            SCOPED_TRACE(std::string(kind) + " with " + file);
            Scene scene;
            scene.folder.writeBands("short.png", 20, 1, {kRedCColor});
            scene.brokenPicture = file;
            CView* view = scene.make(kind);
            setValueOf(view, 1.f);
            for (double zoom : {1.0, 2.0})
                EXPECT_TRUE(blank(renderView(*view, zoom))) << zoom;
        }
}

// A frame shows only its own rows, from odd coordinates and a rectangle taller than a frame,
// at every zoom. Indices past either end draw nothing, the frame count too when rows are left
// below the last frame.
TEST(FilmStripFrames, ShowTheirOwnRowsOrNothingAtEveryZoom)
{
    ToolkitTest::ResourceFolder folder;
    constexpr int frames = 5;
    // Five frames of 10 rows in bands of 5, and half a sixth frame's rows below them.
    CBitmap* strip = numberedStrip(folder, "strip.png", 10, 5, 2 * frames + 1, 2);
    for (int32 badCount : {0, -1})
        EXPECT_EQ(FilmStrip::frameHeight(strip, badCount), 0) << badCount;
    EXPECT_EQ(FilmStrip::frameHeight(nullptr, frames), 0);
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
                                return opaque(pixel) && frameIndexOf(pixel) == index;
                            }).count;
            EXPECT_EQ(own, inkWhere(image, opaque).count);
            auto whole = [zoom](double coordinate) { return int(std::floor(coordinate * zoom + 0.5)); };
            EXPECT_EQ(own, exists ? (whole(15) - whole(5)) * (whole(13) - whole(3)) : 0);
        }
    }
    strip->forget();
}

// A copy shows what the original showed after the original is gone; a menu's copy hides on
// its own timer.
TEST(WidgetCopies, OutliveTheOriginalAndStillDrawTheirPicturesAndTimers)
{
    for (const char* kind : {"toggle button", "push button", "strip spin box", "pictured spin box", "handle switch",
                             "strip switch", "picture slider", "menu"})
    {
        SCOPED_TRACE(kind);
        Scene scene;
        CView* original = scene.make(kind);
        if (std::string(kind) != "menu")
            setValueOf(original, 1.f);
        CView* copy = scene.add(original->newCopy());
        copy->setViewSize(CRect(original->getViewSize()).offset(0, 100));
        const OffscreenImage before = renderView(*original);
        scene.frame->removeView(original);
        scene.held.clear();
        const OffscreenImage after = renderView(*copy);
        EXPECT_FALSE(blank(after));
        for (int y = 0; y < after.getHeight(); y += 3)
            for (int x = 0; x < after.getWidth(); x += 3)
                ASSERT_EQ(after.getPixel(x, y), before.getPixel(x, y)) << x << ", " << y;
    }
    Scene scene;
    CView* original = scene.make("menu");
    CView* copy = scene.add(original->newCopy());
    scene.frame->removeView(original);
    scene.play(copy, "move 150 60 none; move 300 60 none; wait 300; seen");
    EXPECT_EQ(scene.log.told(), "hidden");
}
