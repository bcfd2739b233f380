// The slicer: the per-block and per-sample engine of the DSP object.
#include "Vextoria3FX.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "BlockChannels.h"
#include "ParameterValue.h"
#include "TransportLimits.h"
#include "ids.h"

using namespace Vextoria3Ids;

namespace {

enum ReplayMode : int32_t { kReplayNever = 0, kReplayOnPlay = 1, kReplayOnActive = 2 };

constexpr int32_t kTempoChangeBars = 2; // bars whose repeats follow the recorded tempo

void copyInputToOutput(const BlockChannels& channels, int32_t sampleCount, bool stereoOutput)
{
    const auto bytes = sizeof(float) * static_cast<size_t>(sampleCount);
    auto copy = [bytes](const float* input, float* output) {
        if (output == input)
            return;
        if (input != nullptr)
            std::memmove(output, input, bytes);
        else
            std::memset(output, 0, bytes);
    };
    copy(channels.inL, channels.outL);
    if (stereoOutput)
        copy(channels.inR, channels.outR);
}

} // namespace

void Vextoria3FX::process(const float* const* inputs, float* const* outputs, int32_t sampleCount)
{
    // The processor splits longer blocks; anything beyond the maximum is refused whole.
    if (sampleCount <= 0 || sampleCount > blockSize)
        return;
    const BlockChannels channels(inputs, inputChannelCount, outputs, outputChannelCount);
    if (!channels.hasOutput())
        return;
    processVextoria3FX(inputs, outputs, sampleCount);
    scope.write(channels.outL, channels.outR, sampleCount);
}

void Vextoria3FX::processVextoria3FX(const float* const* inputs, float* const* outputs, int32_t sampleCount)
{
    const BlockChannels channels(inputs, inputChannelCount, outputs, outputChannelCount);
    const auto replayMode = static_cast<int32_t>(2.0f * param(kReplayRndSeq));
    const int32_t pending = pendingSlicesPerBeat();
    const bool playing = timeInfo.playing;
    // Stopped, the slice count follows "SliceSize" at once; a start counts the live
    // first bar at the new count too.
    if (!playing || !wasPlaying)
        slicesPerBeat = pending;

    const double samplesPerBeat = usableSamplesPerBeat();
    tailBeatLength.store(samplesPerBeat, std::memory_order_relaxed);
    slice.setSamplePerBeat(samplesPerBeat);
    setGateLengths(samplesPerBeat / slicesPerBeat);
    if (playing && !wasPlaying)
        handleTransportStart(replayMode);
    wasPlaying = playing;
    if (!playing) {
        // Nothing is recorded or decided while the transport stands; the next start resyncs.
        clock.reset();
        copyInputToOutput(channels, sampleCount, outputChannelCount > 1);
        return;
    }
    noteTempo(timeInfo.tempo);
    clock.beginBlock(blockQuarterNotes(samplesPerBeat), samplesPerBeat, slicesPerBeat, true, pending);
    effects.setReverb(param(kRoomSize), param(kDamping), reverbDry(), reverbWet());
    SliceEffects::Settings fxSettings = effectSettings();

    for (int32_t i = 0; i < sampleCount; ++i) {
        const SliceClock::Starts starts = clock.step();
        if (starts.bar)
            startBar();
        if (starts.slicesPerBeatChanged) {
            slicesPerBeat = pending;
            setGateLengths(clock.sliceLength());
        }
        if (starts.slice) {
            decideSlice(replayMode, clock.sliceLength());
            fxSettings.filterOffset = filterOffset;
        }

        const float inL = channels.left(i), inR = channels.right(i);
        float l = 0.0f, r = 0.0f;
        slice.record(inL, inR);
        slice.processStretch();
        slice.process(l, r);
        if (fxOn)
            effects.process(fxId, fxSettings, l, r);
        // Switched off, the slicer runs on unheard and the dry input plays.
        float outL = lastActive ? gateL.process(l) : inL;
        float outR = lastActive ? gateR.process(r) : inR;
        if (activeFade.getFadePosition() < activeFade.getFadeLength() - 1) {
            double fadedL = outL, fadedR = outR;
            activeFade.process(fadedL, fadedR);
            outL = static_cast<float>(fadedL);
            outR = static_cast<float>(fadedR);
        }
        lastOutL = outL;
        lastOutR = outR;
        channels.outL[i] = outL;
        if (outputChannelCount > 1)
            channels.outR[i] = outR;
    }
    clock.endBlock(sampleCount);
}

void Vextoria3FX::handleTransportStart(int32_t replayMode)
{
    if (replayMode == kReplayOnPlay)
        random.seed(replaySeed);
    if (isSwitchOn(param(kActive))) {
        directSlices = 4 * slicesPerBeat; // the first bar plays live while it is recorded
        if (replayMode == kReplayOnActive)
            random.seed(replaySeed);
    }
}

// A tempo outside the usable range (0, negative, not a number, absurd) is no change.
void Vextoria3FX::noteTempo(double tempo)
{
    if (!TransportLimits::isUsableTempo(tempo))
        return;
    if (tempo != lastTempo)
        tempoChangeBars = kTempoChangeBars;
    lastTempo = tempo;
}

void Vextoria3FX::setGateLengths(double sliceLength)
{
    for (Gater2* gate : {&gateL, &gateR}) {
        gate->setSize(saturatingCast<int32_t>(sliceLength));
        gate->setValue(param(kGateSize));
    }
}

