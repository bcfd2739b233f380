#pragma once

#include <cstdint>

// Parameter ids: one numbering for processor, controller, editor and program records.
namespace Vextoria3Ids {

enum ParamId : int32_t
{
    kActive = 0,         // slicer on
    kGateSize = 1,       // gate length share of a slice
    kReverseAmt = 2,     // chance of a reversed slice
    kFxAmt = 3,          // chance of the effect stage on a slice
    kPitchAmt = 4,       // chance of a pitched slice
    kPanAmt = 5,         // chance of a panned slice
    kRollAmt = 6,        // chance of a rolled slice
    kSliceSize = 7,      // 1, 1/2 or 1/4 beat
    kSliceAmt = 8,       // chance of a repeated slice
    kPitchRange = 9,     // semitone range
    kUp = 10,            // pitch upwards allowed
    kDown = 11,          // pitch downwards allowed
    kRetired12 = 12,     // reserved: no parameter, slot kept in program records
    kFreeze = 13,        // hold the captured bar
    kTrigMode = 14,      // 0 automatic, 1 MIDI slice mode
    kStretch = 15,       // keep slice length when pitched
    kFxSelect = 16,      // reverb, bit crusher, filter, pitch effects, random
    kNoDirect = 17,      // only repeated material is heard
    kFilterCut = 18,     // high-pass cutoff
    kFilterRes = 19,     // high-pass resonance
    kFilterEnv = 20,     // envelope amount on the cutoff
    kReduceRate = 21,    // bit crusher hold length
    kReduceDryWet = 22,  // bit crusher mix
    kRoomSize = 23,      // reverb room size
    kDamping = 24,       // reverb damping
    kReverbDryWet = 25,  // reverb mix
    kPitchFxId = 26,     // scratch, tape stop, vibrato
    kPitchSet = 27,      // pitch effects follow the pitch decision
    kReverbActive = 28,  // reverb may be chosen
    kBitCrushActive = 29,// bit crusher may be chosen
    kFilterActive = 30,  // filter may be chosen
    kPitchFxActive = 31, // pitch effects may be chosen
    kReplayRndSeq = 32,  // never, on play, on active
    kScopeSpeed = 33,    // oscilloscope speed (editor only)
    kPitchBend = 34,     // MIDI pitch bend
    kModWheel = 35,      // MIDI mod wheel
    kFactoryPresets = 36,// program number
    kBypass = 37,        // bypass switch
};

constexpr int32_t kNumParams = 38;   // parameter slots, including the retired id 12
constexpr int32_t kNumHidden = 7;    // hidden UI settings
constexpr int32_t kNumPrograms = 16; // factory programs

} // namespace Vextoria3Ids
