// Both faces, each built once offscreen and probed: every control where its pictures were drawn
// for, the panels and the hidden overlay; then drawn at the four zooms (PNG files in the build
// folder) with the power button on top, the pads in Midi Slice and the overlay dimming it all.
#include "EditorHarness.h"
#include "artwork/LayoutTables.h"

#include "editor/FxView.h"
#include "editor/MidiSlicerView.h"
#include "editor/MyBitmap.h"
#include "editor/Oscilloscope.h"
#include "controls/SimpleDisplay.h"

using namespace EditorTest;

namespace {

int distance(const CColor& a, const CColor& b)
{
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

class FacesTest : public EditorFixture {
protected:
    // The window at view size `viewSize` (zoom `zoom`) as it shows it, written as editor_<name>.png.
    OffscreenImage draw(double viewSize, double zoom, const std::string& name = "")
    {
        frame->setZoom(zoom);
        editor->resize(viewSize);
        frame->invalid();
        OffscreenImage image = renderView(*frame, 1.0);
        EXPECT_TRUE(name.empty() || image.writePng(std::string(VEXTORIA_TEST_OUTPUT) + "/editor_" + name + ".png"));
        return image;
    }
    // The pixel at `where` (layout pixels) of `image`, and of `view` drawn alone, at `zoom`.
    static CColor at(const OffscreenImage& image, CPoint where, double zoom)
    {
        return image.getPixel(int(where.x * zoom), int(where.y * zoom));
    }
    static CColor alone(CView& view, CPoint where, double zoom)
    {
        return at(renderView(view, zoom), where - view.getViewSize().getTopLeft(), zoom);
    }
};

} // namespace

TEST_F(FacesTest, EachFaceIsBuiltWhereItsPicturesBelongAndDrawnAtEveryZoomWithTheOverlayDimmingIt)
{
    auto sizeOf = [](const std::string& name) {
        const CPoint size = MyBitmap(name.c_str()).getSize();
        return std::pair(size.x, size.y);
    };
    controller->setParamNormalized(0, 1.0); // the power button lit
    for (const bool rack : {true, false}) {
        const std::string name = rack ? "rack" : "legacy";
        const CRect size(0, 0, rack ? 860 : 600, rack ? 300 : 400);
        const CRect panel = rack ? CRect(236, 18, 772, 174) : CRect(224, 80, 415, 134);
        controller->setParamNormalized(14, 0.0);
        buildFace(rack ? kUiRack : kUiLegacy);
        ASSERT_EQ(editor->background->getNbViews(), 24u) << "twenty controls and four panels";
        EXPECT_EQ(frame->getViewSize(), CRect(0, 0, size.right + 1, size.bottom)) << "one pixel wider at zoom 1";
        EXPECT_EQ(editor->background->getViewSize(), size);
        for (size_t i = 0; i < 20; ++i) { // the power button, added last, lies on top of the panels
            const layout_tables::Rect place = rack ? layout_tables::rackControls[i].rect
                                                   : layout_tables::legacyRect(layout_tables::legacyControls[i], sizeOf);
            EXPECT_EQ(editor->background->getView(uint32(i < 19 ? i : 23))->getViewSize(),
                      CRect(place.left, place.top, place.right, place.bottom)) << name << " " << i;
        }
        for (CView* view : std::initializer_list<CView*> {editor->scopeView, editor->readout, editor->slicePads, editor->fxPanel})
            EXPECT_EQ(view->getViewSize(), panel) << name;
        EXPECT_FALSE(editor->settingsView->isVisible());
        EXPECT_EQ(frame->getView(frame->getNbViews() - 1), editor->settingsView) << "the overlay lies above everything";

        auto picture = SharedPointer<MyBitmap>::adopt(new MyBitmap(rack ? "vxp_background.png" : "background.png"));
        CView bare(CRect(CPoint(0, 0), picture->getSize()));
        bare.setBackground(picture.get());
        const CPoint bareSpot(20, size.bottom - 10);
        const CRect& power = editor->powerButton->getViewSize();
        for (auto [viewSize, zoom, suffix] :
             {std::tuple {0.0, 1.0, "100"}, {1 / 3.0, 1.5, "150"}, {2 / 3.0, 2.0, "200"}, {1.0, 0.75, "075"}}) {
            const OffscreenImage image = draw(viewSize, zoom, name + "_" + suffix);
            EXPECT_EQ(std::pair(image.getWidth(), image.getHeight()), std::pair(int(size.right * zoom), int(size.bottom * zoom)));
            EXPECT_LT(distance(at(image, bareSpot, zoom), alone(bare, bareSpot, zoom)), 6) << name << suffix;
            // Drawn alone from the same whole-pixel origin, the power button looks as it does on top.
            const CPoint origin(power.left * zoom, power.top * zoom), centre = power.getCenter();
            EXPECT_TRUE(origin.x != std::floor(origin.x) || origin.y != std::floor(origin.y) ||
                        distance(at(image, centre, zoom), alone(*editor->powerButton, centre, zoom)) < 6) << name << suffix;
        }
        const CPoint padSpot(panel.left + 12, panel.top + 12);
        const OffscreenImage plain = draw(0.0, 1.0);
        controller->setParamNormalized(14, 1.0);
        editor->idle();
        EXPECT_GT(distance(at(draw(0.0, 1.0, name + "_pads"), padSpot, 1.0), at(plain, padSpot, 1.0)), 30) << "the pads show";

        editor->showSettings();
        for (auto [viewSize, zoom, suffix] : {std::tuple {0.0, 1.0, "100"}, {2 / 3.0, 2.0, "200"}}) {
            const OffscreenImage image = draw(viewSize, zoom, name + "_settings_" + suffix);
            const CCoord centre = size.right / 2;
            const CPoint corner(0.5, 0.5), face(centre - 200, 60);
            EXPECT_EQ(distance(at(image, corner, zoom), at(plain, corner, 1.0)), 0) << "the rounded corner is open";
            EXPECT_NEAR(at(image, face, zoom).red, at(plain, face, 1.0).red * 0.24, 3) << "black at 76 % over the face";
            // Each layer at 76 %: the panel, the dark bar, its lighter middle.
            const double panelOverFace = at(plain, CPoint(centre, 42), 1.0).green * 0.24;
            EXPECT_NEAR(at(image, CPoint(centre, 42), zoom).green, 92 * 0.76 + (52 * 0.76 + panelOverFace * 0.24) * 0.24, 3);
        }
    }
}

TEST_F(FacesTest, BuildTakesTheControllersValuesAndAnUnknownStyleBuildsNothing)
{
    for (auto [freeze, trigMode, colour] :
         {std::tuple {0.5, 1.0, CColor(57, 181, 74, 254)}, {0.49, 0.0, CColor(0, 170, 255, 254)}}) {
        controller->setParamNormalized(13, freeze);
        controller->setParamNormalized(14, trigMode);
        controller->setParamNormalized(7, 1.0);
        buildFace(kUiRack);
        EXPECT_EQ(std::pair(editor->scopeView->traceColor, editor->readout->textColor), std::pair(colour, colour));
        EXPECT_EQ(editor->slicePads->isVisible(), trigMode == 1.0);
        EXPECT_EQ(editor->slicePads->nbSlice, 16);
        EXPECT_EQ(editor->controls[13]->getValue(), float(freeze));
    }
    editor->openUI(2);
    EXPECT_EQ(editor->baseSize[2], 860.0) << "nothing built, the size kept";
    EXPECT_EQ(editor->getFrame(), frame);
}
