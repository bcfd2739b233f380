#include "host/PluginModule.h"

#include <dlfcn.h>

#include <filesystem>

namespace VextoriaHost {

using namespace Steinberg;

namespace {

using ModuleEntryFunction = bool (*)(void*);
using ModuleExitFunction = bool (*)();
using GetFactoryFunction = IPluginFactory* (*)();

// Fixed-size, possibly unterminated char fields of the factory's info structs.
template <size_t size>
std::string fieldText(const char8 (&field)[size])
{
    size_t length = 0;
    while (length < size && field[length] != 0)
        ++length;
    return std::string(field, length);
}

template <typename Function>
Function librarySymbol(void* handle, const char* name)
{
    return reinterpret_cast<Function>(dlsym(handle, name));
}

}  // namespace

std::string PluginModule::libraryPath(const std::string& bundlePath)
{
    std::filesystem::path bundle(bundlePath);
    if (bundle.filename().empty())
        bundle = bundle.parent_path();  // "X.vst3/" names the same bundle as "X.vst3"
    return (bundle / "Contents" / "x86_64-linux" / bundle.stem()).string() + ".so";
}

PluginModule::PluginModule(const std::string& bundlePath)
{
    const std::string library = libraryPath(bundlePath);
    if (!std::filesystem::is_regular_file(library))
        throw HostError("no plug-in library at " + library);
    libraryHandle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!libraryHandle)
        throw HostError(std::string("cannot load ") + library + ": " + dlerror());

    auto moduleEntry = librarySymbol<ModuleEntryFunction>(libraryHandle, "ModuleEntry");
    auto getFactory = librarySymbol<GetFactoryFunction>(libraryHandle, "GetPluginFactory");
    if (!moduleEntry || !getFactory) {
        unload();
        throw HostError(library + " lacks ModuleEntry or GetPluginFactory");
    }
    if (!moduleEntry(libraryHandle)) {
        unload();
        throw HostError("ModuleEntry of " + library + " answered false");
    }
    entered = true;
    pluginFactory = owned(getFactory());
    if (!pluginFactory) {
        unload();
        throw HostError("GetPluginFactory of " + library + " answered no factory");
    }
    readClassInfos();
}

PluginModule::~PluginModule() { unload(); }

void PluginModule::readClassInfos()
{
    PFactoryInfo factoryInfo {};
    if (pluginFactory->getFactoryInfo(&factoryInfo) == kResultOk)
        factoryVendor = fieldText(factoryInfo.vendor);

    FUnknownPtr<IPluginFactory2> factory2(pluginFactory);
    for (int32 index = 0; index < pluginFactory->countClasses(); ++index) {
        ClassInfo entry;
        PClassInfo2 info2 {};
        PClassInfo info {};
        if (factory2 && factory2->getClassInfo2(index, &info2) == kResultOk) {
            entry.classId = FUID::fromTUID(info2.cid);
            entry.category = fieldText(info2.category);
            entry.name = fieldText(info2.name);
            entry.subCategories = fieldText(info2.subCategories);
            entry.version = fieldText(info2.version);
            entry.sdkVersion = fieldText(info2.sdkVersion);
            entry.classFlags = info2.classFlags;
        } else if (pluginFactory->getClassInfo(index, &info) == kResultOk) {
            entry.classId = FUID::fromTUID(info.cid);
            entry.category = fieldText(info.category);
            entry.name = fieldText(info.name);
        } else {
            continue;
        }
        classInfos.push_back(std::move(entry));
    }
}

const ClassInfo* PluginModule::findClass(const std::string& category) const
{
    for (const ClassInfo& info : classInfos)
        if (info.category == category)
            return &info;
    return nullptr;
}

void PluginModule::unload()
{
    // The factory goes before ModuleExit: the module may tear down what the factory uses.
    pluginFactory = nullptr;
    if (entered) {
        if (auto moduleExit = librarySymbol<ModuleExitFunction>(libraryHandle, "ModuleExit"))
            moduleExit();
        entered = false;
    }
    if (libraryHandle) {
        dlclose(libraryHandle);
        libraryHandle = nullptr;
    }
}

}  // namespace VextoriaHost
