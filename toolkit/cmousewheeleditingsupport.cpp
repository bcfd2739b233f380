#include "cmousewheeleditingsupport.h"

namespace VSTGUI {

CMouseWheelEditingSupport::~CMouseWheelEditingSupport()
{
    if (endEditTimer)
        endEditTimer->stop();
    // The control is this object's sibling base and still whole at its level: the pending end
    // goes out through CControl's own endEdit, not a derived one already gone.
    if (CControl* control = std::exchange(editingControl, nullptr))
    {
        control->wheelGesture = nullptr;
        control->CControl::endEdit();
    }
}

void CMouseWheelEditingSupport::onMouseWheelEditing(CControl* control)
{
    if (!control)
        return;
    if (!endEditTimer)
        endEditTimer = SharedPointer<CVSTGUITimer>::adopt(
            new CVSTGUITimer([this](CVSTGUITimer*) { finishEditing(); }, kEditEndDelay, false));
    if (editingControl != control)
    {
        finishEditing();
        editingControl = control;
        control->wheelGesture = this;
        control->beginEdit();
    }
    // Each step pushes the end of the gesture further out.
    endEditTimer->stop();
    if (!endEditTimer->start())
        finishEditing(); // no run loop: the step is a gesture of its own
}

void CMouseWheelEditingSupport::finishEditing()
{
    if (endEditTimer)
        endEditTimer->stop();
    if (CControl* control = std::exchange(editingControl, nullptr))
    {
        control->wheelGesture = nullptr;
        control->endEdit();
    }
}

} // namespace VSTGUI
