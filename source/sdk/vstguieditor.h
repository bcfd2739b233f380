// The base of a plug-in editor drawn with the GUI toolkit: a plug view that embeds a toolkit
// frame in the host's X11 window, tells the host its size, sends user gestures to the
// controller and ticks every 100 ms while attached. UI thread only.
#pragma once

#include "cvstguitimer.h"
#include "platformtype.h"
#include "vstguieditorinterface.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class VSTGUIEditor : public EditorView, public VSTGUI::VSTGUIEditorInterface, public VSTGUI::CBaseObject
{
public:
    static constexpr VSTGUI::uint32 kIdleInterval = 100; // ms between idle ticks

    // `size` is the view's size until the frame opens (may be null: empty).
    VSTGUIEditor(EditController* controller, ViewRect* size = nullptr);
    ~VSTGUIEditor() override;

    // Creates `frame` and opens it in `parent`; false when there is no frame afterwards.
    virtual bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) = 0;
    // Closes the frame and lets it go.
    virtual void PLUGIN_API close() = 0;

    // The host embeds the view: opens the frame, asks the host for its size, starts the tick.
    tresult PLUGIN_API attached(void* parent, FIDString type) override;
    // The host takes the view away: stops the tick and closes the frame.
    tresult PLUGIN_API removed() override;
    // Only X11 windows (kPlatformTypeX11EmbedWindowID).
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override;

    // Gestures of the control with tag `index`, passed to the controller.
    void beginEdit(VSTGUI::int32 index) override;
    void endEdit(VSTGUI::int32 index) override;

    // Answers the idle tick (the toolkit's timer message) as notified.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;

    // One reference count for both sides: toolkit references are SDK references.
    void remember() override { addRef(); }
    void forget() override { release(); }

private:
    void stopIdleTimer();

    VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer> idleTimer; // runs while attached
};

} // namespace Vst
} // namespace Steinberg
