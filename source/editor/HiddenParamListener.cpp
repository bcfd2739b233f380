#include "HiddenParamListener.h"

#include "PluginWrapper.h"

HiddenParamListener::HiddenParamListener(PluginWrapper* editorWrapper) : wrapper(editorWrapper) {}

void HiddenParamListener::valueChanged(VSTGUI::CControl* control)
{
    // Each control's own range makes the setting's encoding; the value passes unchanged.
    if (control && wrapper)
        wrapper->setHiddenParameter(control->getTag(), double(control->getValue()));
}
