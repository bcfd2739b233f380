#include "ButtonGroup.h"

#include "Button.h"

void ButtonGroup::switchOff(Button& member)
{
    member.setValue(0.f);
    member.valueChanged();
}
