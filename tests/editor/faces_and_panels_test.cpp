// Both faces at every zoom and from the controller's values; the FX tabs, overlay, fades, scope, pads, panels.
#include "EditorHarness.h"

#include "artwork/LayoutTables.h"
#include "controls/DropDown2.h"
#include "controls/Knob2.h"
#include "controls/SimpleDisplay.h"
#include "controls/SpinBox.h"
#include "editor/FxConverters.h"
#include "editor/FxView.h"
#include "editor/MidiAssignContainer.h"
#include "editor/MidiSlicerView.h"
#include "editor/MyBitmap.h"
#include "editor/Oscilloscope.h"
#include "editor/ResourceFolder.h"
#include "editor/TabView.h"
#include "ids.h"

#include <cmath>
#include <dlfcn.h>
#include <numeric>

using namespace EditorTest;
using namespace Vextoria3Ids;

namespace {

int distance(const CColor& a, const CColor& b) { return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue); }

class FacesTest : public EditorFixture {
protected:
    // The window at view size `viewSize` (zoom `zoom`) as it shows it.
    OffscreenImage draw(double viewSize, double zoom)
    {
        frame->setZoom(zoom);
        editor->resize(viewSize);
        frame->invalid();
        return renderView(*frame, 1.0);
    }
    // The pixel at `where` (layout pixels) of `image`, and of `view` drawn alone, at `zoom`.
    static CColor at(const OffscreenImage& image, CPoint where, double zoom) { return image.getPixel(int(where.x * zoom), int(where.y * zoom)); }
    static CColor alone(CView& view, CPoint where, double zoom) { return at(renderView(view, zoom), where - view.getViewSize().getTopLeft(), zoom); }
};

const CRect kRackScope(0, 0, 536, 156);

// RACK's scope rectangle as the pads: 536 px, 67 px a pad at 8 pads.
const CRect kPads(236, 18, 772, 174);
CCoord padX(int pad) { return kPads.left + pad * 67 + 10; }
constexpr CCoord kPadY = 90;
using SlicePadsTest = EditorFixture;

} // namespace

TEST_F(FacesTest, PicturesAndFilmStripsLandOnWholeDevicePixelsAtEveryZoom)
{
    controller->setParamNormalized(0, 1.0); // the power button lit
    for (const bool rack : {true, false}) {
        buildFace(rack ? kUiRack : kUiLegacy);
        auto picture = SharedPointer<MyBitmap>::adopt(new MyBitmap(rack ? "vxp_background.png" : "background.png"));
        CView bare(CRect(CPoint(0, 0), picture->getSize()));
        bare.setBackground(picture.get());
        const CPoint bareSpot(20, bare.getHeight() - 10);
        const CRect& power = editor->powerButton->getViewSize();
        for (auto [viewSize, zoom] : {std::pair {0.0, 1.0}, {1 / 3.0, 1.5}, {2 / 3.0, 2.0}, {1.0, 0.75}}) {
            const OffscreenImage image = draw(viewSize, zoom);
            EXPECT_LT(distance(at(image, bareSpot, zoom), alone(bare, bareSpot, zoom)), 6) << rack << zoom;
            // Drawn alone from the same whole-pixel origin, the power button looks as it does on top.
            const CPoint origin(power.left * zoom, power.top * zoom), centre = power.getCenter();
            EXPECT_TRUE(origin.x != std::floor(origin.x) || origin.y != std::floor(origin.y) ||
                        distance(at(image, centre, zoom), alone(*editor->powerButton, centre, zoom)) < 6)
                << rack << zoom;
        }
    }
}

