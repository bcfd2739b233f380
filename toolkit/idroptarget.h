// A receiver of drags over the frame, set on a container.
#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"
#include "idatapackage.h"

namespace VSTGUI {

enum class DragOperation
{
    Copy,
    Move,
    None
};

struct DragEventData
{
    IDataPackage* drag;     // valid for the call only
    CPoint pos;             // frame coordinates
    CButtonState modifiers; // modifier keys only
};

class IDropTarget : public virtual IReference
{
public:
    virtual DragOperation onDragEnter(DragEventData data) = 0;
    virtual DragOperation onDragMove(DragEventData data) = 0;
    virtual void onDragLeave(DragEventData data) = 0;
    // True when the drop was taken.
    virtual bool onDrop(DragEventData data) = 0;
};

} // namespace VSTGUI
