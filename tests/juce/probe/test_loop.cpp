#include "probe/test_loop.h"

#include <cmath>

namespace probe {

namespace {

constexpr juce::int64 noiseSeed = 20240601;
constexpr double kickHz = 55.0;
constexpr double toneHz = 220.0;

// One beat: a decaying low thump, plus a short noise tick on the off-beat eighth.
float beatSample(double secondsIntoBeat, double beatSeconds, int channel, juce::Random& noise)
{
    const double thump = std::sin(juce::MathConstants<double>::twoPi * kickHz * secondsIntoBeat)
                         * std::exp(-secondsIntoBeat * 12.0);
    const double tone = 0.2 * std::sin(juce::MathConstants<double>::twoPi * toneHz * (channel + 1) * secondsIntoBeat);
    const double offBeat = secondsIntoBeat - beatSeconds / 2.0;
    const double tick = offBeat >= 0.0 ? (noise.nextFloat() * 2.0 - 1.0) * std::exp(-offBeat * 60.0) * 0.3 : 0.0;
    return static_cast<float>(0.5 * thump + tone + tick);
}

}  // namespace

juce::AudioBuffer<float> makeTestLoop(int numChannels, double sampleRate, double tempo, double seconds)
{
    jassert(numChannels >= 1 && sampleRate > 0.0 && tempo > 0.0 && seconds >= 0.0);
    const auto length = static_cast<int>(seconds * sampleRate);
    const double beatSeconds = 60.0 / tempo;
    juce::AudioBuffer<float> loop(numChannels, length);
    for (int channel = 0; channel < numChannels; ++channel) {
        juce::Random noise(noiseSeed + channel);
        auto* samples = loop.getWritePointer(channel);
        for (int i = 0; i < length; ++i) {
            const double time = i / sampleRate;
            samples[i] = beatSample(std::fmod(time, beatSeconds), beatSeconds, channel, noise);
        }
    }
    return loop;
}

}  // namespace probe