void Vextoria3FX::startBar()
{
    slice.setStart();
    if (tempoChangeBars > 0) // only > 0 matters; stopping at 0 keeps it from wrapping
        --tempoChangeBars;
    sliceCounter = 0;
    slice.setStretchMode(isSwitchOn(param(kStretch))); // stretch mode changes only on a bar
}

void Vextoria3FX::decideSlice(int32_t replayMode, double sliceLength)
{
    const bool activeNow = isSwitchOn(param(kActive));
    if (activeNow != lastActive) {
        activeFade.setFadeOutBuffer(static_cast<float>(lastOutL), static_cast<float>(lastOutR));
        activeFade.start();
        if (replayMode == kReplayOnActive && activeNow)
            random.seed(replaySeed);
    }
    lastActive = activeNow;

    decision = decider.decide(decisionParams(), slicesPerBeat, sliceCounter, outputChannelCount, random);
    fxId = decision.fxId;
    if (decision.filterOffsetDrawn)
        filterOffset = decision.filterOffset;
    fxOn = decision.fxOn;

    slice.setPitchFx(false, PitchCurves::kScratch);
    slice.setSliceStart(sliceCounter);
    slice.setRollFraction(decision.rollFraction);
    slice.setPitch(1.0);
    if (decision.pitched)
        slice.setPitchSemitone(decision.semitones);
    slice.setPan(decision.pan);
    play(sliceLength);

    gateL.start();
    gateR.start();
    sliceCounter = (sliceCounter + 1) % (4 * slicesPerBeat);
    ++decisionsMade;
}

void Vextoria3FX::play(double sliceLength)
{
    if (directSlices > 0) {
        slice.setFreeze(false);
        slice.playDirect(sliceLength, decision.roll);
        --directSlices;
        return;
    }
    const bool freezeOn = isSwitchOn(param(kFreeze));
    slice.setFreeze(freezeOn);
    if (decision.repeat && tempoChangeBars > 0) {
        slice.playSlice2(sliceLength, decision.pick, decision.reverse, decision.roll);
    } else if (decision.repeat) {
        if (fxOn && fxId == SliceEffects::kPitchFx)
            slice.setPitchFx(true, PitchCurves::idOf(param(kPitchFxId)));
        slice.playSlice(sliceLength, decision.pick, decision.reverse, decision.roll);
    } else if (!freezeOn) {
        slice.playDirect(sliceLength, false); // a live slice never rolls
    } else {
        slice.playFreezeDirect(sliceLength, sliceCounter, decision.reverse, decision.roll);
    }
    if (static_cast<int32_t>(param(kTrigMode)) == 1)
        playMidiSlice(sliceLength, freezeOn);
}

// "Midi Slice" mode: the held note picks the slice, pitch bend transposes, the mod wheel rolls.
void Vextoria3FX::playMidiSlice(double sliceLength, bool freezeOn)
{
    const bool up = isSwitchOn(param(kUp)), down = isSwitchOn(param(kDown));
    int32_t semitones = 0;
    if (up || down) {
        const auto range = static_cast<int32_t>(12.0f * param(kPitchRange));
        semitones = static_cast<int32_t>(std::trunc(range * ((static_cast<double>(param(kPitchBend)) - 0.5) * 2.0)));
        if (up && !down)
            semitones = std::max(semitones, 0);
        else if (down && !up)
            semitones = std::min(semitones, 0);
    }
    slice.setPitchSemitone(semitones);

    const auto wheel = static_cast<double>(param(kModWheel));
    const bool roll = wheel >= 0.2;
    slice.setRollFraction(wheel > 0.75 ? 0.125 : 0.25);
    const int32_t selected = getSelectedSlice();
    if (selected != -1) {
        slice.playSlice(sliceLength, selected, decision.reverse, roll);
        return;
    }
    slice.setPitch(1.0);
    if (freezeOn)
        slice.playFreezeDirect(sliceLength, sliceCounter, decision.reverse, roll);
    else
        slice.playDirect(sliceLength, false);
}

DecisionParams Vextoria3FX::decisionParams() const
{
    DecisionParams p;
    p.fxSelect = param(kFxSelect);
    p.filterCut = param(kFilterCut);
    p.filterEnv = param(kFilterEnv);
    p.pitchAmt = param(kPitchAmt);
    p.pitchRange = param(kPitchRange);
    p.up = param(kUp);
    p.down = param(kDown);
    p.pitchSet = param(kPitchSet);
    p.stretch = param(kStretch);
    p.reverseAmt = param(kReverseAmt);
    p.rollAmt = param(kRollAmt);
    p.panAmt = param(kPanAmt);
    p.sliceAmt = param(kSliceAmt);
    p.noDirect = param(kNoDirect);
    p.fxAmt = param(kFxAmt);
    for (int32_t k = 0; k < 4; ++k)
        p.effectActive[k] = param(kReverbActive + k);
    return p;
}

SliceEffects::Settings Vextoria3FX::effectSettings() const
{
    SliceEffects::Settings s;
    s.reduceRate = param(kReduceRate);
    s.reduceDryWet = param(kReduceDryWet);
    s.filterCut = param(kFilterCut);
    s.filterRes = param(kFilterRes);
    s.filterEnv = param(kFilterEnv);
    s.filterOffset = filterOffset;
    return s;
}
