// The vector knob: a disc, a value arc over 290 degrees with a short thick pointer at its
// end, and the value as text in the middle.
#pragma once

#include "MouseGesture.h"
#include "ValueConverter.h"
#include "vstgui.h"
#include <string>

class Knob2 : public VSTGUI::CControl
{
public:
    static constexpr float kStartAngle = 125.f; // degrees, clockwise from three o'clock
    static constexpr float kSweep = 290.f;      // degrees from value 0 to value 1

    // The bitmap is not used: the knob draws itself.
    Knob2(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag, VSTGUI::CBitmap* bitmap);
    Knob2(const Knob2& other);
    ~Knob2() override;

    // Dragging `pixels` pixels sweeps the whole range; refused below 1.
    void setAccelerator(int pixels);
    // Steps of the position; refused below 1.
    void setRange(int steps);

    // Ignored outside 0..1 and when unchanged; the listener is not told.
    void setValue(float newValue) override;
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CView* newCopy() const override { return new Knob2(*this); }
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override { return MouseGesture::endAsReleased(*this); }
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    bool onWheel(const VSTGUI::CPoint& where, const VSTGUI::CMouseWheelAxis& axis, const float& distance,
                 const VSTGUI::CButtonState& buttons) override;

    VSTGUI::CFontRef font;              // shared by all vector knobs
    double sensitivity = 0.5;           // position steps per pixel of drag
    double position = 0;                // 0..range
    VSTGUI::int32 range = 64;           // steps of the position
    float lastValue = 0;                // last value made by a drag or wheel step
    VSTGUI::CVSTGUITimer* timer;        // one more redraw after a run of wheel steps; owned
    VSTGUI::CColor arcColor{0, 128, 0, 255};
    VSTGUI::CColor textColor{0, 33, 0, 255};
    double lineWidth = 3.0;             // arc width, pixels
    std::string valueText;              // the text last drawn
    std::string unit;                   // suffix after the converter's text
    ValueConverter converter = convertPercent;

private:
    static constexpr VSTGUI::uint32 kRedrawDelay = 300; // ms after the last wheel step
    void reportIfChanged(float newValue, float previous);

    MouseGesture::VerticalDrag drag;
};