// Every control on its table's rectangle under its parameter; host changes reach it; lamps take no clicks.
TEST_F(FacesTest, EachFaceIsBuiltFromTheControllersValuesWithEveryControlOnItsRectangle)
{
    auto sizeOf = [](const std::string& name) { return std::pair(MyBitmap(name.c_str()).getWidth(), MyBitmap(name.c_str()).getHeight()); };
    for (auto [style, freeze, trigMode, colour] :
         {std::tuple {kUiRack, 0.5, 1.0, CColor(57, 181, 74, 254)}, {kUiLegacy, 0.49, 0.5, CColor(0, 170, 255, 254)}}) {
        for (auto [id, value] : {std::pair {kFreeze, freeze}, {kTrigMode, trigMode}, {kSliceSize, 1.0}, {kActive, 1.0}, {kSliceAmt, 0.0}})
            controller->setParamNormalized(id, value);
        buildFace(style);
        EXPECT_EQ(std::tuple(editor->scopeView->traceColor, editor->readout->textColor, editor->controls[kFreeze]->getValue()),
                  std::tuple(colour, colour, float(freeze)));
        EXPECT_EQ(std::pair(editor->slicePads->isVisible(), editor->slicePads->nbSlice), std::pair(trigMode == 1.0, 16));
        editor->idle();
        for (size_t i = 0; i < 20; ++i) { // in building order, the power button last
            const auto& [place, tag] = style == kUiRack ? std::pair(layout_tables::rackControls[i].rect, layout_tables::rackControls[i].tag)
                                                       : std::pair(layout_tables::legacyRect(layout_tables::legacyControls[i], sizeOf),
                                                                   layout_tables::legacyControls[i].tag);
            CView* view = editor->background->getView(uint32(i < 19 ? i : 23));
            EXPECT_EQ(view->getViewSize(), CRect(place.left, place.top, place.right, place.bottom)) << style << " " << i;
            EXPECT_TRUE(tag < 0 || view == editor->controls[size_t(tag)]) << style << " " << i;
        }
    }
    for (auto [id, value] : {std::pair {kUp, 1.0}, {kDown, 0.0}, {kPitchRange, 0.25}})
        controller->setParamNormalized(id, value);
    EXPECT_EQ(std::tuple(editor->upLed->getValue(), editor->downLed->getValue(), editor->controls[kPitchRange]->getValue()),
              std::tuple(1.f, 0.f, 0.25f));
    click(463, 292);
    EXPECT_EQ(editor->upLed->getValue(), 1.f) << "a lamp takes no clicks";
    editor->openUI(2);
    EXPECT_EQ(editor->baseSize[2], 600.0) << "nothing built, the size kept";
    EXPECT_EQ(editor->getFrame(), frame);
}

// A tab click selects and stores a page, its circle or a double click unflags its effect; faded when unselected.
TEST_F(FacesTest, FxTabsSelectStoreAndFlagTheirEffectsAndTheScopesCornerClosesThePanel)
{
    buildFace(kUiRack);
    editor->getWrapper()->setHiddenParameter(5, 1.0);
    editor->idle();
    auto tab = [&](int index, CCoord dx, int32 state = kLButton) { click(236 + index * 102 + dx, 168, state); };
    EXPECT_EQ(editor->fxPanel->tabView->tabs[3]->getViewSize().left, 306);
    host.edits.clear();
    tab(2, 12); // on its circle
    tab(1, 30, kLButton | kDoubleClick);
    EXPECT_EQ(host.edits, (std::vector<std::string> {"begin 30", "perform 30 0.000", "end 30", "begin 29", "perform 29 0.000", "end 29"}));
    tab(3, 30);
    TabView& tabs = *editor->fxPanel->tabView;
    EXPECT_EQ(std::tuple(tabs.selectedTab, hidden(6), tabs.pages[3]->isVisible(), tabs.pages[1]->isVisible()), std::tuple(3, 0.75, true, false));
    controller->setParamNormalized(kReverbActive, 0.5); // still flagged
    const OffscreenImage image = renderView(*editor->fxPanel, 1.0); // the tabs' top edges over the panel's grey
    for (auto [index, colour] : {std::pair {0, CColor(37, 100, 131, 255)}, {1, CColor(114, 114, 114, 255)}, {3, CColor(0, 143, 214, 255)}})
        EXPECT_EQ(image.getPixel(index * 102 + 50, 136), colour) << index;
    auto arc = [&](int id) { return static_cast<Knob2*>(editor->controls[size_t(id)])->lineWidth; };
    EXPECT_EQ(std::pair(arc(kRoomSize), arc(kReverbDryWet)), std::pair(4.0, 3.0));

    click(467, 229, kRButton); // the menu opens upwards
    pick(editor->fxSelectMenu, 1);
    EXPECT_EQ(std::pair(tabs.selectedTab, hidden(6)), std::pair(1, 0.25));
    for (auto [x, editFx] : {std::pair {755, 1.0}, {766, 0.0}}) { // the close square is 10 px wide
        click(x, 22);
        EXPECT_EQ(hidden(5), editFx) << x;
    }
}

