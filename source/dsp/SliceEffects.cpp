#include "SliceEffects.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kSmootherMs = 60.0;      // cutoff glide
constexpr double kFollowerAttackMs = 10.0;
constexpr double kFollowerReleaseMs = 250.0;
constexpr double kLowestCutoff = 0.010000000707805157; // 0.01 as a float, widened
constexpr double kResonanceCap = 0.92; // without much envelope, higher resonance whistles

// Sets a reverb value only when it changed: each setter recomputes every comb.
template <typename Setter>
void updateIfChanged(float& current, float value, revmodel& reverb, Setter setter) noexcept
{
    if (current == value)
        return;
    current = value;
    (reverb.*setter)(value);
}
} // namespace

SliceEffects::SliceEffects(RandomGenerator& random) noexcept : filterL(random), filterR(random) {}

void SliceEffects::prepare(double sampleRate) noexcept
{
    if (!std::isfinite(sampleRate) || sampleRate <= 0.0)
        return;
    reverb.mute();
    filterL.clear_filter();
    filterR.clear_filter();
    cutoffSmoother.init(kSmootherMs, sampleRate);
    follower.setup(kFollowerAttackMs, kFollowerReleaseMs, static_cast<int32_t>(sampleRate));
}

void SliceEffects::setReverb(float newRoomSize, float newDamping, float newDry, float newWet) noexcept
{
    updateIfChanged(roomSize, newRoomSize, reverb, &revmodel::setroomsize);
    updateIfChanged(damping, newDamping, reverb, &revmodel::setdamp);
    updateIfChanged(dry, newDry, reverb, &revmodel::setdry);
    updateIfChanged(wet, newWet, reverb, &revmodel::setwet);
}

void SliceEffects::process(int32_t fxId, const Settings& settings, float& l, float& r) noexcept
{
    switch (fxId) {
    case kReverb:
        reverb.process(l, r);
        break;
    case kBitCrush:
        crusher.setReduceRate(settings.reduceRate);
        crusher.setDryWet(settings.reduceDryWet);
        crusher.process(l, r);
        break;
    case kHighPass:
        highPass(settings, l, r);
        break;
    default:
        break; // the pitch effects act inside the slice player
    }
}

double SliceEffects::cutoffTarget(const Settings& settings, double envelope) noexcept
{
    // A high cutoff with little envelope still gets some movement.
    float envAmount = settings.filterEnv;
    if (static_cast<double>(settings.filterCut) > 0.7) {
        const auto lifted = static_cast<float>(1.75 * (static_cast<double>(settings.filterCut) - 0.7));
        if (lifted > settings.filterEnv)
            envAmount = lifted;
    }
    const auto x = static_cast<float>(static_cast<double>(envAmount) * envelope * settings.filterOffset
                                      + static_cast<double>(settings.filterCut) * (1.0 - envAmount));
    if (x < 0.1f)
        return kLowestCutoff;
    if (x > 1.0f)
        return 1.0;
    return static_cast<double>(x * x);
}

float SliceEffects::resonance(const Settings& settings) noexcept
{
    if (settings.filterEnv < 0.5f && static_cast<double>(settings.filterRes) > kResonanceCap)
        return static_cast<float>(kResonanceCap);
    return std::clamp(settings.filterRes, 0.1f, 1.0f);
}

void SliceEffects::highPass(const Settings& settings, float& l, float& r) noexcept
{
    const double envelope = follower.process(l);
    const auto cutoff = static_cast<float>(cutoffSmoother.process(cutoffTarget(settings, envelope)));
    const float q = resonance(settings);
    l = filterL.work(l, cutoff, q, CHighLifeFilter::kHighPass);
    r = filterR.work(r, cutoff, q, CHighLifeFilter::kHighPass);
}
