#include "cframe.h"

#include "cdrawcontext.h"
#include "runloop.h"
#include <algorithm>
#include <cmath>

namespace VSTGUI {

namespace {

bool declined(CMouseEventResult result)
{
    return result == kMouseEventNotHandled || result == kMouseEventNotImplemented;
}

// `view` and, for containers, everything inside it.
void visitSubtree(CView* view, const std::function<void(CView*)>& visit)
{
    visit(view);
    if (auto* container = dynamic_cast<CViewContainer*>(view))
        container->forEachChild([&](CView* child) { visitSubtree(child, visit); });
}

} // namespace

CFrame::CFrame(const CRect& frameSize, VSTGUIEditorInterface* frameEditor)
    : CViewContainer(frameSize), editor(frameEditor)
{
}

CFrame::~CFrame()
{
    onMouseCancel(); // while every view is still there
    platformFrame = nullptr;
    openWindow.reset();
    tooltips.reset();
    hoverChain.clear();
    removeAll();
    animator.reset();
}

bool CFrame::setZoom(double newZoom)
{
    if (!std::isfinite(newZoom) || newZoom <= 0)
        return false;
    if (newZoom == zoom)
        return true;
    CRect newSize = size;
    newSize.setWidth(size.getWidth() / zoom * newZoom);
    newSize.setHeight(size.getHeight() / zoom * newZoom);
    zoom = newZoom;
    setSize(newSize.getWidth(), newSize.getHeight());
    invalid();
    return true;
}

void CFrame::setPlatformScaleFactor(double factor)
{
    if (std::isfinite(factor) && factor > 0)
        platformScaleFactor = factor;
}

void CFrame::setSize(CCoord width, CCoord height)
{
    if (!(width >= 0) || !(height >= 0))
        return;
    CRect newSize(size.left, size.top, size.left + width, size.top + height);
    setViewSize(newSize, false);
    invalid();
    if (platformFrame)
        platformFrame->setSize(size);
}

void CFrame::enableTooltips(bool state, uint32 delayTimeInMs)
{
    tooltips.reset();
    if (state)
        tooltips = std::make_unique<TooltipSupport>(*this, delayTimeInMs);
}

void CFrame::registerMouseObserver(IMouseObserver* observer)
{
    if (observer && std::find(mouseObservers.begin(), mouseObservers.end(), observer) == mouseObservers.end())
        mouseObservers.push_back(observer);
}

void CFrame::unregisterMouseObserver(IMouseObserver* observer)
{
    mouseObservers.erase(std::remove(mouseObservers.begin(), mouseObservers.end(), observer), mouseObservers.end());
}

Animation::Animator* CFrame::getAnimator()
{
    if (!animator)
        animator = std::make_unique<Animation::Animator>();
    return animator.get();
}

CPoint CFrame::windowToFrame(const CPoint& where) const { return CPoint(where.x / zoom, where.y / zoom); }

CRect CFrame::frameToWindow(CRect rect) const { return rect.scale(zoom); }

CRect CFrame::getLocalBounds() const { return CRect(0, 0, size.getWidth() / zoom, size.getHeight() / zoom); }

CMouseEventResult CFrame::platformOnMouseDown(const CPoint& where, const CButtonState& state)
{
    CButtonState buttons = state;
    if (doubleClick.onPress(where, buttons, getPlatformTime()))
        buttons |= kDoubleClick;
    CPoint local = windowToFrame(where);
    if (tooltips)
        tooltips->hide();
    if (!getMouseDownView())
        updateHover(local, buttons);
    for (IMouseObserver* observer : std::vector<IMouseObserver*>(mouseObservers))
    {
        CMouseEventResult result = observer->onMouseDown(this, local, buttons);
        if (!declined(result))
            return result;
    }
    return dispatchMouseDown(local, buttons);
}

CMouseEventResult CFrame::platformOnMouseMoved(const CPoint& where, const CButtonState& buttons)
{
    CPoint local = windowToFrame(where);
    for (IMouseObserver* observer : std::vector<IMouseObserver*>(mouseObservers))
    {
        CMouseEventResult result = observer->onMouseMoved(this, local, buttons);
        if (!declined(result))
            return result;
    }
    if (getMouseDownView())
    {
        CMouseEventResult result = dispatchMouseMoved(local, buttons);
        if (result != kMouseMoveEventHandledButDontNeedMoreEvents)
            return result;
        updateHover(local, buttons);
        return kMouseEventHandled;
    }
    updateHover(local, buttons);
    // Without buttons held, the view under the pointer follows it.
    if (buttons.getButtonState() != 0 || hoverChain.empty())
        return kMouseEventNotHandled;
    SharedPointer<CView> view = hoverChain.back();
    CPoint inParent = view->getParentView()->frameToLocal(local);
    return view->onMouseMoved(inParent, buttons);
}

CMouseEventResult CFrame::platformOnMouseUp(const CPoint& where, const CButtonState& buttons)
{
    CPoint local = windowToFrame(where);
    CMouseEventResult result = dispatchMouseUp(local, buttons);
    updateHover(local, CButtonState(buttons.getModifierState()));
    return result;
}

void CFrame::platformOnMouseExited()
{
    if (getMouseDownView())
        return; // the view holding the mouse keeps it until the release
    if (tooltips)
        tooltips->onHover(nullptr);
    auto chain = std::move(hoverChain);
    hoverChain.clear();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    {
        CView* view = it->get();
        if (!view->getParentView())
            continue;
        CPoint outside(-1, -1);
        view->onMouseExited(outside, CButtonState());
        for (IMouseObserver* observer : std::vector<IMouseObserver*>(mouseObservers))
            observer->onMouseExited(view, this);
    }
}

bool CFrame::platformOnMouseWheel(const CPoint& where, CMouseWheelAxis axis, float distance, const CButtonState& buttons)
{
    if (!std::isfinite(distance) || distance == 0)
        return false;
    if (tooltips)
        tooltips->hide();
    return dispatchWheel(windowToFrame(where), axis, distance, buttons);
}

void CFrame::platformOnMouseCancel() { onMouseCancel(); }

void CFrame::updateHover(const CPoint& where, const CButtonState& buttons)
{
    std::vector<SharedPointer<CView>> chain;
    const CViewContainer* container = this;
    CPoint point = where;
    while (CView* view = container->getViewAt(point, buttons))
    {
        chain.emplace_back(view);
        auto* inner = dynamic_cast<CViewContainer*>(view);
        if (!inner)
            break;
        point -= view->getViewSize().getTopLeft();
        container = inner;
    }
    auto contains = [](const std::vector<SharedPointer<CView>>& list, const CView* view) {
        return std::any_of(list.begin(), list.end(), [&](const SharedPointer<CView>& v) { return v == view; });
    };
    auto previous = std::move(hoverChain);
    hoverChain = chain;
    for (auto it = previous.rbegin(); it != previous.rend(); ++it)
    {
        CView* view = it->get();
        if (contains(chain, view) || !view->getParentView())
            continue;
        CPoint inParent = view->getParentView()->frameToLocal(where);
        view->onMouseExited(inParent, buttons);
        for (IMouseObserver* observer : std::vector<IMouseObserver*>(mouseObservers))
            observer->onMouseExited(view, this);
    }
    for (auto& entry : chain)
    {
        CView* view = entry.get();
        if (contains(previous, view) || !view->getParentView())
            continue;
        CPoint inParent = view->getParentView()->frameToLocal(where);
        view->onMouseEntered(inParent, buttons);
        for (IMouseObserver* observer : std::vector<IMouseObserver*>(mouseObservers))
            observer->onMouseEntered(view, this);
    }
    if (tooltips)
    {
        CView* withTooltip = nullptr;
        for (auto& entry : hoverChain)
            if (!entry->getTooltipText().empty())
                withTooltip = entry.get();
        tooltips->onHover(withTooltip);
    }
}

CRect CFrame::takeDirtyRect() { return std::exchange(dirtyRect, CRect()); }

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect)
{
    CDrawContext::Transform toLayout(*context, CGraphicsTransform().scale(zoom, zoom));
    CRect update = updateRect;
    update.scale(1 / zoom);
    drawContents(context, update, getLocalBounds());
}

void CFrame::invalid() { invalidRect(getLocalBounds()); }

void CFrame::invalidRect(const CRect& rect)
{
    CRect window = frameToWindow(rect);
    window = CRect(std::floor(window.left), std::floor(window.top), std::ceil(window.right), std::ceil(window.bottom));
    window.bound(CRect(0, 0, size.getWidth(), size.getHeight()));
    if (window.isEmpty())
        return;
    dirtyRect.unite(window);
    if (platformFrame)
        platformFrame->invalidRect(window);
}

void CFrame::onViewRemoved(CView* removedView)
{
    visitSubtree(removedView, [this](CView* view) {
        if (animator)
            animator->removeAnimations(view);
        if (tooltips && tooltips->getHoveredView() == view)
            tooltips->onHover(nullptr);
        hoverChain.erase(std::remove_if(hoverChain.begin(), hoverChain.end(),
                                        [view](const SharedPointer<CView>& v) { return v == view; }),
                         hoverChain.end());
    });
}

} // namespace VSTGUI
