// The film-strip rotary knob: the frame matching the value is drawn from a vertical strip.
// Vertical drags, Shift for fine moves, Ctrl-click or double click for the default, and one
// position step per wheel event. It can show its integer position as a number.
#pragma once

#include "MouseGesture.h"
#include "vstgui.h"
#include <string>

// Decimal text of an integer, as a standard output stream writes it.
std::string intToString(int number);

class Knob : public VSTGUI::CControl, private VSTGUI::CMouseWheelEditingSupport
{
public:
    Knob(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag,
         VSTGUI::CBitmap* strip, int frameCount);
    Knob(const Knob& other);
    ~Knob() override;

    // Holds `strip` (frames stacked along its longer side); a null strip or a frame count
    // below 1 changes nothing.
    void setKnobPix(VSTGUI::CBitmap* strip, int frameCount);
    // Steps of the position; below 1 is refused (the value is position / range).
    void setRange(int steps);
    // Added to the position in the value text; refused unless |offset| < range.
    void setStartValue(int offset);
    // Dragging `pixels` pixels sweeps the whole range; refused below 1.
    void setAccelerator(int pixels);

    // Values outside 0..1 become 0.5.
    void setDefaultValue(float newDefault);
    // The host's value: ignored outside 0..1, when unchanged, or while a gesture is open.
    void setValue(float newValue) override;
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CView* newCopy() const override { return new Knob(*this); }
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override { return MouseGesture::endAsReleased(*this); }
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    bool onWheel(const VSTGUI::CPoint& where, const VSTGUI::CMouseWheelAxis& axis, const float& distance,
                 const VSTGUI::CButtonState& buttons) override;

    VSTGUI::CBitmap* knobPix = nullptr;
    VSTGUI::int32 lastFrame;            // index of the strip's last frame
    VSTGUI::int32 frame = 0;            // frame drawn now
    VSTGUI::int32 frameSize = 64;       // pixels per frame
    std::string text = "0";             // value text
    VSTGUI::CFontRef font;              // shared by all knobs
    VSTGUI::int32 range = 100;          // steps of the position
    double position = 0;                // 0..range
    double accelerator = range * 0.0078125; // position steps per pixel of drag
    VSTGUI::int32 startValue = 0;       // added to the position in `text`
    float knobValue = 0;                // 0..1, position / range
    float lastValue = -1.f;             // last value reported; -1 for none
    bool integerFrames = true;          // frame from the integer part of the position
    bool showText = false;
    bool textOnlyWhileEditing = false;  // show the text in a box, only while editing
    bool editing = false;               // a press, drag or wheel step is under way

private:
    void updateFrame();
    void showPosition(double newPosition, int textNumber);
    void reportPosition();
    void drawValueText(VSTGUI::CDrawContext* context);

    MouseGesture::VerticalDrag drag;
};
