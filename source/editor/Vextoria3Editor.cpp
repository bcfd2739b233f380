#include "Vextoria3Editor.h"

#include "FxView.h"
#include "MidiSlicerView.h"
#include "Oscilloscope.h"
#include "TabView.h"
#include "controller/Vextoria3Controller.h"
#include "controls/Knob.h"
#include "controls/SimpleDisplay.h"
#include "base/source/updatehandler.h"
#include "dsp/MidiEventRing.h"
#include <cstdint>
#include <cstdlib>

using namespace VSTGUI;
using Steinberg::Vst::Vextoria3Controller;

namespace {

const CColor kFrozenColor(57, 181, 74, 254);
const CColor kLiveColor(0, 170, 255, 254);
constexpr int kFirstFlagId = 28; // parameters 28..31: random flags of the four FX tabs
constexpr int kPadKeyOffset = 36; // MIDI key of the first pad
constexpr int32_t kNoteOnRecord = 1;
constexpr int32_t kNoteOffRecord = 2;

Vextoria3Controller* vextoriaController(Steinberg::Vst::EditController* controller)
{
    return dynamic_cast<Vextoria3Controller*>(controller);
}

} // namespace

Vextoria3Editor::Vextoria3Editor(Steinberg::Vst::EditController* controller, Steinberg::ViewRect* size)
    : VSTGUIEditor(controller, size),
      wrapper(std::make_unique<PluginWrapper>(controller)),
      hiddenListener(std::make_unique<HiddenParamListener>(wrapper.get()))
{
    // The same generator the DSP core seeds for its replayable sequence: an editor reseeds it.
    std::srand(unsigned(reinterpret_cast<std::uintptr_t>(this)));
}

Vextoria3Editor::~Vextoria3Editor()
{
    if (windowOpen)
        Vextoria3Editor::close();
}

bool PLUGIN_API Vextoria3Editor::open(void*, const PlatformType&)
{
    // No layout is built yet, so no frame exists and the host shows no window.
    if (auto* controller = vextoriaController(getController()))
        controller->setEditor(nullptr);
    return false;
}

void PLUGIN_API Vextoria3Editor::close()
{
    if (!windowOpen)
        return;
    windowOpen = false;
    if (frame && frame->getNbReference() == 1)
    {
        // Every view hears of its removal first: held pads give their slice back, open
        // gestures end towards the host.
        frame->unregisterMouseObserver(this);
        std::exchange(frame, nullptr)->close();
    }
    else if (frame)
        std::exchange(frame, nullptr)->forget();
    listenToParameters(false);
    if (auto* controller = vextoriaController(getController()))
        controller->setEditor(nullptr);
}

void Vextoria3Editor::listenToParameters(bool listen)
{
    auto* controller = getController();
    if (!controller)
        return;
    if (listen)
        Steinberg::UpdateHandler::instance(); // dependents are kept by the SDK's update handler
    parameterListener.editor = listen ? this : nullptr;
    for (int id = 0; id < kParameterCount; ++id)
    {
        Steinberg::Vst::Parameter* parameter = controller->getParameterObject(Steinberg::Vst::ParamID(id));
        if (parameter && listen)
            parameter->addDependent(&parameterListener);
        else if (parameter)
            parameter->removeDependent(&parameterListener);
    }
}

void Vextoria3Editor::beginEdit(int32 index)
{
    CControl* control = getControl(index);
    if (!control || !control->isEditing() || hostGesture[size_t(index)])
        return;
    hostGesture[size_t(index)] = true;
    VSTGUIEditor::beginEdit(index);
}

void Vextoria3Editor::endEdit(int32 index)
{
    if (index < 0 || index >= kParameterCount || !std::exchange(hostGesture[size_t(index)], false))
        return;
    VSTGUIEditor::endEdit(index);
}

void Vextoria3Editor::valueChanged(CControl* control)
{
    const int32 tag = control->getTag();
    const float value = control->getValue();
    if (tag == kUISelectTag)
        return; // the layout switch arrives with the layouts
    wrapper->setParameterAutomated(tag, value);
    CControl* led = tag == 10 ? upLed : tag == 11 ? downLed : nullptr;
    if (led)
    {
        led->setValue(value);
        led->invalid();
    }
}

void Vextoria3Editor::addControl(CControl* control)
{
    const int32 tag = control ? control->getTag() : -1;
    if (tag >= 0 && tag < kParameterCount)
        controls[size_t(tag)] = control;
}

void Vextoria3Editor::processUISlicer(int slice) { wrapper->sendIntMessage("setslice", Steinberg::int64(slice)); }

void Vextoria3Editor::sendRandomFlags(const float flags[4])
{
    for (int i = 0; i < 4; ++i)
        if (flags[i] != float(wrapper->getParameter(kFirstFlagId + i)))
            wrapper->setParameterAutomated(kFirstFlagId + i, flags[i]);
}

