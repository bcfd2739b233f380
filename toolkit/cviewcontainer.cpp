#include "cviewcontainer.h"

#include "ccontrol.h"
#include "cdrawcontext.h"
#include "cframe.h"
#include <algorithm>

namespace VSTGUI {

namespace {

// A child the pointer at `where` reaches: shown, taking the mouse and hit there.
bool reachedByPointer(CView* child, const CPoint& where, const CButtonState& buttons)
{
    return child->isShowing() && child->getMouseEnabled() && child->hitTest(where, buttons);
}

bool declined(CMouseEventResult result)
{
    return result == kMouseEventNotHandled || result == kMouseEventNotImplemented;
}

// Every control in `view` and below ends its open gesture.
void endGesturesWithin(CView* view)
{
    if (auto* control = dynamic_cast<CControl*>(view))
        control->endGesture();
    if (auto* container = dynamic_cast<CViewContainer*>(view))
        container->forEachChild(endGesturesWithin);
}

} // namespace

CViewContainer::CViewContainer(const CRect& viewSize) : CView(viewSize) {}

CViewContainer::~CViewContainer() { removeAll(); }

bool CViewContainer::addView(CView* view) { return addView(view, nullptr); }

bool CViewContainer::addView(CView* view, CView* before)
{
    if (!view || view == this || view->getParentView())
        return false;
    auto position = std::find(children.begin(), children.end(), before);
    children.insert(position, view);
    view->attached(this);
    view->invalid();
    return true;
}

void CViewContainer::takeOut(CView* view)
{
    view->invalid();
    // The view holding the press hears that it will get no release, while it can still
    // reach the frame (to end a host gesture).
    if (mouseDownView == view)
        std::exchange(mouseDownView, nullptr)->onMouseCancel();
    // Gestures left open inside it end before any of its views goes, so that what their
    // listeners touch is still alive.
    endGesturesWithin(view);
    if (CFrame* frame = getFrame())
        frame->onViewRemoved(view);
    children.erase(std::find(children.begin(), children.end(), view));
    view->removed(this);
}

bool CViewContainer::removeView(CView* view, bool withForget)
{
    if (!isChild(view))
        return false;
    takeOut(view);
    if (withForget)
        view->forget();
    return true;
}

bool CViewContainer::removeAll(bool withForget)
{
    // The held press and every open gesture end while all the children are still there: the
    // last child goes first, and may be what an earlier one's listener touches.
    onMouseCancel();
    forEachChild(endGesturesWithin);
    while (!children.empty())
        removeView(children.back(), withForget);
    return true;
}

bool CViewContainer::isChild(const CView* view) const
{
    return view && std::find(children.begin(), children.end(), view) != children.end();
}

CView* CViewContainer::getView(uint32 index) const { return index < children.size() ? children[index] : nullptr; }

void CViewContainer::forEachChild(const std::function<void(CView*)>& visit) const
{
    // A copy, so a visitor may remove children.
    std::vector<CView*> snapshot = children;
    for (CView* child : snapshot)
        visit(child);
}

void CViewContainer::setBackgroundColor(const CColor& color)
{
    if (color == backgroundColor)
        return;
    backgroundColor = color;
    invalid();
}

void CViewContainer::draw(CDrawContext* context) { drawRect(context, size); }

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect)
{
    CDrawContext::Transform toOwn(*context, CGraphicsTransform().translate(size.left, size.top));
    CRect update = updateRect;
    update.offset(-size.left, -size.top);
    drawContents(context, update, CRect(0, 0, size.getWidth(), size.getHeight()));
}

void CViewContainer::drawContents(CDrawContext* context, const CRect& update, const CRect& bounds)
{
    CRect area = update;
    area.bound(bounds);
    CRect clip;
    context->getClipRect(clip);
    area.bound(clip);
    if (area.isEmpty())
        return;
    context->saveGlobalState();
    context->setClipRect(area);
    drawBackgroundRect(context, area);
    const float parentAlpha = context->getGlobalAlpha();
    for (CView* child : children)
    {
        if (!child->isShowing() || !child->getViewSize().rectOverlap(area))
            continue;
        CRect childArea = child->getViewSize();
        childArea.bound(area);
        context->saveGlobalState();
        context->setClipRect(childArea);
        context->setGlobalAlpha(parentAlpha * child->getAlphaValue());
        child->drawRect(context, childArea);
        context->restoreGlobalState();
    }
    context->restoreGlobalState();
    setDirty(false);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect)
{
    if (CBitmap* bitmap = getBackground())
    {
        context->drawBitmap(bitmap, CRect(0, 0, size.getWidth(), size.getHeight()));
        return;
    }
    if (getTransparency() || backgroundColor.alpha == 0)
        return;
    context->setFillColor(backgroundColor);
    context->drawRect(rect, kDrawFilled);
}

