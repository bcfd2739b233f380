// The plug-in's editor view: it owns the toolkit frame while the host shows the window, keeps
// the controls by parameter id and by hidden-setting index, turns widget edits into parameter
// edits, pushes the controller's changes back into the views and ticks every 100 ms. Every
// entry point runs on the host's UI thread.
#pragma once

#include "HiddenParamListener.h"
#include "ParameterListener.h"
#include "PluginWrapper.h"
#include "PresetFileData.h"
#include "controller/EditorLink.h"
#include "dsp/RandomGenerator.h"
#include "sdk/vstguieditor.h"
#include "vstgui.h"
#include <array>
#include <memory>
#include <optional>
#include <string>

class DropForwarder;
class FxView;
class Knob;
class LayoutBuilder;
class Menu;
class MidiSlicerView;
class Oscilloscope;
class PushButton;
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
    // Stops following the controller if close never ran.
    ~Vextoria3Editor() override;

    // The host embeds the view (from attached): reads the layout from the settings file,
    // builds it at the zoom of hidden setting 0 and opens the window. False, with everything
    // undone, when the window cannot open (no display, unusable parent).
    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) override;
    // Closes the frame (every view in it hears of it first) and stops following the controller.
    void PLUGIN_API close() override;

    // The host's size query: the stored view rectangle, or for hosts that need it (isRenoise)
    // the size of the current zoom; kInvalidArgument for a null rectangle.
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
    // The host resized the window: the width decides the zoom (0.75..2.0; other widths are
    // refused).
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    // The toolkit's timer message runs the idle tick first.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;

    // Host gestures pass only for a parameter whose own control is being edited, so controls
    // that merely share a tag number (tabs, hidden settings, the layout switch) never touch
    // the host's parameters.
    void beginEdit(VSTGUI::int32 index) override;
    void endEdit(VSTGUI::int32 index) override;

    // A user edit of a control whose listener is the editor.
    void valueChanged(VSTGUI::CControl* control) override;
    // A main control's gesture: the read-out fades in over the dimmed panels, and out again.
    void controlBeginEdit(VSTGUI::CControl* control) override;
    void controlEndEdit(VSTGUI::CControl* control) override;

    // EditorLink: what the controller hands on.
    bool isOpen() const override { return windowOpen; }
    void processOscilloscope(const int8_t* data, int32_t count, int32_t flag) override;
    void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) override;
    bool setHiddenParameter(int32_t index, double value) override;
    Steinberg::FUnknown* hostFrame() const override { return plugFrame; }

    // A controller parameter changed (from the parameter listener): the control and the views
    // that follow it take the value. Nothing while closed or for an id outside 0..37.
    void setParameter(int32_t id, double normalized);
    // Sets parameter `id` and performs the edit towards the host, inside a begin and end edit
    // of its own unless a gesture of that id is open.
    void editParameter(int32_t id, double value);

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

    // The tick body: deferred work, the toast's motion, then "linuxtimer" to the processor.
    void idle();
    // Builds the widget tree of `style` (0 LEGACY, 1 RACK) into the frame, making the frame
    // when there is none; any other style builds nothing.
    void openUI(Steinberg::int32 style);
    // The settings overlay of the current face, hidden (from openUI).
    void createSettingsView();
    // Applies view size `viewSize` (hidden setting 0) to the host window and the frame.
    void resize(double viewSize);
    // The LEGACY/RACK switch: records the layout in the settings file at once; the tree is
    // rebuilt at the next tick, with the new face's settings overlay showing.
    void processUISelect(float value);
    // Accelerator 384 * (1 - speed) + 128 pixels for the main knobs and the FX panel.
    void setKnobSpeed(double knobSpeed);
    // Samples per scope point from parameter 33.
    void setScopeSpeed(double scopeSpeed);
    // The settings overlay's buttons.
    void showSettings();
    void hideSettings();
    void openHelpUrl() {}
    void setSettingsAsDefaut();
    void resetDefaultSettings();

    // A left click on `menu` (from the menu): its hoveredItem is the choice; the editor sets
    // the menu's parameter or hidden setting and hides it.
    virtual void processContextMenu(Menu* menu);

    // A file dropped on the window: a ".vstpreset" file is loaded, "fxp" and "fxb" files go to
    // the VST2 hook, anything else is ignored.
    void loadFromDropFile(const std::string& path);
    // Loads the preset file at `path` into the processor and the controller and names the
    // current program `name`. False, with nothing changed, for a file that is not a preset of
    // this plug-in or whose program record the processor would refuse.
    bool loadVST3Preset(const std::string& path, const std::string& name);
    // VST2 presets are recognised but not read: always false.
    bool loadVST2Preset(const std::string& path, const std::string& name);
    // The chunks of the VST3 preset file at `path`, read whole into memory; none for anything
    // but a regular file of at most kMaxPresetFileBytes holding this plug-in's preset with a
    // "Comp" chunk, its chunk list and chunks inside the file.
    static std::optional<PresetFileData> readVST3Preset(const std::string& path);
    // The file name without its folders and its last extension: "Big Room" for
    // "/home/u/Presets/Big Room.vstpreset".
    static std::string getBaseName(const std::string& path);

    // The frame's zoom for view size `viewSize`: int(4 v) 0 (and below) 1.0, 1 1.5, 2 2.0,
    // 3 or more 0.75.
    static double zoomFactor(double viewSize);
    // Hosts that size the view from getSize and report zooms through onSize only.
    static bool isRenoise(const std::string& hostName);
    // Read-out name of a control tag ("GATE SIZE" for 1 ... "PITCH RANGE" for 9; else "").
    static std::string getControlName(int tag);
    // Read-out value text of a main control ("85%", "1/4 BEAT", "6 ST"; else "").
    static std::string getControlDisplay(VSTGUI::CControl* control);

    PluginWrapper* getWrapper() { return wrapper.get(); }
    HiddenParamListener* getHiddenListener() { return hiddenListener.get(); }
    VSTGUI::CControl* getControl(int id) const { return id >= 0 && id < kParameterCount ? controls[id] : nullptr; }

    // Views of the current layout, set by the layout builder; the frame owns them.
    VSTGUI::CViewContainer* background = nullptr;
    VSTGUI::CControl* powerButton = nullptr;
    std::array<Knob*, kMainKnobCount> mainKnobs {}; // the knob of tag t at t - 1
    Oscilloscope* scopeView = nullptr;
    VSTGUI::CView* toastButton = nullptr; // LEGACY only
    VSTGUI::CControl* activeLed = nullptr; // LEGACY only
    VSTGUI::CControl* upLed = nullptr;
    VSTGUI::CControl* downLed = nullptr;
    SimpleDisplay* readout = nullptr;
    MidiSlicerView* slicePads = nullptr;
    FxView* fxPanel = nullptr;
    VSTGUI::CViewContainer* settingsView = nullptr;
    PushButton* settingsButton = nullptr;
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
    bool layoutPending = false; // the layout switch waits for the tick
    Steinberg::int32 uiStyle = kUiRack;