void Vextoria3Editor::setRandomFlags()
{
    if (!fxPanel)
        return;
    float flags[4];
    for (int i = 0; i < 4; ++i)
        flags[i] = float(wrapper->getParameter(kFirstFlagId + i));
    fxPanel->tabView->setRandomFlags(flags);
}

void Vextoria3Editor::setParameter(int32_t id, double normalized)
{
    if (!windowOpen || id < 0 || id >= kParameterCount)
        return;
    if (CControl* control = controls[size_t(id)])
        control->setValue(float(normalized));
    switch (id)
    {
    case 0:
        if (activeLed)
            activeLed->setValue(float(normalized));
        break;
    case 7:
        if (slicePads)
            slicePads->setNbSlice2(float(normalized));
        break;
    case 10:
    case 11:
        if (CControl* led = id == 10 ? upLed : downLed)
            led->setValue(float(normalized));
        break;
    case 13:
    {
        const CColor colour = normalized >= 0.5 ? kFrozenColor : kLiveColor;
        if (scopeView)
            scopeView->traceColor = colour;
        if (readout)
            readout->textColor = colour;
        break;
    }
    case 14:
        modePending = true;
        break;
    case 28:
    case 29:
    case 30:
    case 31:
        setRandomFlags();
        break;
    case 33:
        setScopeSpeed(normalized);
        break;
    default:
        break;
    }
}

bool Vextoria3Editor::setHiddenParameter(int32_t index, double value)
{
    if (!windowOpen || index < 0 || index >= kHiddenCount)
        return false;
    switch (index)
    {
    case 0:
        resizePending = true;
        break;
    case 2:
        if (scopeView)
            scopeView->setStyle(value);
        break;
    case 3:
        setKnobSpeed(value);
        break;
    case 5:
        editFxPending = true;
        break;
    case 6:
        tabSelectPending = true;
        break;
    default:
        break;
    }
    CControl* control = hiddenControls[size_t(index)];
    if (control && double(control->getValue()) != value)
        control->setValue(float(value));
    return true;
}

void Vextoria3Editor::processOscilloscope(const int8_t* data, int32_t count, int32_t flag)
{
    if (flag == 0 && windowOpen && scopeView)
        scopeView->process(data, count);
}

void Vextoria3Editor::processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count)
{
    if (!windowOpen || !notes)
        return;
    for (int32_t i = 0; i < count; ++i)
    {
        const int pitch = notes[i].pitch;
        if (notes[i].type == kNoteOnRecord)
            noteOn(pitch, notes[i].velocity);
        else if (notes[i].type == kNoteOffRecord)
            noteOff(pitch, notes[i].velocity);
    }
}

void Vextoria3Editor::lightPadOfKey(int key)
{
    if (!slicePads)
        return;
    slicePads->clearHighLight();
    // Truncating remainder: keys below 36 may give a negative index, which lights nothing.
    slicePads->highLightSlice((key - kPadKeyOffset) % slicePads->nbSlice);
}

void Vextoria3Editor::noteOn(int pitch, int)
{
    if (pitch < 0 || pitch >= int(noteStamp.size()))
        return;
    lightPadOfKey(pitch);
    noteStamp[size_t(pitch)] = ++lastStamp;
}

void Vextoria3Editor::noteOff(int pitch, int)
{
    if (pitch < 0 || pitch >= int(noteStamp.size()))
        return;
    noteStamp[size_t(pitch)] = 0;
    // Back to the most recently pressed key still held, the lowest on equal stamps.
    int latest = -1;
    for (int key = 0; key < int(noteStamp.size()); ++key)
        if (noteStamp[size_t(key)] != 0 && (latest < 0 || noteStamp[size_t(key)] > noteStamp[size_t(latest)]))
            latest = key;
    if (latest >= 0)
        lightPadOfKey(latest);
    else if (slicePads)
        slicePads->clearHighLight();
}

void Vextoria3Editor::setKnobSpeed(double knobSpeed)
{
    const double pixels = 384.0 * (1.0 - knobSpeed) + 128.0;
    for (Knob* knob : mainKnobs)
        if (knob)
            knob->setAccelerator(int(pixels));
    if (fxPanel)
        fxPanel->setKnobSpeed(pixels);
}

void Vextoria3Editor::setScopeSpeed(double scopeSpeed)
{
    if (scopeView)
        scopeView->samplesPerPoint = int32((1.0 - scopeSpeed) * 164.0 + 12.0);
}

void Vextoria3Editor::showSettings()
{
    if (windowOpen && settingsView)
        settingsView->setVisible(true);
}

void Vextoria3Editor::hideSettings()
{
    if (windowOpen && settingsView)
        settingsView->setVisible(false);
}