CView* CViewContainer::getViewAt(const CPoint& where, const CButtonState& buttons) const
{
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (reachedByPointer(child, where, buttons))
            return child;
    }
    return nullptr;
}

CMouseEventResult CViewContainer::dispatchMouseDown(CPoint where, const CButtonState& buttons)
{
    // Top child first. A transparent child that does not handle the press hands it to the
    // ones below; an opaque one covers them, handled or not.
    std::vector<CView*> snapshot(children.rbegin(), children.rend());
    for (CView* child : snapshot)
    {
        if (!isChild(child) || !reachedByPointer(child, where, buttons))
            continue;
        SharedPointer<CView> keepAlive(child);
        CPoint childPoint = where;
        CMouseEventResult result = child->onMouseDown(childPoint, buttons);
        if (declined(result))
        {
            if (child->getTransparency())
                continue;
            return kMouseEventNotHandled;
        }
        if (result == kMouseEventHandled && isChild(child))
            mouseDownView = child;
        return result;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::dispatchMouseMoved(CPoint where, const CButtonState& buttons)
{
    if (!mouseDownView)
        return kMouseEventNotHandled;
    SharedPointer<CView> target = mouseDownView;
    CMouseEventResult result = target->onMouseMoved(where, buttons);
    if (result == kMouseMoveEventHandledButDontNeedMoreEvents)
        mouseDownView.reset();
    return result;
}

CMouseEventResult CViewContainer::dispatchMouseUp(CPoint where, const CButtonState& buttons)
{
    if (!mouseDownView)
        return kMouseEventNotHandled;
    SharedPointer<CView> target = std::move(mouseDownView);
    return target->onMouseUp(where, buttons);
}

bool CViewContainer::dispatchWheel(const CPoint& where, const CMouseWheelAxis& axis, float distance,
                                   const CButtonState& buttons)
{
    std::vector<CView*> snapshot(children.rbegin(), children.rend());
    for (CView* child : snapshot)
    {
        if (!isChild(child) || !reachedByPointer(child, where, buttons))
            continue;
        SharedPointer<CView> keepAlive(child);
        if (child->onWheel(where, axis, distance, buttons))
            return true;
        // As with presses, only a transparent child lets an unused step through.
        if (!child->getTransparency())
            return false;
    }
    return false;
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    return dispatchMouseDown(where - size.getTopLeft(), buttons);
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    return dispatchMouseUp(where - size.getTopLeft(), buttons);
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    return dispatchMouseMoved(where - size.getTopLeft(), buttons);
}

CMouseEventResult CViewContainer::onMouseCancel()
{
    if (!mouseDownView)
        return kMouseEventNotHandled;
    SharedPointer<CView> target = std::move(mouseDownView);
    return target->onMouseCancel();
}

bool CViewContainer::onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                             const CButtonState& buttons)
{
    return dispatchWheel(where - size.getTopLeft(), axis, distance, buttons);
}

void CViewContainer::invalid() { invalidRect(CRect(0, 0, size.getWidth(), size.getHeight())); }

void CViewContainer::invalidRect(const CRect& rect)
{
    if (!isVisible() || !getParentView())
        return;
    CRect inParent = rect;
    inParent.offset(size.left, size.top);
    inParent.bound(size);
    if (!inParent.isEmpty())
        getParentView()->invalidRect(inParent);
}

CPoint CViewContainer::frameToLocal(CPoint point) const
{
    return CView::frameToLocal(point) - size.getTopLeft();
}

CPoint CViewContainer::localToFrame(CPoint point) const
{
    return CView::localToFrame(point + size.getTopLeft());
}

} // namespace VSTGUI
