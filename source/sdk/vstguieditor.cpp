#include "vstguieditor.h"

#include "cframe.h"
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

VSTGUIEditor::VSTGUIEditor(EditController* editController, ViewRect* size) : EditorView(editController, size) {}

VSTGUIEditor::~VSTGUIEditor() { stopIdleTimer(); }

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported(FIDString type)
{
    return type && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::attached(void* parent, FIDString type)
{
    if (isPlatformTypeSupported(type) != kResultTrue || isAttached())
        return kResultFalse;
    if (!open(parent, VSTGUI::PlatformType::kX11EmbedWindowID))
        return kResultFalse;
    if (frame)
    {
        ViewRect size(0, 0, int32(std::lround(frame->getWidth())), int32(std::lround(frame->getHeight())));
        setRect(size);
        if (plugFrame)
            plugFrame->resizeView(this, &size);
    }
    stopIdleTimer();
    idleTimer = VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer>::adopt(new VSTGUI::CVSTGUITimer(this, kIdleInterval, true));
    return EditorView::attached(parent, type);
}

tresult PLUGIN_API VSTGUIEditor::removed()
{
    if (!isAttached())
        return kResultFalse;
    stopIdleTimer();
    close();
    return EditorView::removed();
}

void VSTGUIEditor::stopIdleTimer()
{
    if (idleTimer)
        idleTimer->stop();
    idleTimer = nullptr;
}

void VSTGUIEditor::beginEdit(VSTGUI::int32 index)
{
    if (controller)
        controller->beginEdit(ParamID(index));
}

void VSTGUIEditor::endEdit(VSTGUI::int32 index)
{
    if (controller)
        controller->endEdit(ParamID(index));
}

VSTGUI::CMessageResult VSTGUIEditor::notify(VSTGUI::CBaseObject* /*sender*/, VSTGUI::IdStringPtr message)
{
    return message == VSTGUI::kMsgTimer ? VSTGUI::kMessageNotified : VSTGUI::kMessageUnknown;
}

} // namespace Vst
} // namespace Steinberg
