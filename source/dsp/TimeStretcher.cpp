#include "TimeStretcher.h"

#include <algorithm>
#include <cmath>

#include <rubberband/RubberBandStretcher.h>

#include "RandomGenerator.h"

namespace
{
using RubberBand::RubberBandStretcher;

// Real-time streaming on the faster engine (the finer one costs more than a short
// host block at +12 semitones); no helper threads, so process() never waits; a pitch
// method that changes ratio mid-stream without clicks.
constexpr RubberBandStretcher::Options kOptions = RubberBandStretcher::OptionProcessRealTime
                                                | RubberBandStretcher::OptionEngineFaster
                                                | RubberBandStretcher::OptionThreadingNever
                                                | RubberBandStretcher::OptionPitchHighConsistency;

constexpr double kMinSamplerate = 8000.0;   // Hz
constexpr double kMaxSamplerate = 384000.0; // Hz
constexpr int kWarmUpBlocksPerRatio = 2;    // enough for the shifter to reach its steady sizes
constexpr int kQueueSpareBlocks = 8;        // room for bursts of output above the latency

// 2^(s/12) in double precision from the single-precision s/12.
double transposition(int semitones) noexcept
{
    return std::pow(2.0, static_cast<double>(static_cast<float>(semitones) / 12.0f));
}

// Every semitone, in two rounds, then jumps between the extremes: the sequence that
// sizes the shifter's buffers and shows how far its output can fall behind its input.
// Its resampler keeps the states of the last two ratios in turn, and an odd count of
// ratios per round puts every ratio into each of them once.
template <typename Visit>
void forEachWarmUpStep(Visit&& visit)
{
    constexpr int kRatios = 2 * TimeStretcher::kMaxSemitones + 1;
    static_assert(kRatios % 2 == 1);
    for (int round = 0; round < 2; ++round)
        for (int s = -TimeStretcher::kMaxSemitones; s <= TimeStretcher::kMaxSemitones; ++s)
            for (int block = 0; block < kWarmUpBlocksPerRatio; ++block)
                visit(s);
    for (int jump = 0; jump < 8; ++jump)
        for (int block = 0; block < kWarmUpBlocksPerRatio; ++block)
            visit(jump % 2 == 0 ? TimeStretcher::kMaxSemitones : -TimeStretcher::kMaxSemitones);
}
} // namespace

TimeStretcher::TimeStretcher()
{
    setSamplerate(44100.0);
}

TimeStretcher::~TimeStretcher() = default;

bool TimeStretcher::setSamplerate(double sampleRate)
{
    const double narrowed = static_cast<float>(sampleRate);
    if (!(narrowed >= kMinSamplerate && narrowed <= kMaxSamplerate))
        return false;
    if (narrowed == rate)
        return true; // same rate: keep the running stream, nothing to rebuild

    rate = narrowed;
    stretcher = std::make_unique<RubberBandStretcher>(static_cast<size_t>(std::lround(narrowed)), kChannels,
                                                      kOptions, 1.0, transposition(semitones));
    stretcher->setMaxProcessSize(kBlockSize);
    const int outputDelay = warmUp();
    pending.reserve(outputDelay + kQueueSpareBlocks * kBlockSize);
    totalLatency = measureImpulseDelay(outputDelay);
    restart(outputDelay);
    return true;
}

bool TimeStretcher::setSemitones(int value) noexcept
{
    if (value < -kMaxSemitones || value > kMaxSemitones)
        return false;
    if (value != semitones)
    {
        semitones = value;
        stretcher->setPitchScale(transposition(value));
    }
    return true;
}

void TimeStretcher::process(const float* const* input, float* const* output) noexcept
{
    stretcher->process(input, kBlockSize, false);
    collectOutput();
    const int given = pending.pop(output, kBlockSize);
    if (given < kBlockSize)
    {
        // The shifter fell behind: fill with silence and drop as many of its later
        // frames, so that everything after stays at the reported latency.
        for (int channel = 0; channel < kChannels; ++channel)
            std::fill(output[channel] + given, output[channel] + kBlockSize, 0.0f);
        framesToSkip += kBlockSize - given;
    }
}

