// Hears every value change of the controller's parameters (as a dependent of each one) and
// pushes it into the open editor. UI thread only.
#pragma once

#include "base/source/fobject.h"

class Vextoria3Editor;

class ParameterListener : public Steinberg::FObject
{
public:
    ParameterListener() = default;

    // The SDK's dependent callback: a kChanged from a parameter reaches the editor's
    // setParameter with the parameter's id and its current normalised value.
    void PLUGIN_API update(Steinberg::FUnknown* changedUnknown, Steinberg::int32 message) override;

    Vextoria3Editor* editor = nullptr; // not owned; set while the editor is open

    OBJ_METHODS(ParameterListener, FObject)
};
