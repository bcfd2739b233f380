#pragma once
// The messages processor and controller exchange over their connection points. A message's
// id names the payload type ("IntMessage", "BinaryMessage", "FloatMessage" or "StringMessage")
// and its one attribute's key names the command. UI thread only.
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstmessage.h"

namespace Steinberg {
namespace Vst {
class ComponentBase;
} // namespace Vst
} // namespace Steinberg

namespace LinkMessage {

using Steinberg::int64;
using Steinberg::tresult;
using Steinberg::uint32;
using Steinberg::Vst::IMessage;

inline constexpr char kIntMessage[] = "IntMessage";
inline constexpr char kBinaryMessage[] = "BinaryMessage";
inline constexpr char kTextMessage[] = "TextMessage";
inline constexpr char kFloatMessage[] = "FloatMessage";
inline constexpr char kStringMessage[] = "StringMessage";

// Whether the message's id is exactly id, terminating NUL included; no id matches nothing.
bool hasId(IMessage& message, const char* id);

// The number of command, only from an "IntMessage" that carries it.
bool readInt(IMessage& message, const char* command, int64& value);
// The bytes of command, only from a "BinaryMessage" that carries them; a payload that
// claims bytes without giving any is refused.
bool readBinary(IMessage& message, const char* command, const void*& data, uint32& size);

// Longest "Text" of the SDK's text message that is passed on, in UTF-16 units; the rest is cut.
inline constexpr uint32 kMaxTextUnits = 256;
// Hands the "Text" of a "TextMessage" to receiver's receiveText as UTF-8, cut at kMaxTextUnits
// and always ended, whether or not the sender ended it. kResultFalse for any other message
// and for a text message without a text.
tresult deliverText(IMessage& message, Steinberg::Vst::ComponentBase& receiver);

// One message allocated through the sender's host. A failed allocation leaves it empty,
// and sending an empty message does nothing.
class Outgoing {
public:
    explicit Outgoing(const Steinberg::Vst::ComponentBase& sender);

    bool isAllocated() const { return message != nullptr; }
    // Sets the one attribute and hands the message to the connected peer. Answers the
    // peer's result, or kResultFalse when nothing could be sent.
    tresult sendInt(const char* command, int64 value);
    // The attribute list keeps its own copy of the bytes.
    tresult sendBinary(const char* command, const void* data, uint32 size);
    // The value travels as a double.
    tresult sendFloat(const char* command, double value);
    // A zero-terminated UTF-16 string.
    tresult sendString(const char* command, const Steinberg::Vst::TChar* text);

private:
    Steinberg::Vst::IAttributeList* prepare(const char* id);

    const Steinberg::Vst::ComponentBase& sender;
    Steinberg::IPtr<IMessage> message;
};

// Allocates, fills and sends in one go.
tresult sendInt(const Steinberg::Vst::ComponentBase& sender, const char* command, int64 value);
tresult sendBinary(const Steinberg::Vst::ComponentBase& sender, const char* command, const void* data, uint32 size);

} // namespace LinkMessage
