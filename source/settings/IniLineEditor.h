#pragma once
#include <string>
#include <string_view>

// Sets values in INI text and leaves every other line as it was, byte for byte: comments,
// blank lines, spacing, line endings, other sections and keys nobody here knows. It finds
// sections and keys exactly where the settings reader (SimpleIni) finds them, so a value set
// here is the value read back. A changed value rewrites its own line as key=value (the last
// line of a repeated key, which the reader takes); a key new to a section goes after the
// section's last key line (or its header); a new section goes at the end of what the reader
// reads (before a NUL byte or a header left open there). New lines end like the text's first.
class IniLineEditor {
public:
    explicit IniLineEditor(std::string text = {}) : lines(std::move(text)) {}

    // Names and value as the reader gives them back: trimmed, without line breaks, the section
    // not empty and without "]", the key without "=" and not starting with "[", ";" or "#".
    void set(std::string_view section, std::string_view key, std::string_view value);
    const std::string& text() const { return lines; }

private:
    std::string lines;
};