template <typename Consume>
void TimeStretcher::retrieveAll(Consume&& consume) noexcept
{
    // Never asks for more than is there: the library reports a short read on stderr.
    float* const destination[kChannels] = {scratch[0].data(), scratch[1].data()};
    for (int available = stretcher->available(); available > 0; available = stretcher->available())
    {
        const int taken = static_cast<int>(stretcher->retrieve(destination, std::min(available, kBlockSize)));
        if (taken <= 0)
            break;
        consume(taken);
    }
}

void TimeStretcher::collectOutput() noexcept
{
    retrieveAll([this](int taken) {
        const int skipped = std::min(framesToSkip, taken);
        framesToSkip -= skipped;
        const float* const kept[kChannels] = {scratch[0].data() + skipped, scratch[1].data() + skipped};
        pending.push(kept, taken - skipped);
    });
}

void TimeStretcher::feedSilence(int frames)
{
    scratch = {};
    const float* const silence[kChannels] = {scratch[0].data(), scratch[1].data()};
    while (frames > 0)
    {
        const int chunk = std::min(frames, kBlockSize);
        stretcher->process(silence, chunk, false);
        frames -= chunk;
    }
}

void TimeStretcher::restart(int outputDelay)
{
    stretcher->reset();
    stretcher->setPitchScale(transposition(semitones));
    // Silence ahead of the first frame and the matching output trimmed, so that the
    // shifter's output lines up with its input.
    feedSilence(static_cast<int>(stretcher->getPreferredStartPad()));
    framesToSkip = static_cast<int>(stretcher->getStartDelay());
    pending.clear();
    pending.pushSilence(outputDelay);
}

int TimeStretcher::warmUp()
{
    // Noise and a tone, so that every stage sees content as well as silence. Returns how
    // far the aligned output ever trails the input: the fixed latency must cover that so
    // that a whole block is always ready.
    restart(0);
    std::array<std::array<float, kBlockSize>, kChannels> signal {};
    const float* const source[kChannels] = {signal[0].data(), signal[1].data()};
    RandomGenerator noise;
    long fed = 0;
    long produced = -framesToSkip;
    long worst = 0;
    forEachWarmUpStep([&](int s) {
        for (int i = 0; i < kBlockSize; ++i)
        {
            const float tone = static_cast<float>(0.5 * std::sin((fed + i) * 0.0626));
            signal[0][i] = tone + 0.1f * (static_cast<float>(noise.next()) / RandomGenerator::kMax - 0.5f);
            signal[1][i] = tone;
        }
        stretcher->setPitchScale(transposition(s));
        stretcher->process(source, kBlockSize, false);
        fed += kBlockSize;
        retrieveAll([&produced](int taken) { produced += taken; });
        worst = std::max(worst, fed - std::max(produced, 0L));
    });
    return static_cast<int>(worst);
}

int TimeStretcher::measureImpulseDelay(int outputDelay)
{
    // The shifter's own filters add a little delay beyond what it reports, so the
    // latency is taken from where an impulse actually comes out.
    restart(outputDelay);
    std::array<std::array<float, kBlockSize>, kChannels> in {};
    std::array<std::array<float, kBlockSize>, kChannels> out {};
    const float* const source[kChannels] = {in[0].data(), in[1].data()};
    float* const destination[kChannels] = {out[0].data(), out[1].data()};
    in[0][0] = in[1][0] = 1.0f;
    int peakIndex = outputDelay;
    float peak = 0.0f;
    const int blocks = outputDelay / kBlockSize + kQueueSpareBlocks;
    for (int block = 0; block < blocks; ++block)
    {
        process(source, destination);
        in[0][0] = in[1][0] = 0.0f;
        for (int i = 0; i < kBlockSize; ++i)
        {
            if (std::abs(out[0][i]) > peak)
            {
                peak = std::abs(out[0][i]);
                peakIndex = block * kBlockSize + i;
            }
        }
    }
    return peakIndex;
}
