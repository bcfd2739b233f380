// The scope: bytes folded into points, the trace scrolling once the view is full, the three
// styles, and what each style draws for silence and for a loud signal.
#include "EditorHarness.h"

#include "editor/Oscilloscope.h"

#include <cmath>

using namespace EditorTest;

namespace {

const CRect kRackScope(0, 0, 536, 156);
const CColor kTrace(0, 170, 255, 254);

// A decaying 441 Hz tone as the processor's scope ring holds it: one signed byte per sample.
std::vector<int8_t> toneBytes(int count)
{
    std::vector<int8_t> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(int8_t(std::lround(120.0 * std::exp(-i / 200000.0) * std::sin(2 * M_PI * 441 * i / 44100.0))));
    return bytes;
}

bool isTrace(const CColor& pixel) { return pixel.alpha > 20 && pixel.blue > 150 && pixel.red < 60; }

// A line on a whole-pixel x may land in the column on either side of it.
bool traceAt(const OffscreenImage& image, int x, int y)
{
    return isTrace(image.getPixel(x, y)) || isTrace(image.getPixel(x - 1, y));
}

} // namespace

TEST(OscilloscopeFolding, PointsCoverExactlyTheirSamplesAcrossMessages)
{
    Oscilloscope whole(kRackScope);
    Oscilloscope split(kRackScope);
    std::vector<int8_t> bytes(88, 0);
    bytes[10] = 127;
    bytes[20] = -128;
    whole.process(bytes.data(), 88);
    EXPECT_EQ(whole.pointCount, 0) << "88 bytes only fill the first point";
    const int8_t next = 5;
    whole.process(&next, 1);
    ASSERT_EQ(whole.pointCount, 1);
    EXPECT_EQ(whole.maxValues[0], 0.9921875f);
    EXPECT_EQ(whole.minValues[0], -1.f);
    EXPECT_EQ(whole.currentMax, 5 / 128.f) << "the 89th byte starts the next point";

    split.process(bytes.data(), 40); // the same bytes in two messages
    split.process(bytes.data() + 40, 48);
    split.process(&next, 1);
    EXPECT_EQ(split.maxValues, whole.maxValues);
    EXPECT_EQ(split.minValues, whole.minValues);
}

TEST(OscilloscopeFolding, StylesEmptyTheTraceAndTheFitNeverLeavesTheArrays)
{
    struct Case {
        double value;
        int32 step;
        bool smooth;
    };
    Oscilloscope scope(kRackScope);
    const std::vector<int8_t> tone = toneBytes(88 * 600);
    for (const Case& each : {Case {1.0, 1, true}, Case {0.75, 1, false}, Case {0.0, 9, false}, Case {0.0, 9, false}}) {
        scope.process(tone.data(), 88 * 3);
        scope.setStyle(each.value);
        EXPECT_EQ(scope.pointCount, 0) << each.value;
        EXPECT_EQ(scope.pointStep, each.step);
        EXPECT_EQ(scope.smooth, each.smooth);
    }
    scope.process(tone.data(), int(tone.size()));
    EXPECT_EQ(scope.pointCount, 536 / 9) << "the count stays at the fit";
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

TEST(OscilloscopeDrawing, EachStyleDrawsSilenceOnTheCentreAndSignalAroundIt)
{
    const std::vector<int8_t> silence(88 * 80, 0);
    const std::vector<int8_t> tone = toneBytes(88 * 600);
    const char* const names[] = {"scope_squary", "scope_waveform", "scope_smoothy"};
    const int centre = 78;
    for (int style = 0; style < 3; ++style) {
        SCOPED_TRACE(names[style]);
        Oscilloscope scope(kRackScope);
        scope.traceColor = kTrace;
        scope.setStyle(style * 0.5);
        scope.process(silence.data(), int(silence.size()));
        const int x = 2 * scope.pointStep; // the third point
        OffscreenImage quiet = renderView(scope, 1);
        const int silentRow = style == 2 ? centre : centre - 1;
        EXPECT_TRUE(traceAt(quiet, x, silentRow));
        EXPECT_FALSE(traceAt(quiet, x, centre - 20));

        scope.process(tone.data(), int(tone.size()));
        std::vector<OffscreenImage> images = renderToPng(scope, names[style]);
        for (int zoom : {1, 2}) {
            const OffscreenImage& image = images[size_t(zoom - 1)];
            const int last = (scope.pointCount - 1) * scope.pointStep * zoom;
            EXPECT_TRUE(traceAt(image, last, (centre - 30) * zoom)) << zoom;
            EXPECT_TRUE(traceAt(image, last, (centre + 10) * zoom)) << zoom;
            EXPECT_FALSE(traceAt(image, last, 2 * zoom)) << "nothing at the top edge";
        }
    }
}
