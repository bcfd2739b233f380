// The base of everything on screen: a rectangle in its parent's coordinates that draws itself
// and answers the mouse. Views, like the rest of the toolkit, live on the UI thread only.
#pragma once

#include "cbuttonstate.h"
#include "crect.h"
#include <string>

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class CViewContainer;

class CView : public CBaseObject
{
public:
    explicit CView(const CRect& size);
    // For newCopy: the copy has the same size, appearance and background but no parent.
    CView(const CView& other);
    ~CView() override;
    CView& operator=(const CView&) = delete;

    // Drawing. drawRect is called with the part to redraw (parent coordinates); the default
    // draws the whole view with draw(), whose default draws the background bitmap.
    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    // A copy of this view for duplication; views that cannot be copied answer null.
    virtual CView* newCopy() const { return nullptr; }

    // Mouse handlers; `where` is in the parent's coordinates, as the view's size is.
    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
    // Called instead of onMouseUp when the mouse is taken away (the view goes, the window loses it).
    virtual CMouseEventResult onMouseCancel();
    // True when the view used the wheel step; otherwise it goes to the views below.
    virtual bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                         const CButtonState& buttons);
    virtual bool hitTest(const CPoint& where, const CButtonState& buttons = CButtonState());

    // Geometry.
    const CRect& getViewSize() const { return size; }
    virtual void setViewSize(const CRect& newSize, bool invalidate = true);
    const CRect& getMouseableArea() const { return mouseableArea; }
    void setMouseableArea(const CRect& area) { mouseableArea = area; }
    CCoord getWidth() const { return size.getWidth(); }
    CCoord getHeight() const { return size.getHeight(); }

    // Appearance.
    // Virtual so that a view with hover or timer state resets it however it is hidden.
    virtual void setVisible(bool state);
    bool isVisible() const { return visible; }
    // Visible and not fully transparent: drawn and hit.
    bool isShowing() const { return visible && alphaValue > 0.f; }
    void setAlphaValue(float alpha);
    float getAlphaValue() const { return alphaValue; }
    void setTransparency(bool state);
    bool getTransparency() const { return transparent; }
    void setMouseEnabled(bool state) { mouseEnabled = state; }
    bool getMouseEnabled() const { return mouseEnabled; }
    // The bitmap is referenced while held.
    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background; }
    void setTooltipText(UTF8StringPtr text) { tooltip = text ? text : ""; }
    const std::string& getTooltipText() const { return tooltip; }

    // Redrawing. setDirty(true) asks for a redraw like invalid(); drawing clears the flag.
    virtual void setDirty(bool state = true);
    bool isDirty() const { return dirty; }
    virtual void invalid() { invalidRect(size); }
    // `rect` in the parent's coordinates.
    virtual void invalidRect(const CRect& rect);

    // The tree.
    CViewContainer* getParentView() const { return parent; }
    CFrame* getFrame() const;
    bool isAttached() const { return parent != nullptr; }
    // Called by a container when the view is added to it or taken out of it.
    virtual void attached(CViewContainer* newParent);
    virtual void removed(CViewContainer* oldParent);
    // Converts a point between the frame's unzoomed coordinates and this view's coordinate
    // system (the parent's for plain views, their own for containers).
    virtual CPoint frameToLocal(CPoint point) const;
    virtual CPoint localToFrame(CPoint point) const;

protected:
    CRect size;
    CRect mouseableArea;

private:
    CViewContainer* parent = nullptr;
    CBitmap* background = nullptr;
    std::string tooltip;
    float alphaValue = 1.f;
    bool visible = true;
    bool transparent = false;
    bool mouseEnabled = true;
    bool dirty = false;
};

} // namespace VSTGUI
