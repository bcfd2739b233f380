#include "TimeStretcher.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <utility>

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
constexpr int kPiece = TimeStretcher::kPieceSize;
constexpr int kChunk = 1024;               // frames: the unit of the warm-up and the safety margin
constexpr int kPiecesPerChunk = kChunk / kPiece;
constexpr int kQueueSpareChunks = 8;       // room for bursts of output above the latency
constexpr int kMaxMeasurePieces = 2048;    // bound on the wait for one click
constexpr int kSafetyChunks = 1;           // latency beyond the worst shortfall measured
constexpr long kMaxFractionTerm = 1000;    // largest numerator or denominator of a resampling ratio
static_assert(kChunk % kPiece == 0);

int shiftIndex(int semitones) noexcept
{
    return semitones + TimeStretcher::kMaxSemitones;
}

// The fraction nearest to x (> 0) whose terms stay within maxTerm: the last continued-
// fraction convergent that fits.
double nearestFraction(double x, long maxTerm)
{
    long previousNumerator = 0, previousDenominator = 1, numerator = 1, denominator = 0;
    long bestNumerator = std::lround(x), bestDenominator = 1;
    double rest = x;
    for (int term = 0; term < 64; ++term) {
        const auto whole = static_cast<long>(std::floor(rest));
        const long nextNumerator = whole * numerator + previousNumerator;
        const long nextDenominator = whole * denominator + previousDenominator;
        if (nextNumerator > maxTerm || nextDenominator > maxTerm)
            break;
        previousNumerator = std::exchange(numerator, nextNumerator);
        previousDenominator = std::exchange(denominator, nextDenominator);
        bestNumerator = numerator;
        bestDenominator = denominator;
        const double fraction = rest - static_cast<double>(whole);
        if (fraction < 1e-12)
            break;
        rest = 1.0 / fraction;
    }
    return static_cast<double>(bestNumerator) / static_cast<double>(bestDenominator);
}

// Every semitone in turn, then jumps between the extremes: the sequence that sizes the
// shifter's buffers and shows how far its output can fall behind its input.
template <typename Visit>
void forEachWarmUpStep(int piecesPerRatio, Visit&& visit)
{
    for (int s = -TimeStretcher::kMaxSemitones; s <= TimeStretcher::kMaxSemitones; ++s)
        for (int piece = 0; piece < piecesPerRatio; ++piece)
            visit(s, piece == 0);
    for (int jump = 0; jump < 8; ++jump)
        for (int piece = 0; piece < piecesPerRatio; ++piece)
            visit(jump % 2 == 0 ? TimeStretcher::kMaxSemitones : -TimeStretcher::kMaxSemitones, piece == 0);
}

// A tone with a little noise on the left, the tone alone on the right: material on which
// the shifter does its full work.
void fillTestSignal(std::array<std::array<float, kPiece>, 2>& signal, long from, RandomGenerator& noise)
{
    for (int i = 0; i < kPiece; ++i) {
        const float tone = static_cast<float>(0.5 * std::sin(static_cast<double>(from + i) * 0.0626));
        signal[0][static_cast<size_t>(i)] =
            tone + 0.1f * (static_cast<float>(noise.next()) / RandomGenerator::kMax - 0.5f);
        signal[1][static_cast<size_t>(i)] = tone;
    }
}

// Measurements shared by every instance in the process, by narrowed sample rate; only
// set-up threads come here.
std::mutex calibrationMutex;
std::map<double, TimeStretcher::Calibration> calibrations;
} // namespace

double TimeStretcher::transposition(int semitones) noexcept
{
    // The shifter resamples by the reciprocal of the factor; a fraction of large terms
    // there makes its resampler rebuild a table of that many phases at every change,
    // several hundred microseconds in one call.
    static const std::array<double, kNumShifts> factors = [] {
        std::array<double, kNumShifts> table {};
        for (int s = -kMaxSemitones; s <= kMaxSemitones; ++s) {
            const double exact = std::pow(2.0, static_cast<double>(static_cast<float>(s) / 12.0f));
            table[static_cast<size_t>(shiftIndex(s))] = 1.0 / nearestFraction(1.0 / exact, kMaxFractionTerm);
        }
        return table;
    }();
    return factors[static_cast<size_t>(shiftIndex(semitones))];
}

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
    {
        const std::lock_guard<std::mutex> lock(calibrationMutex);
        auto known = calibrations.find(narrowed);
        if (known == calibrations.end())
            known = calibrations.emplace(narrowed, measure()).first;
        calibration = known->second;
    }
    stretcher = makeShifter(kChannels);
    warmUp();
    pending.reserve(calibration.outputDelay + kQueueSpareChunks * kChunk);
    restart();
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
    }
    semitones = value;
    return true;
}

