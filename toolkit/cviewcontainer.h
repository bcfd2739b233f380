// A view that holds child views, drawn in the order they were added (the last on top), in
// the container's own coordinates (its top-left corner is their origin) and clipped to it.
#pragma once

#include "ccolor.h"
#include "cview.h"
#include "idroptarget.h"
#include <functional>
#include <vector>

namespace VSTGUI {

class CViewContainer : public CView
{
public:
    explicit CViewContainer(const CRect& size);
    CViewContainer(const CViewContainer&) = delete; // children have one owner
    ~CViewContainer() override;

    // Takes over the caller's reference. Refused for null, a view that already has a parent,
    // or the container itself.
    virtual bool addView(CView* view);
    // Inserts below `before` (at the end when `before` is not a child).
    bool addView(CView* view, CView* before);
    // Takes the view out; with `withForget` its reference is dropped, otherwise handed back.
    // A press it holds is cancelled and the gestures open inside it end first.
    virtual bool removeView(CView* view, bool withForget = true);
    // As removeView for every child, last first, after every press and gesture among them ended.
    bool removeAll(bool withForget = true);
    bool isChild(const CView* view) const;
    uint32 getNbViews() const { return uint32(children.size()); }
    CView* getView(uint32 index) const;
    // Visits the children bottom to top.
    void forEachChild(const std::function<void(CView*)>& visit) const;

    // The receiver of drags over this container (referenced; may be null).
    void setDropTarget(IDropTarget* target) { dropTarget = target; }
    IDropTarget* getDropTarget() const { return dropTarget.get(); }

    void setBackgroundColor(const CColor& color);
    CColor getBackgroundColor() const { return backgroundColor; }

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    // Fills `rect` (own coordinates) with the background bitmap or colour.
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseCancel() override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;

    // The topmost child under `where` (own coordinates) that is showing and takes the mouse.
    CView* getViewAt(const CPoint& where, const CButtonState& buttons = CButtonState()) const;

    void invalid() override;
    // `rect` in the container's own coordinates (where its children report).
    void invalidRect(const CRect& rect) override;
    CPoint frameToLocal(CPoint point) const override;
    CPoint localToFrame(CPoint point) const override;

protected:
    // Draws background and children for `update`, both in own coordinates within `bounds`.
    void drawContents(CDrawContext* context, const CRect& update, const CRect& bounds);
    // The mouse entry points in own coordinates.
    CMouseEventResult dispatchMouseDown(CPoint where, const CButtonState& buttons);
    CMouseEventResult dispatchMouseMoved(CPoint where, const CButtonState& buttons);
    CMouseEventResult dispatchMouseUp(CPoint where, const CButtonState& buttons);
    bool dispatchWheel(const CPoint& where, const CMouseWheelAxis& axis, float distance, const CButtonState& buttons);
    CView* getMouseDownView() const { return mouseDownView.get(); }

private:
    void takeOut(CView* view);

    std::vector<CView*> children; // each holds one reference
    CColor backgroundColor = kBlackCColor;
    SharedPointer<CView> mouseDownView; // the child that holds the mouse until release
    SharedPointer<IDropTarget> dropTarget;
};

} // namespace VSTGUI
