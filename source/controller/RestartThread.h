#pragma once
#include <memory>
#include <thread>

#include "pluginterfaces/vst/ivsteditcontroller.h"

// Calls handler->restartComponent(flags) from a thread of the controller's own, a moment after
// it is asked, for hosts that offer no run loop. A host that holds a lock around its
// setParamNormalized call and takes it again in restartComponent then only waits until its
// call has returned. Requests and cancel come from the host's UI thread; the thread starts
// with the first request and ends in cancel.
class RestartThread {
public:
    RestartThread() = default;
    ~RestartThread(); // cancel()
    RestartThread(const RestartThread&) = delete;
    RestartThread& operator=(const RestartThread&) = delete;

    // Flags asked for while a call waits join that call; a request made while a call runs gets
    // a call of its own after it, so the host always reads values at least as new as the request.
    void request(Steinberg::Vst::IComponentHandler* handler, Steinberg::int32 flags);
    // Drops a waiting call and ends the thread; true when a call was waiting. A call under way
    // is waited for, so the host must not hold the lock its restartComponent takes meanwhile.
    bool cancel();

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared; // the thread keeps it too: it may end after its owner
    std::thread thread;
};
