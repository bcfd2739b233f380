#include "Oscilloscope.h"

#include <algorithm>

using namespace VSTGUI;

namespace {
// The smoothers run once per point; the rate is a fixed number, not the host's.
constexpr double kSmoothRate = 44100.0;
constexpr float kByteScale = 0.0078125f; // 1 / 128
} // namespace

Oscilloscope::Oscilloscope(const CRect& size)
    : CView(size), minValues(size_t(kCapacity), 0.f), maxValues(size_t(kCapacity), 0.f),
      minSmoother(4.0, kSmoothRate), maxSmoother(4.0, kSmoothRate)
{
    minSmoother.init(0.325, kSmoothRate);
    maxSmoother.init(0.325, kSmoothRate);
    setAlphaValue(0.76f);
}

void Oscilloscope::process(const int8_t* data, int count)
{
    for (int i = 0; data && i < count; ++i)
    {
        if (sampleCount >= samplesPerPoint)
        {
            addValues(currentMin, currentMax);
            currentMin = currentMax = 0;
            sampleCount = 1;
        }
        else
            ++sampleCount;
        const float sample = float(data[i]) * kByteScale;
        currentMax = std::max(currentMax, sample);
        currentMin = std::min(currentMin, sample);
    }
    invalid();
}

void Oscilloscope::addValues(float min, float max)
{
    const int32 fit = std::min(int32(getWidth()) / std::max(pointStep, int32(1)), capacity);
    if (fit < 1)
        return;
    if (pointCount >= fit)
    {
        // Keep the newest fit - 1 points (one less than held when the view has narrowed).
        const int32 dropped = pointCount - fit + 1;
        std::copy(minValues.begin() + dropped, minValues.begin() + pointCount, minValues.begin());
        std::copy(maxValues.begin() + dropped, maxValues.begin() + pointCount, maxValues.begin());
        pointCount = fit - 1;
    }
    minValues[size_t(pointCount)] = smooth ? float(minSmoother.process(min)) : min;
    maxValues[size_t(pointCount)] = smooth ? float(maxSmoother.process(max)) : max;
    ++pointCount;
}

void Oscilloscope::setStyle(double value)
{
    static constexpr struct
    {
        int32 step;
        bool smoothed;
    } kStyles[] = {{9, false}, {1, false}, {1, true}};
    const double doubled = 2.0 * value;
    if (!(doubled >= 0.0 && doubled < 3.0))
        return;
    const auto& style = kStyles[int(doubled)];
    pointCount = 0;
    pointStep = style.step;
    smooth = style.smoothed;
}

void Oscilloscope::draw(CDrawContext* context)
{
    CView::draw(context);
    const int32 height = int32(getHeight());
    const Placement at {int32(size.left), int32(size.top), int32(size.top) + height / 2, height * 0.5};
    if (smooth)
        drawEnvelope(context, at);
    else
        drawBars(context, at);
    setDirty(false);
}

void Oscilloscope::drawBars(CDrawContext* context, const Placement& at) const
{
    context->setFrameColor(traceColor);
    if (pointStep > 6)
        context->setLineWidth(pointStep - 3);
    for (int32 i = 0; i < pointCount; ++i)
    {
        const CCoord x = at.left + i * pointStep;
        // The 1.0 makes a silent point a one-pixel line just above the centre.
        context->drawLine(CPoint(x, at.centre - int32(minValues[size_t(i)] * at.scale)),
                          CPoint(x, at.centre - int32(maxValues[size_t(i)] * at.scale + 1.0)));
    }
}

void Oscilloscope::drawEnvelope(CDrawContext* context, const Placement& at) const
{
    context->setDrawMode(kAntiAliasing);
    auto upper = SharedPointer<CGraphicsPath>::adopt(context->createGraphicsPath());
    auto lower = SharedPointer<CGraphicsPath>::adopt(context->createGraphicsPath());
    upper->beginSubpath(CPoint(at.left, at.top + at.scale));
    lower->beginSubpath(CPoint(at.left, at.top + at.scale));
    CColor fill = traceColor;
    fill.alpha = 64;
    context->setFrameColor(fill);
    // Only the smoothed minima are drawn, mirrored about the centre.
    for (int32 i = 0; i < pointCount; ++i)
    {
        const int32 amplitude = int32(minValues[size_t(i)] * at.scale);
        const CPoint above(at.left + i, at.centre - amplitude);
        const CPoint below(at.left + i, at.centre + amplitude);
        upper->addLine(above);
        lower->addLine(below);
        context->drawLine(above, below);
    }
    context->setFrameColor(traceColor);
    context->drawGraphicsPath(upper.get(), CDrawContext::kPathStroked);
    context->drawGraphicsPath(lower.get(), CDrawContext::kPathStroked);
}
