#pragma once
// Host-made messages for tests and fuzzers, and a host context that makes them.
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include <map>
#include <string>

namespace Steinberg::Vst {

// The SDK's host list mended: empty binary values (which it leaks) noted here only; strings and bytes kept apart.
class SafeAttributeList : public HostAttributeList
{
public:
    tresult PLUGIN_API setInt(AttrID id, int64 value) override
    {
        types.erase(id);
        return HostAttributeList::setInt(id, value);
    }
    tresult PLUGIN_API setFloat(AttrID id, double value) override
    {
        types.erase(id);
        return HostAttributeList::setFloat(id, value);
    }
    tresult PLUGIN_API setString(AttrID id, const TChar* text) override
    {
        types[id] = kString;
        return HostAttributeList::setString(id, text);
    }
    tresult PLUGIN_API getString(AttrID id, TChar* text, uint32 bytes) override
    {
        return is(id, kString) ? HostAttributeList::getString(id, text, bytes) : kResultFalse;
    }
    tresult PLUGIN_API setBinary(AttrID id, const void* data, uint32 size) override
    {
        removeAttrID(id);
        types[id] = kBinary;
        return size > 0 ? HostAttributeList::setBinary(id, data, size) : kResultTrue;
    }
    tresult PLUGIN_API getBinary(AttrID id, const void*& data, uint32& size) override
    {
        if (!is(id, kBinary))
            return kResultFalse;
        data = this; // an empty value, noted here only: no byte of it is read
        HostAttributeList::getBinary(id, data, size);
        return kResultTrue;
    }

private:
    enum Type { kString, kBinary };
    bool is(AttrID id, Type type) const { return types.count(id) > 0 && types.at(id) == type; }
    std::map<std::string, Type> types; // of the string and binary values
};

struct SafeHostMessage : HostMessage
{
    SafeHostMessage() { attributeList = new SafeAttributeList; }
};

// Answers FUnknown and the one interface a stand-in implements; the test owns the stand-ins.
template <typename Interface>
class StandIn : public Interface {
public:
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        const bool known = FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Interface::iid);
        *obj = known ? this : nullptr;
        return known ? kResultOk : kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

// The SDK's host context, making messages of the kind above, or refusing to when told.
struct MessageHost : HostApplication
{
    tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) override
    {
        const bool message = FUID::fromTUID(cid) == IMessage::iid && FUID::fromTUID(iid) == IMessage::iid;
        *obj = message && !refuse ? static_cast<IMessage*>(new SafeHostMessage()) : nullptr;
        return *obj ? kResultOk : kResultFalse;
    }
    bool refuse = false;
};

} // namespace Steinberg::Vst
