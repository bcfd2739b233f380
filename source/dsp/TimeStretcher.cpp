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
constexpr int kMaxMeasureBlocks = 64;       // bound on the wait for one click
constexpr int kSafetyBlocks = 1;            // latency beyond the worst shortfall measured

// 2^(s/12) in double precision from the single-precision s/12.
double transposition(int semitones) noexcept
{
    return std::pow(2.0, static_cast<double>(static_cast<float>(semitones) / 12.0f));
}

int shiftIndex(int semitones) noexcept
{
    return semitones + TimeStretcher::kMaxSemitones;
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

TimeStretcher::TimeStretcher(Unconfigured) noexcept {}

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
                                                      kOptions, 1.0, 1.0);
    stretcher->setMaxProcessSize(kBlockSize);
    measureShiftDelays();
    const int outputDelay = measureShortfall() + kSafetyBlocks * kBlockSize;
    pending.reserve(outputDelay + kQueueSpareBlocks * kBlockSize);
    totalLatency = measureLatency(outputDelay);
    restart(outputDelay);
    return true;
}

bool TimeStretcher::setSemitones(int value) noexcept
{
    if (value < -kMaxSemitones || value > kMaxSemitones)
        return false;
    if (value != semitones && stretcher != nullptr)
    {
        stretcher->setPitchScale(transposition(value));
        compensateDelayChange(semitones, value);
        semitones = value;
    }
    return true;
}

