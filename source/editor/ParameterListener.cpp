#include "ParameterListener.h"

#include "Vextoria3Editor.h"
#include "public.sdk/source/vst/vstparameters.h"

using namespace Steinberg;

void PLUGIN_API ParameterListener::update(FUnknown* changedUnknown, int32 message)
{
    if (message != IDependent::kChanged || !editor)
        return;
    // Parameters and every class derived from them; other senders are ignored.
    if (auto* parameter = FCast<Vst::Parameter>(changedUnknown))
        editor->setParameter(int32(parameter->getInfo().id), parameter->getNormalized());
}
