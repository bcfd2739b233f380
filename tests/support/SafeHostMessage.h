#pragma once
// Host-made messages for tests and fuzzers, and a host context that makes them.
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <map>
#include <string>

namespace Steinberg {
namespace Vst {

// The SDK's host list with two faults of its own mended. It never frees the buffer of an
// empty binary value, and every editor tick sends one: empty values are kept here instead.
// It hands a binary value to a string read, which copies twice the value's size: here a
// string is read only from a string value and bytes only from a binary one.
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
        types[id] = size > 0 ? kBinary : kEmptyBinary;
        if (size > 0)
            return HostAttributeList::setBinary(id, data, size);
        removeAttrID(id);
        return kResultTrue;
    }
    tresult PLUGIN_API getBinary(AttrID id, const void*& data, uint32& size) override
    {
        if (is(id, kBinary))
            return HostAttributeList::getBinary(id, data, size);
        if (!is(id, kEmptyBinary))
            return kResultFalse;
        data = this;
        size = 0;
        return kResultTrue;
    }

private:
    enum Type { kString, kBinary, kEmptyBinary };
    bool is(AttrID id, Type type) const
    {
        const auto found = types.find(id);
        return found != types.end() && found->second == type;
    }

    std::map<std::string, Type> types; // of the string and binary values
};

class SafeHostMessage : public HostMessage
{
public:
    SafeHostMessage() { attributeList = new SafeAttributeList; }
};

// The host side a plug-in needs to send messages: it makes message objects, or refuses to
// when told, and nothing else.
class MessageHost : public IHostApplication
{
public:
    tresult PLUGIN_API getName(String128 name) override
    {
        name[0] = 0;
        return kResultOk;
    }
    tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) override
    {
        *obj = nullptr;
        if (refuse || !FUnknownPrivate::iidEqual(cid, IMessage::iid) || !FUnknownPrivate::iidEqual(iid, IMessage::iid))
            return kResultFalse;
        *obj = static_cast<IMessage*>(new SafeHostMessage());
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (FUnknownPrivate::iidEqual(iid, IHostApplication::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
        {
            *obj = this;
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; } // lives as long as the test
    uint32 PLUGIN_API release() override { return 1; }

    bool refuse = false;
};

} // namespace Vst
} // namespace Steinberg
