#pragma once

namespace Steinberg {

class Timer;

// Receiver of a periodic tick. The plug-in's ticks come from the editor's idle loop, so
// the timer argument may be nullptr.
class ITimerCallback
{
public:
    virtual ~ITimerCallback() = default;
    virtual void onTimer(Timer* timer) = 0;
};

} // namespace Steinberg
