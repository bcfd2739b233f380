#include "Knob2.h"

#include <algorithm>

using namespace VSTGUI;

namespace {

CFontRef knob2Font()
{
    // Made once and kept until the library goes: every vector knob draws with it, and each
    // new knob puts back the size and style that an owner may have changed.
    static CFontDesc font("Arial", 16, kBoldFace);
    font.setSize(16);
    font.setStyle(kBoldFace);
    return &font;
}

const CColor kDiscColor(127, 127, 127, 62);

} // namespace

Knob2::Knob2(const CRect& size, IControlListener* listener, int32 tag, CBitmap*)
    : CControl(size, listener, tag), font(knob2Font()), timer(new CVSTGUITimer(this, 100, false))
{
}

Knob2::Knob2(const Knob2& other)
    : CControl(other), font(knob2Font()), sensitivity(other.sensitivity), position(other.position),
      range(other.range), lastValue(other.lastValue), timer(new CVSTGUITimer(this, 100, false)),
      arcColor(other.arcColor), textColor(other.textColor), lineWidth(other.lineWidth),
      valueText(other.valueText), unit(other.unit), converter(other.converter)
{
}

Knob2::~Knob2()
{
    timer->stop();
    timer->forget();
}

void Knob2::setAccelerator(int pixels)
{
    if (pixels >= 1)
        sensitivity = double(range) / double(pixels);
}

void Knob2::setRange(int steps)
{
    if (steps >= 1)
        range = steps;
}

void Knob2::setValue(float newValue)
{
    if (!(newValue >= 0.f && newValue <= 1.f) || newValue == value)
        return;
    value = newValue;
    position = float(range) * newValue;
    setDirty(true);
}

void Knob2::draw(CDrawContext* context)
{
    const double lw = lineWidth;
    context->setDrawMode(kAntiAliasing);
    context->setFillColor(kTransparentCColor);
    context->drawRect(size, kDrawFilled);

    CRect disc = size;
    disc.inset(1.5 * lw, 1.5 * lw);
    context->setFillColor(kDiscColor);
    context->drawEllipse(disc, kDrawFilled);

    const float end = kStartAngle + kSweep * value;
    CRect arc = size;
    arc.inset(lw, lw);
    context->setLineWidth(lw);
    context->setFrameColor(arcColor);
    context->drawArc(arc, kStartAngle, end, kDrawStroked);

    CRect pointer = size;
    pointer.inset(lw + 2, lw + 2);
    context->setLineWidth(lw + 4);
    context->drawArc(pointer, end - 5.f, end + 5.f, kDrawStroked);

    valueText = converter(value) + unit;
    const CCoord margin = int32(getWidth() * 0.25);
    const CRect textRect(size.left + 2, size.top + margin, size.right - 2, size.bottom - margin);
    context->setFontColor(textColor);
    context->setFont(font);
    context->drawString(valueText.c_str(), textRect, kCenterText, true);
    setDirty(false);
}

void Knob2::reportIfChanged(float newValue, float previous)
{
    value = newValue;
    if (newValue != previous)
        valueChanged();
}

CMouseEventResult Knob2::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    beginEdit();
    if (MouseGesture::isLeftAlone(buttons))
        drag.start(where, size.top);
    if (MouseGesture::wantsDefault(buttons))
    {
        // Told even when already at the default: the user asked for it.
        value = getDefaultValue();
        position = float(range) * value;
        valueChanged();
    }
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult Knob2::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    position = std::clamp(position + drag.step(where, size.top, buttons) * sensitivity, 0.0, double(range));
    reportIfChanged(float(position / range), lastValue);
    lastValue = value;
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult Knob2::onMouseUp(CPoint&, const CButtonState&)
{
    invalid();
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult Knob2::onMouseExited(CPoint&, const CButtonState&) { return kMouseEventHandled; }

bool Knob2::onWheel(const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState&)
{
    timer->stop();
    position = std::clamp(position + MouseGesture::wheelStep(distance), 0.0, double(range));
    reportIfChanged(float(position / range), value);
    lastValue = value;
    invalid();
    timer->setFireTime(kRedrawDelay);
    timer->start();
    return true;
}

CMessageResult Knob2::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message == kMsgTimer && sender == timer)
    {
        timer->stop();
        invalid();
    }
    return kMessageUnknown;
}
