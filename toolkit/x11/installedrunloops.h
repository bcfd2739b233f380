// The toolkit's run loop follows the open frames: each open installs its frame's loop, each
// close reinstalls the loop of the latest frame still open, or what was there before.
#pragma once

#include "runloop.h"

namespace VSTGUI {
namespace X11 {

class InstalledRunLoops
{
public:
    static void push(IRunLoop* runLoop);
    // Removes the latest entry of `runLoop`; nothing when it is not there.
    static void remove(IRunLoop* runLoop);
};

} // namespace X11
} // namespace VSTGUI
