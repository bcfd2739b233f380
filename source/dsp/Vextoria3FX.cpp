#include "Vextoria3FX.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ParameterValue.h"
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

bool isSwitchOn(float value)
{
    return value >= 0.5f;
}

// An input channel that may be missing: no bus, no channels or a null channel reads as
// silence. A mono input serves every channel.
const float* inputChannel(const float* const* inputs, int32_t inputCount, int32_t channel)
{
    if (inputs == nullptr || inputCount <= 0)
        return nullptr;
    return inputs[channel < inputCount ? channel : 0];
}

float sampleAt(const float* channel, int32_t index)
{
    return channel != nullptr ? channel[index] : 0.0f;
}

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
    replaySeed = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this));
    applyUserSettings(settings);
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
    if (std::isfinite(newSampleRate) && newSampleRate > 0.0 && newSampleRate != sampleRate) {
        sampleRate = newSampleRate;
        slice.setSamplerate(newSampleRate);
    }
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
        return timeInfo.projectTimeMusic;
    return static_cast<double>(timeInfo.projectTimeSamples) / samplesPerBeat;
}

void Vextoria3FX::processBypass(const float* const* inputs, float* const*, int32_t sampleCount)
{
    if (sampleCount <= 0)
        return;
    const float* left = inputChannel(inputs, inputChannelCount, 0);
    const float* right = inputChannelCount == 2 ? inputChannel(inputs, inputChannelCount, 1) : left;
    const int32_t choice = static_cast<int32_t>(2.0f * parameters[kSliceSize].load());
    const int32_t pendingSlicesPerBeat = kSlicesPerBeatChoices[std::clamp(choice, 0, 2)];

    double samplesPerBeat = timeInfo.samplesPerBeat;
    if (!std::isfinite(samplesPerBeat) || samplesPerBeat < 1.0)
        samplesPerBeat = 22050.0; // a host's nonsense must not stop the clock
    clock.beginBlock(blockQuarterNotes(samplesPerBeat), samplesPerBeat, slicesPerBeat, timeInfo.playing);

    for (int32_t i = 0; i < sampleCount; ++i) {
        const SliceClock::Starts starts = clock.step();
        if (starts.bar) {
            slice.setStart();
            sliceCounter = 0;
        }
        if (starts.slice) {
            slicesPerBeat = pendingSlicesPerBeat;
            slice.setSliceStart(sliceCounter);
            sliceCounter = (sliceCounter + 1) % (4 * slicesPerBeat);
        }
        slice.record(sampleAt(left, i), sampleAt(right, i));
        slice.processStretch();
    }
    clock.endBlock(sampleCount);
}

void Vextoria3FX::process(const float* const* inputs, float* const* outputs, int32_t sampleCount)
{
    if (outputs == nullptr || sampleCount <= 0)
        return;
    for (int32_t channel = 0; channel < outputChannelCount; ++channel) {
        float* output = outputs[channel];
        const float* input = inputChannel(inputs, inputChannelCount, channel);
        if (output == nullptr || output == input)
            continue;
        if (input != nullptr)
            std::memcpy(output, input, sizeof(float) * static_cast<size_t>(sampleCount));
        else
            std::memset(output, 0, sizeof(float) * static_cast<size_t>(sampleCount));
    }
}

void Vextoria3FX::startProcessMIDI() {}
void Vextoria3FX::endProcessMIDI() {}
void Vextoria3FX::noteOn(int32_t, int32_t, int32_t) {}
void Vextoria3FX::noteOff(int32_t, int32_t, int32_t) {}
