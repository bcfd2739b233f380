// Thread hand-overs on real threads (also under TSan): note ring, UI calls vs blocks, restart thread.
#include "controller/ControllerHarness.h"
#include "dsp/FactoryBank.h"
#include "dsp/RecordBytes.h"
#include "ids.h"
#include "processor/ProcessorFixture.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <span>
#include <thread>

using namespace ProcessorTest;
using namespace ControllerTest;
using Vextoria3Ids::kNumParams;

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

// Restored records hold one value everywhere; a mix would be torn by the audio thread mid copy.
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

using ControllerThreads = ControllerFixture;

// A host locking around setParamNormalized and in restartComponent: a nested restart would deadlock.
struct LockingHost : RecordingComponentHandler {
    explicit LockingHost(IEditController& controller) : controller(controller) {}
    tresult PLUGIN_API restartComponent(int32) override
    {
        if (caller.load() == std::this_thread::get_id())
            return kResultFalse; // stands for the wait: the values never arrive
        const std::lock_guard hold(lock);
        for (int32 id = 0; id < kNumParams; ++id)
            seen[id] = controller.getParamNormalized(id);
        ++restarts;
        return kResultOk;
    }
    int32 pick(int32 program) // the restarts counted when the call returns
    {
        const std::lock_guard hold(lock);
        caller = std::this_thread::get_id();
        EXPECT_EQ(controller.setParamNormalized(Vextoria3Ids::kFactoryPresets, program / 15.0), kResultOk);
        caller = std::thread::id();
        return restarts;
    }

    IEditController& controller;
    std::mutex lock;
    std::atomic<std::thread::id> caller;
    std::array<double, kNumParams> seen {}; // by id, at the last restart
    std::atomic<int32> restarts = 0;
};

TEST_F(ControllerThreads, a_host_without_a_run_loop_reads_each_picked_program_after_its_call_and_nothing_after_terminate)
{
    LockingHost host(*controller);
    controller->setComponentHandler(&host);
    // Picks, every other one by a host that holds no lock, while restarts read the values.
    for (int32 round = 0; round < 60; ++round) {
        if (round % 2)
            host.pick(round % 16);
        else
            controller->setParamNormalized(Vextoria3Ids::kFactoryPresets, round % 16 / 15.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(round % 3 * 10));
    }
    const int32 before = host.pick(11);
    for (int32 wait = 0; wait < 1000 && host.restarts == before; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    host.pick(11); // again: the host lets go while this restart waits
    controller->terminate();
    const int32 atTerminate = host.restarts;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(host.restarts, atTerminate) << "a restart after terminate";
    const auto program = readProgramChunk(factoryBank() + 11 * kProgramChunkSize, kProgramChunkSize);
    ASSERT_TRUE(program && atTerminate > before);
    for (int32 id = 0; id < kNumParams; ++id) // the program's values as floats, and its number
        EXPECT_EQ(host.seen[id], id == 36 ? 11 / 15.0 : static_cast<float>(program->params[id])) << "id " << id;
    controller = nullptr;
}
