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

static_assert(StretchFeed::kChunkSize % StretchFeed::kPieceSize == 0);

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
    if (shift >= -TimeStretcher::kMaxSemitones && shift <= TimeStretcher::kMaxSemitones)
        semitones = shift;
}

void StretchFeed::push(float left, float right, bool stretchMode, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept
{
    // Each piece is fed a whole chunk after its first sample was recorded: its chunk is
    // complete by then, with the transposition that holds for it.
    if (pushed >= kChunkSize && pushed % kPieceSize == 0) {
        if (pushed % kChunkSize == 0)
            startChunk(stretchMode);
        feedPiece(pushed - kChunkSize, outLeft, outRight);
    }
    const auto slot = static_cast<size_t>(pushed % kGathered);
    gathered[0][slot] = left;
    gathered[1][slot] = right;
    ++pushed;
}

bool StretchFeed::holdsStretched(int64_t start, int64_t lowest, uint32_t stretchedWriteIndex) const noexcept
{
    const int64_t latency = getLatency();
    const int64_t startBehind = ringDistance(start + latency, stretchedWriteIndex);
    const int64_t lowestBehind = ringDistance(lowest + latency, stretchedWriteIndex);
    // The first latency samples of a run are what the idle stretcher still held.
    return startBehind >= kPieceSize && lowestBehind >= startBehind && lowestBehind <= stretchedRun - latency;
}

void StretchFeed::startChunk(bool stretchMode) noexcept
{
    chunkStretched = stretchMode;
    stretcher.setSemitones(semitones);
}

void StretchFeed::feedPiece(int64_t first, AudioBuffer& outLeft, AudioBuffer& outRight) noexcept
{
    if (!chunkStretched) {
        stretchedRun = 0;
        outLeft.skip(kPieceSize);
        outRight.skip(kPieceSize);
        return;
    }
    const auto slot = static_cast<size_t>(first % kGathered); // a piece never wraps: kGathered is a multiple
    const float* const in[2] = {&gathered[0][slot], &gathered[1][slot]};
    float* const out[2] = {output[0], output[1]};
    stretcher.process(in, out);
    for (int32_t i = 0; i < kPieceSize; ++i) {
        outLeft.write(output[0][i]);
        outRight.write(output[1][i]);
    }
    // Capped at a ring: older material has been overwritten anyway.
    stretchedRun = std::min<int64_t>(stretchedRun + kPieceSize, AudioBuffer::size);
}
