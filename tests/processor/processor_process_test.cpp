#include "ProcessorFixture.h"

#include "dsp/TransportLimits.h"
#include "ids.h"

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <xmmintrin.h>

using namespace ProcessorTest;

namespace {

void fillNoise(float* samples, int32 count, uint32 seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
    for (int32 index = 0; index < count; ++index)
        samples[index] = distribution(generator);
}

bool equalSamples(const float* a, const float* b, int32 count)
{
    return std::equal(a, a + count, b);
}

// An active processor and one reusable block of host buffers.
struct Process : ProcessorFixture
{
    void SetUp() override
    {
        ProcessorFixture::SetUp();
        ASSERT_EQ(processor->setActive(true), kResultOk);
    }
    void TearDown() override
    {
        if (reference)
        {
            reference->setActive(false);
            reference->terminate();
        }
        ProcessorFixture::TearDown();
    }
    // A second active processor, for tests that compare two ways of driving one.
    void startReference()
    {
        reference = owned(new Vextoria3());
        prepare(*reference);
        ASSERT_EQ(reference->setActive(true), kResultOk);
    }
    // Live slices only, no random choices: the gate alone shows where slices start.
    static void addLiveSlicesOnly(ProcessBlock& block)
    {
        for (auto [id, value] : {std::pair{Vextoria3Ids::kActive, 1.0}, {Vextoria3Ids::kSliceAmt, 0.0},
                                 {Vextoria3Ids::kReverseAmt, 0.0}, {Vextoria3Ids::kPitchAmt, 0.0},
                                 {Vextoria3Ids::kRollAmt, 0.0}, {Vextoria3Ids::kGateSize, 0.5}})
            block.inputChanges.addPoint(id, 0, value);
    }
    void setBypass(ProcessBlock& block, bool on)
    {
        block.inputChanges.addPoint(Vextoria3Ids::kBypass, 0, on ? 1.0 : 0.0);
        ASSERT_EQ(run(block, 0), kResultOk);
    }

    IPtr<Vextoria3> reference;
};

} // namespace

TEST_F(Process, OnlyTheLastPointOfEachQueueIsApplied)
{
    ProcessBlock block(2, 2, kMaxBlock);
    block.inputChanges.addPoint(Vextoria3Ids::kGateSize, 0, 0.1);
    block.inputChanges.addPoint(Vextoria3Ids::kGateSize, 10, 0.4);
    block.inputChanges.addPoint(Vextoria3Ids::kGateSize, 100, 0.9);
    block.inputChanges.addPoint(Vextoria3Ids::kPitchBend, 5, 0.25);
    ASSERT_EQ(run(block, 128), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.9f);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kPitchBend), 0.25f);
}

TEST_F(Process, BypassCopiesStereoInputAndFeedsAMonoInputToBothOutputs)
{
    for (int32 inputs : {2, 1})
    {
        ProcessBlock block(inputs, 2, kMaxBlock);
        setBypass(block, true);
        for (int32 channel = 0; channel < inputs; ++channel)
            fillNoise(block.audio.input(channel), kMaxBlock, 1 + channel);
        ASSERT_EQ(run(block, 100), kResultOk);
        for (int32 channel = 0; channel < 2; ++channel)
            EXPECT_TRUE(equalSamples(block.audio.output(channel), block.audio.input(std::min(channel, inputs - 1)), 100))
                << inputs << " inputs, channel " << channel;
    }
}

