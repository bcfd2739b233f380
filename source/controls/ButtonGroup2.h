// A radio group of the editor's push buttons: turning one on turns the previous one off
// and redraws it. Push buttons report to the editor themselves, so nobody else is told.
#pragma once

#include "RadioGroup.h"

class PushButton;

class ButtonGroup2 : public RadioGroup<ButtonGroup2, PushButton>
{
public:
    // A template so that the group does not need the push button's definition until used.
    template <typename Member>
    static void switchOff(Member& member)
    {
        member.setValue(0.f);
        member.setDirty(true);
    }
};
