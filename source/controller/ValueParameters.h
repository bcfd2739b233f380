#pragma once
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "public.sdk/source/vst/vstparameters.h"

// The controller's parameter classes. Each one turns any value a host may pass, including
// NaN and values outside 0..1, into a text without throwing, and accepts only texts it could
// have shown itself.
namespace Vextoria3Params {

using Steinberg::int32;
using Steinberg::Vst::ParamID;
using Steinberg::Vst::ParamValue;
using Steinberg::Vst::String128;
using Steinberg::Vst::TChar;

// Clamps to 0..1; NaN reads as 0.
ParamValue clampNormalized(ParamValue value) noexcept;
// Index of a value in a list of steps + 1 entries: min(steps, trunc(v * (steps + 1))).
int32 listIndex(ParamValue value, int32 steps) noexcept;
// The entry of a list of steps + 1 entries that a value names.
using EntryIndex = int32 (*)(ParamValue value, int32 steps) noexcept;

// A plain 0..1 value: four decimals with no steps, "Off"/"On" with one step.
class PlainParameter : public Steinberg::Vst::Parameter {
public:
    PlainParameter(const TChar* title, ParamID id, const TChar* units, ParamValue defaultValue,
                   int32 stepCount, int32 flags);
    void toString(ParamValue value, String128 text) const override;
    bool fromString(const TChar* text, ParamValue& value) const override; // a number in 0..1
};

// Slice size: a plain value shown as "1 BEAT ", "1/2 BEAT" or "1/4 BEAT" (trunc(2v)).
class SliceSizeParameter : public PlainParameter {
public:
    using PlainParameter::PlainParameter;
    void toString(ParamValue value, String128 text) const override;
};

// Whole numbers from 0 to maxPlain, shown and typed as integers.
class WholeRangeParameter : public Steinberg::Vst::RangeParameter {
public:
    WholeRangeParameter(const TChar* title, ParamID id, const TChar* units, int32 maxPlain,
                        int32 defaultPlain, int32 flags);
    void toString(ParamValue value, String128 text) const override;
    bool fromString(const TChar* text, ParamValue& value) const override;
    ParamValue toPlain(ParamValue value) const override;
};

// A list of named entries; texts are the entries, matched exactly. entryOf gives the entry a
// value names; an entry's text stands for entry / steps, which entryOf must map back to it.
class ListParameter : public Steinberg::Vst::StringListParameter {
public:
    ListParameter(const TChar* title, ParamID id, int32 flags, EntryIndex entryOf = listIndex);
    void toString(ParamValue value, String128 text) const override;
    bool fromString(const TChar* text, ParamValue& value) const override;
    ParamValue toPlain(ParamValue value) const override;

private:
    EntryIndex entryOf;
};

// The program list whose parameter is a ListParameter, so program names are shown as
// safely as every other list.
class ProgramListWithSafeParameter : public Steinberg::Vst::ProgramList {
public:
    using ProgramList::ProgramList;
    Steinberg::Vst::Parameter* getParameter() override;
    OBJ_METHODS(ProgramListWithSafeParameter, ProgramList)
};

} // namespace Vextoria3Params
