#pragma once
// One plug-in instance driven the way a DAW drives it: processor and (when offered) edit
// controller created from the bundle's factory, initialised with a host context, their
// connection points joined, buses and processing set up, state saved and restored.

#include "host/MessageRelay.h"
#include "host/PluginModule.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Steinberg::Vst {
class HostApplication;
}

namespace VextoriaHost {

enum class BusLayout { mono, stereo };

int32_t channelCount(BusLayout layout);

class PluginHost {
public:
    // Loads the bundle and creates, initialises and connects processor and controller.
    // Throws HostError when the bundle has no audio processor or it refuses to initialise.
    explicit PluginHost(const std::string& bundlePath);
    ~PluginHost();  // stops, disconnects, terminates and releases all, then unloads the module
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    const PluginModule& module() const { return *pluginModule; }
    const ClassInfo& processorClass() const { return audioClass; }
    Steinberg::Vst::IComponent* component() const { return pluginComponent; }
    Steinberg::Vst::IAudioProcessor* processor() const { return audioProcessor; }
    Steinberg::Vst::IEditController* controller() const { return editController; }  // may be null

    // Shows every message between processor and controller to observer (nullptr: no one).
    void observeMessages(MessageObserver* observer);

    // While inactive: bus arrangement and process set-up; answers the first refusal.
    Steinberg::tresult configure(BusLayout layout, double sampleRate, int32_t maxBlockSize);
    void start();  // setActive(true), setProcessing(true)
    void stop();   // setProcessing(false), setActive(false); harmless when not started
    bool isRunning() const { return running; }

    Steinberg::tresult process(Steinberg::Vst::ProcessData& data) { return audioProcessor->process(data); }

    // The processor's component state, as a host stores it in a project.
    std::vector<uint8_t> saveState() const;
    // Restores a component state; a controller is given the same bytes only when the
    // processor accepted them, as its view of the state must follow the processor's.
    Steinberg::tresult loadState(const std::vector<uint8_t>& bytes);

private:
    void createController();
    void connect();
    void teardown();

    std::unique_ptr<PluginModule> pluginModule;
    ClassInfo audioClass;
    // The SDK's host application ignores reference counts, so the host owns it outright
    // and keeps it until every plug-in object is gone.
    std::unique_ptr<Steinberg::Vst::HostApplication> hostContext;
    Steinberg::IPtr<Steinberg::Vst::IComponent> pluginComponent;
    Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> audioProcessor;
    Steinberg::IPtr<Steinberg::Vst::IEditController> editController;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> componentConnection;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> controllerConnection;
    MessageRelay toController {MessageDirection::toController};
    MessageRelay toProcessor {MessageDirection::toProcessor};
    bool componentInitialized = false;
    bool controllerInitialized = false;
    bool connected = false;
    bool running = false;
};

}  // namespace VextoriaHost