void TimeStretcher::process(const float* const* input, float* const* output) noexcept
{
    if (stretcher == nullptr)
    {
        for (int channel = 0; channel < kChannels; ++channel)
            std::fill(output[channel], output[channel] + kPiece, 0.0f);
        return;
    }
    // A non-finite sample would poison the shifter's spectra for good; it goes in as 0.
    for (int channel = 0; channel < kChannels; ++channel)
        std::transform(input[channel], input[channel] + kPiece, finiteInput[channel].begin(),
                       [](float sample) { return std::isfinite(sample) ? sample : 0.0f; });
    const float* const source[kChannels] = {finiteInput[0].data(), finiteInput[1].data()};
    stretcher->process(source, kPiece, false);
    collectOutput();
    const int given = pending.pop(output, kPiece);
    if (given < kPiece)
    {
        // The shifter fell behind: fill with silence and drop as many of its later
        // frames, so that everything after stays at the reported latency.
        for (int channel = 0; channel < kChannels; ++channel)
            std::fill(output[channel] + given, output[channel] + kPiece, 0.0f);
        framesToSkip += kPiece - given;
    }
}

void TimeStretcher::compensateDelayChange(int from, int to) noexcept
{
    // A longer delay is taken out by dropping shifted frames, a shorter one by holding
    // the following frames back behind a repeat of the newest ones (a stutter is less
    // abrupt than a gap of silence).
    const int change = calibration.shiftDelay[static_cast<size_t>(shiftIndex(to))]
                     - calibration.shiftDelay[static_cast<size_t>(shiftIndex(from))];
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
    const int room = static_cast<int>(scratch[0].size());
    for (int available = stretcher->available(); available > 0; available = stretcher->available())
    {
        const int taken = static_cast<int>(stretcher->retrieve(destination, std::min(available, room)));
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
    const std::array<float, kPiece> silence {};
    const float* const source[kChannels] = {silence.data(), silence.data()};
    for (; frames > 0; frames -= kPiece)
        stretcher->process(source, static_cast<size_t>(std::min(frames, kPiece)), false);
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

void TimeStretcher::restart()
{
    primeAtUnity();
    pending.clear();
    pending.pushSilence(calibration.outputDelay);
    if (semitones != 0)
    {
        stretcher->setPitchScale(transposition(semitones));
        compensateDelayChange(0, semitones);
    }
}

std::unique_ptr<RubberBandStretcher> TimeStretcher::makeShifter(int channels) const
{
    auto shifter = std::make_unique<RubberBandStretcher>(static_cast<size_t>(std::lround(rate)),
                                                         static_cast<size_t>(channels), kOptions, 1.0, 1.0);
    shifter->setMaxProcessSize(kPiece);
    return shifter;
}

TimeStretcher::Calibration TimeStretcher::measure()
{
    // The shifter treats every channel alike, so one channel shows the same delays, reserve
    // and latency as two, at half the cost.
    stretcher = makeShifter(1);
    const int inForce = std::exchange(semitones, 0); // measured from factor 1, whatever is asked for
    calibration.shiftDelay = measureShiftDelays();
    calibration.outputDelay = measureShortfall() + kSafetyChunks * kChunk;
    pending.reserve(calibration.outputDelay + kQueueSpareChunks * kChunk);
    calibration.latency = measureLatency();
    semitones = inForce;
    return calibration;
}

template <typename OnFactor, typename AfterPiece>
void TimeStretcher::playWarmUpSequence(int piecesPerRatio, OnFactor&& onFactor, AfterPiece&& afterPiece)
{
    std::array<std::array<float, kPiece>, kChannels> signal {};
    const float* const source[kChannels] = {signal[0].data(), signal[1].data()};
    RandomGenerator noise;
    long fed = 0;
    forEachWarmUpStep(piecesPerRatio, [&](int s, bool first) {
        if (first)
        {
            stretcher->setPitchScale(transposition(s));
            onFactor(s);
        }
        fillTestSignal(signal, fed, noise);
        stretcher->process(source, kPiece, false);
        fed += kPiece;
        afterPiece(fed);
    });
}

void TimeStretcher::warmUp()
{
    // A few pieces at every factor make the shifter size its buffers for each of them.
    primeAtUnity();
    playWarmUpSequence(4, [](int) {}, [this](long) { retrieveAll([](int) {}); });
}

std::array<int, TimeStretcher::kNumShifts> TimeStretcher::measureShiftDelays()
{
    // Clicks through each transposition in turn, on one stream primed at factor 1: where
    // a click's peak comes out gives that transposition's delay. The delay moves a little
    // with where a click falls in the shifter's frames, so each transposition gets two
    // clicks at different places in them and the mean is taken.
    primeAtUnity();
    // Search window either side of a click: the longest delay the library reports over
    // the range, the one at the lowest factor.
    stretcher->setPitchScale(transposition(-kMaxSemitones));
    const int span = std::max(static_cast<int>(stretcher->getStartDelay()), kChunk);
    stretcher->setPitchScale(1.0);
    const int clickOffsets[2] = {0, 2 * span + 288}; // far enough apart that their windows never overlap
    std::array<float, kPiece> input {};
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
            peakAt[c] = clickAt[c] = fed + span + kChunk + clickOffsets[c];
        for (int piece = 0; piece < kMaxMeasurePieces && produced <= clickAt[1] + span; ++piece)
        {
            input.fill(0.0f);
            for (long at : clickAt)
                if (at >= fed && at < fed + kPiece)
                    input[static_cast<size_t>(at - fed)] = 1.0f;
            stretcher->process(source, kPiece, false);
            fed += kPiece;
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
        delay[static_cast<size_t>(shiftIndex(s))] = static_cast<int>((peakAt[0] - clickAt[0] + peakAt[1] - clickAt[1]) / 2);
    }
    const int atUnity = delay[static_cast<size_t>(shiftIndex(0))];
    for (int& value : delay)
        value -= atUnity;
    return delay;
}

int TimeStretcher::measureLatency()
{
    // Where a click comes out of the whole chain as it stands after a restart; the
    // resampler's filter makes this a little longer than the library reports.
    restart();
    std::array<float, kPiece> in {};
    std::array<std::array<float, kPiece>, kChannels> out {};
    const float* const source[kChannels] = {in.data(), in.data()};
    float* const destination[kChannels] = {out[0].data(), out[1].data()};
    const int clickAt = 4 * kChunk; // clear of the first frames after a reset
    int peakAt = clickAt + calibration.outputDelay;
    float peak = 0.0f;
    const int pieces = (clickAt + calibration.outputDelay) / kPiece + kQueueSpareChunks * kPiecesPerChunk;
    for (int piece = 0; piece < pieces; ++piece)
    {
        in.fill(0.0f);
        if (piece == clickAt / kPiece)
            in[0] = 1.0f;
        process(source, destination);
        for (int i = 0; i < kPiece; ++i)
        {
            if (std::abs(out[0][static_cast<size_t>(i)]) > peak)
            {
                peak = std::abs(out[0][static_cast<size_t>(i)]);
                peakAt = piece * kPiece + i;
            }
        }
    }
    return peakAt - clickAt;
}

int TimeStretcher::measureShortfall()
{
    // The warm-up sequence, a chunk per factor, with the delay compensation that
    // processing applies. Returns how far the output ever trails the input: the fixed
    // latency must cover that so that a whole piece is always ready.
    primeAtUnity();
    long produced = -framesToSkip;
    long worst = 0;
    int current = 0;
    playWarmUpSequence(
        2 * kPiecesPerChunk,
        [&](int s) {
            produced -= calibration.shiftDelay[static_cast<size_t>(shiftIndex(s))]
                      - calibration.shiftDelay[static_cast<size_t>(shiftIndex(current))];
            current = s;
        },
        [&](long fed) {
            retrieveAll([&produced](int taken) { produced += taken; });
            worst = std::max(worst, fed - produced);
        });
    return static_cast<int>(std::max(worst, 0L));
}
