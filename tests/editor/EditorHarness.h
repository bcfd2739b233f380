#pragma once
// The editor around a controller a host initialised, on an offscreen frame taking mouse events; the pictures.
#include "Vextoria3Cids.h"
#include "controller/ControllerHarness.h"
#include "controls/Menu.h"
#include "dsp/FactoryBank.h"
#include "editor/Vextoria3Editor.h"
#include "offscreen.h"
#include "public.sdk/source/vst/vstpresetfile.h"
#include "toolkit/toolkit_test_support.h"

namespace EditorTest {

using namespace VSTGUI;
using namespace ControllerTest;
using Steinberg::int64;
using Steinberg::tresult;

// The editor as the host would have it open, on a frame the test gives or on its own face.
class OpenEditor : public Vextoria3Editor {
public:
    using Vextoria3Editor::Vextoria3Editor;
    void openOn(CFrame* newFrame)
    {
        frame = newFrame;
        windowOpen = true;
        if (auto* vextoria = dynamic_cast<Vextoria3Controller*>(getController()))
            vextoria->setEditor(this);
        listenToParameters(true);
    }
    void openOffscreen(int32 style) // the face of `style`, as open builds it but without a window
    {
        uiStyle = style;
        openUI(style);
        openOn(getFrame());
    }
    bool leftOver() const { return std::ranges::count(noteStamp, 0u) < 128 || std::ranges::count(hostGesture, true); } // a key or a gesture
};

using Bytes = std::vector<uint8_t>;

inline Bytes programState(int program) // the record of factory program 0..15, a component state
{
    const uint8_t* record = factoryBank() + kProgramChunkSize * size_t(program);
    return Bytes(record, record + kProgramChunkSize);
}

// A preset file as the SDK writes it: header, "Comp", "Cont" (when given), then the chunk list.
inline Bytes presetFile(const Bytes& component, const Bytes& controllerState)
{
    auto stream = owned(new MemoryStream);
    EXPECT_TRUE(PresetFile::savePreset(stream, kVextoria3ProcessorUID, streamOf(component),
                                       controllerState.empty() ? nullptr : streamOf(controllerState).get()));
    return Bytes(stream->getData(), stream->getData() + stream->getSize());
}

// The pictures of the built bundle, for as long as it lives.
struct BundlePictures {
    BundlePictures() { setResourceFolderFunction([] { return std::string(VEXTORIA_BUNDLE_PATH "/Contents/Resources"); }); }
    ~BundlePictures() { setResourceFolderFunction({}); }
};

// A RACK-sized frame with the editor open on it; events in window pixels.
class EditorFixture : public ControllerFixture {
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        editor = new OpenEditor(controller, nullptr);
        editor->openOn(frame = new CFrame(CRect(0, 0, 860, 300), editor));
    }
    void TearDown() override
    {
        editor->close();
        editor->release();
        ControllerFixture::TearDown();
    }
    template <typename View>
    View* add(View* view) { return frame->addView(view), view; }
    // Each press a second after anything before it, so no two make a double click by chance.
    void press(CCoord x, CCoord y, int32 state = kLButton)
    {
        runLoop.advance(1000);
        frame->platformOnMouseDown(CPoint(x, y), CButtonState(state));
    }
    void move(CCoord x, CCoord y) { frame->platformOnMouseMoved(CPoint(x, y), CButtonState(kLButton)); }
    void release(CCoord x, CCoord y, int32 state = kLButton) { frame->platformOnMouseUp(CPoint(x, y), CButtonState(state)); }
    void click(CCoord x, CCoord y, int32 state = kLButton) { press(x, y, state), release(x, y, state); }
    void pick(Menu* menu, int row) // the pointer over row `row`, then a left click there
    {
        const CPoint where(menu->getViewSize().left + 50, menu->getViewSize().top + row * 20 + 12);
        frame->platformOnMouseMoved(where, CButtonState());
        click(where.x, where.y);
    }
    void buildFace(int32 style) // the test's frame becomes the editor's own face of `style`
    {
        editor->close();
        editor->openOffscreen(style);
        frame = editor->getFrame();
    }
    double hidden(int index) { return editor->getWrapper()->getHiddenParameter(index); }

    BundlePictures pictures;
    ScopedManualRunLoop runLoop;
    EditRecorder& host = handler;
    MessageRecorder& processor = peer;
    OpenEditor* editor = nullptr;
    CFrame* frame = nullptr; // the editor's; closed by its close
};

} // namespace EditorTest
