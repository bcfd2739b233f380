// Both faces as the layout builder leaves them, each built once and probed: every control in the
// rectangle its pictures were drawn for and in the editor's tables, the panels, the settings
// overlay; then drawn at the four zooms (PNG files in the build folder) with the overlay over it.
#include "EditorHarness.h"
#include "artwork/LayoutTables.h"

#include "controls/DropDown2.h"
#include "controls/Knob.h"
#include "controls/PushButton.h"
#include "editor/FxView.h"
#include "editor/MidiSlicerView.h"
#include "editor/MyBitmap.h"
#include "editor/Oscilloscope.h"
#include "editor/TabView.h"
#include "controls/SimpleDisplay.h"

using namespace EditorTest;

namespace {

struct Face {
    int32 style;
    const char* name;
    CRect size, panel;
    CPoint bare; // only the background shows here
};
const Face kRack {kUiRack, "rack", {0, 0, 860, 300}, {236, 18, 772, 174}, {20, 290}};
const Face kLegacy {kUiLegacy, "legacy", {0, 0, 600, 400}, {224, 80, 415, 134}, {20, 390}};

// Where each face puts a control: the face's background children in the order they are added.
std::vector<CRect> placesOf(const Face& face)
{
    auto sizeOf = [](const std::string& name) { return std::pair(MyBitmap(name.c_str()).getSize().x, MyBitmap(name.c_str()).getSize().y); };
    std::vector<CRect> places;
    for (const auto& control : layout_tables::rackControls)
        places.emplace_back(control.rect.left, control.rect.top, control.rect.right, control.rect.bottom);
    if (face.style == kUiLegacy) {
        places.clear();
        for (const auto& control : layout_tables::legacyControls) {
            const layout_tables::Rect rect = layout_tables::legacyRect(control, sizeOf);
            places.emplace_back(rect.left, rect.top, rect.right, rect.bottom);
        }
    }
    return places;
}

// The overlay's controls: the editor's entry, then the LEGACY and RACK rectangles.
struct OverlayPlace {
    bool hidden;
    int index;
    CRect legacy, rack;
};
const OverlayPlace kOverlayPlaces[] = {
    {true, 0, {416, 102, 476, 126}, {416, 86, 476, 110}},   {false, 33, {416, 140, 496, 156}, {416, 124, 496, 140}},
    {true, 3, {416, 166, 496, 182}, {416, 150, 496, 166}},  {true, 4, {320, 306, 570, 336}, {}},
    {false, 32, {24, 330, 38, 390}, {544, 190, 558, 250}},  {false, 15, {24, 225, 274, 255}, {544, 84, 794, 114}},
    {false, 17, {24, 248, 224, 278}, {544, 106, 744, 136}}, {false, 27, {24, 271, 224, 301}, {544, 130, 744, 160}},
};

int distance(const CColor& a, const CColor& b) { return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue); }

class FacesTest : public EditorFixture {
protected:
    // The whole window at view size `viewSize` (zoom `zoom`), drawn as the window shows it.
    OffscreenImage draw(double viewSize, double zoom, const std::string& name = "")
    {
        frame->setZoom(zoom);
        editor->resize(viewSize);
        frame->invalid();
        OffscreenImage image = renderView(*frame, 1.0);
        EXPECT_TRUE(name.empty() || image.writePng(std::string(VEXTORIA_TEST_OUTPUT) + "/editor_" + name + ".png"));
        return image;
    }
    // The pixel of `view` drawn alone at its own point `where` (layout pixels), at `zoom`.
    static CColor alone(CView& view, CPoint where, double zoom)
    {
        const CRect& size = view.getViewSize();
        return renderView(view, zoom).getPixel(int((where.x - size.left) * zoom), int((where.y - size.top) * zoom));
    }
    static CColor at(const OffscreenImage& image, CPoint where, double zoom) { return image.getPixel(int(where.x * zoom), int(where.y * zoom)); }
};

} // namespace

