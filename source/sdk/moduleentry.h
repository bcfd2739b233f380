#pragma once

#include "pluginterfaces/base/fplatform.h"
#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {

// The handle the host passed to the first ModuleEntry; nullptr before it and after the last
// ModuleExit. The GUI toolkit finds the bundle's resource folder through it.
void* getPlatformModuleHandle();

using ModuleFunc = void (*)();

// A function run on the module's first entry. Declare one as a static object; lower
// orders run first, equal orders in registration order.
struct ModuleInitializer
{
    explicit ModuleInitializer(ModuleFunc function, uint32 order = 50);
};

// A function run on the module's last exit, ordered like the initialisers.
struct ModuleTerminator
{
    explicit ModuleTerminator(ModuleFunc function, uint32 order = 50);
};

} // namespace Steinberg

extern "C" {
// Linux entry points: the host calls ModuleEntry once per load and ModuleExit once per
// unload; only the first entry and the last exit do the module's set-up and tear-down.
SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle);
SMTG_EXPORT_SYMBOL bool ModuleExit();
}
