// Shows a view's tooltip after the pointer has rested over it for a while.
#pragma once

#include "cvstguitimer.h"
#include "cview.h"

namespace VSTGUI {

class CFrame;

class TooltipSupport
{
public:
    TooltipSupport(CFrame& frame, uint32 delayMs);
    ~TooltipSupport();
    TooltipSupport(const TooltipSupport&) = delete;
    TooltipSupport& operator=(const TooltipSupport&) = delete;

    // The view under the pointer that has a tooltip, or null.
    void onHover(CView* view);
    void hide();
    CView* getHoveredView() const { return hovered.get(); }

private:
    void show();

    CFrame& frame;
    SharedPointer<CView> hovered;
    SharedPointer<CVSTGUITimer> delayTimer;
    bool showing = false;
};

} // namespace VSTGUI
