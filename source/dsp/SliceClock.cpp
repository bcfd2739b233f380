#include "SliceClock.h"

#include <cmath>

#include "TransportLimits.h"

namespace {
// A block continues the previous one when it starts within half a sample of where that
// one ended; hosts round their musical position, so exact equality is too strict.
constexpr double kContinuityTolerance = 0.5; // samples
constexpr double kFirstSampleWindow = 1.01;  // samples after a start that still count as on it

// Samples since the last multiple of length; a position before the project start (a
// host's pre-roll) counts back from the next multiple instead of going negative.
double samplesSinceStart(double position, double length) noexcept
{
    const double remainder = std::fmod(position, length);
    return remainder < 0.0 ? remainder + length : remainder;
}
} // namespace

bool SliceClock::continues(double quarterNotes, double samplesPerBeat, bool playing) const noexcept
{
    if (!running || playing != wasPlaying)
        return false;
    return std::fabs(quarterNotes - nextQuarters) * samplesPerBeat < kContinuityTolerance;
}

void SliceClock::beginBlock(double quarterNotes, double samplesPerBeat, int32_t slicesPerBeat, bool playing,
                            int32_t pendingSlices) noexcept
{
    const double newBarLen = 4.0 * samplesPerBeat;
    const double newSliceLen = samplesPerBeat / slicesPerBeat;
    if (continues(quarterNotes, samplesPerBeat, playing)) {
        // Carry the positions on, rescaled when the tempo changed, so a boundary the last
        // block handled is not handled again and none is started where there is none.
        const double scale = samplesPerBeat / blockSamplesPerBeat;
        slicePos *= scale;
        beatPos *= scale;
        barPos *= scale;
        firstSample = false;
    } else {
        const double position = quarterNotes * samplesPerBeat;
        slicePos = samplesSinceStart(position, newSliceLen);
        beatPos = samplesSinceStart(position, samplesPerBeat);
        barPos = samplesSinceStart(position, newBarLen);
        firstSample = barPos < kFirstSampleWindow || beatPos < kFirstSampleWindow || slicePos < kFirstSampleWindow;
    }
    sliceLen = newSliceLen;
    barLen = newBarLen;
    blockSlicesPerBeat = slicesPerBeat;
    pendingSlicesPerBeat = pendingSlices > 0 ? pendingSlices : slicesPerBeat;
    blockStartSample = saturatingCast<int64_t>(quarterNotes * samplesPerBeat);
    samplesIntoBlock = 0;
    blockStartQuarters = quarterNotes;
    blockSamplesPerBeat = samplesPerBeat;
    wasPlaying = playing;
    running = true;
}

SliceClock::Starts SliceClock::step() noexcept
{
    Starts starts;
    if (barPos >= barLen) {
        barPos -= barLen;
        starts.bar = true;
    } else {
        starts.bar = barPos < 1.0 || firstSample;
    }
    if (beatPos >= blockSamplesPerBeat) {
        beatPos -= blockSamplesPerBeat;
        starts.beat = true;
    } else {
        starts.beat = beatPos < 1.0 || firstSample;
    }
    if (starts.beat && pendingSlicesPerBeat != blockSlicesPerBeat) {
        takePendingSliceCount();
        starts.slicesPerBeatChanged = true;
    }
    if (slicePos >= sliceLen) {
        slicePos -= sliceLen;
        starts.slice = true;
    } else {
        starts.slice = slicePos < 1.0 || firstSample;
    }
    firstSample = false;
    ++samplesIntoBlock;
    slicePos += 1.0;
    beatPos += 1.0;
    barPos += 1.0;
    return starts;
}

// The slice grid restarts from the project start, so the new slices line up with the beat.
void SliceClock::takePendingSliceCount() noexcept
{
    sliceLen = blockSamplesPerBeat / pendingSlicesPerBeat;
    slicePos = samplesSinceStart(static_cast<double>(saturatingAdd(blockStartSample, samplesIntoBlock)), sliceLen);
}

void SliceClock::endBlock(int32_t sampleCount) noexcept
{
    nextQuarters = blockStartQuarters + sampleCount / blockSamplesPerBeat;
}

void SliceClock::reset() noexcept
{
    running = false;
}
