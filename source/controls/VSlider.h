// A vector bar slider with its value printed across it: a click sets the value where it
// lands, a drag follows the pointer, each wheel step moves it by 0.02.
#pragma once

#include "ValueConverter.h"
#include "vstgui.h"
#include <string>

class VSlider : public VSTGUI::CControl, private VSTGUI::CMouseWheelEditingSupport
{
public:
    static constexpr double kWheelStep = 0.02;

    VSlider(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag);
    VSlider(const VSlider& other) = default;

    // Nobody is told.
    void setValue(float newValue) override;
    VSTGUI::CView* newCopy() const override { return new VSlider(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override;
    bool onWheel(const VSTGUI::CPoint& where, const VSTGUI::CMouseWheelAxis& axis, const float& distance,
                 const VSTGUI::CButtonState& buttons) override;

    bool dragging = false;                      // a left press waits for its release
    VSTGUI::CColor barColor{0, 143, 214, 254};  // outline and bar
    VSTGUI::CFontRef font = nullptr;            // null keeps the context's font
    std::string valueText;                      // the text last drawn
    VSTGUI::CColor textColor{255, 255, 255, 255};
    std::string unit;                           // suffix after the converter's text
    VSTGUI::int32 orientation = 1;              // 1: grows from the left; 0: rises from the bottom
    ValueConverter converter = convertPercent;

private:
    float valueAtPointer(const VSTGUI::CPoint& where) const;
    // Stores a value made by the user, tells the listener when it changed and redraws.
    void changeTo(float newValue);
};
