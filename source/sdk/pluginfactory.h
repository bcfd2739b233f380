#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <vector>

namespace Steinberg {

// Creates one new object of a registered class; answers it with one reference, or nullptr.
using FUnknownCreateFunc = FUnknown* (*)(void* context);

// The module's class factory: a fixed list of classes, each with its info and creator.
// One instance per module lives in gPluginFactory; it clears that pointer when its last
// reference goes, so the next GetPluginFactory builds a fresh one.
class CPluginFactory : public IPluginFactory3
{
public:
    explicit CPluginFactory(const PFactoryInfo& info);
    virtual ~CPluginFactory();

    CPluginFactory(const CPluginFactory&) = delete;
    CPluginFactory& operator=(const CPluginFactory&) = delete;

    // Adds a class; refuses a null info or creator and a class id registered before.
    bool registerClass(const PClassInfo2* info, FUnknownCreateFunc createFunc, void* context = nullptr);
    bool isClassRegistered(const FUID& cid) const;

    // IPluginFactory
    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override;
    int32 PLUGIN_API countClasses() override;
    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override;
    tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) override;
    // IPluginFactory2
    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override;
    // IPluginFactory3
    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
    tresult PLUGIN_API setHostContext(FUnknown* context) override;

    // FUnknown
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override;
    uint32 PLUGIN_API release() override;

private:
    struct RegisteredClass
    {
        PClassInfo2 info;
        FUnknownCreateFunc create;
        void* context;
    };

    const RegisteredClass* findClass(FIDString cid) const;
    const RegisteredClass* classAt(int32 index) const;

    PFactoryInfo factoryInfo;
    std::vector<RegisteredClass> classes;
    std::atomic<uint32> refCount {1};
};

// The module's one factory, or nullptr while none exists.
extern CPluginFactory* gPluginFactory;

} // namespace Steinberg
