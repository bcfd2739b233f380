#include "tooltipsupport.h"

#include "cframe.h"

namespace VSTGUI {

TooltipSupport::TooltipSupport(CFrame& owner, uint32 delayMs)
    : frame(owner),
      delayTimer(SharedPointer<CVSTGUITimer>::adopt(new CVSTGUITimer([this](CVSTGUITimer*) { show(); }, delayMs, false)))
{
}

TooltipSupport::~TooltipSupport() { hide(); }

void TooltipSupport::onHover(CView* view)
{
    if (hovered == view)
        return;
    hide();
    hovered = view;
    if (view)
        delayTimer->start();
}

void TooltipSupport::hide()
{
    delayTimer->stop();
    if (showing && frame.getPlatformFrame())
        frame.getPlatformFrame()->hideTooltip();
    showing = false;
}

void TooltipSupport::show()
{
    delayTimer->stop();
    if (!hovered || !frame.getPlatformFrame())
        return;
    CRect rect = hovered->getViewSize();
    if (CViewContainer* parent = hovered->getParentView())
        rect.offset(parent->localToFrame(CPoint()));
    frame.getPlatformFrame()->showTooltip(frame.frameToWindow(rect), hovered->getTooltipText());
    showing = true;
}

} // namespace VSTGUI
