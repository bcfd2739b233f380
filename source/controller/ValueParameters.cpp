#include "ValueParameters.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "Utf16Text.h"

namespace Vextoria3Params {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kTextCapacity = 128; // units of a host's String128

void setText(String128 text, std::string_view value) noexcept
{
    Utf16Text::fromUtf8(value, text, kTextCapacity);
}

void setNumberText(String128 text, double value, int32 decimals) noexcept
{
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value, std::chars_format::fixed, decimals);
    setText(text, result.ec == std::errc() ? std::string_view(digits, result.ptr - digits) : std::string_view());
}

void setIntegerText(String128 text, int32 value) noexcept
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value);
    setText(text, std::string_view(digits, result.ptr - digits));
}

} // namespace

ParamValue clampNormalized(ParamValue value) noexcept
{
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

int32 listIndex(ParamValue value, int32 steps) noexcept
{
    if (steps <= 0)
        return 0;
    return std::min(steps, static_cast<int32>(clampNormalized(value) * (steps + 1)));
}

PlainParameter::PlainParameter(const TChar* title, ParamID id, const TChar* units,
                               ParamValue defaultValue, int32 stepCount, int32 flags)
: Parameter(title, id, units, defaultValue, stepCount, flags, kRootUnitId, nullptr)
{
}

void PlainParameter::toString(ParamValue value, String128 text) const
{
    value = clampNormalized(value);
    if (info.stepCount == 1)
        setText(text, value > 0.5 ? "On" : "Off");
    else
        setNumberText(text, value, precision);
}

bool PlainParameter::fromString(const TChar* text, ParamValue& value) const
{
    const auto number = Utf16Text::parseNumber(text);
    if (!number || *number < 0.0 || *number > 1.0)
        return false;
    value = *number;
    return true;
}

void SliceSizeParameter::toString(ParamValue value, String128 text) const
{
    // trunc(2v), not clamped first; NaN and values far out (whose cast is undefined) have no text.
    const double doubled = value * 2.0;
    switch (doubled > -1.0 && doubled < 3.0 ? static_cast<int32>(doubled) : -1) {
    case 0: setText(text, "1 BEAT "); break; // the trailing blank is part of the text
    case 1: setText(text, "1/2 BEAT"); break;
    case 2: setText(text, "1/4 BEAT"); break;
    default: setText(text, ""); break;
    }
}

WholeRangeParameter::WholeRangeParameter(const TChar* title, ParamID id, const TChar* units,
                                         int32 maxPlain, int32 defaultPlain, int32 flags)
: RangeParameter(title, id, units, 0.0, maxPlain, defaultPlain, maxPlain, flags, kRootUnitId, nullptr)
{
}

void WholeRangeParameter::toString(ParamValue value, String128 text) const
{
    setIntegerText(text, static_cast<int32>(toPlain(value)));
}

bool WholeRangeParameter::fromString(const TChar* text, ParamValue& value) const
{
    const auto number = Utf16Text::parseNumber(text);
    if (!number || *number != std::trunc(*number) || *number < getMin() || *number > getMax())
        return false;
    value = toNormalized(*number);
    return true;
}

ParamValue WholeRangeParameter::toPlain(ParamValue value) const
{
    return getMin() + listIndex(value, info.stepCount);
}

ListParameter::ListParameter(const TChar* title, ParamID id, int32 flags, EntryIndex entryOf)
: StringListParameter(title, id, nullptr, flags, kRootUnitId, nullptr), entryOf(entryOf)
{
}

void ListParameter::toString(ParamValue value, String128 text) const
{
    const auto index = static_cast<size_t>(entryOf(value, info.stepCount));
    if (index < strings.size() && strings[index])
        Utf16Text::copy(strings[index], text, kTextCapacity);
    else
        text[0] = 0;
}

bool ListParameter::fromString(const TChar* text, ParamValue& value) const
{
    if (!text)
        return false;
    for (size_t index = 0; index < strings.size(); ++index) {
        if (strings[index] && std::u16string_view(strings[index]) == std::u16string_view(text)) {
            value = toNormalized(static_cast<ParamValue>(index));
            return true;
        }
    }
    return false;
}

ParamValue ListParameter::toPlain(ParamValue value) const
{
    return entryOf(value, info.stepCount);
}

Parameter* ProgramListWithSafeParameter::getParameter()
{
    if (!parameter) {
        auto* list = new ListParameter(info.name, info.id,
                                       ParameterInfo::kCanAutomate | ParameterInfo::kIsList |
                                           ParameterInfo::kIsProgramChange);
        list->setUnitID(unitId);
        String128 name {};
        for (int32 index = 0; index < getCount(); ++index)
            if (getProgramName(index, name) == kResultOk)
                list->appendString(name);
        parameter = list;
    }
    return parameter;
}

} // namespace Vextoria3Params