// Overlay items do as labelled; a knob's read-out fades in over the dimmed scope and pads, then out.
TEST_F(FacesTest, TheOverlaysControlsDoAsTheirLabelsSayAndAKnobsGestureFadesTheReadOutInAndOut)
{
    controller->setParamNormalized(kTrigMode, 1.0); // the pads show
    buildFace(kUiRack);
    editor->getWrapper()->setHiddenParameter(3, 0.0); // the slowest knobs
    click(797, 30);
    click(467, 229, kRButton);
    EXPECT_EQ(editor->fxSelectMenu, nullptr);
    for (int item = 0; item < 4; ++item) {
        click(440, 98);
        click(440, 86 + 24 * (item + 1) + 4);
        const std::string label = static_cast<DropDown2*>(editor->hiddenControls[0])->getItemName(item);
        EXPECT_EQ(Vextoria3Editor::zoomFactor(hidden(0)) * 100, std::stoi(label)) << label;
    }
    click(551, 220);
    EXPECT_EQ(controller->getParamNormalized(kReplayRndSeq), 0.5) << "ON PLAY";
    click(30, 240);
    click(830, 12);
    EXPECT_FALSE(editor->settingsView->isVisible());

    auto alphas = [&] {
        return std::tuple(editor->readout->getAlphaValue(), editor->scopeView->getAlphaValue(), editor->slicePads->getAlphaValue());
    };
    EXPECT_EQ(alphas(), std::tuple(0.8f, 0.76f, 1.f));
    press(569, 229);
    move(569, 261);
    runLoop.advance(40);
    EXPECT_EQ(std::pair(editor->readout->text, alphas()), std::pair(std::string("PITCH AMOUNT : 10%"), std::tuple(0.75f, 0.1f, 0.1f)));
    release(569, 261);
    runLoop.advance(200);
    EXPECT_NEAR(std::get<0>(alphas()), 0.375f, 0.05f);
    EXPECT_NEAR(std::get<1>(alphas()), 0.1f + 0.66f * 0.4f, 0.05f);
    runLoop.advance(400);
    EXPECT_EQ(alphas(), std::tuple(0.f, 0.76f, 1.f));
}

// Bytes over 128; the newest point the rightmost; "Smoothy" draws the minima smoothed, mirrored about the centre.
TEST(Oscilloscope, NoSuchStyleChangesNothingTheNewestPointIsTheRightmostAndSmoothyMirrorsTheMinima)
{
    Oscilloscope scope(kRackScope), wide(CRect(0, 0, 2000, 50)), ramp(kRackScope);
    const std::vector<int8_t> tone(88 * 600, 64);
    scope.setStyle(0.0);
    scope.process(tone.data(), int(tone.size()));
    scope.setStyle(1.5);
    EXPECT_EQ(scope.pointCount, 536 / 9) << "no such style: nothing changes";
    wide.setStyle(0.5); // wider than the arrays at one pixel per point
    wide.samplesPerPoint = 12;
    wide.process(tone.data(), int(tone.size()));
    EXPECT_EQ(wide.pointCount, Oscilloscope::kCapacity);

    ramp.samplesPerPoint = 1; // a sample a point, 59 points
    int8_t bytes[102] = {127, -128};
    std::iota(bytes + 2, bytes + 102, int8_t(0));
    ramp.process(bytes, 3);
    EXPECT_EQ(std::pair(ramp.maxValues[0], ramp.minValues[1]), std::pair(0.9921875f, -1.f));
    ramp.process(bytes + 3, 99);
    EXPECT_EQ(std::pair(ramp.maxValues[57], ramp.maxValues[58]), std::pair(97 / 128.f, 98 / 128.f));

    Oscilloscope smoothy(CRect(0, 0, 100, 40)); // 20 px for a sample of 1
    smoothy.setStyle(1.0);
    const std::vector<int8_t> swing(88 * 80, -64); // minima -0.5
    smoothy.process(swing.data(), int(swing.size()));
    const OffscreenImage image = renderView(smoothy, 1.0);
    auto inked = [&](int x) { // the first and the last row drawn in column x
        std::pair<int, int> rows(-1, -1);
        for (int y = 0; y < 40; ++y)
            rows = image.getPixel(x, y).alpha > 20 ? std::pair(rows.first < 0 ? y : rows.first, y) : rows;
        return rows;
    };
    EXPECT_EQ(std::pair(inked(1), inked(60)), std::pair(std::pair(12, 27), std::pair(9, 30))) << "Smoothy: the minima, mirrored";
}

TEST_F(SlicePadsTest, PadsSendTheChosenSlicesAndEveryEndOfAPressGivesItBack)
{
    auto* pads = editor->slicePads = add(new MidiSlicerView(kPads, editor));
    press(padX(2), kPadY);
    for (CCoord x = padX(2); x <= kPads.right + 80; x += 5)
        move(x, kPadY);
    EXPECT_EQ(pads->highlightedSlice, 7) << "beyond the end the last pad holds";
    release(kPads.right + 80, kPadY);
    EXPECT_EQ(pads->highlightedSlice, -1);
    press(padX(4), kPadY); // a press taken away gives the slice back; a late release sends nothing
    frame->platformOnMouseCancel();
    release(padX(4), kPadY);
    EXPECT_EQ(processor.slices(), (std::vector<int64> {2, 3, 4, 5, 6, 7, -1, 4, -1}));
    EXPECT_TRUE(host.edits.empty()) << "the pads open no host gesture";
}

