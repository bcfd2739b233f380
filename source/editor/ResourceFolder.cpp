#include "ResourceFolder.h"

#include "keptlibraries.h"
#include "sdk/moduleentry.h"
#include "vstgui.h"
#include <dlfcn.h>
#include <filesystem>

namespace ResourceFolder {

std::string ofModuleContaining(const void* address)
{
    Dl_info info {};
    if (!address || dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return {};
    std::error_code error;
    const std::filesystem::path module = std::filesystem::canonical(info.dli_fname, error);
    if (error)
        return {};
    const std::filesystem::path contents = module.parent_path().parent_path();
    if (contents.filename() != "Contents")
        return {};
    return (contents / "Resources").string();
}

} // namespace ResourceFolder

namespace {

void installToolkit()
{
    VSTGUI::keepDrawingLibrariesLoaded();
    // Found once: the module does not move while it is loaded.
    const std::string folder = ResourceFolder::ofModuleContaining(reinterpret_cast<const void*>(&installToolkit));
    VSTGUI::setResourceFolderFunction([folder] { return folder; });
}

void removeResourceFolder() { VSTGUI::setResourceFolderFunction({}); }

const Steinberg::ModuleInitializer installAtEntry(installToolkit);
const Steinberg::ModuleTerminator removeAtExit(removeResourceFolder);

} // namespace
