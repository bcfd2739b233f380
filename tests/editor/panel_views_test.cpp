// The views over the face's panel and beside it: the scope folding bytes into points and
// drawing each style, the slice pads' presses, drags and every end of a press, the pads and
// the MIDI assignment panel drawn (PNG files in the build folder), and the FX value texts.
#include "EditorHarness.h"

#include "controls/SpinBox.h"
#include "controls/ValueConverter.h"
#include "editor/FxConverters.h"
#include "editor/MidiAssignContainer.h"
#include "editor/MidiSlicerView.h"
#include "editor/Oscilloscope.h"

#include <cmath>
#include <functional>

using namespace EditorTest;

namespace {

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

class SlicePadsTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        editor->slicePads = pads = add(new MidiSlicerView(kPads, editor));
    }
    MidiSlicerView* pads = nullptr;
};

} // namespace

TEST(Oscilloscope, PointsCoverExactlyTheirSamplesAcrossMessagesAndTheFitNeverLeavesTheArrays)
{
    Oscilloscope whole(kRackScope), split(kRackScope);
    std::vector<int8_t> bytes(88, 0);
    bytes[10] = 127;
    bytes[20] = -128;
    whole.process(bytes.data(), 88);
    EXPECT_EQ(whole.pointCount, 0) << "88 bytes only fill the first point";
    const int8_t next = 5;
    whole.process(&next, 1);
    ASSERT_EQ(whole.pointCount, 1);
    EXPECT_EQ(std::pair(whole.maxValues[0], whole.minValues[0]), std::pair(0.9921875f, -1.f));
    EXPECT_EQ(whole.currentMax, 5 / 128.f) << "the 89th byte starts the next point";
    split.process(bytes.data(), 40); // the same bytes in two messages
    split.process(bytes.data() + 40, 48);
    split.process(&next, 1);
    EXPECT_EQ(split.maxValues, whole.maxValues);
    EXPECT_EQ(split.minValues, whole.minValues);

    // Each style empties the trace; no such style changes nothing; the count stays at the fit.
    Oscilloscope scope(kRackScope);
    const std::vector<int8_t> tone = toneBytes(88 * 600);
    for (auto [value, step, smooth] : {std::tuple{1.0, 1, true}, {0.75, 1, false}, {0.0, 9, false}, {0.0, 9, false}}) {
        scope.process(tone.data(), 88 * 3);
        scope.setStyle(value);
        EXPECT_EQ(std::tuple(scope.pointCount, scope.pointStep, scope.smooth), std::tuple(0, step, smooth)) << value;
    }
    scope.process(tone.data(), int(tone.size()));
    EXPECT_EQ(scope.pointCount, 536 / 9);
    scope.setStyle(1.5);
    EXPECT_EQ(scope.pointCount, 536 / 9) << "no such style: nothing changes";
    Oscilloscope narrow(CRect(0, 0, 5, 50)); // no point of 9 pixels fits
    narrow.process(tone.data(), int(tone.size()));
    EXPECT_EQ(narrow.pointCount, 0);
    Oscilloscope wide(CRect(0, 0, 2000, 50)); // wider than the arrays at one pixel per point
    wide.setStyle(0.5);
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
        SCOPED_TRACE(names[style]);
        Oscilloscope scope(kRackScope);
        scope.traceColor = CColor(0, 170, 255, 254);
        scope.setStyle(style * 0.5);
        scope.process(silence.data(), int(silence.size()));
        const OffscreenImage quiet = renderView(scope, 1);
        EXPECT_TRUE(traceAt(quiet, 2 * scope.pointStep, style == 2 ? centre : centre - 1)); // the third point
        EXPECT_FALSE(traceAt(quiet, 2 * scope.pointStep, centre - 20));
        scope.process(tone.data(), int(tone.size()));
        const std::vector<OffscreenImage> images = renderToPng(scope, names[style]);
        for (int zoom : {1, 2}) {
            const int last = (scope.pointCount - 1) * scope.pointStep * zoom;
            EXPECT_TRUE(traceAt(images[size_t(zoom - 1)], last, (centre - 30) * zoom)) << zoom;
            EXPECT_TRUE(traceAt(images[size_t(zoom - 1)], last, (centre + 10) * zoom)) << zoom;
            EXPECT_FALSE(traceAt(images[size_t(zoom - 1)], last, 2 * zoom)) << "nothing at the top edge";
        }
    }
}

