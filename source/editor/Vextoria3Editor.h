// The plug-in's editor view: it owns the toolkit frame while the host shows the window, keeps
// the controls by parameter id and by hidden-setting index, turns widget edits into parameter
// edits and pushes the controller's changes back into the views. Every entry point runs on
// the host's UI thread.
#pragma once

#include "HiddenParamListener.h"
#include "ParameterListener.h"
#include "PluginWrapper.h"
#include "controller/EditorLink.h"
#include "sdk/vstguieditor.h"
#include "vstgui.h"
#include <array>
#include <memory>
#include <string>

class FxView;
class Knob;
class Menu;
class MidiSlicerView;
class Oscilloscope;
class SimpleDisplay;

// 0 LEGACY (600 x 400), 1 RACK (860 x 300).
enum UiStyle : Steinberg::int32
{
    kUiLegacy = 0,
    kUiRack = 1
};

// Tag of the LEGACY/RACK switch: handled by the editor, never sent as a parameter.
constexpr Steinberg::int32 kUISelectTag = 8192;

class Vextoria3Editor : public Steinberg::Vst::VSTGUIEditor,
                        public VSTGUI::IControlListener,
                        public EditorLink,
                        private VSTGUI::IMouseObserver,
                        private VSTGUI::IDropTarget
{
public:
    static constexpr int kParameterCount = 38; // ids 0..37
    static constexpr int kHiddenCount = 7;     // HiddenParamIndex 0..6
    static constexpr int kMainKnobCount = 6;

    // `controller` may be null (then the wrapper answers neutrally); `size` is the view's size
    // until the frame opens.
    Vextoria3Editor(Steinberg::Vst::EditController* controller, Steinberg::ViewRect* size);
    ~Vextoria3Editor() override;

    // The host embeds the view: builds the layout and opens the frame; false without a frame.
    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) override;
    // Closes the frame (every view in it hears of it first) and stops following the controller.
    void PLUGIN_API close() override;

    // Host gestures pass only for a parameter whose own control is being edited, so controls
    // that merely share a tag number (tabs, hidden settings, the layout switch) never touch
    // the host's parameters.
    void beginEdit(VSTGUI::int32 index) override;
    void endEdit(VSTGUI::int32 index) override;

    // A user edit of a control whose listener is the editor.
    void valueChanged(VSTGUI::CControl* control) override;

    // EditorLink: what the controller hands on.
    bool isOpen() const override { return windowOpen; }
    void processOscilloscope(const int8_t* data, int32_t count, int32_t flag) override;
    void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) override;
    bool setHiddenParameter(int32_t index, double value) override;
    Steinberg::FUnknown* hostFrame() const override { return plugFrame; }

    // A controller parameter changed (from the parameter listener): the control and the views
    // that follow it take the value. Nothing while closed or for an id outside 0..37.
    void setParameter(int32_t id, double normalized);

    // Stores `control` under its tag, which must be a parameter id 0..37 (others are refused).
    void addControl(VSTGUI::CControl* control);
    // The slice pads' choice (0..n-1) or its release (-1), sent as "setslice".
    void processUISlicer(int slice);
    // The FX tabs' random flags: each that differs from parameter 28 + i is set and performed.
    void sendRandomFlags(const float flags[4]);
    // Parameters 28..31 handed to the FX panel's tabs.
    void setRandomFlags();
    void noteOn(int pitch, int velocity);
    void noteOff(int pitch, int velocity);
    // Accelerator 384 * (1 - speed) + 128 pixels for the main knobs and the FX panel.
    void setKnobSpeed(double knobSpeed);
    // Samples per scope point from parameter 33.
    void setScopeSpeed(double scopeSpeed);
    // The settings overlay's buttons.
    void showSettings();
    void hideSettings();
    void openHelpUrl() {}

    // A left click on `menu`: its hoveredItem is the choice; the editor acts and hides it.
    virtual void processContextMenu(Menu* /*menu*/) {}

    PluginWrapper* getWrapper() { return wrapper.get(); }
    VSTGUI::CControl* getControl(int id) const { return id >= 0 && id < kParameterCount ? controls[id] : nullptr; }

    // Still to come with the window's layouts, sizing and read-out.
    void idle();
    void openUI();
    void resize(double viewSize);
    void processUISelect(float value);
    static bool isRenoise(const std::string& hostName);
    static std::string getControlName(int tag);
    static std::string getControlDisplay(VSTGUI::CControl* control);

    // Views of the current layout, set by the layout builder; the frame owns them.
    VSTGUI::CViewContainer* background = nullptr;
    VSTGUI::CControl* powerButton = nullptr;
    std::array<Knob*, kMainKnobCount> mainKnobs {};
    Oscilloscope* scopeView = nullptr;
    VSTGUI::CView* toastButton = nullptr; // LEGACY only
    VSTGUI::CControl* activeLed = nullptr; // LEGACY only
    VSTGUI::CControl* upLed = nullptr;
    VSTGUI::CControl* downLed = nullptr;
    SimpleDisplay* readout = nullptr;
    MidiSlicerView* slicePads = nullptr;
    FxView* fxPanel = nullptr;
    VSTGUI::CViewContainer* settingsView = nullptr;
    Menu* oscModeMenu = nullptr; // menus made on demand, cleared by every layout build
    Menu* trigModeMenu = nullptr;
    Menu* fxSelectMenu = nullptr;

    std::array<VSTGUI::CControl*, kParameterCount> controls {};     // by parameter id
    std::array<VSTGUI::CControl*, kHiddenCount> hiddenControls {};  // by HiddenParamIndex
    double baseSize[4] = {0, 0, 860, 300}; // left, top, right, bottom of the current layout
    Steinberg::int32 toastOffset[2] = {0, 0}; // x, y from the toast's home
    bool resizePending = false;
    bool modePending = false;
    bool editFxPending = false;
    bool tabSelectPending = false;
    Steinberg::int32 uiStyle = kUiRack;

private:
    // IDropTarget: preset files are not taken yet, so every drag is refused.
    VSTGUI::DragOperation onDragEnter(VSTGUI::DragEventData) override { return VSTGUI::DragOperation::None; }
    VSTGUI::DragOperation onDragMove(VSTGUI::DragEventData) override { return VSTGUI::DragOperation::None; }
    void onDragLeave(VSTGUI::DragEventData) override {}
    bool onDrop(VSTGUI::DragEventData) override { return false; }

    // Lights the pad of `key` (the pads count from key 36).
    void lightPadOfKey(int key);

protected:
    // Follows or stops following every controller parameter.
    void listenToParameters(bool listen);

    bool windowOpen = false;
    // Press order of each held MIDI key (0 = up); a 64-bit counter never runs out.
    std::array<Steinberg::uint64, 128> noteStamp {};
    Steinberg::uint64 lastStamp = 0;
    std::array<bool, kParameterCount> hostGesture {}; // a begin edit went to the host

private:
    ParameterListener parameterListener;
    std::unique_ptr<PluginWrapper> wrapper;
    std::unique_ptr<HiddenParamListener> hiddenListener;
};
