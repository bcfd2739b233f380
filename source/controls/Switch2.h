// An N-position selector, horizontal or vertical, set by clicking or dragging over it; drawn
// from a film strip (one frame per position) or as grey rounded segments.
#pragma once

#include "SteppedSwitch.h"

class Switch2 : public SteppedSwitch
{
public:
    enum Orientation : VSTGUI::int32
    {
        kHorizontal = 0,
        kVertical = 1,
    };

    Switch2(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag,
            VSTGUI::int32 positions, Orientation orientation);
    Switch2(const Switch2& other);
    ~Switch2() override;

    // References the strip; null draws the segments.
    void setStrip(VSTGUI::CBitmap* picture);
    VSTGUI::CView* newCopy() const override { return new Switch2(*this); }
    void draw(VSTGUI::CDrawContext* context) override;

    VSTGUI::CRect segment;            // one position's rectangle; moved to the shown one when drawn
    VSTGUI::CBitmap* strip = nullptr; // referenced
    Orientation orientation;

protected:
    VSTGUI::CCoord offsetAlongSteps(const VSTGUI::CPoint& where) const override;
    VSTGUI::CCoord stepSize() const override;
};
