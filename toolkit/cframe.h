// The root of a view tree: it maps the window's pixels to the views through one zoom
// transform, routes the mouse, collects what needs redrawing and owns the animator.
#pragma once

#include "animation.h"
#include "cviewcontainer.h"
#include "doubleclickdetector.h"
#include "imouseobserver.h"
#include "iplatformframe.h"
#include "platformtype.h"
#include "tooltipsupport.h"
#include "vstguieditorinterface.h"
#include <memory>
#include <vector>

namespace VSTGUI {

class CFrame : public CViewContainer
{
public:
    // `size` in window pixels at zoom 1; `editor` receives begin and end edit (may be null).
    CFrame(const CRect& size, VSTGUIEditorInterface* editor);
    ~CFrame() override;

    // Embeds the frame in `parent` (UI thread), driven by the run loop of `config` (an
    // X11::FrameConfig), which is the toolkit's run loop while the frame is open. False when
    // already open, or when the parent, type or config cannot be used or the display refuses.
    bool open(void* parent, PlatformType type = PlatformType::kX11EmbedWindowID, IPlatformFrameConfig* config = nullptr);
    // Closes the window, takes out every view and drops the caller's reference: after it,
    // nothing of this frame is called by the run loop.
    void close();
    bool isOpen() const { return openWindow != nullptr; }

    VSTGUIEditorInterface* getEditor() const { return editor; }
    // The window that shows this frame (not owned); null while offscreen.
    void setPlatformFrame(IPlatformFrame* platform) { platformFrame = platform; }
    IPlatformFrame* getPlatformFrame() const { return platformFrame; }

    // Zoom scales the views into the window; the window size scales with it. Refuses
    // zooms that are not finite and above 0.
    bool setZoom(double zoom);
    double getZoom() const { return zoom; }
    void setPlatformScaleFactor(double factor);
    // Device pixels per layout pixel: platform scale times zoom.
    double getScaleFactor() const { return zoom * platformScaleFactor; }
    // Window size in pixels.
    void setSize(CCoord width, CCoord height);

    void enableTooltips(bool state, uint32 delayTimeInMs = 1000);
    void registerMouseObserver(IMouseObserver* observer);
    void unregisterMouseObserver(IMouseObserver* observer);
    Animation::Animator* getAnimator();

    // Window entry points; points in window pixels.
    CMouseEventResult platformOnMouseDown(const CPoint& where, const CButtonState& buttons);
    CMouseEventResult platformOnMouseMoved(const CPoint& where, const CButtonState& buttons);
    CMouseEventResult platformOnMouseUp(const CPoint& where, const CButtonState& buttons);
    void platformOnMouseExited();
    bool platformOnMouseWheel(const CPoint& where, CMouseWheelAxis axis, float distance, const CButtonState& buttons);
    void platformOnMouseCancel();

    // What was invalidated since the last call, in window pixels; clears it.
    CRect takeDirtyRect();
    const CRect& getDirtyRect() const { return dirtyRect; }

    // Draws `updateRect` (window pixels) of the frame.
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void invalid() override;
    void invalidRect(const CRect& rect) override;
    CPoint frameToLocal(CPoint point) const override { return point; }
    CPoint localToFrame(CPoint point) const override { return point; }
    CRect frameToWindow(CRect rect) const;
    CPoint windowToFrame(const CPoint& where) const;

    // Called by containers for every view taken out of the tree, before it goes.
    void onViewRemoved(CView* view);

private:
    void updateHover(const CPoint& where, const CButtonState& buttons);
    CRect getLocalBounds() const;

    VSTGUIEditorInterface* editor;
    IPlatformFrame* platformFrame = nullptr;
    std::unique_ptr<IPlatformFrame> openWindow; // the window made by open
    double zoom = 1;
    double platformScaleFactor = 1;
    std::vector<IMouseObserver*> mouseObservers;
    std::vector<SharedPointer<CView>> hoverChain; // outermost first
    DoubleClickDetector doubleClick;
    std::unique_ptr<TooltipSupport> tooltips;
    std::unique_ptr<Animation::Animator> animator;
    CRect dirtyRect; // window pixels
};

} // namespace VSTGUI
