// A radio group of picture buttons: turning one on turns the previous one off and tells its
// listener.
#pragma once

#include "RadioGroup.h"

class Button;

class ButtonGroup : public RadioGroup<ButtonGroup, Button>
{
public:
    static void switchOff(Button& member);
};
