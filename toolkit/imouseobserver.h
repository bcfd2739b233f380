// Watches the mouse over a whole frame before its views see it.
#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"

namespace VSTGUI {

class CFrame;
class CView;

class IMouseObserver
{
public:
    virtual ~IMouseObserver() = default;
    virtual void onMouseEntered(CView* /*view*/, CFrame* /*frame*/) {}
    virtual void onMouseExited(CView* /*view*/, CFrame* /*frame*/) {}
    // An answer other than not handled (or not implemented) ends the event at the observer.
    virtual CMouseEventResult onMouseMoved(CFrame*, const CPoint&, const CButtonState&) { return kMouseEventNotHandled; }
    virtual CMouseEventResult onMouseDown(CFrame*, const CPoint&, const CButtonState&) { return kMouseEventNotHandled; }
};

} // namespace VSTGUI
