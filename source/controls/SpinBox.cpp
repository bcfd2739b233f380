#include "SpinBox.h"

#include "FilmStrip.h"
#include "MouseGesture.h"
#include "SpinNumber.h"
#include <algorithm>
#include <cmath>

using namespace VSTGUI;

namespace {

const CColor kGrey(127, 127, 127, 255);

int32 clampNumber(int32 number, int32 minimum, int32 maximum) { return std::max(minimum, std::min(number, maximum)); }

} // namespace

SpinBox::SpinBox(const CRect& size, IControlListener* listener, int32 tag, CBitmap* picture)
    : CControl(size, listener, tag), bitmap(picture), repeat(this)
{
    FilmStrip::share(bitmap);
}

SpinBox::SpinBox(const SpinBox& other)
    : CControl(other), maximum(other.maximum), minimum(other.minimum), number(other.number),
      lastValue(other.lastValue), enabled(other.enabled), text(other.text), defaultNumber(other.defaultNumber),
      backColor(other.backColor), fontColor(other.fontColor), font(other.font), bitmap(other.bitmap),
      upPix(other.upPix), downPix(other.downPix), repeat(this)
{
    for (CBitmap* picture : {bitmap, upPix, downPix})
        FilmStrip::share(picture);
}

SpinBox::~SpinBox()
{
    for (CBitmap** slot : {&bitmap, &upPix, &downPix})
        FilmStrip::release(*slot);
}

void SpinBox::setMinimum(int newMinimum)
{
    minimum = newMinimum;
    if (value == 0.f)
    {
        number = minimum;
        text = SpinNumber::limitedText(number);
    }
}

void SpinBox::setDefaultValue(int newDefault) { defaultNumber = clampNumber(newDefault, minimum, maximum); }
void SpinBox::setUpPix(CBitmap* picture) { FilmStrip::hold(upPix, picture); }
void SpinBox::setDownPix(CBitmap* picture) { FilmStrip::hold(downPix, picture); }

void SpinBox::setValue(float newValue)
{
    if (!enabled || std::isnan(newValue) || newValue == lastValue)
        return;
    CControl::setValue(newValue);
    lastValue = newValue;
    number = SpinNumber::roundedUp(value, minimum, maximum);
    text = SpinNumber::limitedText(number);
    invalid();
}

void SpinBox::removed(CViewContainer* oldParent)
{
    repeat.stop(); // no step may fire on a box that is no longer shown
    pressed = false;
    CControl::removed(oldParent);
}

void SpinBox::show(int32 newNumber)
{
    number = clampNumber(newNumber, minimum, maximum);
    value = SpinNumber::valueOf(number, minimum, maximum);
    text = SpinNumber::limitedText(number);
    invalid();
    if (value == lastValue)
        return;
    lastValue = value;
    // Last: the listener may rebuild the views and free this box.
    valueChanged();
}

CMouseEventResult SpinBox::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    // Refused before the edit opens: a refused press gets no release to close it.
    if (!enabled)
        return kMouseEventNotHandled;
    beginEdit();
    pressed = true;
    if (MouseGesture::isLeftAlone(buttons) && MouseGesture::isControlOnly(buttons))
    {
        show(defaultNumber);
        return kMouseEventHandled;
    }
    direction = int32(where.y - size.top) <= int32(size.getHeight() * 0.5) ? 1 : -1;
    repeat.start(kRepeatDelay);
    show(number + direction);
    return kMouseEventHandled;
}

CMouseEventResult SpinBox::onMouseUp(CPoint&, const CButtonState&)
{
    endEdit();
    pressed = false;
    direction = 0;
    repeat.stop();
    return kMouseEventHandled;
}

CMessageResult SpinBox::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message != kMsgTimer || !repeat.stepDue(sender) || direction == 0)
        return kMessageUnknown;
    const int32 next = number + direction;
    if (next <= minimum || next >= maximum)
        direction = 0; // an end is reached: the repeat rests until the next press
    show(next);
    return kMessageUnknown;
}

void SpinBox::draw(CDrawContext* context)
{
    context->setLineWidth(1);
    context->setFrameColor(kGrey);
    if (bitmap)
    {
        bitmap->draw(context, size, CPoint(0, 0), 1.f);
    }
    else
    {
        CRect box = size;
        box.inset(1, 1);
        CGraphicsPath* path = context->createRoundRectGraphicsPath(box, 4);
        context->setDrawMode(kAntiAliasing);
        context->setFillColor(backColor);
        context->drawGraphicsPath(path, CDrawContext::kPathFilled);
        context->drawGraphicsPath(path, CDrawContext::kPathStroked);
        path->forget();
    }
    context->setFont(font);
    context->setFontColor(fontColor);
    CRect textArea = size;
    textArea.offset(2, 0);
    context->drawString(text.c_str(), textArea, kLeftText, true);
    if (enabled)
        drawArrows(context);
    setDirty(false);
}

void SpinBox::drawArrows(CDrawContext* context)
{
    const CCoord width = size.getWidth();
    const CCoord height = size.getHeight();
    if (upPix && downPix)
    {
        const CCoord right = int32(size.left) + width;
        const CCoord top = int32(size.top);
        upPix->draw(context, CRect(right - upPix->getWidth(), top, right, top + upPix->getHeight()), CPoint(0, 0), 1.f);
        downPix->draw(context, CRect(right - downPix->getWidth(), top + height - downPix->getHeight(), right, top + height),
                      CPoint(0, 0), 1.f);
        return;
    }
    const CCoord left = int32(size.left) - 3;
    const CCoord top = int32(size.top) + 4;
    context->setFillColor(kGrey);
    context->drawPolygon({CPoint(left + width - 12, top + height / 2 - 6), CPoint(left + width - 6, top),
                          CPoint(left + width, top + height / 2 - 6)},
                         kDrawFilled);
    context->drawPolygon({CPoint(left + width - 12, top + height / 2 - 2), CPoint(left + width - 6, top + height - 8),
                          CPoint(left + width, top + height / 2 - 2)},
                         kDrawFilled);
}
