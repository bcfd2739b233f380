#include "Vextoria3FX.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include "BlockChannels.h"
#include "revmodel.h"
#include "ParameterValue.h"
#include "TransportLimits.h"
#include "ids.h"
#include "settings/SettingsFile.h"

using namespace Vextoria3Ids;

namespace {

constexpr int32_t kSlicesPerBeatChoices[3] = {1, 2, 4};

// Settings keys taken at construction when the saved defaults are enabled, in read order.
struct SettingsKey {
    const char* key;
    int32_t id;
};
constexpr SettingsKey kSettingsKeys[] = {
    {"scopespeed", kScopeSpeed}, {"stretch", kStretch}, {"nodirect", kNoDirect},
    {"pitchset", kPitchSet},     {"replayseq", kReplayRndSeq},
};

} // namespace

Vextoria3FX::Vextoria3FX()
{
    for (int32_t id = 0; id < kNumParams; ++id)
        parameters[id] = Vextoria3Defaults::kParams[id];

    SettingsFile settings;
    if (const std::optional<std::string> home = SettingsFile::homeFolder()) {
        SettingsFile::prepare(*home);
        settings.load(SettingsFile::settingsPath(*home));
    }

    setParameter(kReverbDryWet, parameters[kReverbDryWet]);
    // Each instance draws its own sequence, so two instances make different decisions.
    replaySeed = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this));
    random.seed(replaySeed);
    applyUserSettings(settings);
}

void Vextoria3FX::setReplaySeed(uint32_t seed)
{
    replaySeed = seed;
    random.seed(seed);
}

Vextoria3FX::~Vextoria3FX() = default;

void Vextoria3FX::applyUserSettings(const SettingsFile& settings)
{
    if (!settings.defaultsEnabled())
        return;
    for (const SettingsKey& entry : kSettingsKeys)
        if (const std::optional<double> value = settings.number("Plugin", entry.key))
            setParameter(entry.id, *value);
}

void Vextoria3FX::setParameter(int32_t id, double value)
{
    if (id < 0 || id >= kNumParams)
        return;
    if (id == kFactoryPresets) {
        selectProgramByValue(value);
        return;
    }
    if (id == kRetired12 || id == kPitchBend || id == kModWheel)
        return; // 34 and 35 are stored by their own setters
    const float stored = normalisedValue(value);
    parameters[id] = stored;
    switch (id) {
    case kFreeze:
        freeze(stored);
        break;
    case kTrigMode:
        setMode(stored);
        break;
    case kReverbDryWet:
        reverbDryLevel = std::min(1.0f - stored, 0.5f);
        reverbWetLevel = stored * 0.5f;
        break;
    default:
        break;
    }
}

// The program number is trunc(16 v), at most 15; a value below -1/16 selects nothing.
void Vextoria3FX::selectProgramByValue(double value)
{
    if (std::isnan(value))
        return;
    const float clamped = static_cast<float>(std::clamp(value, -1.0, 1.0));
    const int32_t index = static_cast<int32_t>(16.0f * clamped);
    if (index >= 0)
        setProgram(std::min(index, kNumPrograms - 1));
}

float Vextoria3FX::getParameter(int32_t id) const
{
    if (id < 0 || id >= kNumParams || id == kRetired12 || id == kModWheel || id == kFactoryPresets)
        return 0.0f;
    return parameters[id];
}

void Vextoria3FX::setPitchBend(double value)
{
    parameters[kPitchBend] = normalisedValue(value);
}

void Vextoria3FX::setModwheel(float value)
{
    parameters[kModWheel] = normalisedValue(value);
}

void Vextoria3FX::freeze(float value)
{
    slice.setFreeze(isSwitchOn(value));
}

void Vextoria3FX::setMode(float)
{
    // The trigger mode is read at each block; nothing to switch here.
}

void Vextoria3FX::resume(double newSampleRate, int32_t maxBlockSize)
{
    if (maxBlockSize > 0)
        blockSize = maxBlockSize;
    if (TransportLimits::isUsableSampleRate(newSampleRate))
        sampleRate = newSampleRate;
    // The stretcher is configured at the first activation and rebuilt only when the rate
    // changes; the same rate again keeps its running stream.
    slice.setSamplerate(sampleRate);
    gateL.init(static_cast<int32_t>(sampleRate));
    gateR.init(static_cast<int32_t>(sampleRate));
    effects.prepare(sampleRate);
    clock.reset();
}

void Vextoria3FX::suspend() {}

