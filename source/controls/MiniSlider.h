// A small vector slider: a track with a 6-pixel handle. A click off the handle centres the
// handle on the pointer; a drag moves it by the pointer's motion.
#pragma once

#include "MouseGesture.h"

#include "vstgui.h"

class Vextoria3Editor;

class MiniSlider : public VSTGUI::CControl
{
public:
    using ChangeCallback = void (Vextoria3Editor::*)(MiniSlider* slider);

    MiniSlider(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag);
    MiniSlider(const MiniSlider& other) = default;

    // Ignored while the user drags the slider, so that echoes of the dragged value cannot
    // move the handle under the pointer. Nobody is told.
    void setValue(float newValue) override;
    VSTGUI::CView* newCopy() const override { return new MiniSlider(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override { return MouseGesture::endAsReleased(*this); }
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

    double anchorX = 0;              // pointer x of the last press or move
    VSTGUI::int32 handleWidth = 6;   // pixels
    VSTGUI::CColor frameColor{255, 255, 255, 255};
    VSTGUI::CColor trackColor{241, 241, 241, 255};
    VSTGUI::CColor handleColor{196, 196, 196, 255};
    VSTGUI::CRect handleRect;
    ChangeCallback changeCallback = nullptr; // run before the listener on each change by the mouse

private:
    void placeHandleFor(float newValue);
    void moveHandleTo(VSTGUI::CCoord left);
    void report();
    VSTGUI::CCoord travelLimit(VSTGUI::CCoord x) const;
};
