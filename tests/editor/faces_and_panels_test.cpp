// Both faces, each built once offscreen and probed: every control where its pictures were drawn
// for, the panels and the hidden overlay; then drawn at the four zooms with the power button on
// top, the pads in Midi Slice and the overlay dimming it all. The views over the panel: the scope
// folding bytes into points and drawing each style, the slice pads' presses, drags and every end
// of a press, the MIDI assignment panel, and the FX value texts. Pictures go to the build folder.
#include "EditorHarness.h"

#include "artwork/LayoutTables.h"
#include "controls/SimpleDisplay.h"
#include "controls/SpinBox.h"
#include "controls/ValueConverter.h"
#include "editor/FxConverters.h"
#include "editor/FxView.h"
#include "editor/MidiAssignContainer.h"
#include "editor/MidiSlicerView.h"
#include "editor/MyBitmap.h"
#include "editor/Oscilloscope.h"

#include <cmath>
#include <functional>

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

const CRect kRackScope(0, 0, 536, 156);

// A decaying 441 Hz tone as the processor's scope ring holds it: one signed byte per sample.
std::vector<int8_t> toneBytes(int count)
{
    std::vector<int8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(int8_t(std::lround(120.0 * std::exp(-i / 200000.0) * std::sin(2 * M_PI * 441 * i / 44100.0))));
    return bytes;
}

// The trace's colour at (x, y); a line on a whole-pixel x may land in the column on either side.
bool traceAt(const OffscreenImage& image, int x, int y)
{
    auto isTrace = [](const CColor& pixel) { return pixel.alpha > 20 && pixel.blue > 150 && pixel.red < 60; };
    return isTrace(image.getPixel(x, y)) || isTrace(image.getPixel(x - 1, y));
}

// RACK's scope rectangle as the pads: 536 px, 67 px a pad at 8 pads.
const CRect kPads(236, 18, 772, 174);
CCoord padX(int pad) { return kPads.left + pad * 67 + 10; }
constexpr CCoord kPadY = 90;
using SlicePadsTest = EditorFixture;

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

TEST(Oscilloscope, PointsCoverExactlyTheirSamplesAcrossMessagesAndTheFitNeverLeavesTheArrays)
{
    Oscilloscope whole(kRackScope), split(kRackScope);
    std::vector<int8_t> bytes(89, 0);
    bytes[10] = 127;
    bytes[20] = -128;
    bytes[88] = 5;
    whole.process(bytes.data(), 88);
    EXPECT_EQ(whole.pointCount, 0) << "88 bytes only fill the first point";
    whole.process(&bytes[88], 1);
    ASSERT_EQ(whole.pointCount, 1);
    EXPECT_EQ(std::pair(whole.maxValues[0], whole.minValues[0]), std::pair(0.9921875f, -1.f));
    EXPECT_EQ(whole.currentMax, 5 / 128.f) << "the 89th byte starts the next point";
    split.process(bytes.data(), 40); // the same bytes in two messages
    split.process(bytes.data() + 40, 49);
    EXPECT_EQ(std::pair(split.maxValues, split.minValues), std::pair(whole.maxValues, whole.minValues));

    // Each style empties the trace; no such style changes nothing; the count stays at the fit.
    Oscilloscope scope(kRackScope), narrow(CRect(0, 0, 5, 50)), wide(CRect(0, 0, 2000, 50));
    const std::vector<int8_t> tone = toneBytes(88 * 600);
    for (auto [value, step, smooth] : {std::tuple {1.0, 1, true}, {0.75, 1, false}, {0.0, 9, false}, {0.0, 9, false}}) {
        scope.process(tone.data(), 88 * 3);
        scope.setStyle(value);
        EXPECT_EQ(std::tuple(scope.pointCount, scope.pointStep, scope.smooth), std::tuple(0, step, smooth)) << value;
    }
    scope.process(tone.data(), int(tone.size()));
    scope.setStyle(1.5);
    EXPECT_EQ(scope.pointCount, 536 / 9) << "no such style: nothing changes";
    narrow.process(tone.data(), int(tone.size())); // no point of 9 pixels fits
    EXPECT_EQ(narrow.pointCount, 0);
    wide.setStyle(0.5); // wider than the arrays at one pixel per point
    wide.samplesPerPoint = 12;
    wide.process(tone.data(), int(tone.size()));
    EXPECT_EQ(wide.pointCount, Oscilloscope::kCapacity);
}

TEST(Oscilloscope, EachStyleDrawsSilenceOnTheCentreAndSignalAroundIt)
{
    const std::vector<int8_t> silence(88 * 80, 0), tone = toneBytes(88 * 600);
    const char* const names[] = {"scope_squary", "scope_waveform", "scope_smoothy"};
    const int centre = 78;
    for (int style = 0; style < 3; ++style) {
        Oscilloscope scope(kRackScope);
        scope.traceColor = CColor(0, 170, 255, 254);
        scope.setStyle(style * 0.5);
        scope.process(silence.data(), int(silence.size()));
        const OffscreenImage quiet = renderView(scope, 1);
        EXPECT_TRUE(traceAt(quiet, 2 * scope.pointStep, style == 2 ? centre : centre - 1)) << names[style];
        EXPECT_FALSE(traceAt(quiet, 2 * scope.pointStep, centre - 20)) << names[style];
        scope.process(tone.data(), int(tone.size()));
        const OffscreenImage loud = renderToPng(scope, names[style]);
        const int last = (scope.pointCount - 1) * scope.pointStep * 2;
        EXPECT_TRUE(traceAt(loud, last, (centre - 30) * 2) && traceAt(loud, last, (centre + 10) * 2)) << names[style];
        EXPECT_FALSE(traceAt(loud, last, 4)) << "nothing at the top edge";
    }
}

