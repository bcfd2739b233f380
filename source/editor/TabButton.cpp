#include "TabButton.h"

#include "controls/MouseGesture.h"

using namespace VSTGUI;

namespace {
constexpr int32 kCircleStart = 8; // pixels from the header's left edge
constexpr int32 kCircleEnd = 19;
} // namespace

TabButton::TabButton(const CRect& size, IControlListener* listener, int32 tag) : CControl(size, listener, tag) {}

void TabButton::setValue(float newValue)
{
    if (!(newValue >= 0.f && newValue <= 1.f) || newValue == value)
        return;
    value = newValue;
    onFlag = newValue >= 0.5f;
    setDirty(true);
}

void TabButton::toggleRandomFlag()
{
    const float remembered = value;
    value = kFlagChanged;
    randomFlag = !randomFlag;
    valueChanged();
    value = remembered;
    invalid();
}

CMouseEventResult TabButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    beginEdit();
    const int32 dx = int32(where.x - size.left);
    const bool left = MouseGesture::isLeftAlone(buttons);
    if (left && hasRandomToggle && dx >= kCircleStart && dx <= kCircleEnd)
    {
        toggleRandomFlag();
        onFlag = true;
        return kMouseEventHandled;
    }
    if (buttons.isDoubleClick())
        toggleRandomFlag();
    if (left && !onFlag)
    {
        value = 1.f;
        valueChanged();
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult TabButton::onMouseUp(CPoint&, const CButtonState& buttons)
{
    endEdit();
    if (MouseGesture::isLeftAlone(buttons))
        onFlag = !onFlag;
    return kMouseEventHandled;
}

CMouseEventResult TabButton::onMouseCancel()
{
    endEdit();
    return kMouseEventHandled;
}

void TabButton::draw(CDrawContext* context)
{
    CColor colour = randomFlag ? randomColor : tabColor;
    colour.alpha = value >= 0.5f ? 255 : 112; // selected opaque, the others faded
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(2);
    context->setFrameColor(colour);
    context->drawRect(CRect(size.left + 1, size.top, size.right + 1, size.bottom), kDrawStroked);
    if (font)
        context->setFont(font);
    context->setFontColor(colour);
    CRect labelArea = size;
    labelArea.offset(0, -1);
    context->drawString(label.c_str(), labelArea, kCenterText, true);
    if (hasRandomToggle)
    {
        const CCoord centre = size.top + size.getHeight() * 0.5;
        const CRect circle(size.left + 8, centre - 5, size.left + 18, centre + 5);
        context->setFillColor(colour);
        context->drawEllipse(circle, randomFlag ? kDrawFilled : kDrawStroked);
    }
    setDirty(false);
}
