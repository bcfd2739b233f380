// A horizontal picture slider: a handle bitmap slides along the view. A press off the handle
// centres it on the pointer; a press on it grabs it where it was taken.
#pragma once

#include "MouseGesture.h"

#include "vstgui.h"

class HSlider : public VSTGUI::CControl
{
public:
    HSlider(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag);
    HSlider(const HSlider& other);
    ~HSlider() override;

    // References the handle picture; its width sets the handle's travel.
    void setHandle(VSTGUI::CBitmap* picture);
    // Nobody is told.
    void setValue(float newValue) override;
    VSTGUI::CView* newCopy() const override { return new HSlider(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override { return MouseGesture::endAsReleased(*this); }
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

    // Where the handle is drawn for the current value (parent coordinates).
    VSTGUI::CRect handleRect() const;

    double grabOffset = 0;               // pointer's offset from the handle centre in a drag
    double handleWidth = 0;              // pixels
    VSTGUI::CBitmap* handle = nullptr;   // referenced

private:
    void moveHandleTo(VSTGUI::CCoord left);
};
