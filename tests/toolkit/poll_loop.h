// A small run loop built on poll(), standing in for a host's loop in tests: descriptor
// handlers and timers, each kept under an owner key and dispatched by run passes.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <poll.h>
#include <vector>

namespace TestRunLoop {

class PollLoop
{
public:
    void addDescriptor(const void* owner, int fd, std::function<void()> onReady)
    {
        descriptors.push_back({owner, fd, std::move(onReady)});
    }
    void addTimer(const void* owner, uint64_t intervalMs, std::function<void()> onTimer)
    {
        timers.push_back({owner, intervalMs, now() + intervalMs, std::move(onTimer)});
    }
    // Removes the first entry of `owner`; false when there is none.
    bool removeDescriptor(const void* owner) { return removeFirst(descriptors, owner); }
    bool removeTimer(const void* owner) { return removeFirst(timers, owner); }
    size_t descriptorCount() const { return descriptors.size(); }
    size_t timerCount() const { return timers.size(); }

    // Waits up to `timeoutMs` for a ready descriptor, then calls the ready handlers and the due
    // timers. Entries removed meanwhile are not called.
    void runOnce(int timeoutMs)
    {
        std::vector<pollfd> fds;
        for (auto& d : descriptors)
            fds.push_back({d.fd, POLLIN, 0});
        const auto keys = ownersOf(descriptors);
        poll(fds.data(), fds.size(), timeoutMs);
        for (size_t i = 0; i < fds.size(); ++i)
            if (fds[i].revents != 0)
                callIfStillThere(descriptors, keys[i]);
        for (const void* owner : ownersOf(timers))
        {
            auto it = find(timers, owner);
            if (it == timers.end() || it->due > now())
                continue;
            it->due = now() + it->interval;
            auto call = it->call;
            call();
        }
    }
    // Runs passes until `done` answers true or `limitMs` have passed; answers `done`.
    bool runUntil(const std::function<bool()>& done, int limitMs = 3000)
    {
        const uint64_t end = now() + uint64_t(limitMs);
        while (!done() && now() < end)
            runOnce(10);
        return done();
    }
    // Runs passes for `durationMs`: lets whatever is in flight arrive.
    void runFor(int durationMs)
    {
        runUntil([] { return false; }, durationMs);
    }

private:
    struct Entry
    {
        const void* owner;
        int fd;
        std::function<void()> call;
    };
    struct Timer
    {
        const void* owner;
        uint64_t interval, due; // ms
        std::function<void()> call;
    };

    static uint64_t now()
    {
        using namespace std::chrono;
        return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    template <typename List>
    static typename List::iterator find(List& list, const void* owner)
    {
        return std::find_if(list.begin(), list.end(), [owner](const auto& e) { return e.owner == owner; });
    }
    template <typename List>
    static bool removeFirst(List& list, const void* owner)
    {
        auto it = find(list, owner);
        if (it == list.end())
            return false;
        list.erase(it);
        return true;
    }
    template <typename List>
    static std::vector<const void*> ownersOf(const List& list)
    {
        std::vector<const void*> owners;
        for (auto& e : list)
            owners.push_back(e.owner);
        return owners;
    }
    template <typename List>
    static void callIfStillThere(List& list, const void* owner)
    {
        auto it = find(list, owner);
        if (it == list.end())
            return;
        auto call = it->call; // the handler may unregister itself
        call();
    }

    std::vector<Entry> descriptors;
    std::vector<Timer> timers;
};

} // namespace TestRunLoop
