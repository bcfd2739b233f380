#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "ChunkMailbox.h"
#include "Crossfader2.h"
#include "Gater2.h"
#include "HeldNotes.h"
#include "MidiEventRing.h"
#include "ProgramChunk.h"
#include "RandomGenerator.h"
#include "ScopeRing.h"
#include "Slice.h"
#include "SliceClock.h"
#include "SliceDecider.h"
#include "SliceEffects.h"
#include "Vextoria3Preset.h"

class SettingsFile;

// The host's transport as the processor copies it in before each block; audio thread.
struct HostTimeInfo {
    bool contextValid = false, playing = false, cycleActive = false, projectMusicValid = false,
         barPositionValid = false, tempoValid = false;
    double tempo = 120.0, timeSigNumerator = 4.0, timeSigDenominator = 4.0;
    int64_t projectTimeSamples = 0, continuousTimeSamples = 0, systemTime = 0;
    double barPositionMusic = 0.0, projectTimeMusic = 0.0, sampleRate = 44100.0,
           samplesPerBeat = 22050.0, cycleStartMusic = 0.0, cycleEndMusic = 0.0;
};

// The DSP core: live parameters, the 16 programs, the musical clock and the engine units.
// Knows nothing of the plug-in SDK, so tests drive it headless.
class Vextoria3FX {
public:
    Vextoria3FX();  // UI thread; reads the user settings file
    ~Vextoria3FX();
    Vextoria3FX(const Vextoria3FX&) = delete;
    Vextoria3FX& operator=(const Vextoria3FX&) = delete;

    HostTimeInfo timeInfo;          // written by the processor before each block
    int32_t outputChannelCount = 2; // channels of output bus 0, 1 or 2
    int32_t inputChannelCount = 2;  // channels of input bus 0; 2 means a separate right input

    // Stores and applies one parameter; value clamped to 0..1, NaN reads as 0; ids outside
    // 0..37 are ignored. Audio thread, or UI thread while inactive.
    void setParameter(int32_t id, double value);
    // Stored value of ids 0..11, 13..34 and 37; 0 for 12, 35, 36 and any other id.
    float getParameter(int32_t id) const;
    void setPitchBend(double value); // 0..1, stored as id 34
    void setModwheel(float value);   // 0..1, stored as id 35
    // Saves the live values into the current program, then applies program index (0..15).
    void setProgram(int32_t index);

    void resume(double sampleRate, int32_t maxBlockSize); // UI thread, on activation
    void suspend();

    // Keeps the recorder and the clock in step with the host while bypassed; writes no
    // output. inputs may be nullptr (silence); sampleCount <= the maximum block size.
    void processBypass(const float* const* inputs, float* const* outputs, int32_t sampleCount);
    // The slicer, then the scope fill. Audio thread. A block longer than the maximum block
    // size, or without a usable output channel, is refused and nothing is written
    // (nullptr inputs give silence).
    void process(const float* const* inputs, float* const* outputs, int32_t sampleCount);

    // Audio thread, around each block's note events.
    void startProcessMIDI();
    void endProcessMIDI(); // raises the note ring's flag when notes are pending
    // Logs the note and follows the held notes of pitch 36 and above for the selected
    // slice; pitches outside 0..127 are refused.
    void noteOn(int32_t pitch, int32_t velocity, int32_t sampleOffset);
    void noteOff(int32_t pitch, int32_t velocity, int32_t sampleOffset);
    // The slice pads (any thread): -1 for none or 0..15; anything else is refused (false).
    bool setSliceFromUI(int32_t sliceIndex);
    int32_t getSelectedSlice() const { return selectedSlice.load(std::memory_order_relaxed); }

    // Drained on the UI thread; filled by the audio thread.
    MidiEventRing& noteRing() { return notes; }
    ScopeRing& scopeRing() { return scope; }

    // Program records (UI thread). getChunk writes the current program (single, 372 bytes)
    // or all 16, as the live state including a record still waiting in the mailbox.
    int32_t getChunk(std::vector<uint8_t>& out, bool single);
    // Validates, then replaces the current program (single) or all 16 and applies the
    // current one. false = refused, nothing changed. Only while inactive.
    bool setChunk(const void* data, int32_t size, bool single);
    // Validates one record and leaves it for the audio thread; false = refused.
    bool postChunk(const void* data, int32_t size);
    void applyPendingChunk(); // audio thread, first thing in every block
    // Reads records into the programs without applying any (loading the bank).
    bool readPrograms(const void* data, int32_t size, bool single);
    // Loads the factory bank into all programs and names them; nothing applied.
    void loadFactoryBank();
    // Stores up to 7 hidden UI values into the current program; nothing applied.
    void setHiddenValues(const double* values, int32_t count);

    void copyStateToProgram(int32_t program);
    void copyStateFromProgram();
    int32_t getCurrentProgram() const;
    const Vextoria3Preset& getProgram(int32_t index) const; // index clamped to 0..15

