// How every widget reads the mouse: which press counts as a left click, fine drags, resets
// to the default and wheel steps.
#pragma once

#include "vstgui.h"

namespace MouseGesture {

using VSTGUI::CButtonState;

// The five mouse-button bits hold the left button and nothing else.
inline bool isLeftAlone(const CButtonState& buttons) { return buttons.getButtonState() == VSTGUI::kLButton; }
inline bool isRightAlone(const CButtonState& buttons) { return buttons.getButtonState() == VSTGUI::kRButton; }
inline bool isShiftOnly(const CButtonState& buttons) { return buttons.getModifierState() == VSTGUI::kShift; }
inline bool isControlOnly(const CButtonState& buttons) { return buttons.getModifierState() == VSTGUI::kControl; }

// A left click with Ctrl as the only modifier.
inline bool isCtrlClick(const CButtonState& buttons) { return isLeftAlone(buttons) && isControlOnly(buttons); }

// A left Ctrl-click or any double click sets a control back to its default.
inline bool wantsDefault(const CButtonState& buttons)
{
    return (isLeftAlone(buttons) && isControlOnly(buttons)) || buttons.isDoubleClick();
}

// A press taken away (grab lost, view removed) for a widget whose release only ends the
// gesture: it ends as if released, changing no value.
inline VSTGUI::CMouseEventResult endAsReleased(VSTGUI::CView& view)
{
    VSTGUI::CPoint nowhere;
    return view.onMouseUp(nowhere, CButtonState());
}

// One wheel event is one step, whatever its distance: +1 up, -1 down, 0 for none.
inline int wheelStep(float distance) { return distance > 0 ? 1 : (distance < 0 ? -1 : 0); }

// Vertical drags: moving up raises the value; Shift alone makes the drag eight times finer.
class VerticalDrag
{
public:
    static constexpr double kFineFactor = 0.125;

    // Starts a drag at the pointer's y (parent coordinates) over a view whose top is `top`.
    void start(const VSTGUI::CPoint& where, VSTGUI::CCoord top) { lastY = pixelRow(where, top); }
    // Pixels moved up since the last call, scaled for fine mode.
    double step(const VSTGUI::CPoint& where, VSTGUI::CCoord top, const CButtonState& buttons)
    {
        VSTGUI::int32 y = pixelRow(where, top);
        double delta = double(lastY - y);
        lastY = y;
        return isShiftOnly(buttons) ? delta * kFineFactor : delta;
    }
    VSTGUI::int32 lastY = 0; // last pointer y, whole pixels relative to the view's top

private:
    static VSTGUI::int32 pixelRow(const VSTGUI::CPoint& where, VSTGUI::CCoord top)
    {
        return VSTGUI::int32(where.y - top);
    }
};

} // namespace MouseGesture
