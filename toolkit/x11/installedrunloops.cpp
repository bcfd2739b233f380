#include "installedrunloops.h"

#include <algorithm>
#include <vector>

namespace VSTGUI {
namespace X11 {

namespace {
struct Installed
{
    std::vector<SharedPointer<IRunLoop>> frameLoops; // oldest first
    SharedPointer<IRunLoop> before;                  // installed before the first frame opened
};

Installed& installed()
{
    static Installed state;
    return state;
}
} // namespace

void InstalledRunLoops::push(IRunLoop* runLoop)
{
    Installed& state = installed();
    if (state.frameLoops.empty())
        state.before = RunLoop::get();
    state.frameLoops.emplace_back(runLoop);
    RunLoop::init(runLoop);
}

void InstalledRunLoops::remove(IRunLoop* runLoop)
{
    Installed& state = installed();
    auto& loops = state.frameLoops;
    auto found = std::find(loops.rbegin(), loops.rend(), runLoop);
    if (found == loops.rend())
        return;
    loops.erase(std::next(found).base());
    if (!loops.empty())
        RunLoop::init(loops.back().get());
    else
    {
        RunLoop::init(state.before.get());
        state.before.reset();
    }
}

} // namespace X11
} // namespace VSTGUI
