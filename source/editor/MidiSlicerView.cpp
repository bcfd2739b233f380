#include "MidiSlicerView.h"

#include "Vextoria3Editor.h"
#include "controls/MouseGesture.h"
#include <algorithm>
#include <string>
#include <utility>

using namespace VSTGUI;

namespace {

CFontRef padFont()
{
    // Resized on every draw, as the pad count asks; no other view uses it.
    static CFontDesc font("Tahoma", 20, kBoldFace);
    return &font;
}

constexpr int32 kPadCounts[] = {4, 8, 16};

} // namespace

MidiSlicerView::MidiSlicerView(const CRect& size, Vextoria3Editor* editor) : CView(size), owner(editor) {}

MidiSlicerView::~MidiSlicerView() = default;

void MidiSlicerView::changePadCount(int32 count)
{
    if (count < 1)
        return;
    if (highlightedSlice >= 0 && highlightedSlice < nbSlice)
        highlightedSlice = int32(double(count) / double(nbSlice) * highlightedSlice);
    nbSlice = count;
}

void MidiSlicerView::setNbSlice2(float value)
{
    const float doubled = 2.f * value;
    if (!(doubled >= 0.f && doubled < 3.f))
        return; // outside 0..1: no such pad count
    changePadCount(kPadCounts[int(doubled)]);
    setDirty(true);
}

void MidiSlicerView::setNbSlice(int count)
{
    changePadCount(count);
    invalid();
}

void MidiSlicerView::highLightSlice(int index)
{
    highlightedSlice = index;
    invalid();
}

void MidiSlicerView::clearHighLight() { highLightSlice(-1); }

int32 MidiSlicerView::padAt(const CPoint& where) const
{
    return int32((where.x - int32(size.left)) / (getWidth() / nbSlice));
}

void MidiSlicerView::choose(int32 pad)
{
    highlightedSlice = pad;
    holding = true;
    if (owner)
        owner->processUISlicer(pad);
    invalid();
}

void MidiSlicerView::giveBack()
{
    highlightedSlice = -1;
    if (owner)
        owner->processUISlicer(-1);
    invalid();
}

CMouseEventResult MidiSlicerView::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons))
        choose(padAt(where));
    return kMouseEventHandled;
}

CMouseEventResult MidiSlicerView::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    const int32 pad = std::clamp(padAt(where), int32(0), nbSlice - 1);
    if (pad != highlightedSlice)
        choose(pad);
    return kMouseEventHandled;
}

CMouseEventResult MidiSlicerView::onMouseUp(CPoint&, const CButtonState&)
{
    // Any release gives the slice back, also of a press that chose none.
    holding = false;
    giveBack();
    return kMouseEventHandled;
}

CMouseEventResult MidiSlicerView::onMouseCancel()
{
    if (std::exchange(holding, false))
        giveBack();
    return kMouseEventHandled;
}

void MidiSlicerView::draw(CDrawContext* context)
{
    CFontRef font = padFont();
    font->setSize(nbSlice == 16 ? smallFontSize : 20);
    context->setFillColor(CColor(50, 50, 50, 156));
    context->drawRect(size, kDrawFilled);
    if (nbSlice < 1)
        return;
    const double width = getWidth() / nbSlice;
    for (int32 i = 0; i < nbSlice; ++i)
    {
        const uint8_t alpha = i == highlightedSlice ? 255 : 85;
        const CRect pad(size.left + i * width, size.top, size.left + i * width + width, size.bottom);
        context->setFrameColor(CColor(127, 127, 127, alpha));
        context->setLineWidth(2.0);
        context->drawRect(pad, kDrawStroked);
        context->setFont(font);
        context->setFontColor(CColor(255, 255, 255, alpha));
        context->drawString(std::to_string(i + 1).c_str(), pad, kCenterText, true);
    }
    setDirty(false);
}