// Position of the block's first sample in quarter notes: the host's musical position, else
// its sample position; without any transport the clock simply runs on.
double Vextoria3FX::blockQuarterNotes(double samplesPerBeat) const
{
    if (!timeInfo.contextValid)
        return clock.expectedQuarterNotes();
    if (timeInfo.projectMusicValid && std::isfinite(timeInfo.projectTimeMusic))
        return TransportLimits::boundedQuarterNotes(timeInfo.projectTimeMusic);
    return TransportLimits::boundedQuarterNotes(static_cast<double>(timeInfo.projectTimeSamples) / samplesPerBeat);
}

// The beat length the clock runs on; a host's nonsense must not stop the clock.
double Vextoria3FX::usableSamplesPerBeat() const
{
    const double samplesPerBeat = timeInfo.samplesPerBeat;
    return TransportLimits::isUsableSamplesPerBeat(samplesPerBeat) ? samplesPerBeat : 22050.0;
}

// The slice count "SliceSize" asks for: 1, 2 or 4 per beat.
int32_t Vextoria3FX::pendingSlicesPerBeat() const
{
    const int32_t choice = static_cast<int32_t>(2.0f * param(kSliceSize));
    return kSlicesPerBeatChoices[std::clamp(choice, 0, 2)];
}

uint32_t Vextoria3FX::tailSamples() const
{
    // The reverb's ring from well above full scale down to about -90 dBFS, under the last
    // bit of 16-bit audio.
    constexpr double kRingAttenuation = 3.2e-5 / 8.0;
    constexpr double kFadeSamples = 1024.0; // gate release, crossfades
    const double samples = 2.0 * 4.0 * tailBeatLength.load(std::memory_order_relaxed)
                           + revmodel::decaySamples(param(kRoomSize), kRingAttenuation)
                           + slice.getStretchLatency() + kFadeSamples;
    // Kept well below the host's mark for an endless tail.
    return static_cast<uint32_t>(std::clamp(saturatingCast<int64_t>(std::ceil(samples)), int64_t{0}, int64_t{INT32_MAX}));
}

void Vextoria3FX::processBypass(const float* const* inputs, float* const*, int32_t sampleCount)
{
    if (sampleCount <= 0)
        return;
    const BlockChannels channels(inputs, inputChannelCount, nullptr, 0);
    const int32_t pending = pendingSlicesPerBeat();
    const double samplesPerBeat = usableSamplesPerBeat();
    tailBeatLength.store(samplesPerBeat, std::memory_order_relaxed);
    clock.beginBlock(blockQuarterNotes(samplesPerBeat), samplesPerBeat, slicesPerBeat, timeInfo.playing);

    for (int32_t i = 0; i < sampleCount; ++i) {
        const SliceClock::Starts starts = clock.step();
        if (starts.bar) {
            slice.setStart();
            sliceCounter = 0;
        }
        if (starts.slice) {
            slicesPerBeat = pending;
            slice.setSliceStart(sliceCounter);
            sliceCounter = (sliceCounter + 1) % (4 * slicesPerBeat);
        }
        slice.record(channels.left(i), channels.right(i));
        slice.processStretch();
    }
    clock.endBlock(sampleCount);
}

void Vextoria3FX::startProcessMIDI() {}

void Vextoria3FX::endProcessMIDI()
{
    notes.endBlock();
}

namespace {
bool isMidiPitch(int32_t pitch)
{
    return pitch >= 0 && pitch <= 127;
}
int32_t midiVelocity(int32_t velocity)
{
    return std::clamp(velocity, 0, 127);
}
} // namespace

void Vextoria3FX::noteOn(int32_t pitch, int32_t velocity, int32_t sampleOffset)
{
    if (!isMidiPitch(pitch))
        return;
    notes.addNoteOn(pitch, midiVelocity(velocity), sampleOffset);
    selectedSlice.store(heldNotes.press(pitch, slicesPerBar(), getSelectedSlice()), std::memory_order_relaxed);
}

void Vextoria3FX::noteOff(int32_t pitch, int32_t velocity, int32_t sampleOffset)
{
    if (!isMidiPitch(pitch))
        return;
    notes.addNoteOff(pitch, midiVelocity(velocity), sampleOffset);
    selectedSlice.store(heldNotes.release(pitch, slicesPerBar(), getSelectedSlice()), std::memory_order_relaxed);
}

bool Vextoria3FX::setSliceFromUI(int32_t sliceIndex)
{
    if (sliceIndex < -1 || sliceIndex >= Slice::kMaxSlices)
        return false;
    selectedSlice.store(sliceIndex, std::memory_order_relaxed);
    return true;
}
