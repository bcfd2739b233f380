#include "RestartThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

#include "pluginterfaces/base/smartpointer.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

struct RestartThread::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    IPtr<IComponentHandler> handler; // set while a call waits
    int32 flags = 0;
    bool stopping = false;
};

namespace {
// Long enough for the host's call that asked to return, short against the 100 ms a user waits
// for the host's controls to follow; requests meanwhile join the call.
constexpr std::chrono::milliseconds kDelay {20};
} // namespace

RestartThread::~RestartThread()
{
    cancel();
}

void RestartThread::request(IComponentHandler* handler, int32 flags)
{
    if (!shared)
        shared = std::make_shared<Shared>();
    {
        const std::lock_guard lock(shared->mutex);
        shared->handler = handler;
        shared->flags |= flags;
    }
    shared->wake.notify_all();
    if (thread.joinable())
        return;
    try {
        thread = std::thread(run, shared);
    } catch (const std::system_error&) {
        // No thread to spare: the call waits for a later request to start one.
    }
}

bool RestartThread::cancel()
{
    if (!shared)
        return false;
    bool waiting = false;
    {
        const std::lock_guard lock(shared->mutex);
        waiting = shared->handler != nullptr;
        shared->handler = nullptr;
        shared->flags = 0;
        shared->stopping = true;
    }
    shared->wake.notify_all();
    // A host may let go of the controller inside the call this thread makes: the thread then
    // ends when that call returns, on the state it shares.
    if (thread.joinable() && thread.get_id() == std::this_thread::get_id())
        thread.detach();
    else if (thread.joinable())
        thread.join();
    shared.reset();
    return waiting;
}

void RestartThread::run(std::shared_ptr<Shared> shared)
{
    std::unique_lock lock(shared->mutex);
    auto stopping = [&] { return shared->stopping; };
    while (true) {
        shared->wake.wait(lock, [&] { return shared->stopping || shared->handler; });
        if (shared->wake.wait_for(lock, kDelay, stopping))
            return;
        IPtr<IComponentHandler> target = shared->handler;
        shared->handler = nullptr;
        const int32 flags = std::exchange(shared->flags, 0);
        lock.unlock();
        target->restartComponent(flags);
        target = nullptr; // the host's handler is never called or released under the lock
        lock.lock();
    }
}
