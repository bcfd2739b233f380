#include "host/MessageRelay.h"

namespace VextoriaHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API MessageRelay::notify(IMessage* message)
{
    if (!message)
        return kInvalidArgument;
    if (observer)
        observer->messageSent(direction, *message);
    return receiver ? receiver->notify(message) : kResultFalse;
}

tresult PLUGIN_API MessageRelay::queryInterface(const TUID iid, void** object)
{
    if (FUnknownPrivate::iidEqual(iid, IConnectionPoint::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *object = static_cast<IConnectionPoint*>(this);
        return kResultOk;
    }
    *object = nullptr;
    return kNoInterface;
}

}  // namespace VextoriaHost
