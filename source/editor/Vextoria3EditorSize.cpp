// View size and zoom: the host window follows hidden setting 0, the frame's zoom follows the
// width the host gives; the layout switch; knob and scope speeds; the overlay's visibility.
#include "Vextoria3Editor.h"

#include "FxView.h"
#include "Oscilloscope.h"
#include "UserDefaults.h"
#include "controls/Knob.h"
#include <algorithm>
#include <cctype>

using namespace VSTGUI;

namespace {

constexpr double kSmallestZoom = 0.75;
constexpr double kLargestZoom = 2.0;

bool containsIgnoringCase(const std::string& text, const std::string& part)
{
    auto lower = [](unsigned char c) { return std::tolower(c); };
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

} // namespace

double Vextoria3Editor::zoomFactor(double viewSize)
{
    // Comparisons rather than int(4 v), which a value out of range would make undefined.
    if (viewSize >= 0.75)
        return 0.75;
    if (viewSize >= 0.5)
        return 2.0;
    if (viewSize >= 0.25)
        return 1.5;
    return 1.0;
}

bool Vextoria3Editor::isRenoise(const std::string& hostName)
{
    return containsIgnoringCase(hostName, "renoise") || containsIgnoringCase(hostName, "AudioPluginServer64");
}

void Vextoria3Editor::resize(double viewSize)
{
    if (!frame)
        return;
    const double zoom = zoomFactor(viewSize);
    requestedSize = Steinberg::ViewRect(0, 0, int32(baseWidth() * zoom), int32(baseHeight() * zoom));
    if (plugFrame)
        plugFrame->resizeView(this, &requestedSize);
    // The host may not have answered yet (or refused): the frame takes its width anyway.
    if (!frame)
        return;
    const CCoord target = int32(baseWidth() * frame->getZoom());
    if (frame->getWidth() != target)
        frame->setSize(target, frame->getHeight());
}

Steinberg::tresult PLUGIN_API Vextoria3Editor::getSize(Steinberg::ViewRect* size)
{
    if (!size)
        return Steinberg::kInvalidArgument;
    if (!isRenoise(wrapper->getHostName()))
        return VSTGUIEditor::getSize(size);
    const double zoom = zoomFactor(wrapper->getHiddenParameter(0));
    size->right = size->left + int32(baseWidth() * zoom);
    size->bottom = size->top + int32(baseHeight() * zoom);
    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API Vextoria3Editor::onSize(Steinberg::ViewRect* newSize)
{
    if (!frame)
        return VSTGUIEditor::onSize(newSize);
    if (!newSize || baseWidth() <= 0)
        return Steinberg::kResultFalse;
    const int32 width = newSize->right - newSize->left;
    const double zoom = double(width) / baseWidth();
    // Only the zooms the editor offers: a huge width would ask for a huge surface.
    if (!(zoom >= kSmallestZoom && zoom <= kLargestZoom))
        return Steinberg::kResultFalse;
    if (isRenoise(wrapper->getHostName()))
    {
        if (zoom != frame->getScaleFactor())
            frame->setZoom(zoom);
        return Steinberg::kResultOk;
    }
    if (int32(frame->getWidth()) == width)
        return Steinberg::kResultFalse;
    frame->setZoom(zoom);
    return VSTGUIEditor::onSize(newSize);
}

void Vextoria3Editor::processUISelect(float value)
{
    uiStyle = value >= 0.5f ? kUiRack : kUiLegacy;
    UserDefaults::writeLayout(uiStyle);
    // The switch is inside its own mouse event: the tree is rebuilt at the next tick.
    layoutPending = true;
}

void Vextoria3Editor::setKnobSpeed(double knobSpeed)
{
    const double pixels = 384.0 * (1.0 - knobSpeed) + 128.0;
    for (Knob* knob : mainKnobs)
        if (knob)
            knob->setAccelerator(int(pixels));
    if (fxPanel)
        fxPanel->setKnobSpeed(pixels);
}

void Vextoria3Editor::setScopeSpeed(double scopeSpeed)
{
    if (scopeView)
        scopeView->samplesPerPoint = int32((1.0 - scopeSpeed) * 164.0 + 12.0);
}

void Vextoria3Editor::showSettings()
{
    if (windowOpen && settingsView)
        settingsView->setVisible(true);
}

void Vextoria3Editor::hideSettings()
{
    if (windowOpen && settingsView)
        settingsView->setVisible(false);
}
