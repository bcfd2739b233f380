#include "Slice.h"

#include <algorithm>
#include <cmath>

#include "TransportLimits.h"

namespace {
constexpr double kDefaultSamplesPerBeat = 22050.0;
constexpr int32_t kMaxSemitones = 12; // the widest shift the engine asks for
constexpr double kScratchLevel = 0.65;  // the scratch curve's fast backward part is loud
} // namespace

Slice::Slice()
{
    sliceSpb.fill(kDefaultSamplesPerBeat);
    prevSliceSpb.fill(kDefaultSamplesPerBeat);
    frozenSliceSpb.fill(kDefaultSamplesPerBeat);
}

void Slice::setSamplerate(double sampleRate)
{
    stretchFeed.setSamplerate(sampleRate);
}

void Slice::setSamplePerBeat(double newSamplesPerBeat) noexcept
{
    if (std::isfinite(newSamplesPerBeat) && newSamplesPerBeat > 0.0)
        samplesPerBeat = newSamplesPerBeat;
}

void Slice::record(float left, float right) noexcept
{
    if (frozen) {
        // Before the write: the capture keeps what the recorder is about to overwrite.
        frozenL.saveBeforeWrite(liveL);
        frozenR.saveBeforeWrite(liveR);
    }
    liveL.write(left);
    liveR.write(right);
}

void Slice::processStretch() noexcept
{
    const int64_t justRecorded = static_cast<int64_t>(liveL.getWriteIndex()) - 1;
    stretchFeed.push(liveL.read(justRecorded), liveR.read(justRecorded), stretchMode, stretchedL, stretchedR);
}

void Slice::setStart() noexcept
{
    prevSliceStart = sliceStart;
    prevSliceSpb = sliceSpb;
    // Indexes are masked when read: a bar longer than the ring reads wrapped audio.
    barStart = getWriteIndex() - saturatingCast<int32_t>(4.0 * samplesPerBeat);
}

void Slice::setSliceStart(int32_t sliceIndex) noexcept
{
    if (!isSliceIndex(sliceIndex))
        return;
    sliceStart[static_cast<size_t>(sliceIndex)] = getWriteIndex();
    sliceSpb[static_cast<size_t>(sliceIndex)] = samplesPerBeat;
}

void Slice::setFreeze(bool on) noexcept
{
    if (on == frozen)
        return;
    if (on) {
        // Frozen plays start at most 16 slices of at most a beat into the frozen bar (or at
        // a slice start of that bar's table) and read less than two bars from their start:
        // a slice of at most a beat at up to 2.3 times the speed, for as long as the tempo
        // stays above a third of the captured one. The capture keeps that window.
        const auto beats = [this](double count) {
            return static_cast<uint32_t>(std::min(count * samplesPerBeat, static_cast<double>(AudioBuffer::size)));
        };
        const uint32_t sinceBarStart = (liveL.getWriteIndex() - static_cast<uint32_t>(barStart)) & AudioBuffer::mask;
        const uint32_t reachBack = sinceBarStart + beats(8.0);
        const uint32_t reachAhead = beats(24.0) - std::min(sinceBarStart, beats(24.0));
        frozenL.capture(liveL, reachBack, reachAhead);
        frozenR.capture(liveR, reachBack, reachAhead);
        frozenSpb = samplesPerBeat;
        frozenSliceStart = prevSliceStart;
        frozenBarStart = barStart;
        frozenSliceSpb = prevSliceSpb;
    }
    frozen = on;
}

bool Slice::setPitchFx(bool on, int32_t curve) noexcept
{
    if (curve < 0 || curve >= PitchCurves::kCurveCount)
        return false;
    pitchFxOn = on;
    pitchFxId = curve;
    return true;
}

void Slice::setRollFraction(double fraction) noexcept
{
    if (fraction > 0.0 && fraction <= 1.0)
        rollFraction = fraction;
}

void Slice::setStretchMode(bool on) noexcept
{
    stretchMode = on;
}

void Slice::setPitch(double newRate) noexcept
{
    if (!(std::isfinite(newRate) && newRate > 0.0))
        return;
    // A frozen bar keeps its length in beats when the tempo has changed since.
    rate = frozen ? newRate * (frozenSpb / samplesPerBeat) : newRate;
}

void Slice::setPitchSemitone(int32_t semitones) noexcept
{
    if (semitones < -kMaxSemitones || semitones > kMaxSemitones)
        return;
    rate = std::pow(2.0f, static_cast<float>(semitones) / 12.0f); // single precision: 0 gives exactly 1
    stretchFeed.setSemitones(semitones);
}

void Slice::setPan(float newPan) noexcept
{
    if (!(newPan >= 0.0f && newPan <= 1.0f))
        return;
    pan = newPan;
    gainR = pan > 0.5f ? 1.0f : 2.0f * pan;
    gainL = (1.0f - pan) > 0.5f ? 1.0f : 2.0f * (1.0f - pan);
}

bool Slice::isUsableLength(double length) noexcept
{
    return std::isfinite(length) && length >= 1.0 && length <= AudioBuffer::size;
}

void Slice::beginPlay(double length, int32_t start, bool rolling) noexcept
{
    playLen = static_cast<int32_t>(length);
    roll = rolling;
    direction = 1;
    playStart = start;
    playPos = start;
    livePlay = false;
    stretchedPlay = false;
}

