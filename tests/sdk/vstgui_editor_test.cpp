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

// Notes each resize request; lives on the test's stack.
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

// Opens a 320 x 240 frame on the test's run loop, as a plug-in's editor does.
class TestEditor : public VSTGUIEditor
{
public:
    TestEditor(EditController* controller, ViewRect* size) : VSTGUIEditor(controller, size) { ++liveEditors; }
    ~TestEditor() override { --liveEditors; }

    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) override
    {
        ++opens;
        frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, 320, 240), this);
        frame->setZoom(zoom);
        VSTGUI::X11::FrameConfig config;
        config.runLoop = runLoop.get();
        if (!frame->open(parent, type, &config))
        {
            frame->forget();
            frame = nullptr;
        }
        return frame != nullptr;
    }
    void PLUGIN_API close() override
    {
        ++closes;
        if (frame)
            frame->close();
        frame = nullptr;
    }
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override
    {
        const auto result = VSTGUIEditor::notify(sender, message);
        if (result == VSTGUI::kMessageNotified)
            ++ticks;
        return result;
    }

    VSTGUI::SharedPointer<ToolkitTest::TestX11RunLoop> runLoop =
        VSTGUI::SharedPointer<ToolkitTest::TestX11RunLoop>::adopt(new ToolkitTest::TestX11RunLoop);
    double zoom = 1.0;
    int opens = 0, closes = 0, ticks = 0;
    static inline int liveEditors = 0;
};

struct EditorBase : testing::Test
{
    IPtr<RecordingController> controller = owned(new RecordingController);
    ViewRect initial{0, 0, 600, 400};
    IPtr<TestEditor> editor = owned(new TestEditor(controller, &initial));
};

} // namespace

TEST_F(EditorBase, AnswersTheHostWithoutAWindowAndPassesGesturesOn)
{
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor->isPlatformTypeSupported(nullptr), kResultFalse);

    // Other window systems are refused before anything opens; removing what never came is refused.
    EXPECT_EQ(editor->attached(reinterpret_cast<void*>(uintptr_t(1)), kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor->removed(), kResultFalse);
    EXPECT_EQ(editor->opens + editor->closes, 0);

    editor->beginEdit(7);
    editor->endEdit(7);
    EXPECT_EQ(controller->gestures, "begin 7 end 7 ");
}

TEST(EditorBaseReferences, ToolkitAndHostReferencesAreOneCount)
{
    auto controller = owned(new RecordingController);
    auto* editor = new TestEditor(controller, nullptr);
    VSTGUI::SharedPointer<VSTGUI::CBaseObject> toolkitReference(editor);
    editor->release(); // the host lets go first: the toolkit's reference keeps it
    EXPECT_EQ(TestEditor::liveEditors, 1);
    editor->addRef();
    toolkitReference.reset();
    EXPECT_EQ(TestEditor::liveEditors, 1);
    editor->release();
    EXPECT_EQ(TestEditor::liveEditors, 0);
}

TEST_F(EditorBase, AttachOpensTheFrameSizesTheHostAndTicksUntilRemoved)
{
    ToolkitTest::TestHostWindow host;
    if (!host.usable())
        GTEST_SKIP() << "no X display";
    TestPlugFrame plugFrame;
    editor->setFrame(&plugFrame);
    auto& loop = *editor->runLoop;

    for (double zoom : {1.0, 2.0}) // attach, remove, attach again
    {
        SCOPED_TRACE(zoom);
        editor->zoom = zoom;
        ASSERT_EQ(editor->attached(host.parentHandle(), kPlatformTypeX11EmbedWindowID), kResultOk);
        ASSERT_FALSE(plugFrame.resizeRequests.empty());
        EXPECT_EQ(plugFrame.resizeRequests.back().getWidth(), int32(320 * zoom));
        EXPECT_EQ(plugFrame.resizeRequests.back().getHeight(), int32(240 * zoom));
        ViewRect size;
        editor->getSize(&size);
        EXPECT_EQ(size.getWidth(), int32(320 * zoom));
        EXPECT_EQ(host.childCount(), 1);
        EXPECT_EQ(editor->attached(host.parentHandle(), kPlatformTypeX11EmbedWindowID), kResultFalse)
            << "attached twice";

        editor->ticks = 0;
        EXPECT_TRUE(loop.runUntil([&] { return editor->ticks >= 2; }));

        EXPECT_EQ(editor->removed(), kResultOk);
        EXPECT_EQ(editor->getFrame(), nullptr);
        EXPECT_EQ(loop.descriptorCount(), 0u);
        EXPECT_EQ(loop.timerCount(), 0u);
        EXPECT_EQ(host.childCount(), 0);
        EXPECT_EQ(VSTGUI::X11::RunLoop::get(), nullptr);
    }
    EXPECT_EQ(editor->opens, 2);
    EXPECT_EQ(editor->closes, 2);
}
