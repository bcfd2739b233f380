// The editor base: what it answers the host, how it embeds and releases its frame, its idle
// tick on the host's run loop, and its one reference count.
#include "sdk/vstguieditor.h"

#include "host_run_loop.h"
#include "toolkit/x11_test_support.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace EditorTest;

namespace {

class RecordingController : public EditController
{
public:
    tresult beginEdit(ParamID tag) override
    {
        gestures.push_back("begin " + std::to_string(tag));
        return kResultOk;
    }
    tresult endEdit(ParamID tag) override
    {
        gestures.push_back("end " + std::to_string(tag));
        return kResultOk;
    }
    std::vector<std::string> gestures;
};

// Opens a 320 x 240 frame on the host's run loop, as a plug-in's editor does.
class TestEditor : public VSTGUIEditor
{
public:
    TestEditor(EditController* controller, ViewRect* size, bool* destroyedFlag = nullptr)
        : VSTGUIEditor(controller, size), destroyed(destroyedFlag)
    {
    }
    ~TestEditor() override
    {
        if (destroyed)
            *destroyed = true;
    }

    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) override
    {
        ++opens;
        frame = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, 320, 240), this);
        frame->setZoom(zoom);
        Linux::IRunLoop* hostLoop = nullptr;
        if (plugFrame)
            plugFrame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&hostLoop));
        VSTGUI::X11::FrameConfig config;
        config.runLoop = VSTGUI::SharedPointer<VSTGUI::X11::IRunLoop>::adopt(new ForwardingRunLoop(hostLoop));
        if (hostLoop)
            hostLoop->release();
        if (!frame->open(parent, type, &config))
        {
            frame->forget();
            frame = nullptr;
            return false;
        }
        return true;
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

    double zoom = 1.0;
    int opens = 0, closes = 0, ticks = 0;
    bool* destroyed;
};

struct EditorBase : testing::Test
{
    IPtr<RecordingController> controller = owned(new RecordingController);
    ViewRect initial{0, 0, 600, 400};
    IPtr<TestEditor> editor = owned(new TestEditor(controller, &initial));
};

} // namespace

TEST_F(EditorBase, AnswersTheHostWithoutAWindow)
{
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_EQ(editor->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor->isPlatformTypeSupported(nullptr), kResultFalse);
    EXPECT_EQ(editor->canResize(), kResultFalse);
    ViewRect wish(0, 0, 10, 10);
    EXPECT_EQ(editor->checkSizeConstraint(&wish), kResultFalse);

    ViewRect size;
    EXPECT_EQ(editor->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 600);
    EXPECT_EQ(size.getHeight(), 400);
    ViewRect resized(0, 0, 900, 600);
    EXPECT_EQ(editor->onSize(&resized), kResultTrue);
    editor->getSize(&size);
    EXPECT_EQ(size.getWidth(), 900);

    // Other window systems are refused before anything opens; removing what never came is refused.
    EXPECT_EQ(editor->attached(reinterpret_cast<void*>(uintptr_t(1)), kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor->removed(), kResultFalse);
    EXPECT_EQ(editor->opens, 0);
    EXPECT_EQ(editor->closes, 0);
}

TEST_F(EditorBase, GesturesReachTheController)
{
    editor->beginEdit(7);
    editor->endEdit(7);
    EXPECT_EQ(controller->gestures, (std::vector<std::string>{"begin 7", "end 7"}));
}

TEST(EditorBaseReferences, ToolkitAndHostReferencesAreOneCount)
{
    auto controller = owned(new RecordingController);
    bool destroyed = false;
    auto* editor = new TestEditor(controller, nullptr, &destroyed);
    VSTGUI::SharedPointer<VSTGUI::CBaseObject> toolkitReference(editor);
    editor->release(); // the host lets go first: the toolkit's reference keeps it
    EXPECT_FALSE(destroyed);
    toolkitReference->notify(nullptr, VSTGUI::kMsgTimer);
    editor->addRef();
    toolkitReference.reset();
    EXPECT_FALSE(destroyed);
    editor->release();
    EXPECT_TRUE(destroyed);
}

TEST_F(EditorBase, AttachOpensTheFrameSizesTheHostAndTicksUntilRemoved)
{
    ToolkitTest::TestHostWindow host;
    if (!host.usable())
        GTEST_SKIP() << "no X display";
    HostRunLoop hostLoop;
    TestPlugFrame plugFrame(&hostLoop);
    editor->setFrame(&plugFrame);

    for (double zoom : {1.0, 2.0}) // attach, remove, attach again
    {
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
        EXPECT_EQ(hostLoop.loop.descriptorCount(), 1u);

        editor->ticks = 0;
        EXPECT_TRUE(hostLoop.loop.runUntil([&] { return editor->ticks >= 2; }));

        EXPECT_EQ(editor->removed(), kResultOk);
        EXPECT_EQ(editor->getFrame(), nullptr);
        EXPECT_EQ(hostLoop.loop.descriptorCount(), 0u);
        EXPECT_EQ(hostLoop.loop.timerCount(), 0u);
        EXPECT_EQ(host.childCount(), 0);
        EXPECT_EQ(VSTGUI::X11::RunLoop::get(), nullptr);
    }
    EXPECT_EQ(editor->opens, 2);
    EXPECT_EQ(editor->closes, 2);
}

TEST_F(EditorBase, HostWithoutRunLoopStillShowsTheFrameButGetsNoHandlers)
{
    ToolkitTest::TestHostWindow host;
    if (!host.usable())
        GTEST_SKIP() << "no X display";
    TestPlugFrame plugFrame(nullptr);
    editor->setFrame(&plugFrame);
    ASSERT_EQ(editor->attached(host.parentHandle(), kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_NE(editor->getFrame(), nullptr);
    EXPECT_EQ(host.childCount(), 1);
    EXPECT_EQ(editor->removed(), kResultOk);
    EXPECT_EQ(host.childCount(), 0);
}
