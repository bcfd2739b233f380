#pragma once
// Host-side stand-ins for the controller tests: a host application, a component handler, a
// processor peer and an editor, each recording what the controller did to it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include "controller/EditorLink.h"
#include "controller/Vextoria3Controller.h"
#include "dsp/MidiEventRing.h"

namespace ControllerTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Counts the controller's requests to the host; owned by the test, never deleted by refcount.
class RecordingComponentHandler : public IComponentHandler {
public:
    tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API performEdit(ParamID, ParamValue) override { return kResultOk; }
    tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API restartComponent(int32 flags) override;
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    std::vector<int32> restarts; // flags of each restartComponent
};

// Stands in for the processor's connection point and keeps what it was sent.
class RecordingPeer : public IConnectionPoint {
public:
    struct Received {
        std::string messageId;
        std::vector<uint8_t> hiddenValues; // the "synchiddenparam" bytes, when present
    };
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override;
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    std::vector<Received> received;
};

// An editor window as the controller sees it.
class RecordingEditor : public EditorLink {
public:
    struct HiddenCall {
        int32_t index;
        double value;
    };
    bool isOpen() const override { return open; }
    void processOscilloscope(const int8_t* data, int32_t count, int32_t offset) override;
    void processMidiNoteFromhost(const MidiNoteRecord* notes, int32_t count) override;
    bool setHiddenParameter(int32_t index, double value) override;

    bool open = true;
    std::vector<std::vector<int8_t>> scopeCalls;
    std::vector<std::vector<MidiNoteRecord>> noteCalls;
    std::vector<HiddenCall> hiddenCalls;
};

// A controller initialised by a host, with HOME pointing at a fresh empty folder so no test
// reads a real user's settings. A test may write a settings file and call initialise().
class ControllerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // (Re)creates and initialises the controller, reading the settings under home.
    void initialise();
    // Writes home + "/.harlowmint/Vextoria3/Vextoria3.conf".
    void writeSettings(const std::string& text) const;
    // A message built by the host; the attribute is set by the caller.
    IPtr<IMessage> makeMessage(const char* messageId);

    std::string home;
    HostApplication host; // the SDK's host object is never freed by reference counting
    IPtr<Vextoria3Controller> controller;
    RecordingComponentHandler handler;
    RecordingPeer peer;
    RecordingEditor editor;

private:
    std::string previousHome;
    bool hadHome = false;
};

// Streams over bytes, and the bytes a stream holds.
IPtr<MemoryStream> streamOf(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> bytesOf(MemoryStream& stream);

// A program record with the given counts and values (values past the counts are not written).
std::vector<uint8_t> programRecord(int32_t paramCount, const std::vector<double>& params,
                                   int32_t hiddenCount, const std::vector<double>& hidden);
// The controller state: marker and the given doubles.
std::vector<uint8_t> controllerState(uint64_t marker, const std::vector<double>& values);

// The seven hidden settings in index order.
std::vector<double> hiddenValues(Vextoria3Controller& controller);

// The UTF-16 text as UTF-8 (ASCII texts of the tests only).
std::string narrow(const TChar* text);
// The host's text of a value.
std::string valueText(Vextoria3Controller& controller, ParamID id, ParamValue value);

} // namespace ControllerTest
