#include "Vextoria3Editor.h"

#include "DropForwarder.h"
#include "FxView.h"
#include "MidiSlicerView.h"
#include "RunLoopBridge.h"
#include "TabView.h"
#include "UserDefaults.h"
#include "controller/Vextoria3Controller.h"
#include "base/source/updatehandler.h"
#include <cstdint>

using namespace VSTGUI;
using Steinberg::Vst::Vextoria3Controller;

namespace {

constexpr int kViewSize = 0; // hidden settings
constexpr int kKnobSpeed = 3;
constexpr int kMoveToast = 4;
constexpr int kEditFx = 5;
constexpr int kFxTab = 6;
constexpr int kSliceAmount = 8; // parameters
constexpr int kTrigMode = 14;
constexpr int kToastHome = 3;   // the toast moves by -3 .. k - 4 pixels from home

} // namespace

Vextoria3Editor::Vextoria3Editor(Steinberg::Vst::EditController* controller, Steinberg::ViewRect* size)
    : VSTGUIEditor(controller, size),
      wrapper(std::make_unique<PluginWrapper>(controller)),
      hiddenListener(std::make_unique<HiddenParamListener>(wrapper.get())),
      dropTarget(SharedPointer<DropForwarder>::adopt(new DropForwarder(this)))
{
    toastRandom.seed(uint32_t(reinterpret_cast<std::uintptr_t>(this)));
}

Vextoria3Editor::~Vextoria3Editor()
{
    Vextoria3Editor::close();
    closeFrame(); // a tree built without a window
    dropTarget->unlink();
}

bool PLUGIN_API Vextoria3Editor::open(void* parent, const PlatformType& type)
{
    linkController(true);
    oscModeMenu = trigModeMenu = fxSelectMenu = nullptr;
    noteStamp.fill(0);
    uiStyle = UserDefaults::readLayout();
    openUI(uiStyle);
    if (!frame)
    {
        linkController(false);
        return false;
    }
    listenToParameters(true);
    X11::FrameConfig config;
    config.runLoop = SharedPointer<X11::IRunLoop>::adopt(new Steinberg::Vst::RunLoop(plugFrame));
    // The window opens at the zoom of the view size, so the first size the host hears of is
    // already the zoomed one.
    const double viewSize = wrapper->getHiddenParameter(kViewSize);
    frame->setZoom(zoomFactor(viewSize));
    if (!frame->open(parent, type, &config))
    {
        closeFrame();
        listenToParameters(false);
        linkController(false);
        return false;
    }
    windowOpen = true;
    editFxPending = tabSelectPending = true;
    resize(viewSize);
    setKnobSpeed(wrapper->getHiddenParameter(kKnobSpeed));
    return true;
}

void PLUGIN_API Vextoria3Editor::close()
{
    if (!windowOpen)
        return;
    windowOpen = false;
    layoutPending = false;
    closeFrame();
    listenToParameters(false);
    linkController(false);
}

void Vextoria3Editor::closeFrame()
{
    if (!frame)
        return;
    // Every view hears of its removal first: held pads give their slice back, open gestures
    // end towards the host.
    frame->unregisterMouseObserver(this);
    std::exchange(frame, nullptr)->close();
    forgetViews();
}

void Vextoria3Editor::forgetViews()
{
    background = nullptr;
    powerButton = nullptr;
    mainKnobs.fill(nullptr);
    scopeView = nullptr;
    toastButton = nullptr;
    activeLed = upLed = downLed = nullptr;
    readout = nullptr;
    slicePads = nullptr;
    fxPanel = nullptr;
    settingsView = nullptr;
    settingsButton = nullptr;
    oscModeMenu = trigModeMenu = fxSelectMenu = nullptr;
    controls.fill(nullptr);
    hiddenControls.fill(nullptr);
}

void Vextoria3Editor::linkController(bool link)
{
    auto* controller = dynamic_cast<Vextoria3Controller*>(getController());
    if (!controller)
        return;
    // The last view opened owns the pointer; closing another view leaves it alone.
    if (link)
        controller->setEditor(this);
    else if (controller->getEditor() == static_cast<EditorLink*>(this))
        controller->setEditor(nullptr);
}

void Vextoria3Editor::listenToParameters(bool listen)
{
    auto* controller = getController();
    if (!controller)
        return;
    if (listen)
        Steinberg::UpdateHandler::instance(); // dependents are kept by the SDK's update handler
    parameterListener.editor = listen ? this : nullptr;
    for (int id = 0; id < kParameterCount; ++id)
    {
        Steinberg::Vst::Parameter* parameter = controller->getParameterObject(Steinberg::Vst::ParamID(id));
        if (parameter && listen)
            parameter->addDependent(&parameterListener);
        else if (parameter)
            parameter->removeDependent(&parameterListener);
    }
}

CMessageResult Vextoria3Editor::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message == kMsgTimer)
        idle();
    return VSTGUIEditor::notify(sender, message);
}

void Vextoria3Editor::idle()
{
    if (!windowOpen)
        return;
    if (std::exchange(layoutPending, false))
        rebuildLayout();
    if (std::exchange(resizePending, false))
    {
        const double viewSize = wrapper->getHiddenParameter(kViewSize);
        resize(viewSize);
        if (CControl* viewSizeList = hiddenControls[kViewSize])
            viewSizeList->setValue(float(viewSize));
    }
    if (std::exchange(modePending, false))
        applyTrigMode();
    if (std::exchange(editFxPending, false))
        applyEditFx();
    if (std::exchange(tabSelectPending, false) && fxPanel)
        fxPanel->tabView->selectTab(int(wrapper->getHiddenParameter(kFxTab) * 4.0));
    moveToast();
    wrapper->sendIntMessage("linuxtimer", 1);
}

void Vextoria3Editor::applyTrigMode()
{
    const int mode = int(wrapper->getParameter(kTrigMode));
    if (slicePads && (mode == 0 || mode == 1))
        slicePads->setVisible(mode == 1);
    // Hidden setting 5 stays as it is: the panel comes back with the next EDIT FX change.
    if (fxPanel && fxPanel->isShowing())
        fxPanel->setVisible(false);
}

void Vextoria3Editor::applyEditFx()
{
    if (!fxPanel)
        return;
    const double editFx = wrapper->getHiddenParameter(kEditFx);
    CControl* button = hiddenControls[kEditFx];
    if (button && double(button->getValue()) != editFx)
        button->setValue(float(editFx));
    fxPanel->setVisible(editFx >= 0.5);
}

void Vextoria3Editor::moveToast()
{
    if (!powerButton || powerButton->getValue() < 0.5f || wrapper->getHiddenParameter(kMoveToast) == 0.0 || !toastButton)
        return;
    const int range = int(wrapper->getParameter(kSliceAmount) * 10.0 + 2.0); // 2..12
    toastButton->setVisible(false);
    const int dx = toastRandom.next() % range - kToastHome;
    const int dy = toastRandom.next() % range - kToastHome;
    CRect place = toastButton->getViewSize();
    place.offset(dx - toastOffset[0], dy - toastOffset[1]);
    toastButton->setViewSize(place);
    toastButton->setVisible(true);
    toastButton->invalid();
    toastOffset[0] = dx;
    toastOffset[1] = dy;
}
