#include "Switch2.h"

#include "FilmStrip.h"

using namespace VSTGUI;

namespace {

const CColor kGroove(127, 127, 127, 64);
const CColor kSegment(127, 127, 127, 255);

void fillRounded(CDrawContext* context, const CRect& rect, const CColor& colour)
{
    CGraphicsPath* path = context->createRoundRectGraphicsPath(rect, 3);
    context->setFillColor(colour);
    context->drawGraphicsPath(path, CDrawContext::kPathFilled);
    path->forget();
}

} // namespace

Switch2::Switch2(const CRect& size, IControlListener* listener, int32 tag, int32 positionCount, Orientation direction)
    : SteppedSwitch(size, listener, tag, positionCount, true), orientation(direction)
{
    segment = direction == kVertical ? CRect(0, 0, size.getWidth(), size.getHeight() / positions)
                                     : CRect(0, 0, size.getWidth() / positions, size.getHeight());
}

Switch2::Switch2(const Switch2& other)
    : SteppedSwitch(other), segment(other.segment), strip(other.strip), orientation(other.orientation)
{
    FilmStrip::share(strip);
}

Switch2::~Switch2() { FilmStrip::release(strip); }

void Switch2::setStrip(CBitmap* picture) { FilmStrip::hold(strip, picture); }

CCoord Switch2::offsetAlongSteps(const CPoint& where) const
{
    return orientation == kVertical ? where.y - size.top : where.x - size.left;
}

CCoord Switch2::stepSize() const { return orientation == kVertical ? segment.getHeight() : segment.getWidth(); }

void Switch2::draw(CDrawContext* context)
{
    if (strip)
    {
        FilmStrip::drawFrame(context, strip, size, FilmStrip::frameHeight(strip, positions), index);
    }
    else
    {
        context->setDrawMode(kAntiAliasing);
        fillRounded(context, size, kGroove);
        const CCoord step = stepSize() * index;
        const CCoord left = int32(size.left) + (orientation == kVertical ? 0 : step);
        const CCoord top = int32(size.top) + (orientation == kVertical ? step : 0);
        segment.moveTo(left, top);
        fillRounded(context, segment, kSegment);
    }
    setDirty(false);
}