TEST_F(SlicePadsTest, PressDragAndReleaseSendTheChosenSlicesThenGiveItBack)
{
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

    // Every way a press ends gives the slice back once; each says whether the window is still
    // there for a late release, which sends nothing more.
    const std::vector<std::pair<const char*, std::function<bool()>>> endings = {
        {"release", [&] { release(padX(4), kPadY); return true; }},
        {"cancel", [&] { frame->platformOnMouseCancel(); return true; }},
        {"removal", [&] { frame->removeView(pads); pads = nullptr; return true; }},
        {"editor close", [&] { editor->close(); return false; }},
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
        const std::vector<OffscreenImage> images = renderToPng(pads, "slice_pads_" + std::to_string(count));
        for (int zoom : {1, 2}) {
            const double width = 536.0 / count * zoom;
            const CColor lit = images[size_t(zoom - 1)].getPixel(int(width), 78 * zoom); // left frame of pad 2
            const CColor dim = images[size_t(zoom - 1)].getPixel(int(3 * width), 78 * zoom); // between two unlit pads
            EXPECT_GT(lit.alpha, dim.alpha + 40) << count << " pads at zoom " << zoom;
            EXPECT_EQ(images[size_t(zoom - 1)].getPixel(int(width * 2.5), 4 * zoom).alpha, 156) << "the dimmed ground";
        }
    }
}

TEST(MidiAssignPanel, TwentyFixedNumbersNoneEditableDrawnWithoutABackground)
{
    ScopedManualRunLoop runLoop;
    auto* panel = new MidiAssignContainer(CRect(0, 0, 330, 210));
    EXPECT_EQ(panel->getNbViews(), 40u);
    EXPECT_EQ(std::pair(panel->labels[19]->getText(), panel->spinBoxes[19]->number), std::pair(std::string("DLY SYNC"), 108));
    EXPECT_EQ(panel->spinBoxes[10]->getViewSize().getTopLeft(), CPoint(262, 2)) << "the second column";
    panel->spinBoxes[0]->setValue(0.5f);
    EXPECT_EQ(panel->spinBoxes[0]->number, 7) << "disabled boxes take no value";
    CPoint where = panel->spinBoxes[0]->getViewSize().getCenter();
    EXPECT_EQ(panel->spinBoxes[0]->onMouseDown(where, CButtonState(kLButton)), kMouseEventNotHandled);
    const std::vector<OffscreenImage> images = renderToPng(*panel, "midi_assign_panel");
    EXPECT_EQ(images[0].getPixel(325, 205).alpha, 0) << "no background of its own";
    EXPECT_GT(images[0].getPixel(102, 10).alpha, 200) << "the first box is drawn";
    panel->forget();
}

TEST(FxConverters, TextsAtTheirEndsMiddlesAndSteps)
{
    const std::tuple<ValueConverter, float, const char*> cases[] = {
        {convertRoom, 0.f, "1"},          {convertRoom, 1.f, "800"},         {convertRoom, 0.5f, "400"},
        {convertHz, 0.f, "40"},           {convertHz, 1.f, "10000"},         {convertHz, 0.5f, "5020"},
        {convertDryWet, 0.25f, "75/25"},  {convertDryWet, 0.f, "100/0"},     {convertDryWet, 1.f, "0/100"},
        {convertPitchFx, 0.4f, "scratch"}, {convertPitchFx, 0.5f, "tapestop "}, {convertPitchFx, 1.f, "vibrato"},
        {convertPitchFx, 1.5f, ""},       {convertPitchFx, -0.1f, ""},       {convertPitchFx, std::nanf(""), ""},
        {convertPercent, 0.999f, "99"},
    };
    for (const auto& [converter, value, text] : cases)
        EXPECT_EQ(converter(value), text) << value;
    for (int step = 0; step <= 100; ++step) { // the two shares always add up to 100
        const std::string text = convertDryWet(step / 100.f);
        EXPECT_EQ(std::stoi(text.substr(0, text.find('/'))) + std::stoi(text.substr(text.find('/') + 1)), 100) << text;
    }
}