TEST_F(Process, MissingInputReadsAsSilenceAndOverlongBlocksAreWrittenCompletely)
{
    constexpr int32 kLongBlock = 5 * kMaxBlock + 17;
    for (bool bypass : {true, false})
    {
        SCOPED_TRACE(bypass ? "bypassed" : "processed");
        ProcessBlock missing(0, 2, kMaxBlock);
        ProcessBlock overlong(2, 2, kLongBlock);
        for (ProcessBlock* block : {&missing, &overlong})
        {
            setBypass(*block, bypass);
            for (int32 channel = 0; channel < 2; ++channel)
                std::fill_n(block->audio.output(channel), block->audio.maxFrames(), std::numeric_limits<float>::quiet_NaN());
        }
        for (int32 channel = 0; channel < 2; ++channel)
            fillNoise(overlong.audio.input(channel), kLongBlock, 10 + channel);
        ASSERT_EQ(run(missing, kMaxBlock), kResultOk);
        ASSERT_EQ(run(overlong, kLongBlock), kResultOk);
        for (int32 channel = 0; channel < 2; ++channel)
        {
            for (int32 index = 0; index < kMaxBlock; ++index)
                ASSERT_EQ(missing.audio.output(channel)[index], 0.0f) << "sample " << index;
            for (int32 index = 0; index < kLongBlock; ++index)
                ASSERT_TRUE(std::isfinite(overlong.audio.output(channel)[index])) << "sample " << index;
        }
        if (bypass)
            EXPECT_TRUE(equalSamples(overlong.audio.output(1), overlong.audio.input(1), kLongBlock));
    }
}

TEST_F(Process, BlocksWithoutSamplesOrOutputsStillTakeParametersButWriteNothing)
{
    ProcessBlock empty(2, 2, kMaxBlock);
    std::fill_n(empty.audio.output(0), kMaxBlock, 0.25f);
    empty.inputChanges.addPoint(Vextoria3Ids::kReverseAmt, 0, 0.7);
    ASSERT_EQ(run(empty, 0), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kReverseAmt), 0.7f);
    EXPECT_EQ(empty.audio.output(0)[0], 0.25f);

    ProcessBlock noOutput(2, 0, kMaxBlock);
    noOutput.inputChanges.addPoint(Vextoria3Ids::kRollAmt, 0, 0.3);
    noOutput.inputEvents.addNoteOn(36, 1.0f, 0);
    noOutput.inputEvents.addNoteOff(36, 0.0f, 10);
    ASSERT_EQ(run(noOutput, 64), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kRollAmt), 0.3f);
}

TEST_F(Process, TransportIsCopiedAndUnusableTemposKeepTheLastBeatLength)
{
    const HostTimeInfo& time = dsp().timeInfo;
    ProcessContext context {};
    context.sampleRate = 48000.0;
    context.tempo = 0.0;
    context.state = ProcessContext::kTempoValid | ProcessContext::kPlaying | ProcessContext::kBarPositionValid;
    context.barPositionMusic = 8.0;
    context.projectTimeMusic = 9.5; // not flagged: reads as 0
    context.timeSigNumerator = 3;
    context.timeSigDenominator = 8;
    processor->processVstTimeInfo(context);
    EXPECT_TRUE(time.contextValid && time.playing);
    EXPECT_EQ(time.samplesPerBeat, 22050.0);
    EXPECT_EQ(time.barPositionMusic, 8.0);
    EXPECT_EQ(time.projectTimeMusic, 0.0);
    EXPECT_EQ(time.timeSigNumerator / time.timeSigDenominator, 3.0 / 8.0);

    context.tempo = 120.0;
    processor->processVstTimeInfo(context);
    EXPECT_EQ(time.samplesPerBeat, 24000.0);
    for (double broken : {0.0, -90.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          0.001, 1e9})
    {
        context.tempo = broken;
        processor->processVstTimeInfo(context);
        EXPECT_EQ(time.samplesPerBeat, 24000.0) << broken;
        EXPECT_EQ(time.tempo, 120.0) << broken;
    }
    context.tempo = 120.0;
    for (double broken : {0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(), 1e305, 0.5})
    {
        context.sampleRate = broken;
        processor->processVstTimeInfo(context);
        EXPECT_EQ(time.sampleRate, 48000.0) << broken;
        EXPECT_EQ(time.samplesPerBeat, 24000.0) << broken;
    }

    context.state = ProcessContext::kPlaying; // no tempo flag: 120 beats per minute
    context.tempo = 90.0;
    context.sampleRate = 44100.0;
    processor->processVstTimeInfo(context);
    EXPECT_EQ(time.tempo, 120.0);
    EXPECT_EQ(time.samplesPerBeat, 22050.0);
    EXPECT_EQ(time.barPositionMusic, 0.0);
}

