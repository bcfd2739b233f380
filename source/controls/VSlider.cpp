#include "VSlider.h"

#include "MouseGesture.h"
#include <algorithm>
#include <cmath>

using namespace VSTGUI;

VSlider::VSlider(const CRect& size, IControlListener* listener, int32 tag) : CControl(size, listener, tag) {}

void VSlider::setValue(float newValue)
{
    CControl::setValue(newValue);
    setDirty(true);
}

float VSlider::valueAtPointer(const CPoint& where) const
{
    const double fraction = orientation == 1 ? (where.x - size.left) / size.getWidth()
                                             : 1.0 - (where.y - size.top) / size.getHeight();
    return std::isfinite(fraction) ? std::clamp(float(fraction), 0.f, 1.f) : value;
}

void VSlider::changeTo(float newValue)
{
    if (newValue != value)
    {
        value = newValue;
        valueChanged();
    }
    invalid();
}

CMouseEventResult VSlider::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    beginEdit();
    changeTo(valueAtPointer(where));
    dragging = true;
    return kMouseEventHandled;
}

CMouseEventResult VSlider::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons) && dragging)
        changeTo(valueAtPointer(where));
    return kMouseEventHandled;
}

CMouseEventResult VSlider::onMouseUp(CPoint&, const CButtonState&)
{
    endEdit();
    dragging = false;
    return kMouseEventHandled;
}

CMouseEventResult VSlider::onMouseCancel()
{
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

bool VSlider::onWheel(const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState&)
{
    onMouseWheelEditing(this);
    const double stepped = double(value) + kWheelStep * MouseGesture::wheelStep(distance);
    changeTo(float(std::clamp(stepped, 0.0, 1.0)));
    return true;
}

void VSlider::draw(CDrawContext* context)
{
    context->setDrawMode(kAntiAliasing);
    CRect outline = size;
    outline.inset(1, 1);
    CGraphicsPath* path = context->createRoundRectGraphicsPath(outline, 2);
    context->setFrameColor(barColor);
    context->drawGraphicsPath(path, CDrawContext::kPathStroked);
    path->forget();

    CRect bar = size;
    if (orientation == 1)
        bar.right = size.left + size.getWidth() * value;
    else
        bar.offset(0, (1.0 - value) * size.getHeight());
    bar.inset(1, 1);
    context->setFillColor(barColor);
    context->drawRect(bar, kDrawFilled);

    valueText = converter(value) + unit;
    if (font)
        context->setFont(font);
    context->setFontColor(textColor);
    CRect textArea = size;
    textArea.offset(0, -1);
    context->drawString(valueText.c_str(), textArea, kCenterText, true);
    setDirty(false);
}
