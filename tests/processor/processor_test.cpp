// The factory, and the processor driven by a host and the editor: buses, blocks, transports, records, messages.
#include "ProcessorFixture.h"

#include "ids.h"
#include "sdk/pluginfactory.h"

#include <cmath>
#include <functional>
#include <gmock/gmock.h>
#include <limits>
#include <random>
#include <xmmintrin.h>

using namespace ProcessorTest;
using namespace Vextoria3Ids;

extern "C" IPluginFactory* PLUGIN_API GetPluginFactory();

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void fillNoise(ProcessBlock& block, int32 frames, uint32 seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-1.0f, 1.0f);
    for (int32 channel = 0; channel < block.audio.inputChannels(); ++channel)
        std::generate_n(block.audio.input(channel), frames, [&] { return distribution(generator); });
    for (int32 channel = 0; channel < block.audio.outputChannels(); ++channel) // every sample must be written
        std::fill_n(block.audio.output(channel), block.audio.maxFrames(), std::numeric_limits<float>::quiet_NaN());
}

bool equalSamples(const float* a, const float* b, int32 count) { return std::equal(a, a + count, b); }

void setParameters(ProcessBlock& block, std::initializer_list<std::pair<int32, double>> values)
{
    for (auto [id, value] : values)
        block.inputChanges.addPoint(id, 0, value);
}

struct Process : ProcessorFixture
{
    void SetUp() override
    {
        ProcessorFixture::SetUp();
        ASSERT_EQ(processor->setActive(true), kResultOk);
    }
};

struct Records : ProcessorFixture
{
    tresult loadPreset(const Bytes& preset)
    {
        return processor->notify(binaryMessage("loadpreset", preset.data(), static_cast<uint32>(preset.size())));
    }
    float gate() const { return dsp().getParameter(kGateSize); }
};

// A message whose attribute list is missing, as a careless peer might send.
struct MessageWithoutAttributes : HostMessage
{
    IAttributeList* PLUGIN_API getAttributes() override { return nullptr; }
};

} // namespace

TEST(ModuleFactory, OneCountedFactoryOffersTheProcessorThenItsControllerAndRefusesTheRest)
{
    IPluginFactory* factory = GetPluginFactory();
    ASSERT_EQ(GetPluginFactory(), factory);
    PFactoryInfo about {};
    PClassInfo2 infos[3] {};
    ASSERT_TRUE(factory->countClasses() == 2 && factory->getFactoryInfo(&about) == kResultOk);
    for (int32 index : {0, 1})
        ASSERT_EQ(gPluginFactory->getClassInfo2(index, &infos[index]), kResultOk);
    EXPECT_EQ(std::tuple(std::string(about.vendor), about.flags), std::tuple("Harlowmint", PFactoryInfo::kUnicode));
    const auto described = [](const PClassInfo2& c) { // category|name|flags|sub-categories|version|SDK version
        return std::string(c.category) + "|" + c.name + "|" + std::to_string(c.classFlags) + "|" + c.subCategories +
               "|" + c.version + "|" + c.sdkVersion;
    };
    EXPECT_EQ(described(infos[0]), "Audio Module Class|VextoriaPRO|1|Fx|1.3.2.1|VST 3.7.3");
    EXPECT_EQ(described(infos[1]), "Component Controller Class|VextoriaPROController|0||1.3.2.1|VST 3.7.3");
    EXPECT_FALSE(gPluginFactory->registerClass(&infos[0], Vextoria3::createInstance)) << "a class twice";
    EXPECT_FALSE(gPluginFactory->registerClass(nullptr, Vextoria3::createInstance));
    PClassInfo info;
    PClassInfoW wideInfo;
    EXPECT_THAT((std::array {factory->getClassInfo(-1, &info), factory->getClassInfo(0, nullptr),
                             gPluginFactory->getClassInfo2(2, &infos[2]), gPluginFactory->getClassInfoUnicode(2, &wideInfo),
                             factory->getFactoryInfo(nullptr),
                             factory->createInstance(infos[0].cid, IPluginBase::iid, nullptr)}),
                testing::Each(kInvalidArgument));
    void* refused = reinterpret_cast<void*>(1);
    EXPECT_THAT((std::array {factory->createInstance(FUID(9, 9, 9, 9).toTUID(), IPluginBase::iid, &refused),
                             factory->createInstance(infos[0].cid, IPluginFactory::iid, &refused),
                             factory->queryInterface(IPluginBase::iid, &refused)}),
                testing::Each(kNoInterface));
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(factory->release(), 1u);
    EXPECT_EQ(factory->release(), 0u);
    EXPECT_EQ(gPluginFactory, nullptr);
}

