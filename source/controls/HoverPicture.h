// The hover picture of picture buttons: shown while the pointer is over a button that is off,
// replaced by the resting picture when the pointer leaves.
#pragma once

#include "vstgui.h"

namespace HoverPicture {

using VSTGUI::CBitmap;
using VSTGUI::CMouseEventResult;

// The answers to the pointer entering and leaving `button`, which shows `current`. A disabled
// button does not handle them; a changed picture is redrawn.
inline CMouseEventResult enter(VSTGUI::CView& button, bool disabled, CBitmap*& current, CBitmap* hover, bool on)
{
    if (disabled)
        return VSTGUI::kMouseEventNotHandled;
    if (hover && !on)
    {
        current = hover;
        button.setDirty(true);
    }
    return VSTGUI::kMouseEventHandled;
}

inline CMouseEventResult leave(VSTGUI::CView& button, bool disabled, CBitmap*& current, CBitmap* hover,
                               CBitmap* resting)
{
    if (disabled)
        return VSTGUI::kMouseEventNotHandled;
    if (hover && current == hover)
    {
        current = resting;
        button.setDirty(true);
    }
    return VSTGUI::kMouseEventHandled;
}

} // namespace HoverPicture
