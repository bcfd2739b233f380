// The plug-in's editor as far as the widgets reach it: the control listener whose member
// functions picture and push buttons may call back, and the receiver of menu clicks. The full
// editor grows from here.
#pragma once

#include "vstgui.h"

class Menu;

class Vextoria3Editor : public VSTGUI::IControlListener
{
public:
    void valueChanged(VSTGUI::CControl* /*control*/) override {}
    // A left click on `menu`: its hoveredItem is the choice; the editor acts and hides it.
    virtual void processContextMenu(Menu* /*menu*/) {}
};
