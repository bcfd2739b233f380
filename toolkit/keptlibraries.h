// The drawing libraries a plug-in module pulls in, kept loaded once it has been loaded.
#pragma once

namespace VSTGUI {

// Marks cairo (with pixman under it) and pango as never to be unloaded. They keep
// process-wide data that nothing frees: pixman's implementations, made when it loads, and
// cairo's caches and pango's object types, made on first use. Unloaded with the module, the
// data would be lost on every unload, and pango would register its types with GLib a second
// time on the next load. Called on the module's first entry, before anything is drawn.
void keepDrawingLibrariesLoaded();

} // namespace VSTGUI
