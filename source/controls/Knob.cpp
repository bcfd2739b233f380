#include "Knob.h"

#include "FilmStrip.h"
#include <algorithm>
#include <cmath>

using namespace VSTGUI;

namespace {

CFontRef knobFont()
{
    // Made once and kept until the library goes: every knob draws with it.
    static CFontDesc font("System", 16, kBoldFace);
    return &font;
}

const CColor kTextBoxColor(0, 220, 0, 128);
const CColor kTextBoxTextColor(0, 33, 0, 255);

} // namespace

std::string intToString(int number) { return std::to_string(number); }

Knob::Knob(const CRect& size, IControlListener* listener, int32 tag, CBitmap* strip, int frameCount)
    : CControl(size, listener, tag), lastFrame(frameCount), font(knobFont())
{
    if (strip)
        setKnobPix(strip, frameCount);
}

Knob::Knob(const Knob& other)
    : CControl(other), CMouseWheelEditingSupport(other), knobPix(other.knobPix), lastFrame(other.lastFrame),
      frame(other.frame), frameSize(other.frameSize), text(other.text), font(other.font), range(other.range),
      position(other.position), accelerator(other.accelerator), startValue(other.startValue),
      knobValue(other.knobValue), lastValue(other.lastValue), integerFrames(other.integerFrames),
      showText(other.showText), textOnlyWhileEditing(other.textOnlyWhileEditing)
{
    FilmStrip::share(knobPix);
}

Knob::~Knob() { FilmStrip::release(knobPix); }

void Knob::setKnobPix(CBitmap* strip, int frameCount)
{
    if (!strip || frameCount < 1)
        return;
    FilmStrip::hold(knobPix, strip);
    const int32 width = int32(strip->getWidth());
    const int32 height = int32(strip->getHeight());
    if (height > width)
        frameSize = height / frameCount;
    else if (width > height)
        frameSize = width / frameCount;
    lastFrame = frameCount - 1;
}

void Knob::setRange(int steps)
{
    if (steps >= 1)
        range = steps;
}

void Knob::setStartValue(int offset)
{
    if (std::abs(offset) < range)
        startValue = offset;
}

void Knob::setAccelerator(int pixels)
{
    if (pixels >= 1)
        accelerator = double(range) / double(pixels);
}

void Knob::setDefaultValue(float newDefault)
{
    CControl::setDefaultValue(newDefault >= 0.f && newDefault <= 1.f ? newDefault : 0.5f);
}

void Knob::updateFrame()
{
    if (integerFrames)
        frame = (lastFrame * int32(position)) / range;
    else
        frame = int32(lastFrame * position / range);
}

void Knob::showPosition(double newPosition, int textNumber)
{
    position = newPosition;
    updateFrame();
    text = intToString(textNumber + startValue);
}

// Reports the position as the control's value unless it was the last one reported.
void Knob::reportPosition()
{
    knobValue = float(position / range);
    if (knobValue != lastValue)
    {
        value = knobValue;
        valueChanged();
    }
    lastValue = knobValue;
}

void Knob::setValue(float newValue)
{
    if (!(newValue >= 0.f && newValue <= 1.f) || newValue == knobValue || isEditing())
        return;
    const float scaled = float(range) * newValue;
    showPosition(scaled, int(scaled));
    knobValue = newValue;
    value = newValue;
    lastValue = -1.f; // the next drag step reports even an unchanged value
    invalid();
}

void Knob::draw(CDrawContext* context)
{
    FilmStrip::drawFrame(context, knobPix, size, frameSize, frame);
    if (showText)
        drawValueText(context);
    setDirty(false);
}

void Knob::drawValueText(CDrawContext* context)
{
    if (!textOnlyWhileEditing)
    {
        context->drawString(text.c_str(), size, kCenterText, true);
        return;
    }
    if (!editing)
        return;
    context->setDrawMode(kAntiAliasing);
    CRect box = size;
    box.left += 2;
    box.right -= 2;
    box.top += 8;
    box.bottom -= 8;
    CGraphicsPath* path = context->createRoundRectGraphicsPath(box, 4);
    context->setFillColor(kTextBoxColor);
    context->drawGraphicsPath(path, CDrawContext::kPathFilled);
    path->forget();
    context->setFont(font);
    context->setFontColor(kTextBoxTextColor);
    context->drawString(text.c_str(), box, kCenterText, true);
}

CMouseEventResult Knob::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (MouseGesture::isRightAlone(buttons))
        return kMouseEventHandled;
    beginEdit();
    if (MouseGesture::isLeftAlone(buttons))
        drag.start(where, size.top);
    if (MouseGesture::wantsDefault(buttons))
    {
        const float scaled = float(range) * getDefaultValue();
        showPosition(scaled, int(scaled));
        reportPosition();
    }
    editing = true;
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult Knob::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    const double moved = drag.step(where, size.top, buttons) * accelerator;
    const double newPosition = std::clamp(position + moved, 0.0, double(range));
    showPosition(newPosition, int(newPosition));
    reportPosition();
    editing = true;
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult Knob::onMouseUp(CPoint&, const CButtonState&)
{
    editing = false;
    if (textOnlyWhileEditing)
        invalid();
    endEdit();
    return kMouseEventHandled;
}

bool Knob::onWheel(const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState&)
{
    onMouseWheelEditing(this);
    const double newPosition = std::clamp(position + MouseGesture::wheelStep(distance), 0.0, double(range));
    showPosition(newPosition, int(newPosition));
    reportPosition();
    editing = true;
    invalid();
    return true;
}
