#include "SpinBox2.h"

#include "FilmStrip.h"
#include "SpinNumber.h"
#include <cmath>
#include <string>

using namespace VSTGUI;

SpinBox2::SpinBox2(const CRect& size, IControlListener* listener, int32 tag, CBitmap* picture)
    : CControl(size, listener, tag), bitmap(picture), repeat(this)
{
    FilmStrip::share(bitmap);
}

SpinBox2::SpinBox2(const SpinBox2& other)
    : CControl(other), IControlListener(other), maximum(other.maximum), minimum(other.minimum),
      fontColor(other.fontColor), font(other.font), bitmap(other.bitmap), textMode(other.textMode), repeat(this)
{
    FilmStrip::share(bitmap);
}

SpinBox2::~SpinBox2() { FilmStrip::release(bitmap); }

void SpinBox2::setValue(float newValue)
{
    if (std::isnan(newValue) || newValue == value)
        return;
    CControl::setValue(newValue);
    setDirty(true);
}

int32 SpinBox2::number() const { return SpinNumber::truncated(value, minimum, maximum); }

void SpinBox2::removed(CViewContainer* oldParent)
{
    repeat.stop(); // no step may fire on a box that is no longer shown
    CControl::removed(oldParent);
}

void SpinBox2::valueChanged(CControl* arrow)
{
    if (!arrow || arrow->getValue() < 0.5f)
    {
        repeat.stop();
        return;
    }
    repeat.start(kRepeatDelay);
    const int32 tagOfArrow = arrow->getTag();
    direction = tagOfArrow == kUpArrowTag ? 1 : (tagOfArrow == kDownArrowTag ? -1 : 0);
    stepFrom(number(), direction);
}

void SpinBox2::stepFrom(int32 shown, int32 step)
{
    if (step == 0 || maximum <= minimum)
        return;
    const float previous = value;
    value = SpinNumber::valueOf(shown + step, minimum, maximum);
    if (value == previous)
        return;
    invalid();
    // Last: the listener may rebuild the views and free this box.
    CControl::valueChanged();
}

CMessageResult SpinBox2::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message == kMsgTimer && repeat.stepDue(sender))
        stepFrom(number(), direction);
    return kMessageUnknown;
}

void SpinBox2::draw(CDrawContext* context)
{
    if (textMode)
    {
        if (bitmap)
            bitmap->draw(context, size, CPoint(0, 0), 1.f);
        if (font)
            context->setFont(font);
        context->setFontColor(fontColor);
        CRect textArea = size;
        textArea.offset(2, 0);
        context->drawString(std::to_string(number()).c_str(), textArea, kLeftText, true);
    }
    else
    {
        const int32 frames = maximum - minimum + 1;
        const int32 frame = number() - minimum;
        FilmStrip::drawFrame(context, bitmap, size, FilmStrip::frameHeight(bitmap, frames), frame);
    }
    setDirty(false);
}
