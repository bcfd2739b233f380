#include "droptargetlookup.h"

#include "cframe.h"

namespace VSTGUI {

IDropTarget* findDropTarget(const CFrame& frame, const CPoint& where)
{
    IDropTarget* found = frame.getDropTarget();
    const CViewContainer* container = &frame;
    CPoint point = where;
    while (auto* inner = dynamic_cast<CViewContainer*>(container->getViewAt(point)))
    {
        point -= inner->getViewSize().getTopLeft();
        if (IDropTarget* target = inner->getDropTarget())
            found = target;
        container = inner;
    }
    return found;
}

} // namespace VSTGUI
