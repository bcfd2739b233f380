// Finds who receives a drag at a point of the frame.
#pragma once

#include "idroptarget.h"

namespace VSTGUI {

class CFrame;

// The drop target of the innermost container under `where` (frame coordinates) that has
// one, the frame's own included; null when none has.
IDropTarget* findDropTarget(const CFrame& frame, const CPoint& where);

} // namespace VSTGUI
