// The controller's side of the processor messages, MIDI mapping and view creation.
#include "Vextoria3Controller.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "LinkMessage.h"
#include "dsp/ProgramChunk.h"
#include "editor/Vextoria3Editor.h"
#include "ids.h"

namespace Steinberg {
namespace Vst {

tresult PLUGIN_API Vextoria3Controller::notify(IMessage* message)
{
    if (!message)
        return kInvalidArgument;
    if (!message->getMessageID() || !message->getAttributes())
        return kResultFalse; // nothing this controller or its base could read
    if (forwardProcessorData(*message))
        return kResultOk;
    int64 ignored = 0;
    if (LinkMessage::readInt(*message, "copyhiddenparam", ignored))
        syncHiddenParam();
    else if (LinkMessage::hasId(*message, LinkMessage::kTextMessage))
        return LinkMessage::deliverText(*message, *this);
    return EditControllerEx1::notify(message);
}

bool Vextoria3Controller::forwardProcessorData(IMessage& message)
{
    const void* data = nullptr;
    uint32 size = 0;
    // A message carrying both only feeds the scope.
    if (LinkMessage::readBinary(message, "AudioData", data, size)) {
        forwardScope(data, size);
        return true;
    }
    if (LinkMessage::readBinary(message, "MidiNote", data, size)) {
        forwardNotes(data, size);
        return true;
    }
    return false;
}

void Vextoria3Controller::forwardScope(const void* data, uint32 size)
{
    if (!editorIsOpen())
        return;
    // Cut at the ring's size: the processor never sends more, a stranger may.
    const auto count = std::min<uint32>(size, kScopeBufferSize);
    if (count > 0)
        std::memcpy(scopeBuffer.data(), data, count);
    editor->processOscilloscope(scopeBuffer.data(), static_cast<int32>(count), 0);
}

void Vextoria3Controller::forwardNotes(const void* data, uint32 size)
{
    if (!editorIsOpen())
        return;
    // Whole records only, copied out of a buffer that need not be aligned for them.
    const auto count = std::min<uint32>(size / sizeof(MidiNoteRecord), noteBuffer.size());
    if (count > 0)
        std::memcpy(noteBuffer.data(), data, count * sizeof(MidiNoteRecord));
    editor->processMidiNoteFromhost(noteBuffer.data(), static_cast<int32>(count));
}

tresult Vextoria3Controller::receiveText(const char8* text)
{
    if (!text)
        return kResultOk;
    const std::string line = std::string("[Vextoria3Controller] received: ") + text + "\n";
    std::fputs(line.c_str(), stderr);
    return kResultOk;
}

void Vextoria3Controller::syncHiddenParam()
{
    std::vector<uint8_t> payload;
    for (int32 index = 0; index < HiddenParameters::count; ++index)
        insert_double(payload, hiddenParameters.getParamValue(index));
    // Without a host context nothing is sent: the processor keeps the values it has.
    LinkMessage::sendBinary(*this, "synchiddenparam", payload.data(), static_cast<uint32>(payload.size()));
}

tresult PLUGIN_API Vextoria3Controller::getMidiControllerAssignment(int32 busIndex, int16 /*channel*/,
                                                                    CtrlNumber midiControllerNumber, ParamID& id)
{
    if (busIndex != 0)
        return kResultFalse;
    switch (midiControllerNumber) {
    case kCtrlModWheel: id = Vextoria3Ids::kModWheel; return kResultOk;
    case kPitchBend: id = Vextoria3Ids::kPitchBend; return kResultOk;
    default: return kResultFalse;
    }
}

tresult PLUGIN_API Vextoria3Controller::onLiveMIDIControllerInput(int32 /*busIndex*/, int16 /*channel*/,
                                                                  CtrlNumber /*midiCC*/)
{
    return kResultFalse;
}

IPlugView* PLUGIN_API Vextoria3Controller::createView(FIDString name)
{
    if (!name || std::strcmp(name, ViewType::kEditor) != 0)
        return nullptr;
    // The editor links itself to this controller when the host opens it; each call makes a
    // new view, which the host owns.
    ViewRect size(0, 0, 600, 400);
    return new Vextoria3Editor(this, &size);
}

} // namespace Vst
} // namespace Steinberg
