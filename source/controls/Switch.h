// A vertical picture switch: a handle picture steps down a background, one handle height per
// position, set by clicking or dragging over it.
#pragma once

#include "SteppedSwitch.h"

class Switch : public SteppedSwitch
{
public:
    // Both pictures are referenced; either may be null.
    Switch(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag,
           VSTGUI::CBitmap* background, VSTGUI::CBitmap* handle, VSTGUI::int32 positions);
    Switch(const Switch& other);
    ~Switch() override;

    VSTGUI::CView* newCopy() const override { return new Switch(*this); }
    void draw(VSTGUI::CDrawContext* context) override;

    VSTGUI::CBitmap* handle;     // one position step per handle height
    VSTGUI::CBitmap* background; // without it the view is filled red

protected:
    VSTGUI::CCoord offsetAlongSteps(const VSTGUI::CPoint& where) const override { return where.y - size.top; }
    VSTGUI::CCoord stepSize() const override { return handle ? handle->getHeight() : 0; }
};
