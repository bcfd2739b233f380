#include "Button.h"

#include "ButtonGroup.h"
#include "FilmStrip.h"
#include "HoverPicture.h"
#include "MouseGesture.h"
#include "editor/Vextoria3Editor.h"
#include <cmath>
#include <utility>

using namespace VSTGUI;

Button::Button(const CRect& size, IControlListener* listener, int32 tag) : CControl(size, listener, tag) {}

Button::Button(const Button& other)
    : CControl(other),
      currentPix(other.currentPix), normalPix(other.normalPix), hoverPix(other.hoverPix),
      pressedPix(other.pressedPix), activePix(other.activePix), buttonPix(other.buttonPix),
      frames(other.frames), on(other.on), toggle(other.toggle), disabled(other.disabled),
      group(other.group), threshold(other.threshold), text(other.text), activeText(other.activeText),
      textColor(other.textColor), activeTextColor(other.activeTextColor), font(other.font),
      rightClickCallback(other.rightClickCallback), releaseClickCallback(other.releaseClickCallback)
{
    for (CBitmap* picture : {normalPix, hoverPix, pressedPix, activePix, buttonPix})
        FilmStrip::share(picture);
}

Button::~Button()
{
    // A group must not keep pointing at a button that is gone.
    if (group)
        group->removeButton(this);
    for (CBitmap** slot : {&normalPix, &hoverPix, &pressedPix, &activePix, &buttonPix})
        FilmStrip::release(*slot);
}

void Button::setButtonPix(CBitmap* strip, int frameCount)
{
    FilmStrip::hold(buttonPix, strip);
    frames = frameCount;
}

void Button::setNormalPix(CBitmap* picture)
{
    FilmStrip::hold(normalPix, picture);
    currentPix = normalPix;
}

void Button::setHoverPix(CBitmap* picture) { replacePicture(hoverPix, picture); }
void Button::setPressedPix(CBitmap* picture) { replacePicture(pressedPix, picture); }
void Button::setActivePix(CBitmap* picture) { replacePicture(activePix, picture); }

void Button::replacePicture(CBitmap*& slot, CBitmap* picture)
{
    bool shown = slot && currentPix == slot;
    FilmStrip::hold(slot, picture);
    if (shown)
        currentPix = slot;
}

Vextoria3Editor* Button::owner() const { return dynamic_cast<Vextoria3Editor*>(listener); }

void Button::rightClick(int clickTag, CPoint where)
{
    if (Vextoria3Editor* editor = owner(); editor && rightClickCallback)
        (editor->*rightClickCallback)(clickTag, where);
}

void Button::releaseClick()
{
    if (Vextoria3Editor* editor = owner(); editor && releaseClickCallback)
        (editor->*releaseClickCallback)();
}

void Button::applyToggleState(bool state)
{
    on = state;
    currentPix = restingPicture();
    if (group)
        group->exclusivitor(this, on);
}

void Button::setValue(float newValue)
{
    if (std::isnan(newValue))
        return;
    CControl::setValue(newValue);
    if (!toggle)
    {
        currentPix = newValue < threshold ? normalPix : pressedPix;
        setDirty(true);
        return;
    }
    if (disabled)
        return;
    applyToggleState(double(newValue) >= threshold);
    setDirty(true);
}

int32 Button::stripFrameIndex() const
{
    if (pressed)
        return 1;
    if (value < 0.5f)
        return 0;
    return toggle && frames >= 3 ? 2 : 1;
}

void Button::draw(CDrawContext* context)
{
    if (buttonPix)
    {
        FilmStrip::drawFrame(context, buttonPix, size, FilmStrip::frameHeight(buttonPix, frames), stripFrameIndex());
        setDirty(false);
    }
    if (currentPix)
    {
        currentPix->draw(context, size, CPoint(0, 0), 1.f);
        drawCaption(context);
        setDirty(false);
    }
}

void Button::drawCaption(CDrawContext* context)
{
    if (text.empty())
        return;
    context->setFont(font);
    context->setFontColor(on ? activeTextColor : textColor);
    const std::string& caption = on && !activeText.empty() ? activeText : text;
    context->drawString(caption.c_str(), size, kCenterText, true);
}

CMouseEventResult Button::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons))
    {
        if (disabled)
            return kMouseEventNotHandled;
        pressed = true;
        currentPix = pressedPix;
        if (!toggle)
        {
            beginEdit();
            value = 1.f;
            valueChanged();
        }
    }
    invalid();
    if (MouseGesture::isRightAlone(buttons))
        rightPending = true;
    return kMouseEventHandled;
}

CMouseEventResult Button::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    const int32 mouse = buttons.getButtonState();
    const bool leftRelease = (mouse & kLButton) && !(mouse & (kMButton | kButton4 | kButton5));
    if (leftRelease)
    {
        if (disabled)
            return kMouseEventNotHandled;
        if (toggle)
        {
            beginEdit();
            applyToggleState(!on);
            value = on ? 1.f : 0.f; // as the group left it
        }
        else
        {
            value = 0.f;
            currentPix = normalPix;
        }
        valueChanged();
        endEdit();
        pressed = false;
        releaseClick();
    }
    invalid();
    if (mouse == kRButton && rightPending)
    {
        rightPending = false;
        rightClick(tag, where);
    }
    if (mouse == (kLButton | kRButton))
        rightPending = pressed = false;
    return kMouseEventHandled;
}

CMouseEventResult Button::onMouseCancel()
{
    rightPending = false;
    if (!std::exchange(pressed, false))
        return kMouseEventHandled;
    if (!toggle)
    {
        value = 0.f;
        currentPix = normalPix;
        valueChanged();
        endEdit();
    }
    else
        currentPix = restingPicture();
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult Button::onMouseEntered(CPoint&, const CButtonState&)
{
    return HoverPicture::enter(*this, disabled, currentPix, hoverPix, on);
}

CMouseEventResult Button::onMouseExited(CPoint&, const CButtonState&)
{
    return HoverPicture::leave(*this, disabled, currentPix, hoverPix, restingPicture());
}
