// The part that N-position switches share: the position under the pointer, reported once
// per change of position, and positions pushed in by the owner.
#pragma once

#include "vstgui.h"

class SteppedSwitch : public VSTGUI::CControl
{
public:
    // Fewer than one position counts as one.
    // With `pushedCountsAsReported`, a position pushed in through setValue is not reported
    // again when the user picks it.
    SteppedSwitch(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag,
                  VSTGUI::int32 positionCount, bool pushedCountsAsReported);

    // Shows the position for `newValue`; the control value stays the one last picked. Nobody
    // is told.
    void setValue(float newValue) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

    // Position `index` as a value: 0 for the first, 1 for the last.
    float valueOf(VSTGUI::int32 position) const;

    VSTGUI::int32 positions;      // number of positions
    VSTGUI::int32 index = 0;      // position shown
    VSTGUI::int32 lastIndex = -1; // position last reported (or set, see the constructor)
    const bool pushedCountsAsReported;

protected:
    // Pixels from the view's start along the steps to `where`, and the pixels of one step.
    virtual VSTGUI::CCoord offsetAlongSteps(const VSTGUI::CPoint& where) const = 0;
    virtual VSTGUI::CCoord stepSize() const = 0;

private:
    void pick(const VSTGUI::CPoint& where);
};
