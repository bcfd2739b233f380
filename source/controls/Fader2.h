// The bitmap slider: a film strip whose frame follows the value (with an invisible handle
// band the mouse grabs), or a handle picture sliding sideways over the background. A click
// beside the handle jumps to the pointer; a drag on it keeps the grab point.
#pragma once

#include "MouseGesture.h"

#include "vstgui.h"

class Fader2 : public VSTGUI::CControl
{
public:
    enum Style : VSTGUI::int32 { kHorizontal = 0, kVertical = 1 };

    Fader2(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag, VSTGUI::CBitmap* strip);
    Fader2(const Fader2& other);
    ~Fader2() override;

    // Frames stacked along the strip's longer side; null or fewer than 1 frame is refused.
    void setFaderPix(VSTGUI::CBitmap* strip, int frameCount);
    // The handle picture slides horizontally; null is refused.
    void setHandle(VSTGUI::CBitmap* picture);

    // Stores the value (kept within 0..1); the listener is not told.
    void setValue(float newValue) override;
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CView* newCopy() const override { return new Fader2(*this); }
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override { return MouseGesture::endAsReleased(*this); }
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    // The wheel is left to the views below.
    bool onWheel(const VSTGUI::CPoint&, const VSTGUI::CMouseWheelAxis&, const float&, const VSTGUI::CButtonState&) override
    {
        return false;
    }

    VSTGUI::CBitmap* faderPix = nullptr; // film strip
    VSTGUI::CBitmap* handle = nullptr;   // handle picture
    VSTGUI::int32 lastFrame = 128;       // index of the strip's last frame
    VSTGUI::int32 frame = 0;             // frame drawn last
    VSTGUI::int32 frameWidth = 0;        // pixels
    VSTGUI::int32 frameHeight = 0;       // pixels
    VSTGUI::CPoint grabOffset;           // pointer to handle centre while dragging the handle
    VSTGUI::CRect handleRect;            // the handle as last drawn: its hit area
    double handleWidth = 32;             // pixels, scales horizontal positions
    double handleHeight = 32;            // pixels, scales vertical positions
    VSTGUI::int32 style = kHorizontal;

private:
    void placeHandle();
    // The value for a handle whose top-left corner would be at `corner` (clamped into the view).
    float valueForHandleAt(VSTGUI::CPoint corner) const;
    void moveHandleTo(const VSTGUI::CPoint& corner, bool reportUnchanged);
};
