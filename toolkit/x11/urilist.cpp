#include "urilist.h"

#include <optional>

namespace VSTGUI {
namespace X11 {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '%')
        {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0))
            return std::nullopt; // a NUL would cut the path short
        decoded += char(high * 16 + low);
        i += 2;
    }
    return decoded;
}

// The path part of a local "file:" URI, still escaped; empty when it is not one.
std::string_view localPathPart(std::string_view uri)
{
    constexpr std::string_view scheme = "file:";
    if (uri.substr(0, scheme.size()) != scheme)
        return {};
    uri.remove_prefix(scheme.size());
    if (uri.substr(0, 2) == "//")
    {
        uri.remove_prefix(2);
        const size_t slash = uri.find('/');
        if (slash == std::string_view::npos)
            return {};
        const std::string_view host = uri.substr(0, slash);
        if (!host.empty() && host != "localhost")
            return {};
        uri.remove_prefix(slash);
    }
    return uri.substr(0, 1) == "/" ? uri : std::string_view();
}

} // namespace

std::vector<std::string> localPathsFromUriList(std::string_view list)
{
    std::vector<std::string> paths;
    while (!list.empty())
    {
        const size_t end = list.find('\n');
        std::string_view line = list.substr(0, end);
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        if (auto path = percentDecoded(localPathPart(line)); path && !path->empty())
            paths.push_back(std::move(*path));
    }
    return paths;
}

} // namespace X11
} // namespace VSTGUI
