#pragma once
#include <cstdint>

#include "BitReduzer.h"
#include "CHighLifeFilter.h"
#include "CParamSmooth.h"
#include "EnvelopeFollower.h"
#include "revmodel.h"

class RandomGenerator;

// The effect stage a slice may run: the reverb, the rate reducer or the high-pass filter
// whose cutoff follows the slice's envelope. The pitch effects live in the slice player.
class SliceEffects {
public:
    enum EffectId : int32_t { kReverb = 0, kBitCrush = 1, kHighPass = 2, kPitchFx = 3, kNoneEligible = 4 };

    // Parameter values the stage reads, taken once per block (0..1 each).
    struct Settings {
        float reduceRate = 0.0f, reduceDryWet = 0.0f;
        float filterCut = 0.0f, filterRes = 0.0f, filterEnv = 0.0f;
        float filterOffset = 0.0f; // cutoff offset drawn at the slice start
    };

    // The filters draw their noise from random, which must outlive the stage.
    explicit SliceEffects(RandomGenerator& random) noexcept;
    SliceEffects(const SliceEffects&) = delete;
    SliceEffects& operator=(const SliceEffects&) = delete;

    // Set-up at activation: clears the reverb and the filters, sets the rate-dependent
    // coefficients. Rates that are not finite and above 0 change nothing.
    void prepare(double sampleRate) noexcept;
    // Block start, audio thread: reverb room, damping (0..1), dry and wet levels (0..0.5).
    // Only changed values reach the reverb.
    void setReverb(float roomSize, float damping, float dry, float wet) noexcept;

    // One frame in place through effect fxId; ids without a frame effect pass it on.
    void process(int32_t fxId, const Settings& settings, float& l, float& r) noexcept;

    // The filter cutoff (0.01..1, before smoothing) and resonance for one frame.
    static double cutoffTarget(const Settings& settings, double envelope) noexcept;
    static float resonance(const Settings& settings) noexcept;

private:
    void highPass(const Settings& settings, float& l, float& r) noexcept;

    revmodel reverb;
    BitReduzer crusher;
    CHighLifeFilter filterL, filterR;
    CParamSmooth cutoffSmoother{4.0, 44100.0}; // re-timed to 60 ms by prepare
    EnvelopeFollower follower;                 // follows the left channel
    float roomSize = -1.0f, damping = -1.0f, dry = -1.0f, wet = -1.0f; // as given to the reverb
};
