// The editor base: what it answers the host, how it embeds and releases its frame, its idle
// tick, and its one reference count.
#include "sdk/vstguieditor.h"

#include "toolkit/x11_test_support.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

class RecordingController : public EditController
{
public:
    tresult beginEdit(ParamID tag) override { return note("begin " + std::to_string(tag)); }
    tresult endEdit(ParamID tag) override { return note("end " + std::to_string(tag)); }
    tresult note(const std::string& gesture)
    {
        gestures += gesture + " ";
        return kResultOk;
    }
    std::string gestures;
};

// Notes each resize request of the host window; lives on the test's stack.
class TestPlugFrame : public IPlugFrame
{
public:
    tresult PLUGIN_API resizeView(IPlugView*, ViewRect* newSize) override
    {
        resizeRequests.push_back(*newSize);
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void** object) override
    {
        *object = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
    std::vector<ViewRect> resizeRequests;
};

// Opens a 320 x 240 frame at its zoom on the test's run loop, as a plug-in's editor does.
class TestEditor : public VSTGUIEditor
{
public:
    TestEditor(EditController* controller) : VSTGUIEditor(controller, nullptr) { ++liveEditors; }
    ~TestEditor() override { --liveEditors; }
    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) override
    {
        ++opens;
        frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, 320, 240), this);
        frame->setZoom(zoom);
        VSTGUI::X11::FrameConfig config;
        config.runLoop = runLoop.get();
        if (!frame->open(parent, type, &config))
            std::exchange(frame, nullptr)->forget();
        return frame != nullptr;
    }
    void PLUGIN_API close() override
    {
        ++closes;
        if (frame)
            std::exchange(frame, nullptr)->close();
    }
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override
    {
        const auto result = VSTGUIEditor::notify(sender, message);
        ticks += result == VSTGUI::kMessageNotified;
        return result;
    }
    VSTGUI::SharedPointer<ToolkitTest::TestX11RunLoop> runLoop =
        VSTGUI::SharedPointer<ToolkitTest::TestX11RunLoop>::adopt(new ToolkitTest::TestX11RunLoop);
    double zoom = 1.0;
    int opens = 0, closes = 0, ticks = 0;
    static inline int liveEditors = 0;
};

} // namespace

// Without a window it answers for X11 embedding only, refuses other window systems and a
// removal of what never came, and passes gestures on; the toolkit's and the host's references
// are one count.
TEST(EditorBase, AnswersTheHostWithoutAWindowAndKeepsOneReferenceCount)
{
    auto controller = owned(new RecordingController);
    auto editor = owned(new TestEditor(controller));
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor->isPlatformTypeSupported(nullptr), kResultFalse);
    EXPECT_EQ(editor->attached(reinterpret_cast<void*>(uintptr_t(1)), kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor->removed(), kResultFalse);
    EXPECT_EQ(editor->opens + editor->closes, 0);
    editor->beginEdit(7);
    editor->endEdit(7);
    EXPECT_EQ(controller->gestures, "begin 7 end 7 ");

    VSTGUI::SharedPointer<VSTGUI::CBaseObject> toolkitReference(editor.get());
    editor = nullptr; // the host lets go first: the toolkit's reference keeps it
    EXPECT_EQ(TestEditor::liveEditors, 1);
    toolkitReference.reset();
    EXPECT_EQ(TestEditor::liveEditors, 0);
}

// Attached, it opens the frame, sizes the host window to it at its zoom, ticks until removed,
// and refuses a second attach; removed, it leaves no window, descriptor, timer or run loop.
TEST(EditorBase, AttachOpensTheFrameSizesTheHostAndTicksUntilRemoved)
{
    ToolkitTest::TestHostWindow window;
    if (!window.usable())
        GTEST_SKIP() << "no X display";
    TestPlugFrame host;
    auto editor = owned(new TestEditor(owned(new RecordingController)));
    editor->setFrame(&host);
    for (double zoom : {1.0, 2.0}) // attach, remove, attach again
    {
        SCOPED_TRACE(zoom);
        editor->zoom = zoom;
        ASSERT_EQ(editor->attached(window.parentHandle(), kPlatformTypeX11EmbedWindowID), kResultOk);
        ASSERT_FALSE(host.resizeRequests.empty());
        EXPECT_EQ(host.resizeRequests.back().getWidth(), int32(320 * zoom));
        EXPECT_EQ(host.resizeRequests.back().getHeight(), int32(240 * zoom));
        ViewRect size;
        editor->getSize(&size);
        EXPECT_EQ(size.getWidth(), int32(320 * zoom));
        EXPECT_EQ(window.childCount(), 1);
        EXPECT_EQ(editor->attached(window.parentHandle(), kPlatformTypeX11EmbedWindowID), kResultFalse);
        editor->ticks = 0;
        EXPECT_TRUE(editor->runLoop->runUntil([&] { return editor->ticks >= 2; }));
        EXPECT_EQ(editor->removed(), kResultOk);
        EXPECT_EQ(editor->getFrame(), nullptr);
        EXPECT_EQ(editor->runLoop->descriptorCount() + editor->runLoop->timerCount(), 0u);
        EXPECT_EQ(window.childCount(), 0);
        EXPECT_EQ(VSTGUI::X11::RunLoop::get(), nullptr);
    }
    EXPECT_EQ(editor->opens + editor->closes, 4);
}
