// How a frame is told which window to live in.
#pragma once

#include "runloop.h"

namespace VSTGUI {

enum class PlatformType
{
    kX11EmbedWindowID, // the parent is an X11 window id
};

class IPlatformFrameConfig
{
public:
    virtual ~IPlatformFrameConfig() = default;
};

namespace X11 {

// The run loop that drives the frame's window and the toolkit's timers while it is open.
struct FrameConfig : IPlatformFrameConfig
{
    SharedPointer<IRunLoop> runLoop;
};

} // namespace X11
} // namespace VSTGUI