TEST_F(FacesTest, EachControlSitsWhereItsPicturesWereDrawnForAndIsInTheEditorsTables)
{
    for (const Face& face : {kRack, kLegacy}) {
        SCOPED_TRACE(face.name);
        buildFace(face.style);
        const bool rack = face.style == kUiRack;
        CViewContainer* background = editor->background;
        ASSERT_EQ(background->getNbViews(), 24u) << "twenty controls and four panels";
        EXPECT_EQ(frame->getViewSize(), CRect(0, 0, face.size.right + 1, face.size.bottom)) << "one pixel wider at zoom 1";
        EXPECT_EQ(background->getViewSize(), face.size);
        EXPECT_EQ(editor->baseSize[2], face.size.right);
        const std::vector<CRect> places = placesOf(face);
        for (uint32 i = 0; i < places.size(); ++i) {
            CView* child = background->getView(i < 19 ? i : 23); // the power button lies on top
            EXPECT_EQ(child->getViewSize(), places[i]) << i;
            auto* control = dynamic_cast<CControl*>(child);
            if (child == editor->settingsButton || !control)
                continue;
            IControlListener* listener = control->getListener();
            if (listener == editor)
                EXPECT_EQ(editor->controls[size_t(control->getTag())], control) << i;
            else if (listener == editor->getHiddenListener())
                EXPECT_EQ(editor->hiddenControls[size_t(control->getTag())], control) << i;
            else if (listener)
                EXPECT_EQ(listener, dynamic_cast<IControlListener*>(editor->controls[9])) << i << ": a pitch range arrow";
            else
                EXPECT_TRUE(!control->getMouseEnabled() && (control == editor->upLed || control == editor->downLed ||
                                                             control == editor->activeLed)) << i << ": a lamp";
        }
        EXPECT_EQ(editor->powerButton, editor->controls[0]);
        for (int tag = 1; tag <= 6; ++tag)
            EXPECT_EQ(static_cast<CView*>(editor->mainKnobs[size_t(tag - 1)]), editor->controls[size_t(tag)]);
        EXPECT_EQ(editor->hiddenControls[5]->getTooltipText(), "EDIT FX");
        EXPECT_EQ(editor->controls[14] != nullptr, rack) << "RACK has the Trig Mode switch";
        EXPECT_EQ(editor->toastButton && editor->activeLed, !rack) << "LEGACY the toast and the Active lamp";
        for (CView* panel : std::initializer_list<CView*> {editor->scopeView, editor->readout, editor->slicePads, editor->fxPanel})
            EXPECT_EQ(panel->getViewSize(), face.panel);
        EXPECT_FALSE(editor->readout->isVisible());
        EXPECT_FLOAT_EQ(editor->readout->getAlphaValue(), 0.8f);
        EXPECT_FALSE(editor->fxPanel->isVisible());
        EXPECT_EQ(editor->slicePads->smallFontSize, rack ? 14 : 7);
        EXPECT_EQ(editor->controls[23]->getParentView()->getParentView(), editor->fxPanel->tabView) << "FX panel controls registered";

        // The settings overlay, hidden above everything, with its controls in either arrangement.
        CViewContainer* overlay = editor->settingsView;
        EXPECT_EQ(overlay->getViewSize(), face.size);
        EXPECT_FALSE(overlay->isVisible());
        EXPECT_EQ(frame->getView(frame->getNbViews() - 1), overlay);
        EXPECT_EQ(overlay->getNbViews(), rack ? 27u : 28u);
        for (const OverlayPlace& place : kOverlayPlaces) {
            CControl* control = (place.hidden ? editor->hiddenControls.data() : editor->controls.data())[place.index];
            if (rack && place.rack.isEmpty()) {
                EXPECT_EQ(control, nullptr) << "no MOVE TOAST in RACK";
                continue;
            }
            ASSERT_NE(control, nullptr) << place.index;
            EXPECT_EQ(control->getViewSize(), rack ? place.rack : place.legacy) << place.index;
            EXPECT_EQ(control->getParentView(), overlay);
            EXPECT_EQ(control->getListener(), place.hidden ? static_cast<IControlListener*>(editor->getHiddenListener())
                                                           : static_cast<IControlListener*>(editor));
        }
        auto* viewSize = dynamic_cast<DropDown2*>(overlay->getView(overlay->getNbViews() - 1));
        ASSERT_NE(viewSize, nullptr) << "the drop-down is the last child, so its list unfolds over the rows";
        EXPECT_EQ(viewSize->getItemName(3), "75%");
    }
}

