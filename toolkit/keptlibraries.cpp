#include "keptlibraries.h"

#include <dlfcn.h>
#include <initializer_list>

namespace VSTGUI {

void keepDrawingLibrariesLoaded()
{
    // RTLD_NOLOAD only promotes libraries the module already depends on; the handles are
    // never closed on purpose.
    for (const char* library :
         {"libcairo.so.2", "libpixman-1.so.0", "libpango-1.0.so.0", "libpangoft2-1.0.so.0", "libpangocairo-1.0.so.0"})
        dlopen(library, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace VSTGUI
