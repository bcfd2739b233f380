// The plug-in's editor as far as the widgets reach it: the control listener whose member
// functions picture buttons may call back. The full editor grows from here.
#pragma once

#include "vstgui.h"

class Vextoria3Editor : public VSTGUI::IControlListener
{
public:
    void valueChanged(VSTGUI::CControl* /*control*/) override {}
};
