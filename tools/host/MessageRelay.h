#pragma once
// The host's message routing between processor and controller: each side is connected to a
// relay, which hands every message on to the other side at once, on the sender's thread,
// and lets an observer see it first.

#include "pluginterfaces/vst/ivstmessage.h"

namespace VextoriaHost {

enum class MessageDirection { toController, toProcessor };

class MessageObserver {
public:
    // Called before the message is delivered; the message lives only for the call.
    virtual void messageSent(MessageDirection direction, Steinberg::Vst::IMessage& message) = 0;

protected:
    ~MessageObserver() = default;
};

class MessageRelay : public Steinberg::Vst::IConnectionPoint {
public:
    explicit MessageRelay(MessageDirection direction) : direction(direction) {}

    void setReceiver(Steinberg::Vst::IConnectionPoint* side) { receiver = side; }
    void setObserver(MessageObserver* watcher) { observer = watcher; }

    Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint*) override { return Steinberg::kResultOk; }
    // The receiver's answer; kResultFalse once the receiver is gone.
    Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** object) override;
    // Owned by the host, which keeps it until both sides are disconnected.
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    MessageDirection direction;
    Steinberg::Vst::IConnectionPoint* receiver = nullptr;  // not owned
    MessageObserver* observer = nullptr;                  // not owned
};

}  // namespace VextoriaHost
