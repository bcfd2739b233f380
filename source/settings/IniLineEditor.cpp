#include "IniLineEditor.h"

#include <algorithm>
#include <cassert>
#include <optional>
#include <vector>

namespace {

bool isLineBreak(char c) { return c == '\n' || c == '\r'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || isLineBreak(c); } // white space to the reader

std::string_view trimEnd(std::string_view text)
{
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A section header or a key line, where the reader finds it.
struct Entry {
    std::optional<std::string_view> section; // none below a header without "]": it names nothing
    std::string_view key;                    // empty for a header
    std::string_view value;
    size_t start; // its first byte, after the line's indentation
    size_t end;   // the end of its last line, before the line break
    size_t next;  // the start of the following line
};

struct Scan {
    std::vector<Entry> entries;
    size_t end; // where lines can be added after the last that the reader reads
};

// The entries in file order, found as the reader finds them: after an optional UTF-8 signature,
// lines end with "\r\n", "\n" or "\r", and a NUL byte ends the text. White space, line breaks
// included, is skipped before each entry. ";" or "#" starts a comment line. "[" starts a header
// whose name may begin on a later line and ends at "]" on its own line; the rest of that line is
// ignored. Any other line with "=" after a key that is not empty is a key line; its key and value
// are trimmed. Other lines are ignored.
Scan scan(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    const auto lineEnd = [text](size_t at) {
        while (at < text.size() && !isLineBreak(text[at]))
            ++at;
        return at;
    };
    const auto nextLine = [text](size_t end) {
        return end + (text.compare(end, 2, "\r\n") == 0 ? 2 : end < text.size() ? 1 : 0);
    };
    std::vector<Entry> entries;
    std::optional<std::string_view> section = std::string_view();
    const size_t first = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    size_t at = first;
    for (;;) {
        while (at < text.size() && isBlank(text[at]))
            ++at;
        if (at == text.size())
            return {std::move(entries), at};
        const size_t start = at;
        if (text[at] == ';' || text[at] == '#') {
            at = lineEnd(at);
            continue;
        }
        const bool header = text[at] == '[';
        if (header)
            while (++at < text.size() && isBlank(text[at])) {}
        if (at == text.size()) // a header still open: a line added after it would become its name
            return {std::move(entries), std::max(first, text.find_last_of("\r\n", start) + 1)};
        const size_t nameStart = at;
        while (at < text.size() && text[at] != (header ? ']' : '=') && !isLineBreak(text[at]))
            ++at;
        if (at == text.size() || isLineBreak(text[at]) || at == start) {
            if (header)
                section.reset();
            at = lineEnd(at);
            continue;
        }
        const std::string_view name = trimEnd(text.substr(nameStart, at - nameStart));
        const size_t end = lineEnd(at);
        size_t valueStart = at + 1;
        while (!header && valueStart < end && isBlank(text[valueStart]))
            ++valueStart;
        if (header)
            section = name;
        const std::string_view value = header ? std::string_view() : trimEnd(text.substr(valueStart, end - valueStart));
        entries.push_back({section, header ? std::string_view() : name, value, start, end, nextLine(end)});
        at = end;
    }
}

std::string firstLineBreak(const std::string& text)
{
    const size_t at = text.find_first_of("\r\n");
    if (at == std::string::npos)
        return "\n";
    return text.compare(at, 2, "\r\n") == 0 ? "\r\n" : text.substr(at, 1);
}

} // namespace

void IniLineEditor::set(std::string_view section, std::string_view key, std::string_view value)
{
    assert(!section.empty() && !key.empty() && key.find('=') == std::string_view::npos);
    const Entry* found = nullptr; // the line the reader takes the key from: its last
    const Entry* after = nullptr; // the section's last key line, else its last header
    const Scan scanned = scan(lines);
    for (const Entry& entry : scanned.entries) {
        if (entry.section != section)
            continue;
        if (!entry.key.empty() || after == nullptr || after->key.empty())
            after = &entry;
        if (entry.key == key)
            found = &entry;
    }
    const std::string line = std::string(key) + "=" + std::string(value);
    if (found != nullptr) {
        if (found->value != value)
            lines.replace(found->start, found->end - found->start, line);
        return;
    }
    const std::string lineBreak = firstLineBreak(lines);
    const size_t at = after != nullptr ? after->next : scanned.end;
    std::string added = at > 0 && !isLineBreak(lines[at - 1]) ? lineBreak : "";
    if (after == nullptr)
        added.append("[").append(section).append("]").append(lineBreak);
    lines.insert(at, added + line + lineBreak);
}
