#include "Utf16Text.h"

#include <charconv>
#include <cmath>

namespace Utf16Text {

using Steinberg::Vst::TChar;

namespace {

// Length of a well-formed UTF-8 sequence starting at text[0] and its code point, or 0.
int32_t decodeSequence(std::string_view text, char32_t& codePoint) noexcept
{
    const auto lead = static_cast<unsigned char>(text[0]);
    int32_t length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; codePoint = lead & 0x1F; minimum = 0x80; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; codePoint = lead & 0x0F; minimum = 0x800; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; codePoint = lead & 0x07; minimum = 0x10000; }
    else return 0;
    if (text.size() < static_cast<size_t>(length))
        return 0;
    for (int32_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not well-formed.
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool isBlank(TChar c) noexcept { return c == u' ' || c == u'\t'; }

} // namespace

void fromUtf8(std::string_view text, TChar* out, int32_t capacity) noexcept
{
    if (!out || capacity <= 0)
        return;
    int32_t written = 0;
    while (!text.empty()) {
        char32_t codePoint = 0;
        int32_t used = decodeSequence(text, codePoint);
        if (used == 0) {
            codePoint = static_cast<unsigned char>(text[0]);
            used = 1;
        }
        const int32_t units = codePoint >= 0x10000 ? 2 : 1;
        if (written + units > capacity - 1)
            break; // a surrogate pair is never cut in half
        if (units == 2) {
            const char32_t offset = codePoint - 0x10000;
            out[written++] = static_cast<TChar>(0xD800 + (offset >> 10));
            out[written++] = static_cast<TChar>(0xDC00 + (offset & 0x3FF));
        } else {
            out[written++] = static_cast<TChar>(codePoint);
        }
        text.remove_prefix(static_cast<size_t>(used));
    }
    out[written] = 0;
}

namespace {

bool isHighSurrogate(char32_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | codePoint >> 6);
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | codePoint >> 12);
        out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | codePoint >> 18);
        out += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

std::string toUtf8(const TChar* text, int32_t limit)
{
    constexpr char32_t kReplacement = 0xFFFD;
    std::string out;
    const int32_t count = length(text, limit);
    for (int32_t index = 0; index < count; ++index) {
        const char32_t unit = static_cast<char16_t>(text[index]);
        if (isHighSurrogate(unit) && index + 1 < count && isLowSurrogate(static_cast<char16_t>(text[index + 1]))) {
            const char32_t low = static_cast<char16_t>(text[++index]);
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else {
            appendUtf8(out, isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : unit);
        }
    }
    return out;
}

int32_t length(const TChar* text, int32_t limit) noexcept
{
    int32_t count = 0;
    while (text && count < limit && text[count] != 0)
        ++count;
    return count;
}

void copy(const TChar* text, TChar* out, int32_t capacity) noexcept
{
    if (!out || capacity <= 0)
        return;
    const int32_t count = length(text, capacity - 1);
    for (int32_t i = 0; i < count; ++i)
        out[i] = text[i];
    out[count] = 0;
}

std::optional<double> parseNumber(const TChar* text) noexcept
{
    constexpr int32_t kMaxDigits = 64; // longer input is no number a user typed
    const int32_t total = length(text, kMaxDigits + 1);
    if (total > kMaxDigits)
        return std::nullopt;
    int32_t begin = 0, end = total;
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    char narrow[kMaxDigits];
    for (int32_t i = begin; i < end; ++i) {
        if (text[i] > 0x7F)
            return std::nullopt;
        narrow[i - begin] = static_cast<char>(text[i]);
    }
    const char* first = narrow;
    const char* last = narrow + (end - begin);
    if (first != last && *first == '+') {
        ++first; // from_chars takes no plus sign, users do type one
        if (first != last && *first == '-')
            return std::nullopt;
    }
    double value = 0.0;
    const auto [stop, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || stop != last || first == last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace Utf16Text
