#include "ccheckbox.h"

#include "cbitmap.h"
#include "cdrawcontext.h"
#include <algorithm>

namespace VSTGUI {

CCheckBox::CCheckBox(const CRect& size, IControlListener* listener, int32 tag, UTF8StringPtr checkTitle,
                     CBitmap* bitmap, int32)
    : CControl(size, listener, tag, bitmap), title(checkTitle ? checkTitle : ""), font(kSystemFont)
{
}

void CCheckBox::setTitle(UTF8StringPtr newTitle)
{
    title = newTitle ? newTitle : "";
    invalid();
}

void CCheckBox::setFont(CFontRef newFont)
{
    if (!newFont)
        return;
    font = newFont;
    invalid();
}

CRect CCheckBox::getBoxRect() const
{
    CCoord side = std::max<CCoord>(0, std::min(size.getHeight() - 2, font->getSize() + 2));
    if (CBitmap* bitmap = getBackground())
        side = bitmap->getWidth();
    CRect box(size.left, 0, size.left + side, side);
    box.offset(0, size.top + (size.getHeight() - side) / 2);
    return box;
}

void CCheckBox::draw(CDrawContext* context)
{
    CRect box = getBoxRect();
    if (CBitmap* bitmap = getBackground())
    {
        CCoord frameHeight = bitmap->getHeight() / 2;
        context->drawBitmap(bitmap, box, CPoint(0, isChecked() ? frameHeight : 0));
    }
    else
    {
        context->setDrawMode(kAntiAliasing);
        context->setLineWidth(1);
        context->setFillColor(boxFillColor);
        context->setFrameColor(boxFrameColor);
        CRect inner = box;
        inner.inset(0.5, 0.5);
        context->drawRect(inner, kDrawFilledAndStroked);
        if (isChecked())
        {
            CRect mark = box;
            mark.inset(box.getWidth() * 0.2, box.getHeight() * 0.2);
            context->setFrameColor(checkMarkColor);
            context->setLineWidth(std::max<CCoord>(1.5, box.getWidth() / 7));
            PointList tick{CPoint(mark.left, mark.top + mark.getHeight() * 0.55),
                           CPoint(mark.left + mark.getWidth() * 0.4, mark.bottom), CPoint(mark.right, mark.top)};
            context->drawPolygon(tick, kDrawStroked);
        }
    }
    if (!title.empty())
    {
        CRect titleRect = size;
        titleRect.left = box.right + 4;
        context->setDrawMode(kAntiAliasing);
        context->setFont(font.get());
        context->setFontColor(fontColor);
        context->drawString(title.c_str(), titleRect, kLeftText, true);
    }
    setDirty(false);
}

void CCheckBox::showToggled(bool toggled)
{
    float shown = toggled ? (valueAtPress > (vmin + vmax) / 2 ? vmin : vmax) : valueAtPress;
    if (shown != value)
    {
        value = shown;
        invalid();
    }
}

CMouseEventResult CCheckBox::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (buttons.getButtonState() != kLButton)
        return kMouseEventNotHandled;
    beginEdit();
    tracking = true;
    valueAtPress = value;
    showToggled(true);
    return kMouseEventHandled;
}

CMouseEventResult CCheckBox::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (tracking && (buttons & kLButton))
        showToggled(hitTest(where, buttons));
    return kMouseEventHandled;
}

CMouseEventResult CCheckBox::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!tracking)
        return kMouseEventHandled;
    tracking = false;
    showToggled(hitTest(where, buttons));
    if (value != valueAtPress)
        valueChanged();
    endEdit();
    return kMouseEventHandled;
}

CMouseEventResult CCheckBox::onMouseCancel()
{
    if (tracking)
    {
        tracking = false;
        showToggled(false);
        endEdit();
    }
    return kMouseEventHandled;
}

} // namespace VSTGUI
