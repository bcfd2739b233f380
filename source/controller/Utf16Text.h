#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pluginterfaces/vst/vsttypes.h"

// Conversions between the plug-in's 8-bit texts and the host's UTF-16 strings.
namespace Utf16Text {

// Decodes UTF-8 into out, keeping at most capacity - 1 code units and always ending it with
// a zero. A byte that does not start a well-formed sequence is taken as Latin-1, so names
// written by older tools in an 8-bit code page still read as they were meant.
void fromUtf8(std::string_view text, Steinberg::Vst::TChar* out, int32_t capacity) noexcept;

// A zero-terminated UTF-16 string of at most limit units as UTF-8; a unit that is half of a
// pair without its other half becomes U+FFFD, so no text is refused.
std::string toUtf8(const Steinberg::Vst::TChar* text, int32_t limit);

// Copies a zero-terminated UTF-16 string into out, keeping at most capacity - 1 units.
void copy(const Steinberg::Vst::TChar* text, Steinberg::Vst::TChar* out, int32_t capacity) noexcept;

// The length of a zero-terminated UTF-16 string, counting at most limit units.
int32_t length(const Steinberg::Vst::TChar* text, int32_t limit) noexcept;

// A number typed by the user: the whole text (blanks around it allowed) must be one finite
// decimal number, read the same way in every locale.
std::optional<double> parseNumber(const Steinberg::Vst::TChar* text) noexcept;

// A UTF-8 text converted for a host call that takes a zero-terminated UTF-16 string.
template <int32_t Capacity = 128>
struct HostString {
    explicit HostString(std::string_view text) noexcept { fromUtf8(text, value, Capacity); }
    Steinberg::Vst::TChar value[Capacity] {};
};

} // namespace Utf16Text