private:
    // IMouseObserver: every press in the window, before the views get it. While open it is
    // never taken, so the views under the pointer see each press too.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CFrame* frame, const VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    // A left press closes the menus it misses and, in the scope's corner, the FX panel.
    void leftPress(const VSTGUI::CPoint& where);
    // A right press closes the open menus and opens the one of the view under it.
    void rightPress(const VSTGUI::CPoint& where);
    // The three context menus, in the order the tables of their rows list them.
    enum ContextMenu
    {
        kOscModeMenu,
        kTrigModeMenu,
        kFxSelectMenu
    };
    // Opens menu `kind` (made and added to the frame on first use) at a press at `where`, kept
    // inside the window, with row `checkedRow` marked (none when out of range).
    void openMenu(ContextMenu kind, const VSTGUI::CPoint& where, int checkedRow);
    // Hides each of the three menus that shows and that `where` misses (all for none).
    void hideMenus(const VSTGUI::CPoint* where);

    // IDropTarget: every drag is answered copy, so the file manager never deletes the file.
    VSTGUI::DragOperation onDragEnter(VSTGUI::DragEventData) override { return VSTGUI::DragOperation::Copy; }
    VSTGUI::DragOperation onDragMove(VSTGUI::DragEventData) override { return VSTGUI::DragOperation::Copy; }
    void onDragLeave(VSTGUI::DragEventData) override {}
    // Every file path of the package is loaded, in order; always true.
    bool onDrop(VSTGUI::DragEventData data) override;

    // Lights the pad of `key` (the pads count from key 36).
    void lightPadOfKey(int key);
    // The frame, the background with the face's controls, the panels, the overlay.
    template <typename Face>
    void buildFace(LayoutBuilder& builder, Face& face);
    // Scope, read-out, slice pads and FX panel, all over `panel`.
    void addPanels(const VSTGUI::CRect& panel, VSTGUI::CCoord readoutFontSize, VSTGUI::int32 padFontSize, int fxStyle);
    // The tick's pieces.
    void rebuildLayout();
    void applyTrigMode();
    void applyEditFx();
    void moveToast();
    // Every view pointer and table entry of the tree that just went.
    void forgetViews();
    // Unregisters the mouse observer and closes the frame, whoever else holds it.
    void closeFrame();
    // The controller's editor pointer: set to this editor, or cleared when it is this one.
    void linkController(bool link);
    // Width and height of baseSize, truncated.
    VSTGUI::int32 baseWidth() const { return VSTGUI::int32(baseSize[2] - baseSize[0]); }
    VSTGUI::int32 baseHeight() const { return VSTGUI::int32(baseSize[3] - baseSize[1]); }

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
    VSTGUI::SharedPointer<DropForwarder> dropTarget; // the background's way to the editor
    RandomGenerator toastRandom; // the editor's own: the processor's sequence stays replayable
    Steinberg::ViewRect requestedSize; // the last size asked of the host
};