TEST_F(SlicePadsTest, PadsSendTheChosenSlicesAndEveryEndOfAPressGivesItBack)
{
    auto* pads = editor->slicePads = add(new MidiSlicerView(kPads, editor));
    press(padX(2), kPadY);
    for (CCoord x = padX(2); x <= kPads.right + 80; x += 5)
        move(x, kPadY);
    EXPECT_EQ(pads->highlightedSlice, 7) << "beyond the end the last pad holds";
    release(kPads.right + 80, kPadY);
    EXPECT_EQ(processor.slices(), (std::vector<int64> {2, 3, 4, 5, 6, 7, -1}));
    EXPECT_EQ(pads->highlightedSlice, -1);
    processor.received.clear();
    click(padX(1), kPadY, kRButton);
    click(padX(1), kPadY, kLButton | kRButton);
    EXPECT_EQ(processor.slices(), (std::vector<int64> {-1, -1})) << "no choice, but each release gives back";
    EXPECT_TRUE(host.edits.empty()) << "the pads open no host gesture";

    // Each ending says whether the window is still there for a late release, which sends nothing.
    const std::pair<const char*, std::function<bool()>> endings[] = {
        {"cancel", [&] { return frame->platformOnMouseCancel(), true; }},
        {"removal", [&] { return frame->removeView(pads), pads = nullptr, true; }},
        {"editor close", [&] { return editor->close(), false; }},
    };
    for (const auto& [name, end] : endings) {
        processor.received.clear();
        if (!pads)
            editor->slicePads = pads = add(new MidiSlicerView(kPads, editor));
        press(padX(4), kPadY);
        if (end())
            release(padX(4), kPadY);
        EXPECT_EQ(processor.slices(), (std::vector<int64> {4, -1})) << name;
    }
}

TEST(SlicePads, CountChangesKeepThePlaceAndTheLitPadStandsOutAtEachCount)
{
    MidiSlicerView pads(CRect(0, 0, 536, 156), nullptr);
    for (auto [lit, value, count, stays] : {std::tuple {3, 1.f, 16, 6}, {7, 0.f, 4, 1}, {1, 1.5f, 4, 1}}) {
        pads.highLightSlice(lit);
        pads.setNbSlice2(value); // 1.5: no such count, nothing changes
        EXPECT_EQ(std::pair(pads.nbSlice, pads.highlightedSlice), std::pair(count, stays)) << value;
    }
    pads.smallFontSize = 14;
    for (auto [value, count] : {std::pair {0.f, 4}, {0.5f, 8}, {1.f, 16}}) {
        pads.setNbSlice2(value);
        pads.highLightSlice(1);
        const OffscreenImage image = renderToPng(pads, "slice_pads_" + std::to_string(count));
        const double width = 536.0 / count * 2;
        const CColor lit = image.getPixel(int(width), 156), dim = image.getPixel(int(3 * width), 156); // pad 2's frame, unlit
        EXPECT_GT(lit.alpha, dim.alpha + 40) << count << " pads";
        EXPECT_EQ(image.getPixel(int(width * 2.5), 8).alpha, 156) << "the dimmed ground";
    }
}

TEST(MidiAssignPanel, TwentyFixedNumbersNoneEditableDrawnWithoutABackground)
{
    ScopedManualRunLoop runLoop;
    auto panel = SharedPointer<MidiAssignContainer>::adopt(new MidiAssignContainer(CRect(0, 0, 330, 210)));
    EXPECT_EQ(panel->getNbViews(), 40u);
    EXPECT_EQ(std::pair(panel->labels[19]->getText(), panel->spinBoxes[19]->number), std::pair(std::string("DLY SYNC"), 108));
    EXPECT_EQ(panel->spinBoxes[10]->getViewSize().getTopLeft(), CPoint(262, 2)) << "the second column";
    panel->spinBoxes[0]->setValue(0.5f);
    EXPECT_EQ(panel->spinBoxes[0]->number, 7) << "disabled boxes take no value";
    CPoint where = panel->spinBoxes[0]->getViewSize().getCenter();
    EXPECT_EQ(panel->spinBoxes[0]->onMouseDown(where, CButtonState(kLButton)), kMouseEventNotHandled);
    const OffscreenImage image = renderToPng(*panel, "midi_assign_panel");
    EXPECT_EQ(image.getPixel(650, 410).alpha, 0) << "no background of its own";
    EXPECT_GT(image.getPixel(204, 20).alpha, 200) << "the first box is drawn";
}

TEST(FxConverters, TextsAtTheirEndsMiddlesAndSteps)
{
    const std::tuple<ValueConverter, float, const char*> cases[] = {
        {convertRoom, 0.f, "1"},           {convertRoom, 1.f, "800"},         {convertRoom, 0.5f, "400"},
        {convertHz, 0.f, "40"},            {convertHz, 1.f, "10000"},         {convertHz, 0.5f, "5020"},
        {convertDryWet, 0.25f, "75/25"},   {convertPitchFx, 0.4f, "scratch"}, {convertPitchFx, 0.5f, "tapestop "},
        {convertPitchFx, 1.f, "vibrato"},  {convertPitchFx, 1.5f, ""},        {convertPitchFx, -0.1f, ""},
        {convertPitchFx, std::nanf(""), ""}, {convertPercent, 0.999f, "99"},
    };
    for (const auto& [converter, value, text] : cases)
        EXPECT_EQ(converter(value), text) << value;
    for (int step = 0; step <= 100; ++step) { // the two shares always add up to 100
        const std::string text = convertDryWet(step / 100.f);
        EXPECT_EQ(std::stoi(text.substr(0, text.find('/'))) + std::stoi(text.substr(text.find('/') + 1)), 100) << text;
    }
}
