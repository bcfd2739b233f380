#include "MiniSlider.h"

#include "MouseGesture.h"
#include "SliderHandle.h"
#include "editor/Vextoria3Editor.h"
#include <algorithm>
#include <cmath>

using namespace VSTGUI;

namespace {

CColor withAlpha(CColor colour, uint8_t alpha)
{
    colour.alpha = alpha;
    return colour;
}

} // namespace

MiniSlider::MiniSlider(const CRect& size, IControlListener* listener, int32 tag)
    : CControl(size, listener, tag), handleRect(size.left, size.top + 1, size.left + 6, size.bottom - 1)
{
}

void MiniSlider::setValue(float newValue)
{
    if (std::isnan(newValue) || newValue == value || isEditing())
        return;
    value = std::clamp(newValue, 0.f, 1.f);
    placeHandleFor(value);
    setDirty(true);
}

void MiniSlider::placeHandleFor(float newValue)
{
    const float travel = float(int32(size.getWidth() - handleWidth));
    handleRect.left = std::trunc(travel * newValue + float(int32(size.left)));
    handleRect.right = handleRect.left + handleWidth;
}

void MiniSlider::moveHandleTo(CCoord left)
{
    handleRect.left = left;
    handleRect.right = left + handleWidth;
    value = SliderHandle::valueAt(left, size, handleWidth);
}

CCoord MiniSlider::travelLimit(CCoord x) const { return SliderHandle::clampLeft(x, size, handleRect.getWidth()); }

void MiniSlider::report()
{
    auto* editor = dynamic_cast<Vextoria3Editor*>(listener);
    if (editor && changeCallback)
        (editor->*changeCallback)(this);
    valueChanged();
}

CMouseEventResult MiniSlider::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    beginEdit();
    anchorX = where.x;
    if (MouseGesture::isCtrlClick(buttons))
    {
        const float previous = value;
        value = std::clamp(getDefaultValue(), 0.f, 1.f);
        placeHandleFor(value);
        if (value != previous)
            report();
        invalid();
        return kMouseEventHandled;
    }
    if (handleRect.pointInside(where))
        return kMouseEventHandled; // grabbed: the value changes only when the pointer moves
    moveHandleTo(travelLimit(int32(where.x - 0.5 * handleRect.getWidth())));
    report();
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult MiniSlider::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventNotHandled;
    moveHandleTo(travelLimit(handleRect.left + (where.x - anchorX)));
    report(); // on every move, also with the handle pinned at an end
    invalid();
    anchorX = travelLimit(where.x);
    return kMouseEventHandled;
}

CMouseEventResult MiniSlider::onMouseUp(CPoint&, const CButtonState&)
{
    endEdit();
    return kMouseEventHandled;
}

void MiniSlider::draw(CDrawContext* context)
{
    context->setDrawMode(kAntiAliasing);
    CGraphicsPath* frame = context->createRoundRectGraphicsPath(size, 2);
    context->setFillColor(withAlpha(frameColor, 64));
    context->drawGraphicsPath(frame, CDrawContext::kPathFilled);
    frame->forget();

    CRect track = size;
    track.inset(2, 2);
    CGraphicsPath* trackPath = context->createRoundRectGraphicsPath(track, 2);
    // The frame colour over the track gives it a faint sheen.
    for (const CColor& fill : {trackColor, withAlpha(frameColor, 51)})
    {
        context->setFillColor(fill);
        context->drawGraphicsPath(trackPath, CDrawContext::kPathFilled);
    }
    trackPath->forget();

    context->setFillColor(handleColor);
    context->drawRect(handleRect, kDrawFilled);
    // A black handle would vanish in its usual grey outline.
    context->setFrameColor(handleColor == CColor(0, 0, 0, 255) ? CColor(82, 82, 82, 255) : CColor(127, 127, 127, 255));
    context->setLineWidth(1);
    context->drawRect(handleRect, kDrawStroked);
    setDirty(false);
}
