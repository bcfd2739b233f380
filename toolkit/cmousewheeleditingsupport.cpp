#include "cmousewheeleditingsupport.h"

namespace VSTGUI {

CMouseWheelEditingSupport::~CMouseWheelEditingSupport()
{
    if (endEditTimer)
        endEditTimer->stop();
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
        control->endEdit();
}

} // namespace VSTGUI
