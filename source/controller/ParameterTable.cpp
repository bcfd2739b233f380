#include "ParameterTable.h"

#include <array>

#include "Utf16Text.h"
#include "ValueParameters.h"
#include "dsp/PitchCurves.h"
#include "ids.h"

namespace Vextoria3Params {

using Steinberg::Vst::ParameterInfo;
using namespace Vextoria3Ids;

namespace {

constexpr int32_t kAutomate = ParameterInfo::kCanAutomate;
constexpr int32_t kList = ParameterInfo::kCanAutomate | ParameterInfo::kIsList;
// The MIDI controller targets: the host feeds them, the user does not automate them.
constexpr int32_t kMidiTarget = ParameterInfo::kIsReadOnly | ParameterInfo::kIsHidden;
// The program list parameter cannot be automated; program changes come from the host's list.
constexpr int32_t kProgramChange = ParameterInfo::kIsList | ParameterInfo::kIsProgramChange;
constexpr int32_t kBypassFlags = ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass;

constexpr const char* kOffOn[] = {"Off", "On"};
constexpr const char* kTrigModes[] = {"Auto Trig", "Midi Slice"};
constexpr const char* kFxSelections[] = {"Reverb", "BitCrush", "HP Filter", "Pitch FX", "Random"};
constexpr const char* kPitchFxIds[] = {"Scratch", "Tape Stop", "Vibratox"};
constexpr const char* kReplayModes[] = {"Never", "On Play", "On Active"};

constexpr ParameterSpec percent(int32_t id, const char* title, double value)
{
    return {id, title, ParameterKind::plain, "%", 0, value, kAutomate, {}};
}

constexpr ParameterSpec list(int32_t id, const char* title, std::span<const char* const> entries, double value,
                             EntryIndex entryOf = listIndex)
{
    return {id, title, ParameterKind::list, "", 0, value, kList, entries, entryOf};
}

// The pitch effect's text names the curve the DSP plays, between the entries too.
int32_t pitchCurveEntry(double value, int32_t /*steps*/) noexcept
{
    return PitchCurves::idOf(value);
}

constexpr std::array kTable {
    list(kActive, "Active", kOffOn, 0.0),
    percent(kGateSize, "GateSize", 0.85),
    percent(kReverseAmt, "Reverse Amt", 0.4),
    percent(kFxAmt, "FX Amt", 0.0),
    percent(kPitchAmt, "Pitch Amt", 0.35),
    percent(kPanAmt, "Pan Amt", 0.0),
    percent(kRollAmt, "Roll Amt", 0.5),
    ParameterSpec {kSliceSize, "SliceSize", ParameterKind::sliceSize, "", 0, 0.5, kAutomate, {}},
    percent(kSliceAmt, "Slice Amt", 1.0),
    ParameterSpec {kPitchRange, "Pitch Range", ParameterKind::semitones, "semitones", 12, 0.5, kList, {}},
    list(kUp, "Up", kOffOn, 0.0),
    list(kDown, "Down", kOffOn, 1.0),
    list(kFreeze, "Freeze", kOffOn, 0.0),
    list(kTrigMode, "Trig Mode", kTrigModes, 0.0),
    list(kStretch, "Stretch", kOffOn, 0.0),
    list(kFxSelect, "FX Select", kFxSelections, 1.0),
    list(kNoDirect, "No Direct", kOffOn, 0.0),
    percent(kFilterCut, "Filter Cut", 0.4),
    percent(kFilterRes, "Filter Res", 0.45),
    percent(kFilterEnv, "Filter Env", 1.0),
    percent(kReduceRate, "Reduce Rate", 0.65),
    percent(kReduceDryWet, "Reduce D/W", 0.95),
    percent(kRoomSize, "Room Size", 0.5),
    percent(kDamping, "Damping", 0.5),
    percent(kReverbDryWet, "Reverb D/W", 0.6),
    list(kPitchFxId, "PitchFx Id", kPitchFxIds, 0.0, pitchCurveEntry),
    list(kPitchSet, "Pitch Set", kOffOn, 0.0),
    list(kReverbActive, "Reverb Active", kOffOn, 1.0),
    list(kBitCrushActive, "BitCrush Active", kOffOn, 1.0),
    list(kFilterActive, "Filter Active", kOffOn, 1.0),
    list(kPitchFxActive, "PitchFX Active", kOffOn, 1.0),
    list(kReplayRndSeq, "Replay Rnd Seq", kReplayModes, 0.0),
    percent(kScopeSpeed, "Scope Speed", 0.5),
    ParameterSpec {kPitchBend, "PitchBend", ParameterKind::plain, "", 0, 0.5, kMidiTarget, {}},
    ParameterSpec {kModWheel, "ModWheel", ParameterKind::plain, "", 0, 0.5, kMidiTarget, {}},
    ParameterSpec {kFactoryPresets, kProgramListName, ParameterKind::programList, "", 0, 0.0, kProgramChange, {}},
    ParameterSpec {kBypass, "Bypass", ParameterKind::plain, "", 1, 0.0, kBypassFlags, {}},
};
static_assert(kTable.size() == kNumParams - 1, "every id but the retired 12 is registered");

} // namespace

std::span<const ParameterSpec> parameterTable() noexcept
{
    return kTable;
}

Steinberg::Vst::Parameter* createParameter(const ParameterSpec& spec)
{
    const Utf16Text::HostString title(spec.title), units(spec.units);
    const auto id = static_cast<Steinberg::Vst::ParamID>(spec.id);
    switch (spec.kind) {
    case ParameterKind::plain:
        return new PlainParameter(title.value, id, units.value, spec.initialValue, spec.stepCount, spec.flags);
    case ParameterKind::sliceSize:
        return new SliceSizeParameter(title.value, id, units.value, spec.initialValue, spec.stepCount, spec.flags);
    case ParameterKind::semitones:
        return new WholeRangeParameter(title.value, id, units.value, spec.stepCount,
                                       static_cast<int32_t>(spec.initialValue * spec.stepCount), spec.flags);
    case ParameterKind::list: {
        auto* listParameter = new ListParameter(title.value, id, spec.flags, spec.entryOf);
        for (const char* entry : spec.entries)
            listParameter->appendString(Utf16Text::HostString(entry).value);
        listParameter->setNormalized(spec.initialValue); // the host default stays 0
        return listParameter;
    }
    case ParameterKind::programList:
        break; // made by the program list itself
    }
    return nullptr;
}

} // namespace Vextoria3Params
