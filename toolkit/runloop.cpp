#include "runloop.h"

#include <chrono>

namespace VSTGUI {
namespace X11 {

namespace {
SharedPointer<IRunLoop>& installedRunLoop()
{
    static SharedPointer<IRunLoop> runLoop;
    return runLoop;
}
} // namespace

void RunLoop::init(IRunLoop* runLoop) { installedRunLoop() = runLoop; }

void RunLoop::exit() { installedRunLoop().reset(); }

IRunLoop* RunLoop::get() { return installedRunLoop().get(); }

} // namespace X11

namespace {
TimeSource& timeSource()
{
    static TimeSource source;
    return source;
}
} // namespace

uint64_t getPlatformTime()
{
    if (timeSource())
        return timeSource()();
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void setPlatformTimeSource(TimeSource source) { timeSource() = std::move(source); }

} // namespace VSTGUI
