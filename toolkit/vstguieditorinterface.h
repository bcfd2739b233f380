// What the frame needs from the editor that owns it: gestures on parameters.
#pragma once

#include "vstguibase.h"

namespace VSTGUI {

class CFrame;

class VSTGUIEditorInterface
{
public:
    virtual ~VSTGUIEditorInterface() = default;
    // A control with tag `index` starts or ends a user gesture.
    virtual void beginEdit(int32 /*index*/) {}
    virtual void endEdit(int32 /*index*/) {}
    virtual CFrame* getFrame() const { return frame; }

protected:
    CFrame* frame = nullptr;
};

} // namespace VSTGUI
