#pragma once

#include <array>
#include <vector>

// Fixed-capacity first-in first-out queue of stereo frames. Only reserve() allocates;
// when full, the oldest frames give way to the newest.
class StereoFifo
{
public:
    static constexpr int kChannels = 2;

    void reserve(int frames); // set-up thread; also empties the queue
    void clear() noexcept;

    int size() const noexcept { return count; }                       // frames queued
    int capacity() const noexcept { return static_cast<int>(ring[0].size()); }

    void pushSilence(int frames) noexcept;
    // Queues the newest frames again, over and over when fewer are queued than asked
    // for; silence when nothing is queued.
    void repeatNewest(int frames) noexcept;
    void push(const float* const* frames, int numFrames) noexcept;
    // Removes up to numFrames frames into out; returns how many it removed.
    int pop(float* const* out, int numFrames) noexcept;

private:
    void pushFrame(float left, float right) noexcept;

    std::array<std::vector<float>, kChannels> ring; // frames, one ring per channel
    int readIndex = 0;
    int count = 0;
};
