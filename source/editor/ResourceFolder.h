// Where the editor's pictures are: the bundle's Contents/Resources, found from the path of the
// loaded module itself. A module initialiser hands it to the toolkit on the first entry, and
// keeps the drawing libraries loaded.
#pragma once

#include <string>

namespace ResourceFolder {

// The Resources folder of the bundle whose module contains `address`
// (".../X.vst3/Contents/<arch>/X.so" gives ".../X.vst3/Contents/Resources"); "" when the
// address lies in no loaded module or its file is not inside a bundle.
std::string ofModuleContaining(const void* address);

} // namespace ResourceFolder
