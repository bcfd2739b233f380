#pragma once
// What a fuzzed processor or controller is connected to: a peer that takes every message,
// and an open editor that stops the fuzzer when the controller hands it more than it promises.
#include "controller/EditorLink.h"
#include "dsp/MidiEventRing.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdlib>

class AcceptingPeer : public Steinberg::Vst::IConnectionPoint {
public:
    Steinberg::tresult PLUGIN_API connect(IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API disconnect(IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

class CheckingEditor : public EditorLink {
public:
    bool isOpen() const override { return true; }
    void processOscilloscope(const int8_t* data, int32_t count, int32_t offset) override
    {
        if (count < 0 || count > 16384 || offset != 0 || (count > 0 && data == nullptr))
            std::abort();
        volatile int8_t last = count > 0 ? data[count - 1] : 0; // all it was given can be read
        (void)last;
    }
    void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) override
    {
        if (count < 0 || count > MidiEventRing::kCapacity || (count > 0 && notes == nullptr))
            std::abort();
        volatile int32_t last = count > 0 ? notes[count - 1].velocity : 0;
        (void)last;
    }
    bool setHiddenParameter(int32_t index, double value) override
    {
        if (index < 0 || index > 6 || !(value >= 0.0 && value <= 1.0))
            std::abort();
        return true;
    }
};
