#include "LeftLabel.h"

using namespace VSTGUI;

LeftLabel::LeftLabel(const CRect& size, const std::string& labelText) : CView(size), text(labelText) {}

void LeftLabel::draw(CDrawContext* context)
{
    const CRect& r = size;
    context->setFillColor(fillColor);
    context->drawRect(CRect(r.left, r.top, r.right - kPointLength, r.bottom), kDrawFilled);
    context->drawPolygon({CPoint(r.right - kPointLength, r.top), CPoint(r.right, r.top + r.getHeight() / 2),
                          CPoint(r.right - kPointLength, r.bottom)},
                         kDrawFilled);
    if (!text.empty())
    {
        CRect textRect = r;
        textRect.offset(4, r.getHeight() <= 10 ? -1 : 0);
        context->setFont(font);
        context->setFontColor(fontColor);
        context->drawString(text.c_str(), textRect, kLeftText, true);
    }
    setDirty(false);
}
