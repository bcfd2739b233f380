#include "HSlider.h"

#include "FilmStrip.h"
#include "MouseGesture.h"
#include "SliderHandle.h"

using namespace VSTGUI;

HSlider::HSlider(const CRect& size, IControlListener* listener, int32 tag) : CControl(size, listener, tag) {}

HSlider::HSlider(const HSlider& other)
    : CControl(other), grabOffset(other.grabOffset), handleWidth(other.handleWidth), handle(other.handle)
{
    FilmStrip::share(handle);
}

HSlider::~HSlider() { FilmStrip::release(handle); }

void HSlider::setHandle(CBitmap* picture)
{
    FilmStrip::hold(handle, picture);
    handleWidth = picture ? picture->getWidth() : 0;
}

void HSlider::setValue(float newValue)
{
    CControl::setValue(newValue);
    setDirty(true);
}

CRect HSlider::handleRect() const
{
    const CCoord left = size.left + (size.getWidth() - handleWidth) * value;
    return CRect(left, size.top, left + handleWidth, size.bottom);
}

void HSlider::moveHandleTo(CCoord left)
{
    value = SliderHandle::valueAt(SliderHandle::clampLeft(left, size, handleWidth), size, handleWidth);
    valueChanged();
    invalid();
}

CMouseEventResult HSlider::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    beginEdit(); // whatever the button: every release ends it
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    if (MouseGesture::isCtrlClick(buttons))
    {
        setValue(getDefaultValue());
        valueChanged();
        invalid();
        return kMouseEventHandled;
    }
    const CRect grabbed = handleRect();
    if (grabbed.pointInside(where))
    {
        grabOffset = grabbed.getCenter().x - where.x;
        return kMouseEventHandled;
    }
    grabOffset = 0;
    moveHandleTo(int32(where.x - 0.5 * grabbed.getWidth()));
    return kMouseEventHandled;
}

CMouseEventResult HSlider::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventNotHandled;
    moveHandleTo(where.x - 0.5 * handleWidth + grabOffset);
    return kMouseEventHandled;
}

CMouseEventResult HSlider::onMouseUp(CPoint&, const CButtonState&)
{
    endEdit();
    return kMouseEventHandled;
}

void HSlider::draw(CDrawContext* context)
{
    if (handle)
        handle->draw(context, handleRect(), CPoint(0, 0), 1.f);
    setDirty(false);
}