// Also: the block leaves the host's floating-point mode as it found it.
TEST_F(Process, AWaitingStateThenTheLastPointOfEachQueueApplyBeforeTheBlocksAudio)
{
    const unsigned hostMode = _mm_getcsr();
    _mm_setcsr(hostMode & ~0x8040u); // the host runs without flush-to-zero
    ASSERT_EQ(restore(withParam(state(), kGateSize, 0.25)), kResultOk);
    ProcessBlock block(2, 2, kMaxBlock);
    for (auto [id, offset, value] : {std::tuple {kGateSize, 0, 0.1}, {kGateSize, 100, 0.9},
                                     {kGateSize, 10, 0.4}, {kPitchBend, 5, 0.25},
                                     {kBypass, 100, 1.0}}) // bypasses this very block
        block.inputChanges.addPoint(id, offset, value);
    fillNoise(block, kMaxBlock, 21);
    ASSERT_EQ(run(block, kMaxBlock), kResultOk);
    EXPECT_EQ(_mm_getcsr() & 0x8040u, 0u);
    _mm_setcsr(hostMode);
    EXPECT_EQ(dsp().getParameter(kGateSize), 0.9f);
    EXPECT_EQ(dsp().getParameter(kPitchBend), 0.25f);
    EXPECT_TRUE(equalSamples(block.audio.output(0), block.audio.input(0), kMaxBlock));
    EXPECT_TRUE(equalSamples(block.audio.output(1), block.audio.input(1), kMaxBlock));
}