// A host that stops sending its transport: the clock runs on from where the last block ended,
// as if the host had gone on sending it, instead of restarting each block at one place.
TEST_F(Process, BlocksWithoutContextContinueWhereThePreviousBlockEnded)
{
    startReference();
    ProcessBlock withContext(2, 2, kMaxBlock);
    ProcessBlock without(2, 2, kMaxBlock);
    for (ProcessBlock* block : {&withContext, &without})
    {
        block->clock.setTempo(100.0);
        block->clock.setPlaying(true);
        addLiveSlicesOnly(*block);
    }
    constexpr int32 kFrames = 200; // a slice is 13230 samples: most blocks start none
    for (int32 blockIndex = 0; blockIndex < 150; ++blockIndex)
    {
        for (ProcessBlock* block : {&withContext, &without})
            for (int32 channel = 0; channel < 2; ++channel)
                fillNoise(block->audio.input(channel), kFrames, static_cast<uint32>(blockIndex));
        ASSERT_EQ(reference->process(withContext.prepare(kFrames)), kResultOk);
        withContext.finish();
        ProcessData& data = without.prepare(kFrames);
        if (blockIndex > 0)
            data.processContext = nullptr;
        ASSERT_EQ(processor->process(data), kResultOk);
        without.finish();
        ASSERT_TRUE(equalSamples(without.audio.output(0), withContext.audio.output(0), kFrames)) << blockIndex;
    }
    EXPECT_EQ(dsp().decisionCount(), reference->dsp().decisionCount());
    EXPECT_DOUBLE_EQ(dsp().timeInfo.samplesPerBeat, kSampleRate * 60.0 / 100.0);
}

// Transports no host should send: each value is kept inside the range where every length and
// position the engine derives from it is defined (the sanitizer build checks the conversions),
// and the output stays finite in every sample.
TEST_F(Process, ExtremeTransportsGiveFiniteOutputInEverySample)
{
    using Context = ProcessContext;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<const char*, std::function<void(Context&)>> cases[] = {
        {"tempo 0.001", [](Context& c) { c.tempo = 0.001; }},
        {"tempo 1e9", [](Context& c) { c.tempo = 1e9; }},
        {"rate 1e305", [](Context& c) { c.sampleRate = 1e305; }},
        {"rate 1e-300", [](Context& c) { c.sampleRate = 1e-300; }},
        {"rate NaN", [nan](Context& c) { c.sampleRate = nan; }},
        {"position 1e300", [](Context& c) { c.projectTimeMusic = 1e300; }},
        {"position -1e300", [](Context& c) { c.projectTimeMusic = -1e300; }},
        {"samples only, at the end of time", [](Context& c) {
             c.state &= ~static_cast<uint32>(Context::kProjectTimeMusicValid);
             c.projectTimeSamples = std::numeric_limits<int64>::max() - 100;
             c.continousTimeSamples = std::numeric_limits<int64>::max() - 100;
         }},
    };
    ProcessBlock block(2, 2, kMaxBlock);
    block.clock.setPlaying(true);
    for (auto [id, value] : {std::pair{Vextoria3Ids::kActive, 1.0}, {Vextoria3Ids::kStretch, 1.0},
                             {Vextoria3Ids::kPitchAmt, 1.0}, {Vextoria3Ids::kRollAmt, 1.0},
                             {Vextoria3Ids::kFxAmt, 1.0}, {Vextoria3Ids::kSliceSize, 1.0}})
        block.inputChanges.addPoint(id, 0, value);
    for (const auto& [name, breakTransport] : cases)
    {
        for (int32 blockIndex = 0; blockIndex < 12; ++blockIndex)
        {
            fillNoise(block.audio.input(0), kMaxBlock, static_cast<uint32>(blockIndex));
            fillNoise(block.audio.input(1), kMaxBlock, static_cast<uint32>(blockIndex) + 99);
            for (int32 channel = 0; channel < 2; ++channel)
                std::fill_n(block.audio.output(channel), kMaxBlock, std::numeric_limits<float>::quiet_NaN());
            ProcessData& data = block.prepare(kMaxBlock);
            breakTransport(*data.processContext);
            ASSERT_EQ(processor->process(data), kResultOk);
            block.finish();
            for (int32 channel = 0; channel < 2; ++channel)
                ASSERT_TRUE(std::all_of(block.audio.output(channel), block.audio.output(channel) + kMaxBlock,
                                        [](float sample) { return std::isfinite(sample); }))
                    << name << ", block " << blockIndex;
        }
        EXPECT_TRUE(TransportLimits::isUsableSamplesPerBeat(dsp().timeInfo.samplesPerBeat)) << name;
        block.clock = VextoriaHost::TransportClock(); // a sane host again
        block.clock.setPlaying(true);
    }
}

