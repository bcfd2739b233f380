// The hand-overs between the audio thread and the UI thread, run on two real threads (also
// under ThreadSanitizer): the note ring, and the processor's UI-thread calls against blocks.
#include "dsp/RecordBytes.h"
#include "ids.h"
#include "processor/ProcessorFixture.h"

#include <atomic>
#include <span>
#include <thread>

using namespace ProcessorTest;

TEST(NoteRing, ConcurrentDrainSeesEveryRecordIntactAndInOrder)
{
    MidiEventRing ring;
    constexpr int32_t total = 200000;
    std::thread producer([&] {
        for (int32_t i = 0; i < total; ++i) {
            ring.addNoteOn(i & 127, (i * 7) & 127, i);
            if ((i & 15) == 0)
                std::this_thread::yield();
        }
    });
    std::array<MidiNoteRecord, MidiEventRing::kCapacity> out{};
    for (int32_t last = -1; last < total - 1;) {
        for (const MidiNoteRecord& record : std::span(out).first(size_t(ring.drain(out)))) {
            ASSERT_GT(record.sampleOffset, last);
            ASSERT_EQ(record.pitch, record.sampleOffset & 127);
            ASSERT_EQ(record.velocity, (record.sampleOffset * 7) & 127);
            last = record.sampleOffset;
        }
    }
    producer.join();
    EXPECT_EQ(ring.drain(out), 0) << "nothing after the last record";
}

using ProcessorThreads = ProcessorFixture;

// The records restored and loaded hold one value everywhere: a saved state that mixes two
// of them was torn by the audio thread taking a record while it was copied.
TEST_F(ProcessorThreads, StateMessagesAndTicksOnTheUiThreadAgainstBlocksOfManyNotes)
{
    ASSERT_EQ(processor->setActive(true), kResultOk);
    std::atomic<bool> running{true};
    std::atomic<int32> blocks{0};
    std::thread audio([&] {
        ProcessBlock block(2, 2, kMaxBlock);
        block.clock.setPlaying(true);
        while (running.load()) {
            for (int16 note = 0; note < 100; ++note) { // more than the ring holds between two ticks
                block.inputEvents.addNoteOn(36 + note % 64, 1.0f, note);
                block.inputEvents.addNoteOff(36 + note % 64, 1.0f, note);
            }
            run(block, kMaxBlock);
            ++blocks;
        }
    });
    const double hidden[Vextoria3Ids::kNumHidden] = {0, 1, 0.5, 1, 0, 1, 0.25};
    int32 torn = 0;
    // However late a busy machine starts the audio thread, the rounds go on until it has run.
    for (int32 round = 0; round < 300 || blocks.load() < 20; ++round) {
        const Bytes preset = uniformRecord((round % 8) / 8.0);
        EXPECT_EQ(restore(preset), kResultOk);
        EXPECT_EQ(processor->notify(binaryMessage("loadpreset", preset.data(), uint32(preset.size()))), kResultOk);
        EXPECT_EQ(processor->notify(binaryMessage("synchiddenparam", hidden, sizeof(hidden))), kResultOk);
        EXPECT_EQ(processor->notify(intMessage("IntMessage", "setslice", round % 17 - 1)), kResultOk);
        tick();
        const Bytes saved = state();
        EXPECT_EQ(saved.size(), 372u);
        for (int32 id = 1; id < 12 && saved.size() == 372u; ++id)
            torn += readAt<double>(saved, paramOffset(id)) != readAt<double>(saved, paramOffset(0));
    }
    running.store(false);
    audio.join();
    tick(); // the notes of the last blocks
    EXPECT_EQ(torn, 0);
    // The blocks' notes: on-off pairs of pitch 36 + (offset mod 64) at velocity 127.
    ASSERT_GT(peer.notes.size(), 0u);
    for (auto field = peer.notes.begin(); field + 3 < peer.notes.end(); field += 4) // type, pitch, offset, velocity
        ASSERT_EQ(std::tuple(field[0] == MidiEventRing::kNoteOn || field[0] == MidiEventRing::kNoteOff, field[1], field[3]),
                  std::tuple(true, 36 + field[2] % 64, 127));
}