    // What the reverb is given (dry, wet); audio thread reads them into the reverb.
    float reverbDry() const { return reverbDryLevel.load(); }
    float reverbWet() const { return reverbWetLevel.load(); }
    uint32_t getReplaySeed() const { return replaySeed; }
    // Fixes the seed and restarts the random sequence from it (reproducible renders and
    // tests). UI thread, while inactive.
    void setReplaySeed(uint32_t seed);
    // How long the output may go on after the input stops, in samples: two bars at the tempo
    // of the last block (a repeat replays the previous bar one bar later), the reverb's ring
    // at the current room size and the stretcher's delay. A frozen bar, which plays on for
    // ever, is not counted. Any thread.
    uint32_t tailSamples() const;
    double getSampleRate() const { return sampleRate; }
    int32_t getBlockSize() const { return blockSize; }
    const SliceClock& sliceClock() const { return clock; } // audio thread's clock, for inspection
    // The decisions of the last slice start and how many slice starts there were.
    const SliceDecision& lastDecision() const { return decision; }
    uint64_t decisionCount() const { return decisionsMade; }
    int32_t getSlicesPerBeat() const { return slicesPerBeat; }

private:
    void applyRecords(const ProgramRecord* records, int32_t count, bool single);
    void applyUserSettings(const SettingsFile& settings);
    void freeze(float value);
    void setMode(float value);
    void selectProgramByValue(double value);
    double blockQuarterNotes(double samplesPerBeat) const;
    double usableSamplesPerBeat() const;
    int32_t pendingSlicesPerBeat() const;
    int32_t slicesPerBar() const { return 4 * pendingSlicesPerBeat(); }

    // The engine (audio thread), in Vextoria3FXEngine.cpp.
    void processVextoria3FX(const float* const* inputs, float* const* outputs, int32_t sampleCount);
    void handleTransportStart(int32_t replayMode);
    void noteTempo(double tempo);
    void setGateLengths(double sliceLength);
    void startBar();
    void decideSlice(int32_t replayMode, double sliceLength);
    void play(double sliceLength);
    void playMidiSlice(double sliceLength, bool freezeOn);
    DecisionParams decisionParams() const;
    SliceEffects::Settings effectSettings() const;
    float param(int32_t id) const { return parameters[id].load(); }
    void writeLiveProgram(std::vector<uint8_t>& out, const ProgramRecord* pending) const;
    bool readRecords(const void* data, int32_t size, bool single, ProgramRecord* records, int32_t& count) const;
    void storeRecords(const ProgramRecord* records, int32_t count, bool single);
    // Reads the records, then hands them all to `use`; false = refused, `use` not called.
    using RecordUse = void (Vextoria3FX::*)(const ProgramRecord* records, int32_t count, bool single);
    bool useRecords(const void* data, int32_t size, bool single, RecordUse use);

    double sampleRate = 44100.0; // Hz, set by resume
    std::atomic<double> tailBeatLength{22050.0}; // samples per beat of the last block; audio thread writes
    int32_t blockSize = 256;     // samples, the host's maximum block
    RelaxedFloat parameters[Vextoria3Defaults::kParamCount]; // live values by id, 0..1
    RelaxedFloat reverbDryLevel; // 0..0.5
    RelaxedFloat reverbWetLevel; // 0..0.5

    // Engine state, audio thread.
    int32_t sliceCounter = 0;   // number of the slice that starts next, 0..4 * slicesPerBeat - 1
    int32_t slicesPerBeat = 2;  // slices per beat in force: 1, 2 or 4
    int32_t fxId = 0;           // effect chosen at the last slice decision
    bool fxOn = false;          // the effect stage runs on the current slice
    float filterOffset = 0.0f;  // cutoff offset of the current high-pass slice
    bool lastActive = false;    // "Active" as decided at the last slice start
    bool wasPlaying = false;    // the transport played in the previous block
    double lastTempo = 120.0;   // BPM of the previous playing block
    int32_t directSlices = 0;   // slice starts still played live after a transport start
    int32_t tempoChangeBars = 0; // > 0: repeats follow the tempo of the recorded bar
    double lastOutL = 0.0, lastOutR = 0.0; // last output pair, where an "Active" fade starts
    SliceDecision decision;     // of the current slice
    uint64_t decisionsMade = 0; // slice starts so far
    std::atomic<int32_t> selectedSlice{-1}; // slice chosen by note or pad, -1 none; any thread

    SliceClock clock;           // audio thread
    RandomGenerator random;     // the slicer's own sequence; seeded with replaySeed
    SliceDecider decider;
    Slice slice;                // the bar recorder and slice player
    Gater2 gateL, gateR;
    Crossfader2 activeFade;     // 441 samples when "Active" changes
    SliceEffects effects{random};
    MidiEventRing notes;        // audio -> UI
    ScopeRing scope;            // audio -> UI
    HeldNotes heldNotes;        // audio thread

    Vextoria3Preset programs[Vextoria3Defaults::kProgramCount];
    std::atomic<int32_t> currentProgram{0}; // 0..15; written by the audio thread on a change
    ChunkMailbox mailbox;        // UI -> audio, one record
    uint32_t replaySeed = 0;     // seed for replayed random sequences
};