// Mono or stereo pairs only; bypassed mono feeds both sides, no input is silence, no outputs still take changes.
TEST_F(Process, OnlyMonoOrStereoPairsAreTakenAndEveryInputLayoutFillsBothOutputs)
{
    ASSERT_EQ(processor->setActive(false), kResultOk);
    SpeakerArrangement stereo[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo}, mono = SpeakerArr::kMono;
    EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    EXPECT_EQ(processor->setBusArrangements(&mono, 1, stereo, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(stereo, 2, stereo, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(stereo, 1, stereo, 0), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(nullptr, 1, stereo, 1), kInvalidArgument);
    BusInfo input {};
    ASSERT_EQ(processor->getBusInfo(kAudio, kInput, 0, input), kResultTrue);
    EXPECT_EQ(input.channelCount, 2) << "a refused request goes back to stereo";
    ASSERT_EQ(processor->setActive(true), kResultOk);
    const std::vector<float> silence(kMaxBlock, 0.0f);
    for (auto [bypass, inputs] : {std::pair {true, 1}, {true, 0}, {false, 0}})
    {
        ProcessBlock block(inputs, 2, kMaxBlock);
        setParameters(block, {{kBypass, bypass ? 1.0 : 0.0}, {kActive, 1.0}});
        fillNoise(block, kMaxBlock, 10);
        ASSERT_EQ(run(block, kMaxBlock), kResultOk);
        const float* expected = inputs == 0 ? silence.data() : block.audio.input(0);
        for (int32 channel = 0; channel < 2; ++channel)
            EXPECT_TRUE(equalSamples(block.audio.output(channel), expected, kMaxBlock))
                << inputs << " inputs" << (bypass ? ", bypassed" : "") << ", channel " << channel;
    }
    ProcessBlock noOutput(2, 0, kMaxBlock);
    setParameters(noOutput, {{kRollAmt, 0.3}});
    ASSERT_EQ(run(noOutput, 64), kResultOk);
    EXPECT_EQ(dsp().getParameter(kRollAmt), 0.3f);
}

// Over-long blocks go in pieces and a missing transport is taken as going on: both sound as maximum-size blocks.
TEST_F(Process, SplitBlocksAndBlocksWithoutContextContinueTheSliceClock)
{
    constexpr int32 kLongBlock = 3 * kMaxBlock + 17; // a slice is 13230 samples at 100 bpm
    auto reference = owned(new Vextoria3());
    prepare(*reference);
    ASSERT_EQ(reference->setActive(true), kResultOk);
    ProcessBlock whole(2, 2, kLongBlock);
    ProcessBlock pieces(2, 2, kMaxBlock);
    for (ProcessBlock* block : {&whole, &pieces})
    {
        block->clock.setTempo(100.0);
        block->clock.setPlaying(true);
        // Live slices only, no random choices: the gate alone shows where slices start.
        setParameters(*block, {{kActive, 1.0}, {kSliceAmt, 0.0}, {kReverseAmt, 0.0},
                               {kPitchAmt, 0.0}, {kRollAmt, 0.0}, {kGateSize, 0.5}});
    }
    for (int32 blockIndex = 0; blockIndex < 60; ++blockIndex)
    {
        fillNoise(whole, kLongBlock, static_cast<uint32>(blockIndex));
        ProcessData& data = whole.prepare(kLongBlock);
        if (blockIndex % 10 != 0)
            data.processContext = nullptr;
        ASSERT_EQ(processor->process(data), kResultOk);
        whole.finish();
        for (int32 offset = 0; offset < kLongBlock; offset += kMaxBlock)
        {
            const int32 frames = std::min(kMaxBlock, kLongBlock - offset);
            for (int32 channel = 0; channel < 2; ++channel)
                std::copy_n(whole.audio.input(channel) + offset, frames, pieces.audio.input(channel));
            ASSERT_EQ(reference->process(pieces.prepare(frames)), kResultOk);
            pieces.finish();
            for (int32 channel = 0; channel < 2; ++channel)
                ASSERT_TRUE(equalSamples(pieces.audio.output(channel), whole.audio.output(channel) + offset, frames))
                    << "block " << blockIndex << " offset " << offset;
        }
    }
    EXPECT_EQ(dsp().decisionCount(), reference->dsp().decisionCount());
    EXPECT_DOUBLE_EQ(dsp().timeInfo.samplesPerBeat, 44100.0 * 60.0 / 100.0);
    reference->setActive(false);
    reference->terminate();
}

// Unusable tempos or rates keep the last good beat; positions stay where lengths are defined; samples stay finite.
TEST_F(Process, ExtremeTransportsGiveFiniteOutputInEverySample)
{
    using Context = ProcessContext;
    std::vector<std::pair<std::string, std::function<void(Context&)>>> cases = {
        {"tempo 90 not flagged", [](Context& c) { c.tempo = 90.0, c.state &= ~uint32 {Context::kTempoValid}; }},
        {"samples only, at the end of time", [](Context& c) { c.state &= ~uint32 {Context::kProjectTimeMusicValid};
             c.projectTimeSamples = c.continousTimeSamples = std::numeric_limits<int64>::max() - 100; }}};
    for (double tempo : {0.0, -90.0, 0.001, 1e9, kNaN, std::numeric_limits<double>::infinity()})
        cases.emplace_back("tempo " + std::to_string(tempo), [tempo](Context& c) { c.tempo = tempo; });
    for (double rate : {0.5, -48000.0, 1e305, 1e-300, kNaN})
        cases.emplace_back("rate " + std::to_string(rate), [rate](Context& c) { c.sampleRate = rate; });
    for (double at : {1e300, -1e300})
        cases.emplace_back("position " + std::to_string(at), [at](Context& c) { c.projectTimeMusic = at; });
    ProcessBlock block(2, 2, kMaxBlock);
    setParameters(block, {{kActive, 1.0}, {kStretch, 1.0}, {kPitchAmt, 1.0},
                          {kRollAmt, 1.0}, {kFxAmt, 1.0}, {kSliceSize, 1.0}});
    for (const auto& [name, breakTransport] : cases)
    {
        block.clock = VextoriaHost::TransportClock(); // a sane host to start from
        block.clock.setPlaying(true);
        for (int32 blockIndex = 0; blockIndex < 12; ++blockIndex)
        {
            fillNoise(block, kMaxBlock, static_cast<uint32>(blockIndex));
            ProcessData& data = block.prepare(kMaxBlock);
            breakTransport(*data.processContext);
            ASSERT_EQ(processor->process(data), kResultOk);
            block.finish();
            for (int32 channel = 0; channel < 2; ++channel)
                ASSERT_TRUE(std::all_of(block.audio.output(channel), block.audio.output(channel) + kMaxBlock,
                                        [](float sample) { return std::isfinite(sample); }))
                    << name << ", block " << blockIndex;
        }
        EXPECT_EQ(dsp().timeInfo.samplesPerBeat, 22050.0) << name << ": the sane host's 120 bpm at 44.1 kHz";
    }
}

TEST_F(Records, WhileActiveAStateOrPresetWaitsForTheNextBlockOrTheDeactivation)
{
    ProcessBlock block(2, 2, kMaxBlock);
    for (bool deactivate : {false, true})
        for (bool asPreset : {false, true})
        {
            SCOPED_TRACE(std::string(asPreset ? "preset" : "state") + (deactivate ? ", deactivation" : ", block"));
            ASSERT_EQ(restore(withParam(state(), kGateSize, 0.25)), kResultOk);
            EXPECT_EQ(gate(), 0.25f) << "idle: taken at once";
            ASSERT_EQ(processor->setActive(true), kResultOk);
            const Bytes record = withParam(state(), kGateSize, 0.125);
            ASSERT_EQ(asPreset ? loadPreset(record) : restore(record), kResultOk);
            EXPECT_EQ(gate(), 0.25f) << "not applied yet";
            EXPECT_EQ(state(), record) << "but saved";
            ASSERT_EQ(deactivate ? processor->setActive(false) : run(block, 64), kResultOk);
            EXPECT_EQ(gate(), 0.125f);
            ASSERT_EQ(processor->setActive(false), kResultOk);
        }
    // A preset's program slot never switches the program; a payload past the 64 KiB read is cut, not refused.
    Bytes preset = withParam(withParam(state(), kGateSize, 0.75), kFactoryPresets, 1.0);
    preset.resize(Vextoria3::kMaxStateBytes + 1000, 0xEE);
    EXPECT_EQ(loadPreset(preset), kResultOk);
    EXPECT_EQ(gate(), 0.75f);
    EXPECT_EQ(dsp().getCurrentProgram(), 0);
}

// A tick asks until refused, then sends new notes and scope bytes; without a message the notes wait, bytes go.
TEST_F(Records, EachTickSendsTheNewNotesWholeAndTheScopeBytesOnceAndAsksTheHostUntilRefused)
{
    ASSERT_EQ(processor->setActive(true), kResultOk);
    const auto ticked = [&] { return peer.log.clear(), tick(), peer.log; };
    using Log = std::vector<std::string>;
    ProcessBlock block(2, 2, kMaxBlock);
    block.inputEvents.addNoteOn(40, 0.5f, 7);
    block.inputEvents.addNoteOff(41, 1.0f, 9);
    ASSERT_EQ(run(block, kMaxBlock), kResultOk);
    peer.answer = kResultOk;
    EXPECT_EQ(ticked(), (Log {"askpresonus 1", "MidiNote 32", "AudioData 256"}));
    peer.answer = kResultFalse;
    EXPECT_EQ(ticked(), (Log {"askpresonus 1", "AudioData 0"}));
    EXPECT_EQ(ticked(), Log {"AudioData 0"});
    EXPECT_EQ(peer.notes, (std::vector<int32> {1, 40, 7, 63, 2, 41, 9, 127})) << "velocity x 127, truncated";
    for (bool refused : {true, false})
    {
        block.inputEvents.addNoteOn(50, 1.0f, 0);
        ASSERT_EQ(run(block, 64), kResultOk);
        host.refuse = refused;
        EXPECT_EQ(ticked(), (refused ? Log {} : Log {"MidiNote 32", "AudioData 64"}));
    }
}

TEST_F(Records, MalformedRecordsAndMessagesAreRefusedAndNeverReachTheWaitingSlot)
{
    const Bytes before = state();
    // A fresh processor's record: version 1, the bend centred, the knob speed (hidden value 3) at 1.
    EXPECT_EQ(std::tuple(readAt<int32>(before, 0), readAt<double>(before, paramOffset(kPitchBend)),
                         readAt<double>(before, 316 + 3 * 8)), std::tuple(1, 0.5, 1.0));
    const auto withCounts = [&](int32 params, int32 hidden, size_t size) {
        Bytes record = withParam(before, kGateSize, 0.5);
        record.resize(size, 0);
        writeAt(record, 4, params);
        writeAt(record, paramOffset(std::clamp(params, 0, 38)), hidden);
        return record;
    };
    const std::pair<const char*, Bytes> refused[] = {
        {"one byte short", withCounts(38, 7, 371)},
        {"39 parameters", withCounts(39, 7, 380)},
        {"8 hidden values", withCounts(38, 8, 380)},
        {"negative parameter count", withCounts(-1, 7, 372)},
        {"huge hidden count", withCounts(38, std::numeric_limits<int32>::max(), 372)}};
    const double tooFewHidden[6] = {1, 1, 1, 1, 1, 1};
    const int32 slice = 5;
    auto withoutId = intMessage("IntMessage", "setslice", 3);
    withoutId->setMessageID(nullptr);
    ProcessBlock block(2, 2, kMaxBlock);
    for (bool running : {false, true})
    {
        SCOPED_TRACE(running ? "running" : "idle");
        ASSERT_EQ(processor->setActive(running), kResultOk);
        EXPECT_EQ(restore({}), kResultFalse);
        EXPECT_EQ(processor->setState(nullptr), kInvalidArgument);
        for (const auto& [name, bytes] : refused)
        {
            EXPECT_EQ(restore(bytes), kResultFalse) << name;
            EXPECT_EQ(loadPreset(bytes), kResultFalse) << name;
        }
        for (const IPtr<IMessage>& message :
             {binaryMessage("loadpreset", withCounts(38, 7, 372).data(), 372, "IntMessage"), // the id names the type
              intMessage("IntMessag", "setslice", 3), withoutId,
              binaryMessage("setslice", &slice, sizeof(slice)), binaryMessage("setpresetname", "Drums", 5),
              binaryMessage("synchiddenparam", tooFewHidden, sizeof(tooFewHidden))})
            EXPECT_EQ(processor->notify(message), kResultFalse);
        for (const char* id : {"TextMessage", "IntMessage", "BinaryMessage"})
        {
            auto message = owned(new MessageWithoutAttributes);
            message->setMessageID(id);
            EXPECT_EQ(processor->notify(message), kResultFalse) << id;
        }
        EXPECT_EQ(processor->notify(nullptr), kInvalidArgument);
        ASSERT_EQ(run(block, running ? 64 : 0), kResultOk);
        EXPECT_EQ(state(), before);
        EXPECT_EQ(dsp().getSelectedSlice(), -1);
    }
    // Slice pads: slice sent, whether it is taken, the slice selected after it
    const std::tuple<int64, tresult, int32> cases[] = {
        {3, kResultOk, 3},      {-1, kResultOk, -1}, {15, kResultOk, 15},           {16, kResultFalse, 15},
        {-2, kResultFalse, 15}, {0, kResultOk, 0},   {4294967299, kResultFalse, 0}, {-4294967297, kResultFalse, 0}};
    for (const auto& [slice, result, selected] : cases)
    {
        EXPECT_EQ(processor->notify(intMessage("IntMessage", "setslice", slice)), result) << slice;
        EXPECT_EQ(dsp().getSelectedSlice(), selected) << slice;
    }
}
