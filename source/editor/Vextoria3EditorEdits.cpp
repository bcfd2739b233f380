// The editor's traffic: edits out to the host with the value read-out and its fades,
// parameter and hidden-setting changes back, MIDI notes lighting the pads, and the settings
// overlay's save and reset.
#include "Vextoria3Editor.h"

#include "FxView.h"
#include "MidiSlicerView.h"
#include "Oscilloscope.h"
#include "TabView.h"
#include "UserDefaults.h"
#include "controls/Knob.h"
#include "controls/SimpleDisplay.h"
#include "dsp/MidiEventRing.h"
#include <cstdio>

using namespace VSTGUI;

namespace {

const CColor kFrozenColor(57, 181, 74, 254);
const CColor kLiveColor(0, 170, 255, 254);
constexpr int kFirstFlagId = 28; // parameters 28..31: random flags of the four FX tabs
constexpr int kPadKeyOffset = 36; // MIDI key of the first pad
constexpr int32_t kNoteOnRecord = 1;
constexpr int32_t kNoteOffRecord = 2;

// Read-out names by tag 1..9.
const char* const kControlNames[] = {"GATE SIZE",  "REVERSE AMT",  "FX SIZE AMOUNT", "PITCH AMOUNT", "PAN AMOUNT",
                                     "ROLL AMOUNT", "SLICE SIZE", "SLICE AMOUNT",   "PITCH RANGE"};
constexpr int kSliceSizeTag = 7;
constexpr int kPitchRangeTag = 9;

// The fades, each under its own animation name.
struct Fade
{
    const char* name;
    float alpha;
    uint32 milliseconds;
};
constexpr Fade kReadoutIn {"AlphaValueAnimation", 0.75f, 20};
constexpr Fade kReadoutOut {"AlphaValueAnimation", 0.f, 400};
constexpr Fade kScopeBack {"AlphaValueAnimation2", 0.76f, 500};
constexpr Fade kPadsBack {"AlphaValueAnimation3", 1.f, 500};
constexpr Fade kPanelBack {"AlphaValueAnimation4", 1.f, 500};
constexpr float kDimmed = 0.1f; // panels under the read-out

void fade(CView* view, const Fade& to)
{
    if (CFrame* frame = view->getFrame())
        frame->getAnimator()->addAnimation(view, to.name, new Animation::AlphaValueAnimation(to.alpha),
                                           new Animation::LinearTimingFunction(to.milliseconds));
    else
        view->setAlphaValue(to.alpha);
}

void dim(CView* view, float alpha)
{
    if (CFrame* frame = view->getFrame())
        frame->getAnimator()->removeAnimations(view);
    view->setAlphaValue(alpha);
}

} // namespace

std::string Vextoria3Editor::getControlName(int tag)
{
    return tag >= 1 && tag <= int(std::size(kControlNames)) ? kControlNames[tag - 1] : "";
}

std::string Vextoria3Editor::getControlDisplay(CControl* control)
{
    const int tag = control ? int(control->getTag()) : 0;
    const float value = control ? control->getValue() : 0.f;
    char text[32] = "";
    if (getControlName(tag).empty())
        return text;
    if (tag == kSliceSizeTag)
    {
        const char* const beats[] = {"1 BEAT", "1/2 BEAT", "1/4 BEAT"};
        const int index = int(2.f * value);
        return index >= 0 && index <= 2 ? beats[index] : "";
    }
    if (tag == kPitchRangeTag)
        std::snprintf(text, sizeof text, "%d ST", int(value * 12.f));
    else
        std::snprintf(text, sizeof text, "%d%%", int(value * 100.f));
    return text;
}

void Vextoria3Editor::controlBeginEdit(CControl* control)
{
    const std::string name = getControlName(control->getTag());
    if (name.empty())
        return;
    if (readout)
        readout->setText(name + " : " + getControlDisplay(control));
    const bool panelShowing = fxPanel && fxPanel->isShowing();
    if (scopeView)
        dim(scopeView, panelShowing ? 0.f : kDimmed);
    if (readout)
    {
        fade(readout, kReadoutIn);
        readout->setVisible(true);
    }
    for (CView* panel : {static_cast<CView*>(slicePads), static_cast<CView*>(fxPanel)})
        if (panel && panel->isShowing())
            dim(panel, kDimmed);
}

void Vextoria3Editor::controlEndEdit(CControl* control)
{
    if (getControlName(control->getTag()).empty())
        return;
    if (scopeView)
        fade(scopeView, kScopeBack);
    if (readout)
        fade(readout, kReadoutOut);
    if (slicePads && slicePads->isShowing())
        fade(slicePads, kPadsBack);
    if (fxPanel)
        fade(fxPanel, kPanelBack);
}

void Vextoria3Editor::editParameter(int32_t id, double value)
{
    auto* controller = getController();
    const bool bracket = id >= 0 && id < kParameterCount && !hostGesture[size_t(id)] && controller &&
                         controller->getParameterObject(Steinberg::Vst::ParamID(id));
    if (bracket)
        VSTGUIEditor::beginEdit(id);
    wrapper->setParameterAutomated(id, value);
    if (bracket)
        VSTGUIEditor::endEdit(id);
}

void Vextoria3Editor::setSettingsAsDefaut() { UserDefaults::save(*wrapper); }

void Vextoria3Editor::resetDefaultSettings()
{
    for (const UserDefaults::Entry& entry : UserDefaults::kEntries)
        if (entry.hidden)
            wrapper->setHiddenParameter(entry.index, entry.factory);
        else
            editParameter(entry.index, entry.factory);
    UserDefaults::closeGate();
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
    {
        processUISelect(value);
        return;
    }
    editParameter(tag, value);
    if (readout)
        readout->setText(getControlName(tag) + " : " + getControlDisplay(control));
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
            editParameter(kFirstFlagId + i, flags[i]);
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

