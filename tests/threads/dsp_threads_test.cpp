// The DSP object's hand-overs between the audio thread and the UI thread, run on two real
// threads (also under ThreadSanitizer): the note ring and the program record mailbox.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "dsp/MidiEventRing.h"
#include "dsp/RecordBytes.h"
#include "dsp/ScopedHome.h"
#include "dsp/Vextoria3FX.h"

namespace {
using NoteRecords = std::array<MidiNoteRecord, MidiEventRing::kCapacity>;
} // namespace

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
    NoteRecords out{};
    int32_t last = -1;
    for (bool done = false; !done;) {
        done = last == total - 1;
        const int32_t n = ring.drain(out);
        for (int32_t i = 0; i < n; ++i) {
            const auto& r = out[static_cast<size_t>(i)];
            ASSERT_GT(r.sampleOffset, last);
            ASSERT_EQ(r.pitch, r.sampleOffset & 127);
            ASSERT_EQ(r.velocity, (r.sampleOffset * 7) & 127);
            last = r.sampleOffset;
        }
    }
    producer.join();
    EXPECT_EQ(last, total - 1);
}

TEST(ProgramHandover, StateSavedWhileTheAudioThreadAppliesIsNeverTorn)
{
    ScopedHome home;
    Vextoria3FX fx;
    std::atomic<bool> running{true};
    std::thread audio([&] {
        while (running.load())
            fx.applyPendingChunk();
    });

    std::mt19937 random(1234);
    std::uniform_int_distribution<int32_t> step(0, 64);
    int32_t torn = 0, refused = 0;
    for (int32_t round = 0; round < 2000; ++round) {
        const std::vector<uint8_t> record = uniformRecord(step(random) / 64.0);
        if (!fx.postChunk(record.data(), static_cast<int32_t>(record.size())))
            ++refused;
        std::vector<uint8_t> saved;
        fx.getChunk(saved, true);
        const std::optional<ProgramRecord> read = readProgramChunk(saved.data(), saved.size());
        ASSERT_TRUE(read);
        for (int32_t id = 1; id < 12; ++id)
            torn += read->params[id] != read->params[0];
        for (int32_t index = 1; index < 7; ++index)
            torn += read->hidden[index] != read->hidden[0];
    }
    running.store(false);
    audio.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(refused, 0);
}

