// The listener of the editor's hidden-setting controls (tag = hidden-setting index): turns
// each user change into a hidden-setting change through the wrapper. UI thread only.
#pragma once

#include "vstgui.h"

class PluginWrapper;

class HiddenParamListener : public VSTGUI::IControlListener
{
public:
    explicit HiddenParamListener(PluginWrapper* wrapper);

    void valueChanged(VSTGUI::CControl* control) override;

private:
    PluginWrapper* wrapper; // not owned: the editor's
};