// The module finds its pictures in the bundle beside itself; each is decoded as far as drawn.
TEST(BundlePictures, LoadFromTheModulesResourceFolder)
{
    void* module = dlopen(VEXTORIA_BUNDLE_PATH "/Contents/x86_64-linux/Vextoria3.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    const std::string folder = ResourceFolder::ofModuleContaining(dlsym(module, "GetPluginFactory"));
    EXPECT_EQ(folder, std::filesystem::canonical(VEXTORIA_BUNDLE_PATH).string() + "/Contents/Resources");
    EXPECT_EQ(ResourceFolder::ofModuleContaining(&folder), "") << "a stack address lies in no module";
    dlclose(module);
    setResourceFolderFunction([folder] { return folder; });
    auto knob = SharedPointer<MyBitmap>::adopt(MyBitmap::fromLayout("vxp_knob_gate"));
    auto lone = SharedPointer<MyBitmap>::adopt(new MyBitmap("vxp_knob_gate.png"));
    EXPECT_FALSE(lone->addScaledBitmap("missing.png"));
    EXPECT_EQ(knob->getSize(), CPoint(54, 6858));
    // At zoom 2 only the 2x strip's first frame is decoded; the knob without it draws its 1x strip scaled.
    CView view(CRect(0, 0, 54, 54));
    auto drawn = [&view](MyBitmap* picture) { return view.setBackground(picture), renderView(view, 2.0); };
    const OffscreenImage sharp = drawn(knob.get()), scaled = drawn(lone.get());
    auto help = SharedPointer<MyBitmap>::adopt(MyBitmap::fromOverlay("help"));
    for (double scale : {1.0, 1.5, 2.0}) {
        const IPlatformBitmap* version = knob->getBestPlatformBitmapForScaleFactor(scale);
        EXPECT_EQ(std::pair(version->getScaleFactor(), version->getDecodedRows()), std::pair(scale, scale == 2.0 ? 108 : 0));
        EXPECT_EQ(help->getBestPlatformBitmapForScaleFactor(scale)->getScaleFactor(), scale) << "the overlay's names";
    }
    for (auto [x, y, opaque] : {std::tuple {2, 2, false}, {48, 54, true}, {72, 42, true}})
        EXPECT_TRUE(scaled.getPixel(x, y).alpha == (opaque ? 255 : 0) &&
                    distance(scaled.getPixel(x, y), sharp.getPixel(x, y)) < (opaque ? 10 : 1)) << x << "," << y;
    MyBitmap missing("gone.png");
    EXPECT_FALSE(missing.addScaledBitmap("vxp_knob_gate_x2.png")) << "no 1x width to divide by";
}

TEST(PanelValues, CountChangesKeepThePlaceAndNoSuchCountOrPitchEffectChangesAnything)
{
    MidiSlicerView pads(CRect(0, 0, 536, 156), nullptr);
    for (auto [lit, value, count, stays] : {std::tuple {3, 1.f, 16, 6}, {7, 0.f, 4, 1}, {1, 1.5f, 4, 1}}) {
        pads.highLightSlice(lit);
        pads.setNbSlice2(value); // 1.5: no such count, nothing changes
        EXPECT_EQ(std::pair(pads.nbSlice, pads.highlightedSlice), std::pair(count, stays)) << value;
    }
    const std::tuple<ValueConverter, float, const char*> texts[] = { // the FX panel's
        {convertDryWet, 0.6f, "40/60"}, {convertDryWet, 0.25f, "75/25"}, {convertRoom, 0.5f, "400"}, {convertRoom, 1.f, "800"},
        {convertHz, 0.5f, "5020"},      {convertPitchFx, 1.5f, ""},      {convertPitchFx, -0.1f, ""}, {convertPitchFx, NAN, ""}};
    for (const auto& [convert, value, text] : texts)
        EXPECT_EQ(convert(value), text) << value;
    ScopedManualRunLoop runLoop; // the MIDI assignment panel: twenty fixed numbers, none editable
    auto panel = SharedPointer<MidiAssignContainer>::adopt(new MidiAssignContainer(CRect(0, 0, 330, 210)));
    EXPECT_EQ(std::pair(panel->labels[19]->getText(), panel->spinBoxes[19]->number), std::pair(std::string("DLY SYNC"), 108));
    EXPECT_EQ(panel->spinBoxes[10]->getViewSize(), CRect(262, 2, 310, 22)) << "the second column";
    panel->spinBoxes[0]->setValue(0.5f);
    EXPECT_EQ(panel->spinBoxes[0]->number, 7) << "disabled boxes take no value";
    CPoint where = panel->spinBoxes[0]->getViewSize().getCenter();
    EXPECT_EQ(panel->spinBoxes[0]->onMouseDown(where, CButtonState(kLButton)), kMouseEventNotHandled);
}
