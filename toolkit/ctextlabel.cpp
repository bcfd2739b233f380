#include "ctextlabel.h"

namespace VSTGUI {

CTextLabel::CTextLabel(const CRect& size, UTF8StringPtr labelText, CBitmap* background)
    : CControl(size, nullptr, -1, background), text(labelText ? labelText : ""), font(kNormalFont)
{
}

void CTextLabel::setText(UTF8StringPtr newText)
{
    std::string replacement = newText ? newText : "";
    if (replacement == text)
        return;
    text = std::move(replacement);
    invalid();
}

void CTextLabel::setFont(CFontRef newFont)
{
    if (!newFont || newFont == font.get())
        return;
    font = newFont;
    invalid();
}

void CTextLabel::setFontColor(const CColor& color)
{
    fontColor = color;
    invalid();
}

void CTextLabel::setBackColor(const CColor& color)
{
    backColor = color;
    invalid();
}

void CTextLabel::setFrameColor(const CColor& color)
{
    frameColor = color;
    invalid();
}

void CTextLabel::setHoriAlign(CHoriTxtAlign align)
{
    horiAlign = align;
    invalid();
}

void CTextLabel::setTextInset(const CPoint& inset)
{
    textInset = inset;
    invalid();
}

void CTextLabel::draw(CDrawContext* context)
{
    if (CBitmap* bitmap = getBackground())
        context->drawBitmap(bitmap, size);
    else if (!getTransparency())
    {
        context->setDrawMode(kAliasing);
        context->setLineWidth(1);
        context->setFillColor(backColor);
        context->setFrameColor(frameColor);
        context->drawRect(size, kDrawFilledAndStroked);
    }
    if (!text.empty())
    {
        CRect textRect = size;
        textRect.inset(textInset.x, textInset.y);
        context->setDrawMode(antialias ? kAntiAliasing : kAliasing);
        context->setFont(font.get());
        context->setFontColor(fontColor);
        context->drawString(text.c_str(), textRect, horiAlign, antialias);
    }
    setDirty(false);
}

} // namespace VSTGUI