TEST_F(FacesTest, EachFaceIsDrawnAtEveryZoomWithThePowerButtonOnTopThePadsInMidiSliceAndTheOverlayDimmingAll)
{
    const std::tuple<double, double, const char*> zooms[] = {{0.0, 1.0, "100"}, {1.0 / 3.0, 1.5, "150"}, {2.0 / 3.0, 2.0, "200"},
                                                              {1.0, 0.75, "075"}};
    controller->setParamNormalized(0, 1.0); // the power button lit
    for (const Face& face : {kRack, kLegacy}) {
        controller->setParamNormalized(14, 0.0);
        buildFace(face.style);
        auto picture = SharedPointer<MyBitmap>::adopt(new MyBitmap(face.style == kUiRack ? "vxp_background.png" : "background.png"));
        CView bareBackground(CRect(CPoint(0, 0), picture->getSize()));
        bareBackground.setBackground(picture.get());
        for (auto [viewSize, zoom, suffix] : zooms) {
            SCOPED_TRACE(std::string(face.name) + " " + suffix);
            const OffscreenImage image = draw(viewSize, zoom, std::string(face.name) + "_" + suffix);
            EXPECT_EQ(image.getWidth(), int(editor->baseSize[2] * zoom));
            EXPECT_EQ(image.getHeight(), int(editor->baseSize[3] * zoom));
            EXPECT_LT(distance(at(image, face.bare, zoom), alone(bareBackground, face.bare, zoom)), 6);
            // Drawn alone from the same whole-pixel origin, the power button looks as it does on top.
            const CRect& power = editor->powerButton->getViewSize();
            const bool whole = power.left * zoom == std::floor(power.left * zoom) && power.top * zoom == std::floor(power.top * zoom);
            EXPECT_TRUE(!whole || distance(at(image, power.getCenter(), zoom), alone(*editor->powerButton, power.getCenter(), zoom)) < 6);
        }
        const CPoint padPoint(face.panel.left + 12, face.panel.top + 12);
        const CColor scopeOnly = at(draw(0.0, 1.0), padPoint, 1.0);
        controller->setParamNormalized(14, 1.0);
        editor->idle();
        EXPECT_GT(distance(at(draw(0.0, 1.0, std::string(face.name) + "_pads"), padPoint, 1.0), scopeOnly), 30);

        const OffscreenImage plain = draw(0.0, 1.0);
        editor->showSettings();
        for (auto [viewSize, zoom, suffix] : {zooms[0], zooms[2]}) {
            SCOPED_TRACE(std::string(face.name) + " settings " + suffix);
            const OffscreenImage image = draw(viewSize, zoom, std::string(face.name) + "_settings_" + suffix);
            const CCoord centre = editor->baseSize[2] / 2;
            EXPECT_EQ(distance(at(image, CPoint(0.5, 0.5), zoom), at(plain, CPoint(0.5, 0.5), 1.0)), 0) << "the rounded corner is open";
            EXPECT_NEAR(at(image, CPoint(centre - 200, 60), zoom).red, at(plain, CPoint(centre - 200, 60), 1.0).red * 0.24, 3)
                << "black at 76 % over the face";
            // Each layer at 76 %: the panel, the dark bar, its lighter middle.
            const double panelOverFace = at(plain, CPoint(centre, 42), 1.0).green * 0.24;
            EXPECT_NEAR(at(image, CPoint(centre, 42), zoom).green, 92 * 0.76 + (52 * 0.76 + panelOverFace * 0.24) * 0.24, 3);
            int brightest = 0;
            for (CCoord x = centre - 60; x < centre + 60; x += 0.5)
                brightest = std::max(brightest, int(at(image, CPoint(x, 22), zoom).red));
            EXPECT_GT(brightest, 150) << "the title";
        }
        editor->hideSettings();
    }
}

TEST_F(FacesTest, BuildTakesTheControllersValuesAndAnUnknownStyleBuildsNothing)
{
    for (auto [freeze, trigMode, colour] : {std::tuple{0.5, 1.0, CColor(57, 181, 74, 254)}, {0.49, 0.0, CColor(0, 170, 255, 254)}}) {
        controller->setParamNormalized(13, freeze);
        controller->setParamNormalized(14, trigMode);
        controller->setParamNormalized(7, 1.0);
        buildFace(kUiRack);
        EXPECT_EQ(editor->scopeView->traceColor, colour);
        EXPECT_EQ(editor->readout->textColor, colour);
        EXPECT_EQ(editor->slicePads->isVisible(), trigMode == 1.0);
        EXPECT_EQ(editor->slicePads->nbSlice, 16);
        EXPECT_EQ(editor->controls[13]->getValue(), float(freeze));
    }
    editor->openUI(2);
    EXPECT_EQ(editor->baseSize[2], 860.0) << "nothing built, the size kept";
    EXPECT_EQ(editor->getFrame(), frame);
}
