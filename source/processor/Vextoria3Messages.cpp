// The processor's side of the messages: the editor's commands (through the controller),
// the hidden values the controller answers with, and what the editor's tick sends back.
#include "processor/Vextoria3.h"

#include "LinkMessage.h"
#include "dsp/Vextoria3FX.h"
#include "ids.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Steinberg {
namespace Vst {
namespace {

bool fitsInt32(int64 value)
{
    return value >= std::numeric_limits<int32>::min() && value <= std::numeric_limits<int32>::max();
}

} // namespace

tresult PLUGIN_API Vextoria3::notify(IMessage* message)
{
    if (message == nullptr)
        return kInvalidArgument;
    // Nothing below, nor the base's text handling, can read a message without these.
    if (message->getMessageID() == nullptr || message->getAttributes() == nullptr)
        return kResultFalse;

    int64 number = 0;
    if (LinkMessage::readInt(*message, "setslice", number))
        return selectSlice(number) ? kResultOk : kResultFalse;
    if (LinkMessage::readInt(*message, "linuxtimer", number))
        onTimer(nullptr); // and then answered like any other message

    const void* data = nullptr;
    uint32 size = 0;
    if (LinkMessage::readBinary(*message, "loadpreset", data, size))
        return loadPreset(data, size) ? kResultOk : kResultFalse;
    if (LinkMessage::readBinary(*message, "synchiddenparam", data, size) && storeHiddenValues(data, size))
        return kResultOk;
    // Read here, bounded: the base's own text handling trusts the sender to end the text.
    if (LinkMessage::hasId(*message, LinkMessage::kTextMessage))
        return LinkMessage::deliverText(*message, *this);
    // "setpresetname" and anything unknown.
    return AudioEffect::notify(message);
}

tresult Vextoria3::receiveText(const char8* /*text*/)
{
    return kResultOk;
}

bool Vextoria3::selectSlice(int64 slice)
{
    // Checked before narrowing, so that a huge number cannot wrap into a valid slice.
    return fitsInt32(slice) && fx->setSliceFromUI(static_cast<int32>(slice));
}

bool Vextoria3::loadPreset(const void* data, uint32 size)
{
    // Bounded like a state stream: only the first kMaxStateBytes are read, which also keeps
    // the size inside the reader's int32.
    return takeRecord(data, static_cast<int32>(std::min(size, static_cast<uint32>(kMaxStateBytes))));
}

bool Vextoria3::storeHiddenValues(const void* data, uint32 size)
{
    double values[Vextoria3Ids::kNumHidden];
    if (size < sizeof(values))
        return false; // a short answer is ignored rather than half taken
    std::memcpy(values, data, sizeof(values)); // little-endian payload on a little-endian machine
    fx->setHiddenValues(values, Vextoria3Ids::kNumHidden);
    return true;
}

void Vextoria3::copyHiddenParamToChunk()
{
    LinkMessage::sendInt(*this, "copyhiddenparam", 1);
}

void Vextoria3::onTimer(Timer* /*timer*/)
{
    askForPresonus();
    sendMidiNotes();
    updateOscilloscope();
}

void Vextoria3::askForPresonus()
{
    // A controller without a handler answers kResultFalse, so the question goes out once.
    if (askHost && LinkMessage::sendInt(*this, "askpresonus", 1) != kResultOk)
        askHost = false;
}

void Vextoria3::sendMidiNotes()
{
    MidiEventRing& ring = fx->noteRing();
    if (!ring.hasNotes())
        return;
    // Cleared before the drain, so that notes logged meanwhile raise the flag again.
    ring.clearFlag();
    LinkMessage::Outgoing message(*this);
    if (!message.isAllocated())
        return; // the notes stay in the ring for a later tick
    const int32 count = ring.drain(noteBuffer);
    if (count > 0)
        message.sendBinary("MidiNote", noteBuffer.data(), static_cast<uint32>(count) * sizeof(MidiNoteRecord));
}

void Vextoria3::updateOscilloscope()
{
    // Drained first: the bytes are gone even when no message can be made for them.
    const int32 count = fx->scopeRing().drain(scopeBuffer);
    LinkMessage::sendBinary(*this, "AudioData", scopeBuffer.data(), static_cast<uint32>(count));
}

} // namespace Vst
} // namespace Steinberg
