#pragma once

#include "dsp/MidiEventRing.h"
#include "dsp/ScopeRing.h"
#include "sdk/audioeffect.h"
#include "sdk/timer.h"

#include <array>
#include <memory>

class Vextoria3FX;

namespace Steinberg {
namespace Vst {

// The plug-in's audio processor: a thin host-facing shell around one DSP object. It feeds
// the DSP object the host's transport, parameter changes and notes, chooses between the
// bypass path and the slicer, and stores its state as one program record.
class Vextoria3 : public AudioEffect, public ITimerCallback
{
public:
    Vextoria3();  // UI thread; builds the DSP object and loads the factory programs
    ~Vextoria3() override;

    static FUnknown* createInstance(void* context);

    tresult receiveText(const char8* text) override;
    tresult PLUGIN_API initialize(FUnknown* context) override;
    // The editor's commands, passed on by the controller, and the controller's answers.
    tresult PLUGIN_API notify(IMessage* message) override;
    tresult PLUGIN_API setActive(TBool state) override;
    tresult PLUGIN_API setState(IBStream* state) override;
    tresult PLUGIN_API getState(IBStream* state) override;
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                          int32 numOuts) override;
    tresult PLUGIN_API process(ProcessData& data) override;  // audio thread
    uint32 PLUGIN_API getProcessContextRequirements() override;
    // What the output goes on with after the input stops (repeats, "No Direct", the reverb).
    uint32 PLUGIN_API getTailSamples() override;
    // The editor's tick ("linuxtimer"): asks the host once, then sends new notes and scope bytes.
    void onTimer(Timer* timer) override;

    // Copies the host's transport into the DSP object's host time block; audio thread.
    void processVstTimeInfo(const ProcessContext& context);
    void createFactoryPresets();
    // Asks the controller for its hidden UI values, which it answers with "synchiddenparam".
    void copyHiddenParamToChunk();
    // Sends "askpresonus" while the host may still take it.
    void askForPresonus();
    // Sends the notes logged since the last tick as "MidiNote", when there are any.
    void sendMidiNotes();
    // Sends the scope bytes written since the last tick as "AudioData", also when there are none.
    void updateOscilloscope();

    const Vextoria3FX& dsp() const { return *fx; }  // read-only view for inspection

    // Largest state record read from a stream; a program record is 372 bytes.
    static constexpr int32 kMaxStateBytes = 64 * 1024;

private:
    void applyParameterChanges(IParameterChanges* changes);  // audio thread
    void takeNotes(IEventList* events);                      // audio thread
    void renderAudio(ProcessData& data);                     // audio thread
    void replaceAudioBuses(const TChar* inputName, SpeakerArrangement input, const TChar* outputName,
                           SpeakerArrangement output);
    // Applies a program record now, or hands it to the audio thread while blocks run;
    // false when the record is refused, which changes nothing.
    bool takeRecord(const void* data, int32 size);
    bool loadPreset(const void* data, uint32 size);  // "loadpreset": one program record
    bool selectSlice(int64 slice);                   // "setslice": -1 or a slice, else refused
    bool storeHiddenValues(const void* data, uint32 size); // "synchiddenparam"

    std::unique_ptr<Vextoria3FX> fx;  // never null between constructor and destructor
    bool active = false;              // UI thread: between setActive(true) and setActive(false)
    bool askHost = true;              // UI thread: cleared once "askpresonus" is not taken
    std::array<MidiNoteRecord, MidiEventRing::kCapacity> noteBuffer {}; // UI thread, one tick's notes
    std::array<int8_t, ScopeRing::kMaxBytes> scopeBuffer {};            // UI thread, one tick's bytes
};

} // namespace Vst
} // namespace Steinberg
