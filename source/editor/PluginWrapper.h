// The editor's one road to the edit controller: parameter values in and out, the seven
// hidden settings, the host's name and messages to the processor. Every operation is a
// no-op with a neutral answer (0, 0.0, false, "") without a controller. UI thread only.
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"
#include <string>

class PluginWrapper
{
public:
    explicit PluginWrapper(Steinberg::Vst::EditController* controller);

    // The normalised value of parameter `id`; 0.0 for an id without a parameter.
    double getParameter(Steinberg::int32 id) const;
    // Stores the value in the controller (clamped there) and performs the stored value
    // towards the host. False for an id without a parameter or a value that is not finite
    // (nothing is sent), and when the host refuses the edit (the controller keeps it).
    bool setParameterAutomated(Steinberg::int32 id, double value);

    // Hidden setting `index` (0..6); 0.0 outside.
    double getHiddenParameter(Steinberg::int32 index) const;
    // Stores a hidden setting and echoes it to the open editor; false, changing nothing, for
    // an index outside 0..6 or a value outside 0..1.
    bool setHiddenParameter(Steinberg::int32 index, double value);

    // The host application's name as UTF-8; "" when the host does not tell it.
    std::string getHostName() const;

    // Messages to the processor, whose one attribute is named by `command`.
    void sendBinaryMessage(const char* command, const void* data, Steinberg::uint32 size);
    void sendIntMessage(const char* command, Steinberg::int64 value);
    void sendFloatMessage(const char* command, float value);
    void sendStringMessage(const char* command, const std::string& text);

private:
    Steinberg::Vst::EditController* controller; // not owned; outlives the editor
};
