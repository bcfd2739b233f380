// One header of the FX tabs: selects its page on a left click and carries its effect's random
// flag, toggled by the small circle (when it has one) or by a double click. Value 1 selected,
// 0 not; 0.75 only while the listener hears that the flag has just changed. UI thread only.
#pragma once

#include "vstgui.h"
#include <string>

class TabButton : public VSTGUI::CControl
{
public:
    static constexpr float kFlagChanged = 0.75f;

    TabButton(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag);
    TabButton(const TabButton& other) = default;

    // Ignored outside 0..1 and when unchanged; a selected value (>= 0.5) arms the latch.
    void setValue(float newValue) override;
    VSTGUI::CView* newCopy() const override { return new TabButton(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseCancel() override;

    VSTGUI::CColor tabColor{255, 255, 255, 255};  // while the random flag is off
    VSTGUI::CColor randomColor{0, 143, 214, 254}; // while it is on
    VSTGUI::CFontRef font = nullptr;              // shared, not referenced
    std::string label;
    bool onFlag = false;          // a left click on a tab whose latch is set selects nothing
    bool randomFlag = true;       // the effect may be chosen at random
    bool hasRandomToggle = false; // draws and answers the circle

private:
    void toggleRandomFlag();
};
