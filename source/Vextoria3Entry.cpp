#include "Vextoria3Cids.h"
#include "controller/Vextoria3Controller.h"
#include "processor/Vextoria3.h"
#include "sdk/pluginfactory.h"
#include "version.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

using namespace Steinberg;

namespace {

// Class infos are built once and handed to every factory the module creates.
const PClassInfo2& processorClassInfo()
{
    static const PClassInfo2 info(Vst::kVextoria3ProcessorUID, PClassInfo::kManyInstances, kVstAudioEffectClass,
                                  "VextoriaPRO", Vst::kDistributable, "Fx", nullptr, VEXTORIA3_VERSION_STR,
                                  VEXTORIA3_SDK_VERSION_STR);
    return info;
}

const PClassInfo2& controllerClassInfo()
{
    static const PClassInfo2 info(Vst::kVextoria3ControllerUID, PClassInfo::kManyInstances,
                                  kVstComponentControllerClass, "VextoriaPROController", 0, "", nullptr,
                                  VEXTORIA3_VERSION_STR, VEXTORIA3_SDK_VERSION_STR);
    return info;
}

} // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    if (gPluginFactory != nullptr)
    {
        gPluginFactory->addRef();
        return gPluginFactory;
    }
    static const PFactoryInfo factoryInfo("Harlowmint", "https://www.harlowmint.com", "mailto:support@harlowmint.com",
                                          PFactoryInfo::kUnicode);
    gPluginFactory = new CPluginFactory(factoryInfo);
    gPluginFactory->registerClass(&processorClassInfo(), Vst::Vextoria3::createInstance);
    gPluginFactory->registerClass(&controllerClassInfo(), Vst::Vextoria3Controller::createInstance);
    return gPluginFactory;
}
