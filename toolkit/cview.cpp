#include "cview.h"

#include "cbitmap.h"
#include "cdrawcontext.h"
#include "cframe.h"
#include <algorithm>
#include <cmath>

namespace VSTGUI {

CView::CView(const CRect& viewSize) : size(viewSize), mouseableArea(viewSize) {}

CView::CView(const CView& other)
    : CBaseObject(other),
      size(other.size),
      mouseableArea(other.mouseableArea),
      background(other.background),
      tooltip(other.tooltip),
      alphaValue(other.alphaValue),
      visible(other.visible),
      transparent(other.transparent),
      mouseEnabled(other.mouseEnabled)
{
    if (background)
        background->remember();
}

CView::~CView()
{
    if (background)
        background->forget();
}

void CView::draw(CDrawContext* context)
{
    if (background)
        context->drawBitmap(background, size);
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect&) { draw(context); }

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseEntered(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseExited(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }
CMouseEventResult CView::onMouseCancel() { return kMouseEventNotImplemented; }

bool CView::onWheel(const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&) { return false; }

bool CView::hitTest(const CPoint& where, const CButtonState&) { return mouseableArea.pointInside(where); }

void CView::setViewSize(const CRect& newSize, bool invalidate)
{
    if (newSize == size)
        return;
    if (invalidate)
        invalid();
    // The mouseable area moves with the view.
    mouseableArea.offset(newSize.left - size.left, newSize.top - size.top);
    if (mouseableArea.getSize() == size.getSize())
        mouseableArea = newSize;
    size = newSize;
    if (invalidate)
        invalid();
}

void CView::setVisible(bool state)
{
    if (state == visible)
        return;
    if (!state)
        invalid();
    visible = state;
    if (state)
        invalid();
}

void CView::setAlphaValue(float alpha)
{
    if (!std::isfinite(alpha))
        return;
    alpha = std::clamp(alpha, 0.f, 1.f);
    if (alpha == alphaValue)
        return;
    alphaValue = alpha;
    invalid();
}

void CView::setTransparency(bool state)
{
    if (state == transparent)
        return;
    transparent = state;
    invalid();
}

void CView::setBackground(CBitmap* bitmap)
{
    if (bitmap == background)
        return;
    if (bitmap)
        bitmap->remember();
    if (background)
        background->forget();
    background = bitmap;
    invalid();
}

void CView::setDirty(bool state)
{
    dirty = state;
    if (state)
        invalid();
}

void CView::invalidRect(const CRect& rect)
{
    if (parent && visible)
        parent->invalidRect(rect);
}

CFrame* CView::getFrame() const
{
    const CView* root = this;
    while (root->parent)
        root = root->parent;
    return dynamic_cast<CFrame*>(const_cast<CView*>(root));
}

void CView::attached(CViewContainer* newParent) { parent = newParent; }

void CView::removed(CViewContainer*) { parent = nullptr; }

CPoint CView::frameToLocal(CPoint point) const { return parent ? parent->frameToLocal(point) : point; }

CPoint CView::localToFrame(CPoint point) const { return parent ? parent->localToFrame(point) : point; }

} // namespace VSTGUI
