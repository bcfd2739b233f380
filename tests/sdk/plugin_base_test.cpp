// The plug-in's base classes: the module entry, the audio effect, the stream helpers and the
// editor, each with the bad input a host may hand it. (The class factory: the module's own.)
#include "sdk/audioeffect.h"
#include "sdk/moduleentry.h"
#include "sdk/streambytes.h"
#include "sdk/vstguieditor.h"

#include "public.sdk/source/common/memorystream.h"
#include "toolkit/x11_test_support.h"

#include <cmath>
#include <numeric>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string calls; // the module functions that ran, in order; registered in reverse of it
const ModuleInitializer lateInit([] { calls += "init-late "; }, 60);
const ModuleInitializer earlyInit([] { calls += "init-early "; }, 10);
const ModuleTerminator lateExit([] { calls += "exit-late "; }, 60);
const ModuleTerminator earlyExit([] { calls += "exit-early "; }, 10);

struct PlainEffect : AudioEffect
{
    tresult PLUGIN_API process(ProcessData&) override { return kResultOk; }
    const ProcessSetup& setup() const { return processSetup; }
};

// Accepts at most 100 bytes per write and claims success, like a nearly full disk file.
struct ShortStream : MemoryStream
{
    tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* written) override
    {
        return MemoryStream::write(buffer, std::min(numBytes, 100), written);
    }
};

// Opens a 320 x 240 frame on the test's run loop, as a plug-in's editor does.
struct TestEditor : VSTGUIEditor
{
    TestEditor() : VSTGUIEditor(owned(new EditController())) { ++liveEditors; }
    ~TestEditor() override { --liveEditors; }
    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) override
    {
        frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, 320, 240), this);
        VSTGUI::X11::FrameConfig config;
        config.runLoop = runLoop.get();
        if (!frame->open(parent, type, &config))
            std::exchange(frame, nullptr)->forget();
        return frame != nullptr;
    }
    void PLUGIN_API close() override
    {
        if (frame)
            std::exchange(frame, nullptr)->close();
    }
    VSTGUI::SharedPointer<ToolkitTest::TestX11RunLoop> runLoop =
        VSTGUI::SharedPointer<ToolkitTest::TestX11RunLoop>::adopt(new ToolkitTest::TestX11RunLoop);
    static inline int liveEditors = 0;
};

} // namespace

TEST(ModuleEntry, OnlyTheFirstEntryAndTheLastExitSetUpAndTearDown)
{
    int firstHandle = 1, secondHandle = 2;
    EXPECT_FALSE(ModuleExit()) << "an exit without an entry is refused";
    ASSERT_TRUE(ModuleEntry(&firstHandle));
    ASSERT_TRUE(ModuleEntry(&secondHandle)); // the module loaded a second time
    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(calls, "init-early init-late ");
    EXPECT_EQ(getPlatformModuleHandle(), &firstHandle);
    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(getPlatformModuleHandle(), nullptr);
    ASSERT_TRUE(ModuleEntry(&secondHandle)); // a later load starts again from the beginning
    EXPECT_EQ(getPlatformModuleHandle(), &secondHandle);
    ASSERT_TRUE(ModuleExit());
    EXPECT_EQ(calls, "init-early init-late exit-early exit-late init-early init-late exit-early exit-late ");
}

// Arrangements per existing bus; only audio buses removed; setups need a block and a finite rate.
TEST(AudioEffect, BusesArrangementsAndSetupsAreTakenOnlyWhenSane)
{
    auto effect = owned(new PlainEffect());
    effect->addAudioInput(STR16("In"), SpeakerArr::kStereo);
    effect->addAudioOutput(STR16("Out"), SpeakerArr::kStereo);
    effect->addEventInput(STR16("Notes"), 16);
    SpeakerArrangement mono = SpeakerArr::kMono, pair[2] = {SpeakerArr::kMono, SpeakerArr::kMono}, read = 0;
    EXPECT_EQ(effect->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    ASSERT_EQ(effect->getBusArrangement(kOutput, 0, read), kResultTrue);
    EXPECT_EQ(read, SpeakerArr::kMono);
    EXPECT_EQ(effect->setBusArrangements(pair, 2, &mono, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(&mono, -1, &mono, 1), kInvalidArgument);
    EXPECT_EQ(effect->getBusArrangement(kInput, 1, read), kInvalidArgument);
    effect->removeAudioBusses();
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 0);
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);

    auto setUp = [&](int32 sampleSize, int32 maxBlock, double sampleRate) {
        ProcessSetup setup {kOffline, sampleSize, maxBlock, sampleRate};
        return effect->setupProcessing(setup);
    };
    ASSERT_EQ(setUp(kSample32, 512, 48000.0), kResultOk);
    for (auto [maxBlock, sampleRate] : {std::pair {0, 44100.0}, {256, 0.0}, {256, INFINITY}, {256, NAN}})
        EXPECT_EQ(setUp(kSample32, maxBlock, sampleRate), kInvalidArgument) << maxBlock << " at " << sampleRate;
    EXPECT_EQ(effect->setup().maxSamplesPerBlock, 512);
    EXPECT_EQ(effect->setup().sampleRate, 48000.0);
}

TEST(StreamBytes, ReadUpToTheEndOrTheCapAndWriteEverythingOrFail)
{
    auto stream = owned(new MemoryStream());
    std::vector<uint8_t> bytes(10000);
    std::iota(bytes.begin(), bytes.end(), uint8_t(0)); // each byte its position modulo 256
    EXPECT_EQ(writeStreamBytes(*stream, bytes), kResultOk);
    stream->seek(100, IBStream::kIBSeekSet, nullptr);
    readStreamBytes(*stream, 64 * 1024, bytes);
    ASSERT_EQ(bytes.size(), 9900u);
    EXPECT_EQ(bytes[0], 100);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    readStreamBytes(*stream, 5000, bytes);
    EXPECT_EQ(bytes.size(), 5000u);
    EXPECT_EQ(writeStreamBytes(*owned(new ShortStream()), std::vector<uint8_t>(372, 0xAB)), kResultFalse);
}

// Embeds only in X11 and once, leaving nothing behind; toolkit and host references are one count.
TEST(EditorBase, EmbedsOnlyInX11TicksWhileAttachedAndKeepsOneReferenceCount)
{
    ToolkitTest::TestHostWindow window;
    if (!window.usable())
        GTEST_SKIP() << "no X display";
    auto editor = owned(new TestEditor());
    EXPECT_EQ(editor->isPlatformTypeSupported(nullptr), kResultFalse);
    EXPECT_EQ(editor->attached(window.parentHandle(), kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor->removed(), kResultFalse);
    EXPECT_EQ(window.childCount(), 0);
    ASSERT_EQ(editor->attached(window.parentHandle(), kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(editor->attached(window.parentHandle(), kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(window.childCount(), 1);
    EXPECT_EQ(editor->runLoop->timerCount(), 1u) << "the idle tick";
    EXPECT_EQ(editor->removed(), kResultOk);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->runLoop->descriptorCount() + editor->runLoop->timerCount(), 0u);
    EXPECT_EQ(window.childCount(), 0);
    EXPECT_EQ(VSTGUI::X11::RunLoop::get(), nullptr);

    VSTGUI::SharedPointer<VSTGUI::CBaseObject> toolkitReference(editor.get());
    editor = nullptr; // the host lets go first: the toolkit's reference keeps it
    EXPECT_EQ(TestEditor::liveEditors, 1);
    toolkitReference.reset();
    EXPECT_EQ(TestEditor::liveEditors, 0);
}
