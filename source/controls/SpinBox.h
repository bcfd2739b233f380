// A number box with its own arrows: a press in the upper half steps up, in the lower half
// down; holding repeats the step, slowly at first, then fast. A Ctrl-click restores the
// default number.
#pragma once

#include "MouseGesture.h"

#include "ArrowRepeat.h"
#include "vstgui.h"
#include <string>

class SpinBox : public VSTGUI::CControl
{
public:
    static constexpr VSTGUI::uint32 kRepeatDelay = 200; // ms from a press to the first repeat

    // `bitmap` (referenced; may be null) replaces the drawn box.
    SpinBox(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag, VSTGUI::CBitmap* bitmap);
    SpinBox(const SpinBox& other);
    ~SpinBox() override;

    void setMaximum(int newMaximum) { maximum = newMaximum; }
    // A box still at value 0 shows the new minimum.
    void setMinimum(int newMinimum);
    // The number a Ctrl-click restores, kept within the range. Not the control's default value.
    void setDefaultValue(int number);
    // Each picture is referenced; both are needed to replace the drawn triangles.
    void setUpPix(VSTGUI::CBitmap* picture);
    void setDownPix(VSTGUI::CBitmap* picture);

    // Ignored while disabled or when it is the value last reported. Nobody is told.
    void setValue(float newValue) override;
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
    VSTGUI::CView* newCopy() const override { return new SpinBox(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    void removed(VSTGUI::CViewContainer* oldParent) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override { return MouseGesture::endAsReleased(*this); }

    VSTGUI::int32 maximum = 64;
    VSTGUI::int32 minimum = 0;
    VSTGUI::int32 number = 0;        // number shown
    float lastValue = -1.f;          // value last reported or set
    bool enabled = true;             // false: presses and setValue are refused
    std::string text = "0";          // the number as shown
    bool pressed = false;            // a press waits for its release
    VSTGUI::int32 direction = 0;     // +1 or -1 while held, 0 once a repeat reached an end
    VSTGUI::int32 defaultNumber = 0;
    VSTGUI::CColor backColor{255, 255, 255, 255};
    VSTGUI::CColor fontColor{255, 166, 0, 255};
    VSTGUI::CFontRef font = VSTGUI::kNormalFontBig;
    VSTGUI::CBitmap* bitmap;         // referenced
    VSTGUI::CBitmap* upPix = nullptr;   // referenced
    VSTGUI::CBitmap* downPix = nullptr; // referenced
    ArrowRepeat repeat;

private:
    // Shows `newNumber` (within the range) and tells the listener when the value changed.
    void show(VSTGUI::int32 newNumber);
    void drawArrows(VSTGUI::CDrawContext* context);
};
