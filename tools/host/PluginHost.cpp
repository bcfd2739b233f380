#include "host/PluginHost.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace VextoriaHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

int32_t channelCount(BusLayout layout) { return layout == BusLayout::mono ? 1 : 2; }

PluginHost::PluginHost(const std::string& bundlePath)
    : pluginModule(std::make_unique<PluginModule>(bundlePath)),
      hostContext(std::make_unique<HostApplication>())
{
    const ClassInfo* info = pluginModule->findClass(kVstAudioEffectClass);
    if (!info)
        throw HostError("the bundle offers no \"" kVstAudioEffectClass "\"");
    audioClass = *info;
    try {
        pluginComponent = pluginModule->create<IComponent>(audioClass.classId);
        if (!pluginComponent)
            throw HostError("the factory did not create " + audioClass.name);
        audioProcessor = FUnknownPtr<IAudioProcessor>(pluginComponent);
        if (!audioProcessor)
            throw HostError(audioClass.name + " is no audio processor");
        if (pluginComponent->initialize(hostContext.get()) != kResultOk)
            throw HostError(audioClass.name + " refused to initialise");
        componentInitialized = true;
        createController();
        connect();
    } catch (...) {
        teardown();
        throw;
    }
}

PluginHost::~PluginHost() { teardown(); }

void PluginHost::createController()
{
    TUID controllerId {};
    if (pluginComponent->getControllerClassId(controllerId) != kResultOk)
        return;  // a processor without a separate controller is allowed
    const FUID controllerClass = FUID::fromTUID(controllerId);
    if (!controllerClass.isValid())
        return;
    editController = pluginModule->create<IEditController>(controllerClass);
    if (!editController)
        throw HostError(audioClass.name + " names a controller class the factory cannot create");
    if (editController->initialize(hostContext.get()) != kResultOk)
        throw HostError("the controller of " + audioClass.name + " refused to initialise");
    controllerInitialized = true;
}

void PluginHost::connect()
{
    if (!editController)
        return;
    componentConnection = FUnknownPtr<IConnectionPoint>(pluginComponent);
    controllerConnection = FUnknownPtr<IConnectionPoint>(editController);
    if (!componentConnection || !controllerConnection)
        return;
    // Joined through the relays: each message reaches the other side at once, on the sender's thread.
    toController.setReceiver(controllerConnection);
    toProcessor.setReceiver(componentConnection);
    componentConnection->connect(&toController);
    controllerConnection->connect(&toProcessor);
    connected = true;
}

void PluginHost::observeMessages(MessageObserver* observer)
{
    toController.setObserver(observer);
    toProcessor.setObserver(observer);
}

tresult PluginHost::configure(BusLayout layout, double sampleRate, int32_t maxBlockSize)
{
    stop();
    SpeakerArrangement arrangement = layout == BusLayout::mono ? SpeakerArr::kMono : SpeakerArr::kStereo;
    SpeakerArrangement input = arrangement, output = arrangement;
    if (tresult result = audioProcessor->setBusArrangements(&input, 1, &output, 1); result != kResultOk)
        return result;
    ProcessSetup setup {kRealtime, kSample32, maxBlockSize, sampleRate};
    return audioProcessor->setupProcessing(setup);
}

void PluginHost::start()
{
    if (running)
        return;
    pluginComponent->activateBus(kAudio, kInput, 0, true);
    pluginComponent->activateBus(kAudio, kOutput, 0, true);
    pluginComponent->setActive(true);
    audioProcessor->setProcessing(true);
    running = true;
}

void PluginHost::stop()
{
    if (!running)
        return;
    audioProcessor->setProcessing(false);
    pluginComponent->setActive(false);
    running = false;
}

std::vector<uint8_t> PluginHost::saveState() const
{
    auto stream = owned(new MemoryStream());
    if (pluginComponent->getState(stream) != kResultOk)
        return {};
    const char* data = stream->getData();
    return std::vector<uint8_t>(data, data + stream->getSize());
}

tresult PluginHost::loadState(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy(bytes);  // the stream reads from memory it may not own
    auto stream = owned(new MemoryStream(copy.data(), static_cast<TSize>(copy.size())));
    const tresult result = pluginComponent->setState(stream);
    if (result == kResultOk && editController) {
        stream->seek(0, IBStream::kIBSeekSet, nullptr);
        editController->setComponentState(stream);
    }
    return result;
}

void PluginHost::teardown()
{
    stop();
    if (connected) {
        componentConnection->disconnect(&toController);
        controllerConnection->disconnect(&toProcessor);
        connected = false;
    }
    toController.setReceiver(nullptr);
    toProcessor.setReceiver(nullptr);
    observeMessages(nullptr);
    componentConnection = nullptr;
    controllerConnection = nullptr;
    if (controllerInitialized)
        editController->terminate();
    controllerInitialized = false;
    if (componentInitialized)
        pluginComponent->terminate();
    componentInitialized = false;
    editController = nullptr;
    audioProcessor = nullptr;
    pluginComponent = nullptr;
    pluginModule.reset();  // ModuleExit and dlclose, after every object of the module is gone
}

}  // namespace VextoriaHost
