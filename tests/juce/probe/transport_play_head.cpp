#include "probe/transport_play_head.h"

#include <cmath>

namespace probe {

namespace {
constexpr int beatsPerBar = 4;
}

TransportPlayHead::TransportPlayHead(double tempo, double sampleRate, bool playing)
    : tempo(tempo), sampleRate(sampleRate), playing(playing)
{
    jassert(tempo > 0.0 && sampleRate > 0.0);
}

juce::Optional<juce::AudioPlayHead::PositionInfo> TransportPlayHead::getPosition() const
{
    const double seconds = static_cast<double>(positionSamples) / sampleRate;
    const double quarterNotes = seconds * tempo / 60.0;
    const double bars = std::floor(quarterNotes / beatsPerBar);

    PositionInfo position;
    position.setBpm(tempo);
    position.setTimeSignature(TimeSignature{beatsPerBar, 4});
    position.setTimeInSamples(positionSamples);
    position.setTimeInSeconds(seconds);
    position.setPpqPosition(quarterNotes);
    position.setPpqPositionOfLastBarStart(bars * beatsPerBar);
    position.setBarCount(static_cast<juce::int64>(bars));
    position.setIsPlaying(playing);
    return position;
}

}  // namespace probe
