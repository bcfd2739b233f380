#pragma once

#include <array>

#include "allpass.h"
#include "comb.h"

namespace reverbtuning
{
inline constexpr std::array<int, 8> kCombs {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617}; // samples, left
inline constexpr std::array<int, 4> kAllpasses {556, 441, 341, 225};                        // samples, left
inline constexpr int kStereoSpread = 23; // samples added to every right-channel delay

constexpr int totalDelaySamples() noexcept
{
    int total = 0;
    for (int size : kCombs)
        total += 2 * size + kStereoSpread;
    for (int size : kAllpasses)
        total += 2 * size + kStereoSpread;
    return total;
}
} // namespace reverbtuning

// Stereo reverb: eight parallel lowpass-feedback combs and four series allpasses per
// channel, with the classic public-domain tuning. All delay lines live inside the
// object (about 100 KB), so it never allocates; it is neither copied nor moved because
// its filters point into its own storage.
class revmodel
{
public:
    revmodel() noexcept;
    revmodel(const revmodel&) = delete;
    revmodel& operator=(const revmodel&) = delete;

    void mute() noexcept; // clears every delay line, except in freeze mode

    // One frame in place. Audio thread.
    void process(float& l, float& r) noexcept;
    // Block forms; skip is the stride between samples (2 for interleaved stereo).
    void processreplace(const float* inputL, const float* inputR, float* outputL, float* outputR,
                        long numsamples, int skip) noexcept;
    void processmix(const float* inputL, const float* inputR, float* outputL, float* outputR,
                    long numsamples, int skip) noexcept;

    // Parameters take and the getters return values 0..1.
    void setroomsize(float value) noexcept;
    float getroomsize() const noexcept;
    void setdamp(float value) noexcept;
    float getdamp() const noexcept;
    void setwet(float value) noexcept;
    float getwet() const noexcept;
    void setdry(float value) noexcept;
    float getdry() const noexcept;
    void setwidth(float value) noexcept;
    float getwidth() const noexcept;
    void setmode(float value) noexcept; // freeze at 0.5 and above
    float getmode() const noexcept;     // 1 in freeze mode, else 0

    // Samples for the ring of a reverb at room size (0..1) to fall by attenuation (a factor
    // below 1): the longest comb's loop, as many times as its feedback needs. Any thread.
    static double decaySamples(float roomSize, double attenuation) noexcept;

    static constexpr int kNumCombs = static_cast<int>(reverbtuning::kCombs.size());
    static constexpr int kNumAllpasses = static_cast<int>(reverbtuning::kAllpasses.size());

private:
    struct Wet
    {
        float left;
        float right;
    };
    Wet processWet(float inputL, float inputR) noexcept;
    void update() noexcept;
    bool frozen() const noexcept;

    float gain = 0.0f;      // input gain, 0 while frozen
    float roomsize = 0.0f;  // scaled, 0.7..0.98
    float roomsize1 = 0.0f; // comb feedback in force
    float damp = 0.0f;      // scaled, 0..0.4
    float damp1 = 0.0f;     // comb damping in force
    float wet = 0.0f;       // scaled, 0..3
    float wet1 = 0.0f;      // same-side wet gain
    float wet2 = 0.0f;      // cross-side wet gain
    float dry = 0.0f;       // scaled, 0..2
    float width = 0.0f;     // 0..1
    float mode = 0.0f;      // freeze at 0.5 and above

    std::array<comb, kNumCombs> combL;
    std::array<comb, kNumCombs> combR;
    std::array<allpass, kNumAllpasses> allpassL;
    std::array<allpass, kNumAllpasses> allpassR;
    std::array<float, reverbtuning::totalDelaySamples()> delayStorage {}; // every filter's delay line, back to back
};

// One "dry/wet" control, 0..1: the dry level stays 1 up to the middle and falls to 0,
// the wet level rises to 1.5.
void setReverbDryWet(revmodel& reverb, float mix) noexcept;
