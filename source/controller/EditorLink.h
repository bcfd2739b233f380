#pragma once
#include <cstdint>

struct MidiNoteRecord;
namespace Steinberg {
class FUnknown;
} // namespace Steinberg

// What the controller needs from its open editor. The editor registers itself with the
// controller when the host opens it and unregisters when it closes, so the controller never
// owns it. UI thread only.
class EditorLink {
public:
    // Whether the editor's window is open; data for a closed editor is dropped.
    virtual bool isOpen() const = 0;
    // Scope bytes (mean of left and right times 127), count 0..16384.
    virtual void processOscilloscope(const int8_t* data, int32_t count, int32_t offset) = 0;
    // Whole note records, count 0..128.
    virtual void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) = 0;
    // A hidden setting changed in the controller; false when the editor did not take it.
    virtual bool setHiddenParameter(int32_t index, double value) = 0;
    // The host's plug frame of the open editor, where a host may offer its run loop.
    virtual Steinberg::FUnknown* hostFrame() const { return nullptr; }

protected:
    ~EditorLink() = default;
};
