#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstmidilearn.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include "DeferredRestart.h"
#include "EditorLink.h"
#include "HiddenParameters.h"
#include "dsp/MidiEventRing.h"
#include "dsp/Vextoria3Preset.h"
#include "ids.h"

namespace Steinberg {
namespace Vst {

// The plug-in's edit controller: the parameter table, the 16 factory programs, the hidden UI
// settings and their state, MIDI mapping and the messages from the processor. Every method
// runs on the host's UI thread, but for getParamNormalized: a host may read values from inside
// a restart that the controller's own thread asks for.
class Vextoria3Controller : public EditControllerEx1, public IMidiMapping, public IMidiLearn {
public:
    static constexpr int32 kScopeBufferSize = 16384; // bytes, the processor's scope ring size
    static constexpr int32 kProgramCount = Vextoria3Defaults::kProgramCount;

    Vextoria3Controller() = default;
    static FUnknown* createInstance(void* context);

    // IPluginBase; terminate keeps presets and hidden settings
    tresult PLUGIN_API initialize(FUnknown* context) override;
    tresult PLUGIN_API terminate() override; // also drops a restart still waiting

    // IEditController
    tresult PLUGIN_API setComponentState(IBStream* state) override;
    tresult PLUGIN_API setState(IBStream* state) override;
    tresult PLUGIN_API getState(IBStream* state) override;
    tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
    tresult PLUGIN_API getParamStringByValue(ParamID tag, ParamValue valueNormalized, String128 string) override;
    tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) override;
    ParamValue PLUGIN_API getParamNormalized(ParamID tag) override; // any thread
    // A restart still waiting goes to the new handler, never to one the host let go of.
    tresult PLUGIN_API setComponentHandler(IComponentHandler* handler) override;
    IPlugView* PLUGIN_API createView(FIDString name) override;

    // IUnitInfo
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) override;

    // IConnectionPoint: data from the processor, "copyhiddenparam" and text messages
    tresult PLUGIN_API notify(IMessage* message) override;
    tresult receiveText(const char8* text) override;

    // IMidiMapping: mod wheel to "ModWheel" (35), pitch bend to "PitchBend" (34), bus 0 only
    tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                   CtrlNumber midiControllerNumber, ParamID& id) override;
    // IMidiLearn: not offered (never answered by queryInterface)
    tresult PLUGIN_API onLiveMIDIControllerInput(int32 busIndex, int16 channel, CtrlNumber midiCC) override;

    // Programs
    void createFactoryPresets();
    bool setChunk(const void* data, int32 size); // the 16-record bank; refused whole when broken
    void copyStateToProgram(int32 program);       // saves the current values into a program
    void setProgram(int32 program);               // switches to a program, 0..15
    int32 getCurrentProgram() const { return currentProgram; }
    void setPresetName(std::string name);         // renames the current program (UTF-8)

    // Hidden settings, for the editor's wrapper
    HiddenParameters& getHiddenParameters() { return hiddenParameters; }
    tresult setHiddenParamNormalized(int32 index, double value); // echo to the open editor
    void syncHiddenParam(); // sends the seven hidden values to the processor

    // The editor registers itself when it opens and passes nullptr when it closes; a restart
    // waiting on the closing window's run loop moves to the controller's own thread.
    void setEditor(EditorLink* openEditor);
    EditorLink* getEditor() const { return editor; }

    OBJ_METHODS(Vextoria3Controller, EditController)
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    REFCOUNT_METHODS(EditControllerEx1)

private:
    void addFactoryProgramList();
    bool forwardProcessorData(IMessage& message);
    void forwardScope(const void* data, uint32 size);
    void forwardNotes(const void* data, uint32 size);
    bool editorIsOpen() const { return editor && editor->isOpen(); }
    // Asks the host to re-read all values once its current call has returned (DeferredRestart).
    void restartWithNewValues();
    // The host's run loop, from the component handler, the host context or the open
    // editor's plug frame, in that order; null when none offers one.
    IPtr<Linux::IRunLoop> hostRunLoop() const;

    EditorLink* editor = nullptr; // not owned; set while an editor is open
    HiddenParameters hiddenParameters;
    std::array<std::unique_ptr<Vextoria3Preset>, kProgramCount> presets; // made by initialize
    int32 currentProgram = 0; // 0..15
    DeferredRestart restart;
    // The values as the host reads them, by id; written on the UI thread with the parameters.
    std::array<std::atomic<double>, Vextoria3Ids::kNumParams> hostValues {};
    std::array<int8_t, kScopeBufferSize> scopeBuffer {};
    std::array<MidiNoteRecord, MidiEventRing::kCapacity> noteBuffer {};
};

} // namespace Vst
} // namespace Steinberg
