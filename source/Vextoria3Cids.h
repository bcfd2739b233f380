#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {
namespace Vst {

// Class ids of the two halves of the plug-in; the processor names the controller's id as
// its controller class, which is how a host pairs them.
inline const FUID kVextoria3ProcessorUID(0x5A3C71E2, 0x94B04D8F, 0xA61E2C07, 0x3DF9B518);
inline const FUID kVextoria3ControllerUID(0xC80E46B1, 0x2F7D4A93, 0xB5D1E87C, 0x60A4F29E);

} // namespace Vst
} // namespace Steinberg
