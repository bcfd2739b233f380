// Both faces drawn offscreen at the four zooms, and the settings overlay over each, written
// as PNG files into the build folder and probed: window size, the background in place, the
// power button on top, the pads only in Midi Slice, the overlay's dimmed panel.
#include "EditorHarness.h"

#include "editor/MyBitmap.h"

using namespace EditorTest;

namespace {

struct Zoom {
    double viewSize;
    double factor;
    const char* suffix;
};
const Zoom kZooms[] = {{0.0, 1.0, "100"}, {1.0 / 3.0, 1.5, "150"}, {2.0 / 3.0, 2.0, "200"}, {1.0, 0.75, "075"}};

struct FaceLook {
    int32 style;
    const char* name;
    const char* background;
    CPoint bare;        // a point where only the background shows
    CRect panel;
};
const FaceLook kFaces[] = {{kUiRack, "rack", "vxp_background.png", {20, 290}, {236, 18, 772, 174}},
                           {kUiLegacy, "legacy", "background.png", {20, 390}, {224, 80, 415, 134}}};

int distance(const CColor& a, const CColor& b)
{
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

class PicturesTest : public EditorFixture {
protected:
    // The frame at the zoom of `zoom`, drawn as the window shows it.
    OffscreenImage draw(const Zoom& zoom)
    {
        frame->setZoom(zoom.factor);
        editor->resize(zoom.viewSize);
        frame->invalid();
        return renderView(*frame, 1.0);
    }
    static void save(const OffscreenImage& image, const std::string& name)
    {
        EXPECT_TRUE(image.writePng(std::string(VEXTORIA_TEST_OUTPUT) + "/" + name + ".png"));
    }
    // The pixel of view `view` alone at its own point `where` (layout pixels), drawn at `factor`.
    static CColor alone(CView& view, CPoint where, double factor)
    {
        return renderView(view, factor).getPixel(int((where.x - view.getViewSize().left) * factor),
                                                 int((where.y - view.getViewSize().top) * factor));
    }
    static CColor at(const OffscreenImage& image, CPoint where, double factor)
    {
        return image.getPixel(int(where.x * factor), int(where.y * factor));
    }
    BundlePictures pictures;
};

} // namespace

TEST_F(PicturesTest, BothFacesAtEveryZoomWithThePowerButtonOnTopAndPadsOnlyInMidiSlice)
{
    controller->setParamNormalized(0, 1.0); // the power button lit
    for (const FaceLook& face : kFaces) {
        controller->setParamNormalized(14, 0.0);
        buildFace(face.style);
        SharedPointer<MyBitmap> background = SharedPointer<MyBitmap>::adopt(new MyBitmap(face.background));
        CView bareBackground(CRect(CPoint(0, 0), background->getSize()));
        bareBackground.setBackground(background.get());
        for (const Zoom& zoom : kZooms) {
            SCOPED_TRACE(std::string(face.name) + " " + zoom.suffix);
            const OffscreenImage image = draw(zoom);
            save(image, std::string("editor_") + face.name + "_" + zoom.suffix);
            EXPECT_EQ(image.getWidth(), int(editor->baseSize[2] * zoom.factor));
            EXPECT_EQ(image.getHeight(), int(editor->baseSize[3] * zoom.factor));
            EXPECT_LT(distance(at(image, face.bare, zoom.factor), alone(bareBackground, face.bare, zoom.factor)), 6);
            // Drawn alone from the same whole-pixel origin, the power button looks as it does on top.
            CView& power = *editor->powerButton;
            const CPoint origin(power.getViewSize().left * zoom.factor, power.getViewSize().top * zoom.factor);
            if (origin.x == std::floor(origin.x) && origin.y == std::floor(origin.y)) {
                const CPoint centre = power.getViewSize().getCenter();
                EXPECT_LT(distance(at(image, centre, zoom.factor), alone(power, centre, zoom.factor)), 6);
            }
        }
        EXPECT_EQ(editor->background->getView(editor->background->getNbViews() - 1), editor->powerButton);

        // The pads show over the scope only in Midi Slice.
        const Zoom& normal = kZooms[0];
        const CPoint padPoint(face.panel.left + 12, face.panel.top + 12);
        const CColor scopeOnly = at(draw(normal), padPoint, 1.0);
        controller->setParamNormalized(14, 1.0);
        editor->idle();
        const OffscreenImage withPads = draw(normal);
        save(withPads, std::string("editor_") + face.name + "_pads");
        EXPECT_GT(distance(at(withPads, padPoint, 1.0), scopeOnly), 30);
    }
}

TEST_F(PicturesTest, TheOverlayDimsTheWholeFaceBehindItsRoundedPanel)
{
    for (const FaceLook& face : kFaces) {
        SCOPED_TRACE(face.name);
        buildFace(face.style);
        const OffscreenImage plain = draw(kZooms[0]);
        editor->showSettings();
        for (const Zoom& zoom : {kZooms[0], kZooms[2]}) {
            const OffscreenImage image = draw(zoom);
            save(image, std::string("editor_") + face.name + "_settings_" + zoom.suffix);
            const double z = zoom.factor;
            const CCoord centre = editor->baseSize[2] / 2;
            EXPECT_EQ(distance(at(image, CPoint(0.5, 0.5), z), at(plain, CPoint(0.5, 0.5), 1.0)), 0) << "the rounded corner is open";
            const CColor under = at(plain, CPoint(centre - 200, 60), 1.0);
            const CColor panel = at(image, CPoint(centre - 200, 60), z);
            EXPECT_NEAR(panel.red, under.red * 0.24, 3) << "black at 76 % over the face";
            const CColor barMiddle = at(image, CPoint(centre, 42), z);
            // Each layer at 76 %: the panel, the dark bar, its lighter middle.
            const double panelOverFace = at(plain, CPoint(centre, 42), 1.0).green * 0.24;
            EXPECT_NEAR(barMiddle.green, 92 * 0.76 + (52 * 0.76 + panelOverFace * 0.24) * 0.24, 3);
            int brightest = 0;
            for (CCoord x = centre - 60; x < centre + 60; x += 0.5)
                brightest = std::max(brightest, int(at(image, CPoint(x, 22), z).red));
            EXPECT_GT(brightest, 150) << "the title";
        }
        editor->hideSettings();
    }
}
