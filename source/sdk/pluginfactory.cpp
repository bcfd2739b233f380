#include "sdk/pluginfactory.h"

#include <cstring>

namespace Steinberg {

CPluginFactory* gPluginFactory = nullptr;

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info) {}

CPluginFactory::~CPluginFactory()
{
    if (gPluginFactory == this)
        gPluginFactory = nullptr;
}

bool CPluginFactory::registerClass(const PClassInfo2* info, FUnknownCreateFunc createFunc, void* context)
{
    if (info == nullptr || createFunc == nullptr)
        return false;
    if (findClass(reinterpret_cast<FIDString>(info->cid)) != nullptr)
        return false;
    classes.push_back({*info, createFunc, context});
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const
{
    return findClass(reinterpret_cast<FIDString>(cid.toTUID())) != nullptr;
}

const CPluginFactory::RegisteredClass* CPluginFactory::findClass(FIDString cid) const
{
    for (const RegisteredClass& entry : classes)
    {
        if (FUnknownPrivate::iidEqual(entry.info.cid, cid))
            return &entry;
    }
    return nullptr;
}

const CPluginFactory::RegisteredClass* CPluginFactory::classAt(int32 index) const
{
    if (index < 0 || static_cast<size_t>(index) >= classes.size())
        return nullptr;
    return &classes[static_cast<size_t>(index)];
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (info == nullptr)
        return kInvalidArgument;
    *info = factoryInfo;
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses()
{
    return static_cast<int32>(classes.size());
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    const RegisteredClass* entry = classAt(index);
    if (entry == nullptr || info == nullptr)
        return kInvalidArgument;
    *info = PClassInfo(entry->info.cid, entry->info.cardinality, entry->info.category, entry->info.name);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    const RegisteredClass* entry = classAt(index);
    if (entry == nullptr || info == nullptr)
        return kInvalidArgument;
    *info = entry->info;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    const RegisteredClass* entry = classAt(index);
    if (entry == nullptr || info == nullptr)
        return kInvalidArgument;
    *info = PClassInfoW();
    info->fromAscii(entry->info);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    *obj = nullptr;
    if (cid == nullptr || iid == nullptr)
        return kInvalidArgument;
    const RegisteredClass* entry = findClass(cid);
    if (entry == nullptr)
        return kNoInterface;
    FUnknown* instance = entry->create(entry->context);
    if (instance == nullptr)
        return kOutOfMemory;
    // The caller keeps only the reference that the query adds.
    const tresult result = instance->queryInterface(iid, obj);
    instance->release();
    if (result != kResultOk)
    {
        *obj = nullptr;
        return kNoInterface;
    }
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* /*context*/)
{
    return kNotImplemented;
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IPluginFactory::iid)
        || FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) || FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid))
    {
        addRef();
        *obj = static_cast<IPluginFactory3*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef()
{
    return ++refCount;
}

uint32 PLUGIN_API CPluginFactory::release()
{
    const uint32 remaining = --refCount;
    if (remaining == 0)
        delete this;
    return remaining;
}

} // namespace Steinberg