void Slice::reverseFromSliceStart(double length) noexcept
{
    // The read position stays at the slice start, so the audio before it plays backwards.
    roll = false;
    direction = -1;
    playStart = static_cast<int32_t>(playPos + length);
}

bool Slice::playSlice(double length, int32_t sliceIndex, bool reverse, bool rolling) noexcept
{
    if (!isUsableLength(length) || !isSliceIndex(sliceIndex))
        return false;
    const int32_t base = frozen ? frozenBarStart : barStart;
    const double ratio = frozen ? frozenSpb / samplesPerBeat : 1.0;
    beginPlay(length, static_cast<int32_t>(base + std::floor(sliceIndex * length * ratio)), rolling);
    if (reverse)
        reverseFromSliceStart(length);
    if (stretchMode && rate != 1.0)
        beginStretchedPlay(length);
    pitchPhase = 0.0;
    pitchStep = PitchCurves::kPoints / length;
    return true;
}

void Slice::beginStretchedPlay(double length) noexcept
{
    // Material the stretcher has not written yet would read as audio a whole ring old,
    // and material from before the stretcher's run is not stretched: such a slice plays
    // unstretched, at its rate from the normal rings.
    const auto start = static_cast<int64_t>(playPos);
    const int64_t lowest = direction < 0 ? start - static_cast<int64_t>(length) : start;
    if (!stretchFeed.holdsStretched(start, lowest, stretchedL.getWriteIndex()))
        return;
    const int32_t latency = stretchFeed.getLatency();
    playStart += latency;
    playPos += latency;
    stretchedPlay = true;
}

bool Slice::playSlice2(double length, int32_t sliceIndex, bool reverse, bool rolling) noexcept
{
    if (!isUsableLength(length) || !isSliceIndex(sliceIndex))
        return false;
    const auto i = static_cast<size_t>(sliceIndex);
    // Rolls never apply to a slice replayed at another tempo.
    beginPlay(length, frozen ? frozenSliceStart[i] : prevSliceStart[i], false);
    rate = (frozen ? frozenSliceSpb[i] : prevSliceSpb[i]) / samplesPerBeat;
    if (reverse && sliceIndex != 0)
        direction = -1;
    return true;
}

bool Slice::playDirect(double length, bool rolling) noexcept
{
    if (!isUsableLength(length))
        return false;
    // A pitched-up or stretched live play would run ahead of the input.
    if (rate > 1.0 || stretchMode)
        rate = 1.0;
    // Starts at the next write, so the first read is the sample recorded just before it.
    beginPlay(length, getWriteIndex(), rolling);
    livePlay = true;
    return true;
}

bool Slice::playFreezeDirect(double length, int32_t sliceIndex, bool reverse, bool rolling) noexcept
{
    if (!isUsableLength(length) || !isSliceIndex(sliceIndex))
        return false;
    const double offset = sliceIndex * length * (frozenSpb / samplesPerBeat);
    beginPlay(length, static_cast<int32_t>(frozenBarStart + std::floor(offset)), rolling);
    // A reverse would reach back before the frozen bar on its last slices.
    if (reverse && static_cast<int32_t>(std::ceil(offset)) < 4.0 * samplesPerBeat)
        reverseFromSliceStart(length);
    return true;
}

void Slice::readPlayed(int64_t index, float& left, float& right) const noexcept
{
    if (stretchedPlay) {
        left = stretchedL.read(index);
        right = stretchedR.read(index);
    } else if (frozen && !livePlay) {
        left = frozenL.read(index, liveL);
        right = frozenR.read(index, liveR);
    } else {
        left = liveL.read(index);
        right = liveR.read(index);
    }
}

void Slice::process(float& left, float& right) noexcept
{
    double effectiveRate = rate;
    if (pitchFxOn) {
        effectiveRate = pitchCurves.at(pitchFxId, pitchPhase);
        pitchPhase += pitchStep;
    }
    if (roll && playPos > playStart + playLen * rollFraction) {
        // Fade out from what was sounding, without the pan gains.
        float fadeLeft = 0.0f, fadeRight = 0.0f;
        readPlayed(static_cast<int64_t>(playPos), fadeLeft, fadeRight);
        crossfader.setFadeOutBuffer(fadeLeft, fadeRight);
        crossfader.start();
        playPos = playStart;
    }
    readPlayed(static_cast<int64_t>(playPos), left, right);
    left *= gainL;
    right *= gainR;
    if (stretchedPlay)
        effectiveRate = 1.0; // the stretcher has already changed the pitch
    playPos += direction * effectiveRate;

    // The last fade step is left out: a fade ends one sample short of its length.
    if (crossfader.getFadePosition() < crossfader.getFadeLength() - 1) {
        double fadedLeft = left, fadedRight = right;
        crossfader.process(fadedLeft, fadedRight);
        left = static_cast<float>(fadedLeft * gainL);
        right = static_cast<float>(fadedRight * gainR);
    }
    if (pitchFxOn && pitchFxId == PitchCurves::kScratch) {
        left = static_cast<float>(left * kScratchLevel);
        right = static_cast<float>(right * kScratchLevel);
    }
}
