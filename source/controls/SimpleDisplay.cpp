#include "SimpleDisplay.h"

using namespace VSTGUI;

SimpleDisplay::SimpleDisplay(const CRect& size, CControl* shownControl) : CView(size), control(shownControl)
{
    setTransparency(true);
}

void SimpleDisplay::setText(std::string newText)
{
    text = std::move(newText);
    setDirty(true);
}

void SimpleDisplay::draw(CDrawContext* context)
{
    context->setFontColor(textColor);
    if (font)
        context->setFont(font);
    // Six pixels right of centre, where the read-out has always sat over the scope.
    CRect textArea = size;
    textArea.offset(6, 0);
    context->drawString(text.c_str(), textArea, kCenterText, true);
    setDirty(false);
}
