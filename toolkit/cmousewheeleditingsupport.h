// Brackets a run of wheel steps on a control in one gesture: the first step begins the edit,
// a pause of kEditEndDelay ends it, and so does the control's removal or destruction.
#pragma once

#include "ccontrol.h"
#include "cvstguitimer.h"

namespace VSTGUI {

class CMouseWheelEditingSupport
{
public:
    static constexpr uint32 kEditEndDelay = 500; // ms

    CMouseWheelEditingSupport() = default;
    // A copied control starts without a wheel gesture of its own.
    CMouseWheelEditingSupport(const CMouseWheelEditingSupport&) {}
    CMouseWheelEditingSupport& operator=(const CMouseWheelEditingSupport&) = delete;
    virtual ~CMouseWheelEditingSupport();
    // Call on every wheel step of `control`.
    void onMouseWheelEditing(CControl* control);
    // Ends the open wheel gesture now (the control calls it when it leaves the tree).
    void finishEditing();

private:

    SharedPointer<CVSTGUITimer> endEditTimer;
    CControl* editingControl = nullptr;
};

} // namespace VSTGUI
