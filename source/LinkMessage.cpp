#include "LinkMessage.h"

#include "controller/Utf16Text.h"
#include "public.sdk/source/vst/vstcomponentbase.h"

#include <cstring>

namespace LinkMessage {

using namespace Steinberg;
using namespace Steinberg::Vst;

bool hasId(IMessage& message, const char* id)
{
    const char* messageId = message.getMessageID();
    return messageId != nullptr && std::strcmp(messageId, id) == 0;
}

bool readInt(IMessage& message, const char* command, int64& value)
{
    IAttributeList* attributes = message.getAttributes();
    return attributes != nullptr && hasId(message, kIntMessage) && attributes->getInt(command, value) == kResultOk;
}

bool readBinary(IMessage& message, const char* command, const void*& data, uint32& size)
{
    IAttributeList* attributes = message.getAttributes();
    if (attributes == nullptr || !hasId(message, kBinaryMessage))
        return false;
    data = nullptr;
    size = 0;
    if (attributes->getBinary(command, data, size) != kResultOk)
        return false;
    return data != nullptr || size == 0;
}

tresult deliverText(IMessage& message, ComponentBase& receiver)
{
    IAttributeList* attributes = message.getAttributes();
    if (attributes == nullptr || !hasId(message, kTextMessage))
        return kResultFalse;
    TChar text[kMaxTextUnits + 1] {}; // one unit more than the list may fill, so the text always ends
    if (attributes->getString("Text", text, kMaxTextUnits * sizeof(TChar)) != kResultOk)
        return kResultFalse;
    // Converted here: the SDK's own conversion throws on half a surrogate pair.
    return receiver.receiveText(Utf16Text::toUtf8(text, kMaxTextUnits).c_str());
}

Outgoing::Outgoing(const ComponentBase& sender) : sender(sender), message(owned(sender.allocateMessage())) {}

IAttributeList* Outgoing::prepare(const char* id)
{
    if (!message)
        return nullptr;
    message->setMessageID(id);
    return message->getAttributes();
}

tresult Outgoing::sendInt(const char* command, int64 value)
{
    IAttributeList* attributes = prepare(kIntMessage);
    if (attributes == nullptr || attributes->setInt(command, value) != kResultOk)
        return kResultFalse;
    return sender.sendMessage(message);
}

tresult Outgoing::sendBinary(const char* command, const void* data, uint32 size)
{
    IAttributeList* attributes = prepare(kBinaryMessage);
    if (attributes == nullptr || attributes->setBinary(command, data, size) != kResultOk)
        return kResultFalse;
    return sender.sendMessage(message);
}

tresult Outgoing::sendFloat(const char* command, double value)
{
    IAttributeList* attributes = prepare(kFloatMessage);
    if (attributes == nullptr || attributes->setFloat(command, value) != kResultOk)
        return kResultFalse;
    return sender.sendMessage(message);
}

tresult Outgoing::sendString(const char* command, const Steinberg::Vst::TChar* text)
{
    IAttributeList* attributes = prepare(kStringMessage);
    if (attributes == nullptr || attributes->setString(command, text) != kResultOk)
        return kResultFalse;
    return sender.sendMessage(message);
}

tresult sendInt(const ComponentBase& sender, const char* command, int64 value)
{
    return Outgoing(sender).sendInt(command, value);
}

tresult sendBinary(const ComponentBase& sender, const char* command, const void* data, uint32 size)
{
    return Outgoing(sender).sendBinary(command, data, size);
}

} // namespace LinkMessage
