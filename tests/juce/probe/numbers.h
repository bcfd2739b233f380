#pragma once
// Whole-text number parsing for command lines, independent of the locale.

#include <charconv>
#include <optional>
#include <string>

namespace probe {

// The number that is the whole of text, or nothing (empty text, trailing characters, overflow).
template <typename Number>
std::optional<Number> parseNumber(const std::string& text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace probe
