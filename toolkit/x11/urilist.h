// Reads the local file paths out of a text/uri-list (as dropped by file managers).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace VSTGUI {
namespace X11 {

// Paths of the "file:" URIs of local files (no host or "localhost"), percent-decoded, in
// list order. Comments, other schemes, other hosts, broken escapes and escaped NULs are left out.
std::vector<std::string> localPathsFromUriList(std::string_view list);

} // namespace X11
} // namespace VSTGUI
