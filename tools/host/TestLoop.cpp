#include "host/TestLoop.h"

#include "host/HostError.h"

#include <cmath>
#include <numbers>

namespace VextoriaHost {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A small fixed-seed generator: the loop must be the same on every machine and run.
class NoiseSource {
public:
    float next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.f;
    }

private:
    uint32_t state = 0x2545F491u;
};

// Adds one hit starting at frame start into the given channels with per-channel gains.
template <typename Voice>
void addHit(AudioClip& clip, int64_t start, double lengthSeconds, const float* gains, Voice voice)
{
    const int64_t length = static_cast<int64_t>(lengthSeconds * clip.sampleRate);
    for (int64_t i = 0; i < length && start + i < clip.frames(); ++i) {
        const float value = voice(static_cast<double>(i) / clip.sampleRate);
        for (int32_t c = 0; c < clip.channelCount(); ++c)
            clip.channels[static_cast<size_t>(c)][static_cast<size_t>(start + i)] += gains[c] * value;
    }
}

}  // namespace

AudioClip generateDrumLoop(const LoopSettings& settings)
{
    if (settings.channels < 1 || settings.channels > 2 || settings.bars < 1 || !(settings.tempo > 0.0) ||
        !(settings.sampleRate > 0.0))
        throw HostError("a test loop needs 1 or 2 channels, at least one bar, and a positive tempo and rate");
    const double samplesPerBeat = settings.sampleRate * 60.0 / settings.tempo;
    const int32_t beats = settings.bars * 4;
    AudioClip clip(settings.channels, static_cast<int64_t>(std::ceil(samplesPerBeat * beats)), settings.sampleRate);
    const bool stereo = settings.channels == 2;
    const float centre[2] = {1.f, 1.f};
    const float right[2] = {stereo ? 0.5f : 1.f, 1.f};
    const float left[2] = {1.f, stereo ? 0.5f : 1.f};
    const double toneHz[4] = {220.0, 277.18, 329.63, 440.0};
    NoiseSource noise;

    for (int32_t beat = 0; beat < beats; ++beat) {
        const int64_t start = static_cast<int64_t>(beat * samplesPerBeat);
        if (beat % 2 == 0) {
            // Kick: a sine falling from 120 Hz towards 50 Hz; the phase is the integral of that sweep.
            addHit(clip, start, 0.25, centre, [](double t) {
                const double phase = kTwoPi * (50.0 * t + 70.0 * 0.03 * (1.0 - std::exp(-t / 0.03)));
                return static_cast<float>(0.5 * std::exp(-t / 0.08) * std::sin(phase));
            });
        } else {
            addHit(clip, start, 0.15, centre, [&noise](double t) {
                const double body = 0.3 * noise.next() + 0.2 * std::sin(kTwoPi * 180.0 * t);
                return static_cast<float>(0.8 * std::exp(-t / 0.04) * body);
            });
        }
        addHit(clip, start, 0.2, left, [&](double t) {
            return static_cast<float>(0.15 * std::exp(-t / 0.06) * std::sin(kTwoPi * toneHz[beat % 4] * t));
        });
        for (int32_t eighth = 0; eighth < 2; ++eighth) {
            addHit(clip, start + static_cast<int64_t>(eighth * samplesPerBeat / 2), 0.004, right,
                   [&noise](double t) { return static_cast<float>(0.2 * std::exp(-t / 0.001) * noise.next()); });
        }
    }
    return clip;
}

float positionSample(int64_t frameIndex)
{
    const int64_t code = ((frameIndex % kPositionPeriod) + kPositionPeriod) % kPositionPeriod;
    return static_cast<float>(code) / static_cast<float>(kPositionPeriod / 2) - 1.f;
}

int64_t positionOfSample(float value)
{
    const double code = std::round((static_cast<double>(value) + 1.0) * static_cast<double>(kPositionPeriod / 2));
    return (static_cast<int64_t>(code) % kPositionPeriod + kPositionPeriod) % kPositionPeriod;
}

AudioClip generatePositionSignal(int64_t frames, int32_t channels, double sampleRate)
{
    if (channels < 1 || channels > 2 || frames < 0)
        throw HostError("a position signal needs 1 or 2 channels and a frame count of 0 or more");
    AudioClip clip(channels, frames, sampleRate);
    for (auto& channel : clip.channels)
        for (int64_t i = 0; i < frames; ++i)
            channel[static_cast<size_t>(i)] = positionSample(i);
    return clip;
}

}  // namespace VextoriaHost
