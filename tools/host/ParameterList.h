#pragma once
// The parameters an edit controller publishes, as a host lists them for the user.

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VextoriaHost {

struct ParameterLine {
    Steinberg::Vst::ParamID id = 0;
    std::string title;
    std::string units;
    int32_t stepCount = 0;
    double defaultValue = 0.0;  // normalised, 0..1
    std::string defaultText;    // the controller's text of the default
};

// Every parameter in the controller's order; a parameter whose info is refused is left out.
std::vector<ParameterLine> listParameters(Steinberg::Vst::IEditController& controller);

// The controller's text of a parameter at a normalised value; empty when it gives none.
std::string valueText(Steinberg::Vst::IEditController& controller, Steinberg::Vst::ParamID id, double value);

// One line: id, title, units, steps, default and its text, separated by tabs.
std::string formatParameterLine(const ParameterLine& parameter);

}  // namespace VextoriaHost