void TimeStretcher::process(const float* const* input, float* const* output) noexcept
{
    if (stretcher == nullptr)
    {
        for (int channel = 0; channel < kChannels; ++channel)
            std::fill(output[channel], output[channel] + kBlockSize, 0.0f);
        return;
    }
    // A non-finite sample would poison the shifter's spectra for good; it goes in as 0.
    for (int channel = 0; channel < kChannels; ++channel)
        std::transform(input[channel], input[channel] + kBlockSize, finiteInput[channel].begin(),
                       [](float sample) { return std::isfinite(sample) ? sample : 0.0f; });
    const float* const source[kChannels] = {finiteInput[0].data(), finiteInput[1].data()};
    stretcher->process(source, kBlockSize, false);
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

void TimeStretcher::compensateDelayChange(int from, int to) noexcept
{
    // A longer delay is taken out by dropping shifted frames, a shorter one by holding
    // the following frames back behind a repeat of the newest ones (a stutter is less
    // abrupt than a gap of silence).
    const int change = shiftDelay[shiftIndex(to)] - shiftDelay[shiftIndex(from)];
    if (change > 0)
        framesToSkip += change;
    else
        pending.repeatNewest(-change);
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
    const std::array<float, kBlockSize> silence {};
    const float* const source[kChannels] = {silence.data(), silence.data()};
    while (frames > 0)
    {
        const int chunk = std::min(frames, kBlockSize);
        stretcher->process(source, chunk, false);
        frames -= chunk;
    }
}

void TimeStretcher::primeAtUnity()
{
    // Silence ahead of the first frame and the matching output trimmed, so that at
    // factor 1 the shifter's output lines up with its input.
    stretcher->reset();
    stretcher->setPitchScale(1.0);
    feedSilence(static_cast<int>(stretcher->getPreferredStartPad()));
    framesToSkip = static_cast<int>(stretcher->getStartDelay());
}

void TimeStretcher::restart(int outputDelay)
{
    primeAtUnity();
    pending.clear();
    pending.pushSilence(outputDelay);
    if (semitones != 0)
    {
        stretcher->setPitchScale(transposition(semitones));
        compensateDelayChange(0, semitones);
    }
}

void TimeStretcher::measureShiftDelays()
{
    // Clicks through each transposition in turn, on one stream primed at factor 1: where
    // a click's peak comes out gives that transposition's delay. The delay moves a little
    // with where a click falls in the shifter's frames, so each transposition gets two
    // clicks at different places in them and the mean is taken.
    primeAtUnity();
    // Search window either side of a click: twice the longest delay the library reports
    // over the range, the one at the lowest factor.
    stretcher->setPitchScale(transposition(-kMaxSemitones));
    const int span = std::max(2 * static_cast<int>(stretcher->getStartDelay()), kBlockSize);
    stretcher->setPitchScale(1.0);
    const int clickOffsets[2] = {0, 2 * span + 288}; // far enough apart that their windows never overlap
    std::array<float, kBlockSize> input {};
    const float* const source[kChannels] = {input.data(), input.data()};

    long fed = 0;
    long produced = -framesToSkip; // index of the next retrieved frame on the input's time line

    std::array<int, kNumShifts> delay {};
    for (int step = 0; step < kNumShifts; ++step)
    {
        // Factor 1 comes last: the library makes its resampler only at the first other
        // factor, and from then on the resampler delays factor 1 too.
        const int s = (step + kMaxSemitones + 1) % kNumShifts - kMaxSemitones;
        stretcher->setPitchScale(transposition(s));
        long clickAt[2];
        long peakAt[2];
        float peak[2] = {0.0f, 0.0f};
        for (int c = 0; c < 2; ++c)
            peakAt[c] = clickAt[c] = fed + span + kBlockSize + clickOffsets[c];
        for (int block = 0; block < kMaxMeasureBlocks && produced <= clickAt[1] + span; ++block)
        {
            input.fill(0.0f);
            for (long at : clickAt)
                if (at >= fed && at < fed + kBlockSize)
                    input[static_cast<size_t>(at - fed)] = 1.0f;
            stretcher->process(source, kBlockSize, false);
            fed += kBlockSize;
            retrieveAll([&](int taken) {
                for (int i = 0; i < taken; ++i, ++produced)
                    for (int c = 0; c < 2; ++c)
                        if (std::abs(produced - clickAt[c]) <= span && std::abs(scratch[0][i]) > peak[c])
                        {
                            peak[c] = std::abs(scratch[0][i]);
                            peakAt[c] = produced;
                        }
            });
        }
        delay[shiftIndex(s)] = static_cast<int>((peakAt[0] - clickAt[0] + peakAt[1] - clickAt[1]) / 2);
    }
    for (int i = 0; i < kNumShifts; ++i)
        shiftDelay[i] = delay[i] - delay[shiftIndex(0)];
}

int TimeStretcher::measureLatency(int outputDelay)
{
    // Where a click comes out of the whole chain as it stands after a restart; the
    // resampler's filter makes this a little longer than the library reports.
    restart(outputDelay);
    std::array<float, kBlockSize> in {};
    std::array<std::array<float, kBlockSize>, kChannels> out {};
    const float* const source[kChannels] = {in.data(), in.data()};
    float* const destination[kChannels] = {out[0].data(), out[1].data()};
    const int clickAt = 4 * kBlockSize; // clear of the first frames after a reset
    int peakAt = clickAt + outputDelay;
    float peak = 0.0f;
    const int blocks = (clickAt + outputDelay) / kBlockSize + kQueueSpareBlocks;
    for (int block = 0; block < blocks; ++block)
    {
        in.fill(0.0f);
        if (block == clickAt / kBlockSize)
            in[0] = 1.0f;
        process(source, destination);
        for (int i = 0; i < kBlockSize; ++i)
        {
            if (std::abs(out[0][i]) > peak)
            {
                peak = std::abs(out[0][i]);
                peakAt = block * kBlockSize + i;
            }
        }
    }
    return peakAt - clickAt;
}

int TimeStretcher::measureShortfall()
{
    // Noise and a tone through the warm-up sequence, with the delay compensation that
    // processing applies. Returns how far the output ever trails the input: the fixed
    // latency must cover that so that a whole block is always ready.
    primeAtUnity();
    std::array<std::array<float, kBlockSize>, kChannels> signal {};
    const float* const source[kChannels] = {signal[0].data(), signal[1].data()};
    RandomGenerator noise;
    long fed = 0;
    long produced = -framesToSkip;
    long worst = 0;
    int current = 0;
    forEachWarmUpStep([&](int s) {
        for (int i = 0; i < kBlockSize; ++i)
        {
            const float tone = static_cast<float>(0.5 * std::sin((fed + i) * 0.0626));
            signal[0][i] = tone + 0.1f * (static_cast<float>(noise.next()) / RandomGenerator::kMax - 0.5f);
            signal[1][i] = tone;
        }
        stretcher->setPitchScale(transposition(s));
        produced -= shiftDelay[shiftIndex(s)] - shiftDelay[shiftIndex(current)];
        current = s;
        stretcher->process(source, kBlockSize, false);
        fed += kBlockSize;
        retrieveAll([&produced](int taken) { produced += taken; });
        worst = std::max(worst, fed - produced);
    });
    return static_cast<int>(std::max(worst, 0L));
}
