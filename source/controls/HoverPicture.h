// The hover picture of picture buttons: shown while the pointer is over a button that is off,
// replaced by the resting picture when the pointer leaves.
#pragma once

#include "vstgui.h"

namespace HoverPicture {

using VSTGUI::CBitmap;

// True when `current` changed and the button needs a redraw.
inline bool enter(CBitmap*& current, CBitmap* hover, bool on)
{
    if (!hover || on)
        return false;
    current = hover;
    return true;
}

inline bool leave(CBitmap*& current, CBitmap* hover, CBitmap* resting)
{
    if (!hover || current != hover)
        return false;
    current = resting;
    return true;
}

} // namespace HoverPicture
