// The editor's widget tree: the face of the current style with its panels and the settings
// overlay, and the layout switch that rebuilds it.
#include "Vextoria3Editor.h"

#include "DropForwarder.h"
#include "EditorFonts.h"
#include "FxView.h"
#include "LayoutBuilder.h"
#include "LegacyLayout.h"
#include "MidiSlicerView.h"
#include "MyBitmap.h"
#include "Oscilloscope.h"
#include "RackLayout.h"
#include "SettingsOverlay.h"
#include "controls/SimpleDisplay.h"
#include <type_traits>

using namespace VSTGUI;

namespace {

const CColor kFrameColor(227, 227, 227, 255);
const CColor kFrozenColor(57, 181, 74, 254);
const CColor kLiveColor(0, 170, 255, 254);
constexpr uint32 kTooltipDelay = 1000; // ms
constexpr float kReadoutAlpha = 0.8f;
constexpr int kScopeStyleIndex = 2; // hidden setting
constexpr int kSliceSizeId = 7;     // parameters
constexpr int kFreezeId = 13;
constexpr int kTrigModeId = 14;

} // namespace

template <typename Face>
void Vextoria3Editor::buildFace(LayoutBuilder& builder, Face& face)
{
    baseSize[0] = baseSize[1] = 0;
    baseSize[2] = Face::kWidth;
    baseSize[3] = Face::kHeight;
    const CCoord width = baseWidth();
    const CCoord height = baseHeight();
    if (!frame)
        frame = new CFrame(CRect(0, 0, width, height), this);
    const double zoom = frame->getZoom();
    frame->setSize(width * zoom + 1, height * zoom);
    frame->enableTooltips(true, kTooltipDelay);
    frame->setBackgroundColor(kFrameColor);

    background = new CViewContainer(CRect(0, 0, width, height));
    background->setBackground(face.backgroundPicture());
    background->setDropTarget(dropTarget.get());
    builder.background = background;
    toastButton = nullptr;
    activeLed = nullptr;
    face.addControls();
    addPanels(Face::kPanel, Face::kReadoutFontSize, Face::kPadFontSize,
              std::is_same_v<Face, RackLayout> ? FxView::kRackStyle : FxView::kLegacyStyle);
    background->addView(powerButton);
    frame->addView(background);
    createSettingsView();
    frame->registerMouseObserver(this);
}

void Vextoria3Editor::openUI(int32 style)
{
    oscModeMenu = trigModeMenu = fxSelectMenu = nullptr;
    LayoutBuilder builder(*this);
    if (style == kUiRack)
    {
        RackLayout face(builder);
        buildFace(builder, face);
    }
    else if (style == kUiLegacy)
    {
        LegacyLayout face(builder);
        buildFace(builder, face);
    }
}

void Vextoria3Editor::addPanels(const CRect& panel, CCoord readoutFontSize, int32 padFontSize, int fxStyle)
{
    const CColor freezeColor = wrapper->getParameter(kFreezeId) >= 0.5 ? kFrozenColor : kLiveColor;
    scopeView = new Oscilloscope(panel);
    scopeView->traceColor = freezeColor;
    scopeView->setStyle(wrapper->getHiddenParameter(kScopeStyleIndex));
    background->addView(scopeView);

    readout = new SimpleDisplay(panel, nullptr);
    readout->font = editorFont(readoutFontSize, kBoldFace);
    readout->textColor = freezeColor;
    readout->setAlphaValue(kReadoutAlpha);
    readout->setVisible(false);
    background->addView(readout);

    slicePads = new MidiSlicerView(panel, this);
    slicePads->setNbSlice2(float(wrapper->getParameter(kSliceSizeId)));
    if (padFontSize > 0)
        slicePads->smallFontSize = padFontSize;
    slicePads->setVisible(wrapper->getParameter(kTrigModeId) == 1.0);
    background->addView(slicePads);

    fxPanel = new FxView(panel, this, fxStyle);
    fxPanel->setVisible(false);
    background->addView(fxPanel);
    setRandomFlags();
}

void Vextoria3Editor::createSettingsView() { SettingsOverlay::build(*this); }

void Vextoria3Editor::rebuildLayout()
{
    if (!frame)
        return;
    frame->removeAll();
    forgetViews();
    noteStamp.fill(0);
    openUI(uiStyle);
    resize(wrapper->getHiddenParameter(0));
    setKnobSpeed(wrapper->getHiddenParameter(3));
    showSettings();
    editFxPending = tabSelectPending = true;
}
