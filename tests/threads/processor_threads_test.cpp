// The processor's UI-thread calls against a running audio thread: state saved and restored,
// the editor's messages and the drains of its ticks, with more notes per tick than the note
// ring holds. Run on two real threads (also under ThreadSanitizer).
#include "processor/ProcessorFixture.h"

#include "ids.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <atomic>
#include <thread>

using namespace ProcessorTest;

namespace {

// Stands in for the controller on the UI thread: checks every "MidiNote" it is sent.
class NoteCountingPeer : public IConnectionPoint
{
public:
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override
    {
        const void* data = nullptr;
        uint32 size = 0;
        if (message->getAttributes()->getBinary("MidiNote", data, size) != kResultOk)
            return kResultFalse;
        EXPECT_EQ(size % sizeof(MidiNoteRecord), 0u);
        EXPECT_LE(size, MidiEventRing::kCapacity * sizeof(MidiNoteRecord));
        for (uint32 offset = 0; offset + sizeof(MidiNoteRecord) <= size; offset += sizeof(MidiNoteRecord))
        {
            MidiNoteRecord record;
            std::memcpy(&record, static_cast<const uint8_t*>(data) + offset, sizeof(record));
            // Every block sends on-off pairs of pitch 36 + (offset mod 64) at velocity 127.
            EXPECT_TRUE(record.type == MidiEventRing::kNoteOn || record.type == MidiEventRing::kNoteOff);
            EXPECT_EQ(record.pitch, 36 + record.sampleOffset % 64);
            EXPECT_EQ(record.velocity, 127);
        }
        notes += size / sizeof(MidiNoteRecord);
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    uint32 notes = 0;
};

IPtr<IMessage> message(const char* id)
{
    auto made = owned(static_cast<IMessage*>(new SafeHostMessage()));
    made->setMessageID(id);
    return made;
}

using ProcessorThreads = ProcessorFixture;

} // namespace

TEST_F(ProcessorThreads, StateMessagesAndTicksOnTheUiThreadAgainstBlocksOfManyNotes)
{
    NoteCountingPeer peer;
    ASSERT_EQ(processor->connect(&peer), kResultOk);
    ASSERT_EQ(processor->setActive(true), kResultOk);
    const Bytes saved = state();
    constexpr int32 kNotesPerBlock = 200; // more than the ring holds, and the tick drains meanwhile

    std::atomic<bool> running {true};
    std::atomic<int32> blocks {0};
    std::thread audio([&] {
        ProcessBlock block(2, 2, kMaxBlock);
        block.clock.setPlaying(true);
        while (running.load())
        {
            for (int32 note = 0; note < kNotesPerBlock / 2; ++note)
            {
                block.inputEvents.addNoteOn(static_cast<int16>(36 + note % 64), 1.0f, note);
                block.inputEvents.addNoteOff(static_cast<int16>(36 + note % 64), 1.0f, note);
            }
            processor->process(block.prepare(kMaxBlock));
            block.finish();
            ++blocks;
        }
    });

    const auto tick = [&] {
        auto timer = message("IntMessage");
        timer->getAttributes()->setInt("linuxtimer", 1);
        processor->notify(timer);
    };
    // However late a busy machine starts the audio thread, the rounds go on until it has run.
    for (int32 round = 0; round < 300 || blocks.load() < 20; ++round)
    {
        const Bytes preset = withParam(saved, Vextoria3Ids::kGateSize, (round % 8) / 8.0);
        EXPECT_EQ(restore(preset), kResultOk);
        auto load = message("BinaryMessage");
        load->getAttributes()->setBinary("loadpreset", preset.data(), static_cast<uint32>(preset.size()));
        EXPECT_EQ(processor->notify(load), kResultOk);
        const double hidden[Vextoria3Ids::kNumHidden] = {0, 1, 0.5, 1, 0, 1, 0.25};
        auto answer = message("BinaryMessage");
        answer->getAttributes()->setBinary("synchiddenparam", hidden, sizeof(hidden));
        EXPECT_EQ(processor->notify(answer), kResultOk);
        auto slice = message("IntMessage");
        slice->getAttributes()->setInt("setslice", round % 17 - 1);
        EXPECT_EQ(processor->notify(slice), kResultOk);
        tick();
        EXPECT_EQ(state().size(), 372u);
    }
    running.store(false);
    audio.join();
    tick(); // the notes of the last blocks
    processor->disconnect(&peer);
    EXPECT_GT(peer.notes, 0u);
}
