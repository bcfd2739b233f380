#pragma once
// Loads a VST3 bundle the way a DAW does on Linux: dlopen the shared library inside the
// bundle, call ModuleEntry, take the class factory; undone in reverse by the destructor.

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

#include "host/HostError.h"

#include <string>
#include <vector>

namespace VextoriaHost {

struct ClassInfo {
    Steinberg::FUID classId;
    std::string category;       // "Audio Module Class", "Component Controller Class", ...
    std::string name;
    std::string subCategories;  // empty when the factory only offers version 1 class infos
    std::string version;
    std::string sdkVersion;
    Steinberg::uint32 classFlags = 0;
};

class PluginModule {
public:
    // bundlePath: the folder "Name.vst3"; the library is Contents/x86_64-linux/Name.so.
    explicit PluginModule(const std::string& bundlePath);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    static std::string libraryPath(const std::string& bundlePath);

    const std::string& vendor() const { return factoryVendor; }
    const std::vector<ClassInfo>& classes() const { return classInfos; }
    const ClassInfo* findClass(const std::string& category) const;  // the first of that category
    Steinberg::IPluginFactory* factory() const { return pluginFactory; }

    // Creates an instance of classId and asks it for Interface; null when the factory declines.
    template <typename Interface>
    Steinberg::IPtr<Interface> create(const Steinberg::FUID& classId) const
    {
        Interface* object = nullptr;
        pluginFactory->createInstance(classId.toTUID(), Interface::iid, reinterpret_cast<void**>(&object));
        return Steinberg::owned(object);
    }

private:
    void readClassInfos();
    void unload();

    void* libraryHandle = nullptr;
    bool entered = false;  // ModuleEntry answered true, so ModuleExit is owed
    Steinberg::IPtr<Steinberg::IPluginFactory> pluginFactory;
    std::string factoryVendor;
    std::vector<ClassInfo> classInfos;
};

}  // namespace VextoriaHost
