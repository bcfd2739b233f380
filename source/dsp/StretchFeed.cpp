#include "StretchFeed.h"

#include <algorithm>

namespace {
// Signed distance from index from forward to the ring index to, within half a ring: a
// position ahead of the write index comes out negative instead of as old audio.
int64_t ringDistance(int64_t from, uint32_t to) noexcept
{
    const auto distance = static_cast<int64_t>((static_cast<uint64_t>(to) - static_cast<uint64_t>(from)) & AudioBuffer::mask);
    return distance >= AudioBuffer::size / 2 ? distance - AudioBuffer::size : distance;
}
} // namespace

bool StretchFeed::setSamplerate(double sampleRate)
{
    const double previous = stretcher.samplerate();
    if (!stretcher.setSamplerate(sampleRate))
        return false;
    if (stretcher.samplerate() != previous)
        stretchedRun = 0; // the stretcher was cleared: what it wrote before no longer lines up
    return true;
}

void StretchFeed::setSemitones(int32_t shift) noexcept
{
    if (stretcher.setSemitones(shift))
        semitones = shift;
}

void StretchFeed::push(float left, float right, bool stretchMode, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept
{
    if (fill == kBlockSize) {
        fill = 0;
        processBlock(stretchMode);
        for (int32_t i = 0; i < kBlockSize; ++i) {
            outLeft.write(output[0][i]);
            outRight.write(output[1][i]);
        }
    }
    input[0][fill] = left;
    input[1][fill] = right;
    ++fill;
}

bool StretchFeed::holdsStretched(int64_t start, int64_t lowest, uint32_t stretchedWriteIndex) const noexcept
{
    const int64_t latency = getLatency();
    const int64_t startBehind = ringDistance(start + latency, stretchedWriteIndex);
    const int64_t lowestBehind = ringDistance(lowest + latency, stretchedWriteIndex);
    // The first latency samples of a run are what the idle stretcher still held.
    return startBehind >= kBlockSize && lowestBehind >= startBehind && lowestBehind <= stretchedRun - latency;
}

void StretchFeed::processBlock(bool stretchMode) noexcept
{
    if (!stretchMode) {
        stretchedRun = 0;
        for (int32_t channel = 0; channel < 2; ++channel)
            std::copy_n(input[channel], kBlockSize, output[channel]);
        return;
    }
    const float* const in[2] = {input[0], input[1]};
    float* const out[2] = {output[0], output[1]};
    stretcher.process(in, out);
    // Capped at a ring: older material has been overwritten anyway.
    stretchedRun = std::min<int64_t>(stretchedRun + kBlockSize, AudioBuffer::size);
}
