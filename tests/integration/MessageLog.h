#pragma once
// Sees every message the host routes between processor and controller and keeps a copy of
// its id, its command and its payload; also builds the editor's messages for the processor.

#include "host/MessageRelay.h"
#include "host/PluginHost.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <string>
#include <vector>

namespace VextoriaTest {

struct LoggedMessage {
    VextoriaHost::MessageDirection direction = VextoriaHost::MessageDirection::toController;
    std::string id;
    std::string command;          // the one known command found, empty when none
    Steinberg::int64 number = 0;  // "IntMessage" payload
    std::vector<uint8_t> bytes;   // "BinaryMessage" payload
};

class MessageLog : public VextoriaHost::MessageObserver {
public:
    void messageSent(VextoriaHost::MessageDirection direction, Steinberg::Vst::IMessage& message) override
    {
        static const char* const commands[] = {"setslice",        "linuxtimer",      "loadpreset",
                                               "setpresetname",   "copyhiddenparam", "synchiddenparam",
                                               "askpresonus",     "MidiNote",        "AudioData"};
        LoggedMessage logged;
        logged.direction = direction;
        logged.id = message.getMessageID() ? message.getMessageID() : "";
        Steinberg::Vst::IAttributeList* attributes = message.getAttributes();
        for (const char* command : commands) {
            if (!attributes)
                break;
            const void* data = nullptr;
            Steinberg::uint32 size = 0;
            if (logged.id == "IntMessage" && attributes->getInt(command, logged.number) == Steinberg::kResultOk) {
                logged.command = command;
            } else if (logged.id == "BinaryMessage" &&
                       attributes->getBinary(command, data, size) == Steinberg::kResultOk) {
                logged.command = command;
                const auto* first = static_cast<const uint8_t*>(data);
                logged.bytes.assign(first, first + (data ? size : 0));
            }
            if (!logged.command.empty())
                break;
        }
        messages.push_back(std::move(logged));
    }

    // The messages carrying command, in the order they were sent.
    std::vector<LoggedMessage> withCommand(const std::string& command) const
    {
        std::vector<LoggedMessage> found;
        for (const LoggedMessage& message : messages)
            if (message.command == command)
                found.push_back(message);
        return found;
    }

    std::vector<LoggedMessage> messages;
};

// A message as the editor sends it through the controller's connection.
inline Steinberg::IPtr<Steinberg::Vst::IMessage> intMessage(const char* id, const char* command,
                                                           Steinberg::int64 value)
{
    auto message = Steinberg::owned(static_cast<Steinberg::Vst::IMessage*>(new Steinberg::Vst::HostMessage()));
    message->setMessageID(id);
    message->getAttributes()->setInt(command, value);
    return message;
}

inline Steinberg::IPtr<Steinberg::Vst::IMessage> binaryMessage(const char* command, const std::vector<uint8_t>& bytes)
{
    auto message = Steinberg::owned(static_cast<Steinberg::Vst::IMessage*>(new Steinberg::Vst::HostMessage()));
    message->setMessageID("BinaryMessage");
    message->getAttributes()->setBinary(command, bytes.data(), static_cast<Steinberg::uint32>(bytes.size()));
    return message;
}

// Hands a message to the processor as its connected controller would.
inline Steinberg::tresult tellProcessor(VextoriaHost::PluginHost& host, Steinberg::Vst::IMessage* message)
{
    Steinberg::FUnknownPtr<Steinberg::Vst::IConnectionPoint> processor(host.component());
    return processor ? processor->notify(message) : Steinberg::kNoInterface;
}

}  // namespace VextoriaTest