TEST_F(Process, HostFloatingPointModeIsRestoredAfterABlock)
{
    const unsigned before = _mm_getcsr();
    _mm_setcsr(before & ~0x8040u); // the host runs without flush-to-zero
    ProcessBlock block(2, 2, kMaxBlock);
    std::fill_n(block.audio.input(0), kMaxBlock, 1e-40f);
    ASSERT_EQ(run(block, kMaxBlock), kResultOk);
    EXPECT_EQ(_mm_getcsr() & 0x8040u, 0u);
    _mm_setcsr(before);
}

TEST_F(Process, WaitingStateThenParameterChangesApplyBeforeTheBlocksAudio)
{
    ASSERT_EQ(restore(withParam(state(), Vextoria3Ids::kGateSize, 0.25)), kResultOk);

    ProcessBlock block(2, 2, kMaxBlock);
    block.inputChanges.addPoint(Vextoria3Ids::kGateSize, 0, 0.5);   // the host's change wins over the state
    block.inputChanges.addPoint(Vextoria3Ids::kBypass, 100, 1.0);   // and bypasses this very block
    fillNoise(block.audio.input(0), kMaxBlock, 21);
    fillNoise(block.audio.input(1), kMaxBlock, 22);
    ASSERT_EQ(run(block, kMaxBlock), kResultOk);
    EXPECT_EQ(dsp().getParameter(Vextoria3Ids::kGateSize), 0.5f);
    EXPECT_TRUE(equalSamples(block.audio.output(0), block.audio.input(0), kMaxBlock));
}

// A block split into pieces sounds as the same audio given in blocks of the maximum size:
// each piece continues the clock instead of restarting it.
TEST_F(Process, SplitBlocksContinueTheSliceClock)
{
    constexpr int32 kLongBlock = 3 * kMaxBlock + 17;
    constexpr int32 kBlocks = 40;
    startReference();

    ProcessBlock whole(2, 2, kLongBlock);
    ProcessBlock pieces(2, 2, kMaxBlock);
    for (ProcessBlock* block : {&whole, &pieces})
    {
        block->clock.setPlaying(true);
        addLiveSlicesOnly(*block);
    }

    std::vector<float> input(static_cast<size_t>(kLongBlock) * kBlocks);
    fillNoise(input.data(), static_cast<int32>(input.size()), 3);
    for (int32 blockIndex = 0; blockIndex < kBlocks; ++blockIndex)
    {
        const float* source = input.data() + static_cast<size_t>(blockIndex) * kLongBlock;
        for (int32 channel = 0; channel < 2; ++channel)
            std::copy(source, source + kLongBlock, whole.audio.input(channel));
        ASSERT_EQ(run(whole, kLongBlock), kResultOk);

        for (int32 offset = 0; offset < kLongBlock; offset += kMaxBlock)
        {
            const int32 frames = std::min(kMaxBlock, kLongBlock - offset);
            for (int32 channel = 0; channel < 2; ++channel)
                std::copy(source + offset, source + offset + frames, pieces.audio.input(channel));
            ASSERT_EQ(reference->process(pieces.prepare(frames)), kResultOk);
            pieces.finish();
            for (int32 channel = 0; channel < 2; ++channel)
                ASSERT_TRUE(equalSamples(pieces.audio.output(channel), whole.audio.output(channel) + offset, frames))
                    << "block " << blockIndex << " offset " << offset;
        }
    }
}
