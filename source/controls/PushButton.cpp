#include "PushButton.h"

#include "ButtonGroup2.h"
#include "FilmStrip.h"
#include "HoverPicture.h"
#include "MouseGesture.h"
#include <cmath>

using namespace VSTGUI;

PushButton::PushButton(const CRect& size, Vextoria3Editor* buttonOwner, int buttonTag)
    : CView(size), tag(buttonTag), owner(buttonOwner)
{
}

PushButton::PushButton(const PushButton& other)
    : CView(other), tag(other.tag), currentPix(other.currentPix), on(other.on), toggle(other.toggle),
      disabled(other.disabled), locked(other.locked), keepStateOnUp(other.keepStateOnUp), dimmed(other.dimmed),
      group(other.group), lastClick(other.lastClick), slideMode(other.slideMode), text(other.text),
      activeText(other.activeText), textColor(other.textColor), activeTextColor(other.activeTextColor),
      font(other.font), threshold(other.threshold), owner(other.owner),
      valueChangedCallback(other.valueChangedCallback), pressedCallback(other.pressedCallback),
      value(other.value), normalPix(other.normalPix), disabledPix(other.disabledPix), hoverPix(other.hoverPix),
      pressedPix(other.pressedPix), activePix(other.activePix)
{
    for (CBitmap* picture : {normalPix, disabledPix, hoverPix, pressedPix, activePix})
        FilmStrip::share(picture);
}

PushButton::~PushButton()
{
    // A group must not keep pointing at a button that is gone.
    if (group)
        group->removeButton(this);
    for (CBitmap** slot : {&normalPix, &disabledPix, &hoverPix, &pressedPix, &activePix})
        FilmStrip::release(*slot);
}

void PushButton::setNormalPix(CBitmap* picture)
{
    FilmStrip::hold(normalPix, picture);
    currentPix = normalPix;
}

// The current picture may alias the one being replaced; it follows the new one.
static void replaceShown(CBitmap*& slot, CBitmap* picture, CBitmap*& current)
{
    const bool shown = slot && current == slot;
    FilmStrip::hold(slot, picture);
    if (shown)
        current = slot;
}

void PushButton::setDisabledPix(CBitmap* picture) { replaceShown(disabledPix, picture, currentPix); }
void PushButton::setHoverPix(CBitmap* picture) { replaceShown(hoverPix, picture, currentPix); }
void PushButton::setPressedPix(CBitmap* picture) { replaceShown(pressedPix, picture, currentPix); }
void PushButton::setActivePix(CBitmap* picture) { replaceShown(activePix, picture, currentPix); }

void PushButton::setValue(float newValue)
{
    if (std::isnan(newValue) || newValue == value)
        return;
    if (!toggle)
    {
        currentPix = double(newValue) < threshold ? normalPix : pressedPix;
    }
    else
    {
        if (disabled)
            return;
        on = double(newValue) >= threshold;
        currentPix = restingPicture();
        if (group)
            group->exclusivitor(this, on);
    }
    invalid();
    value = newValue;
}

void PushButton::valueChanged(int clickTag, float newValue)
{
    if (owner && valueChangedCallback)
        (owner->*valueChangedCallback)(clickTag, newValue);
}

void PushButton::pressed()
{
    if (owner && pressedCallback)
        (owner->*pressedCallback)();
}

void PushButton::draw(CDrawContext* context)
{
    if (!currentPix)
        return;
    context->setDrawMode(kAntiAliasing);
    if (dimmed)
        context->setGlobalAlpha(context->getGlobalAlpha() * 0.5f);
    currentPix->draw(context, size, CPoint(0, 0), 1.f);
    if (!text.empty())
    {
        context->setFont(font);
        context->setFontColor(on ? activeTextColor : textColor);
        const std::string& caption = on && !activeText.empty() ? activeText : text;
        context->drawString(caption.c_str(), size, kCenterText, true);
    }
    setDirty(false);
}

CMouseEventResult PushButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    lastClick = where;
    if (slideMode)
        return slide(buttons);
    if (MouseGesture::isLeftAlone(buttons))
    {
        if (refusesClicks())
            return kMouseEventNotHandled;
        currentPix = pressedPix;
        mouseDown = true;
        if (!toggle)
        {
            value = 1.f;
            valueChanged(tag, 1.f);
        }
        invalid();
        // The owner acts on the press, not on the release.
        pressed();
    }
    else if (MouseGesture::isRightAlone(buttons))
    {
        rightDown = true;
    }
    return kMouseEventHandled;
}

// Slide mode: the press does not capture the mouse, so a drag reaches every button it enters.
CMouseEventResult PushButton::slide(const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons) && !on)
    {
        if (CBitmap* picture = pressedPix ? pressedPix : activePix)
            currentPix = picture;
        pressed();
        valueChanged(tag, 1.f);
        invalid();
    }
    else if (MouseGesture::isRightAlone(buttons) && on)
    {
        currentPix = normalPix;
        valueChanged(tag, 0.f);
        invalid();
    }
    return kMouseMoveEventHandledButDontNeedMoreEvents;
}

CMouseEventResult PushButton::onMouseUp(CPoint&, const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons) || mouseDown)
    {
        if (refusesClicks())
            return kMouseEventNotHandled;
        releaseLeft();
    }
    if (rightDown)
        rightClick(tag, lastClick);
    mouseDown = rightDown = false;
    return kMouseEventHandled;
}

void PushButton::releaseLeft()
{
    if (!toggle)
    {
        value = 0.f;
        currentPix = normalPix;
        valueChanged(tag, 0.f);
        invalid();
        return;
    }
    if (!keepStateOnUp)
    {
        on = !on;
        currentPix = restingPicture();
        if (group)
            group->exclusivitor(this, on);
    }
    else if (currentPix != normalPix)
    {
        currentPix = onPicture();
    }
    value = on ? 1.f : 0.f;
    valueChanged(tag, value);
    invalid();
}

CMouseEventResult PushButton::onMouseEntered(CPoint&, const CButtonState& buttons)
{
    if (slideMode)
        return slide(buttons);
    return HoverPicture::enter(*this, disabled, currentPix, hoverPix, on);
}

CMouseEventResult PushButton::onMouseExited(CPoint&, const CButtonState&)
{
    return HoverPicture::leave(*this, disabled, currentPix, hoverPix, restingPicture());
}
