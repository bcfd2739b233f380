#include "sdk/moduleentry.h"

#include <algorithm>
#include <vector>

namespace Steinberg {
namespace {

struct OrderedFunction
{
    ModuleFunc function;
    uint32 order;
};

// Function-local so that registrations from other files' static objects find it built.
std::vector<OrderedFunction>& initializers()
{
    static std::vector<OrderedFunction> list;
    return list;
}

std::vector<OrderedFunction>& terminators()
{
    static std::vector<OrderedFunction> list;
    return list;
}

void addOrdered(std::vector<OrderedFunction>& list, ModuleFunc function, uint32 order)
{
    if (function == nullptr)
        return;
    const auto after = std::upper_bound(list.begin(), list.end(), order,
        [](uint32 value, const OrderedFunction& entry) { return value < entry.order; });
    list.insert(after, {function, order});
}

void runAll(const std::vector<OrderedFunction>& list)
{
    for (const OrderedFunction& entry : list)
        entry.function();
}

// Hosts call the entry points from their main thread only.
int32 entryCount = 0;
void* moduleHandle = nullptr;

} // namespace

void* getPlatformModuleHandle()
{
    return moduleHandle;
}

ModuleInitializer::ModuleInitializer(ModuleFunc function, uint32 order)
{
    addOrdered(initializers(), function, order);
}

ModuleTerminator::ModuleTerminator(ModuleFunc function, uint32 order)
{
    addOrdered(terminators(), function, order);
}

} // namespace Steinberg

bool ModuleEntry(void* sharedLibraryHandle)
{
    using namespace Steinberg;
    if (++entryCount > 1)
        return true;
    moduleHandle = sharedLibraryHandle;
    runAll(initializers());
    return true;
}

bool ModuleExit()
{
    using namespace Steinberg;
    if (entryCount == 0)
        return false;
    if (--entryCount > 0)
        return true;
    runAll(terminators());
    moduleHandle = nullptr;
    return true;
}
