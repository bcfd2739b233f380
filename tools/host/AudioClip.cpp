#include "host/AudioClip.h"

#include <cmath>

namespace VextoriaHost {

AudioClip::AudioClip(int32_t channelCount, int64_t frames, double rate)
    : sampleRate(rate), channels(static_cast<size_t>(channelCount), std::vector<float>(static_cast<size_t>(frames), 0.f))
{
}

Levels measureLevels(const AudioClip& clip)
{
    Levels levels;
    double sumOfSquares = 0.0;
    for (const auto& channel : clip.channels) {
        for (float sample : channel) {
            levels.peak = std::max(levels.peak, std::fabs(sample));
            sumOfSquares += static_cast<double>(sample) * sample;
        }
    }
    const double count = static_cast<double>(clip.frames()) * clip.channelCount();
    levels.rms = count > 0 ? static_cast<float>(std::sqrt(sumOfSquares / count)) : 0.f;
    return levels;
}

}  // namespace VextoriaHost
