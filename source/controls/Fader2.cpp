#include "Fader2.h"

#include "FilmStrip.h"
#include "MouseGesture.h"
#include <algorithm>

using namespace VSTGUI;

namespace {

// Clamps without assuming lo <= hi: a handle wider than the view stays at the low end.
CCoord clampLow(CCoord x, CCoord lo, CCoord hi) { return std::max(lo, std::min(x, hi)); }

} // namespace

Fader2::Fader2(const CRect& size, IControlListener* listener, int32 tag, CBitmap* strip)
    : CControl(size, listener, tag)
{
    if (strip)
        setFaderPix(strip, 128);
}

Fader2::Fader2(const Fader2& other)
    : CControl(other), faderPix(other.faderPix), handle(other.handle), lastFrame(other.lastFrame),
      frame(other.frame), frameWidth(other.frameWidth), frameHeight(other.frameHeight),
      handleRect(other.handleRect), handleWidth(other.handleWidth), handleHeight(other.handleHeight),
      style(other.style)
{
    FilmStrip::share(faderPix);
    FilmStrip::share(handle);
}

Fader2::~Fader2()
{
    FilmStrip::release(faderPix);
    FilmStrip::release(handle);
}

void Fader2::setFaderPix(CBitmap* strip, int frameCount)
{
    if (!strip || frameCount < 1)
        return;
    FilmStrip::hold(faderPix, strip);
    const int32 width = int32(strip->getWidth());
    const int32 height = int32(strip->getHeight());
    const bool tall = height > width;
    frameWidth = tall ? width : width / frameCount;
    frameHeight = tall ? height / frameCount : height;
    lastFrame = frameCount - 1;
}

void Fader2::setHandle(CBitmap* picture)
{
    if (!picture)
        return;
    FilmStrip::hold(handle, picture);
    handleWidth = picture->getWidth();
    handleHeight = picture->getHeight();
}

void Fader2::setValue(float newValue)
{
    if (newValue == value)
        return;
    CControl::setValue(newValue);
    setDirty(true);
}

// Where the handle is for the current value; the mouse hit-tests this rect.
void Fader2::placeHandle()
{
    if (handle)
    {
        const CCoord x = (getWidth() - handle->getWidth()) * value;
        handleRect = CRect(size.left + x, size.top, size.left + x + handle->getWidth(), size.bottom);
    }
    else if (style == kVertical)
    {
        const CCoord y = (1 - value) * (getHeight() - handleHeight);
        handleRect = CRect(size.left, size.top + y, size.right, size.top + y + handleHeight);
    }
    else
    {
        const CCoord x = value * (getWidth() - handleWidth);
        handleRect = CRect(size.left + x, size.top, size.left + x + handleWidth, size.bottom);
    }
}

void Fader2::draw(CDrawContext* context)
{
    if (faderPix)
    {
        frame = int32(float(lastFrame) * value);
        FilmStrip::drawFrame(context, faderPix, size, frameHeight, frame);
    }
    if (handle)
    {
        CRect moved = size;
        moved.offset((getWidth() - handle->getWidth()) * value, 0);
        handle->draw(context, moved, CPoint(0, 0), 1.f);
    }
    if (faderPix || handle)
    {
        placeHandle();
        setDirty(false);
    }
}

float Fader2::valueForHandleAt(CPoint corner) const
{
    const CCoord hw = handleRect.getWidth();
    const CCoord hh = handleRect.getHeight();
    corner.x = clampLow(corner.x, size.left, size.right - hw);
    corner.y = clampLow(corner.y, size.top, size.bottom - hh);
    if (style == kVertical)
    {
        const CCoord travel = getHeight() - handleHeight;
        return travel > 0 ? float(1 - (corner.y - size.top) / travel) : value;
    }
    const CCoord travel = getWidth() - handleWidth;
    return travel > 0 ? float(float(corner.x - size.left) / travel) : value;
}

void Fader2::moveHandleTo(const CPoint& corner, bool reportUnchanged)
{
    const float previous = value;
    CControl::setValue(valueForHandleAt(corner));
    if (value == previous && !reportUnchanged)
        return;
    valueChanged();
    invalid();
}

CMouseEventResult Fader2::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    beginEdit();
    if (MouseGesture::isControlOnly(buttons))
    {
        // Told even when already at the default: the user asked for it.
        setValue(getDefaultValue());
        valueChanged();
        invalid();
        return kMouseEventHandled;
    }
    if (handleRect.isEmpty())
        placeHandle(); // not drawn yet: hit-test where it would be drawn
    if (handleRect.pointInside(where))
    {
        const CPoint centre = handleRect.getCenter();
        grabOffset = CPoint(centre.x - where.x, centre.y - where.y);
        return kMouseEventHandled;
    }
    grabOffset = CPoint();
    moveHandleTo(CPoint(where.x - handleRect.getWidth() / 2, where.y - handleRect.getHeight() / 2), true);
    return kMouseEventHandled;
}

CMouseEventResult Fader2::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventNotHandled;
    const CPoint corner(where.x - handleRect.getWidth() / 2 + grabOffset.x,
                        where.y - handleRect.getHeight() / 2 + grabOffset.y);
    moveHandleTo(corner, false);
    return kMouseEventHandled;
}

CMouseEventResult Fader2::onMouseUp(CPoint&, const CButtonState&)
{
    endEdit();
    return kMouseEventHandled;
}
