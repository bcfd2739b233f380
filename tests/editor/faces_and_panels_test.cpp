// Both faces drawn at the four zooms on whole device pixels, and built from the controller's
// values. The views over the panel: the scope folding bytes into points, the slice pads'
// presses, drags and a press taken away, the MIDI assignment panel, and the FX value texts.
#include "EditorHarness.h"

#include "controls/SimpleDisplay.h"
#include "controls/SpinBox.h"
#include "editor/FxConverters.h"
#include "editor/MidiAssignContainer.h"
#include "editor/MidiSlicerView.h"
#include "editor/MyBitmap.h"
#include "editor/Oscilloscope.h"
#include "editor/ResourceFolder.h"

#include <cmath>
#include <dlfcn.h>
#include <filesystem>

using namespace EditorTest;

namespace {

int distance(const CColor& a, const CColor& b)
{
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

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
    static CColor at(const OffscreenImage& image, CPoint where, double zoom)
    {
        return image.getPixel(int(where.x * zoom), int(where.y * zoom));
    }
    static CColor alone(CView& view, CPoint where, double zoom)
    {
        return at(renderView(view, zoom), where - view.getViewSize().getTopLeft(), zoom);
    }
};

const CRect kRackScope(0, 0, 536, 156);

// A decaying 441 Hz tone as the processor's scope ring holds it: one signed byte per sample.
std::vector<int8_t> toneBytes(int count)
{
    std::vector<int8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(int8_t(std::lround(120.0 * std::exp(-i / 200000.0) * std::sin(2 * M_PI * 441 * i / 44100.0))));
    return bytes;
}

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

TEST(Oscilloscope, NoSuchStyleChangesNothingAndTheFitNeverLeavesTheArrays)
{
    Oscilloscope scope(kRackScope), wide(CRect(0, 0, 2000, 50));
    const std::vector<int8_t> tone = toneBytes(88 * 600);
    scope.setStyle(0.0);
    scope.process(tone.data(), int(tone.size()));
    scope.setStyle(1.5);
    EXPECT_EQ(scope.pointCount, 536 / 9) << "no such style: nothing changes";
    wide.setStyle(0.5); // wider than the arrays at one pixel per point
    wide.samplesPerPoint = 12;
    wide.process(tone.data(), int(tone.size()));
    EXPECT_EQ(wide.pointCount, Oscilloscope::kCapacity);
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
    for (double scale : {1.0, 1.5, 2.0}) {
        const IPlatformBitmap* version = knob->getBestPlatformBitmapForScaleFactor(scale);
        EXPECT_EQ(std::pair(version->getScaleFactor(), version->getDecodedRows()), std::pair(scale, scale == 2.0 ? 108 : 0));
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
    for (float value : {1.5f, -0.1f, std::nanf("")}) // the FX panel's pitch effects: no such one
        EXPECT_EQ(convertPitchFx(value), "") << value;
}

TEST(MidiAssignPanel, TwentyFixedNumbersNoneEditable)
{
    ScopedManualRunLoop runLoop;
    auto panel = SharedPointer<MidiAssignContainer>::adopt(new MidiAssignContainer(CRect(0, 0, 330, 210)));
    EXPECT_EQ(std::pair(panel->labels[19]->getText(), panel->spinBoxes[19]->number), std::pair(std::string("DLY SYNC"), 108));
    panel->spinBoxes[0]->setValue(0.5f);
    EXPECT_EQ(panel->spinBoxes[0]->number, 7) << "disabled boxes take no value";
    CPoint where = panel->spinBoxes[0]->getViewSize().getCenter();
    EXPECT_EQ(panel->spinBoxes[0]->onMouseDown(where, CButtonState(kLButton)), kMouseEventNotHandled);
}
