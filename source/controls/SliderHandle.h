// Where a slider's handle may go and which value its position stands for, shared by the
// sliders whose handle slides along a horizontal track.
#pragma once

#include "vstgui.h"
#include <algorithm>

namespace SliderHandle {

using VSTGUI::CCoord;

// Keeps the handle's left edge on whole-pixel bounds inside the view; a handle wider than
// the view stays at the left end.
inline CCoord clampLeft(CCoord left, const VSTGUI::CRect& view, CCoord handleWidth)
{
    const CCoord lowest = VSTGUI::int32(view.left);
    const CCoord highest = VSTGUI::int32(VSTGUI::int32(view.right) - handleWidth);
    return std::max(lowest, std::min(left, highest));
}

// 0 with the handle at the left end, 1 at the right end.
inline float valueAt(CCoord left, const VSTGUI::CRect& view, CCoord handleWidth)
{
    const CCoord travel = view.getWidth() - handleWidth;
    if (travel <= 0)
        return 0.f;
    return std::clamp(float((left - VSTGUI::int32(view.left)) / travel), 0.f, 1.f);
}

} // namespace SliderHandle
