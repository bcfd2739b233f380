#include "FxView.h"

#include "EditorFonts.h"
#include "FxConverters.h"
#include "TabView.h"
#include "Vextoria3Editor.h"
#include "controls/Knob2.h"
#include "controls/VSlider.h"

using namespace VSTGUI;

namespace {

struct FxControl
{
    int page;
    int32 tag;
    const char* caption;
    ValueConverter converter;
    const char* unit;
    CRect slider;        // style 0
    CRect sliderCaption;
    CRect knob;          // style 1
    CRect knobCaption;
};

// In tab order, each page's controls in the order they are added.
const FxControl kControls[] = {
    {0, 23, "ROOM SIZE", convertRoom, "m", {2, 18, 60, 31}, {2, 3, 62, 19}, {140, 40, 204, 104}, {140, 16, 200, 32}},
    {0, 25, "DRY/WET", convertDryWet, "%", {66, 18, 124, 31}, {66, 3, 126, 19}, {224, 40, 288, 104}, {224, 16, 284, 32}},
    {0, 24, "DAMP", convertPercent, "%", {132, 18, 190, 31}, {132, 3, 192, 19}, {308, 40, 372, 104}, {308, 16, 368, 32}},
    {1, 21, "CRUSH!", convertPercent, "", {2, 18, 60, 31}, {2, 3, 62, 19}, {172, 40, 236, 104}, {172, 16, 232, 32}},
    {1, 22, "DRY/WET", convertDryWet, "%", {66, 18, 124, 31}, {66, 3, 126, 19}, {256, 40, 320, 104}, {256, 16, 316, 32}},
    {2, 18, "CUTOFF", convertHz, "Hz", {2, 18, 60, 31}, {2, 3, 62, 19}, {140, 40, 204, 104}, {140, 16, 200, 32}},
    {2, 19, "RESO", convertPercent, "", {66, 18, 124, 31}, {66, 3, 126, 19}, {224, 40, 288, 104}, {224, 16, 284, 32}},
    {2, 20, "ENV", convertPercent, "%", {132, 18, 190, 31}, {132, 3, 192, 19}, {308, 40, 372, 104}, {308, 16, 368, 32}},
    {3, 26, "FX SELECT", convertPitchFx, "", {2, 18, 60, 31}, {2, 3, 62, 19}, {236, 40, 300, 104}, {236, 16, 296, 32}},
};

const char* const kPageNames[] = {"REVERB", "BITCRUSH", "HP FILTER", "PITCH FX"};
constexpr int kPageCount = 4;

struct StyleLook
{
    CCoord valueFontSize;
    CCoord captionFontSize;
    CCoord tabRowHeight; // the pages end this far above the panel's bottom
    double tabWidth;
    double tabHeight;
    bool randomCircles;
};
const StyleLook kLooks[] = {{10, 8, 16, 49, 15, false}, {11, 11, 20, 104, 20, true}};

const CColor kPanelColor(66, 66, 66, 255);
const CColor kPageColor(80, 80, 92, 176);
const CColor kValueTextColor(220, 220, 220, 240);
const CColor kCaptionColor(200, 200, 200, 220);
const CColor kArcColor(0, 143, 214, 254);
constexpr double kRoomArcWidth = 4.0;
constexpr int32 kRoomSizeTag = 23;

CTextLabel* transparentLabel(const CRect& rect, const char* text)
{
    auto* label = new CTextLabel(rect, text);
    label->setTransparency(true);
    return label;
}

} // namespace

FxView::FxView(const CRect& size, IControlListener* controlListener, int style)
    : CViewContainer(size), listener(controlListener)
{
    if (style != kLegacyStyle && style != kRackStyle)
    {
        setBackgroundColor(CColor(0, 0, 0, 0)); // an empty panel without background
        return;
    }
    const StyleLook& look = kLooks[style];
    const CCoord width = size.getWidth();
    const CCoord height = size.getHeight();
    addView(transparentLabel(CRect(width - 10, 0, width, 10), "x"));
    setBackgroundColor(kPanelColor);

    auto* editor = dynamic_cast<Vextoria3Editor*>(listener);
    tabView = new TabView(CRect(0, 0, width, height), editor);
    tabView->setBackgroundColor(CColor(255, 255, 255, 0));
    tabView->tabWidth = look.tabWidth;
    tabView->tabHeight = look.tabHeight;
    addView(tabView);
    const CRect pageSize(0, 0, width, height - look.tabRowHeight);
    for (int page = 0; page < kPageCount; ++page)
        addPage(page, style, pageSize);
    tabView->selectTab(0);
}

void FxView::addPage(int pageIndex, int style, const CRect& pageSize)
{
    const StyleLook& look = kLooks[style];
    auto* editor = dynamic_cast<Vextoria3Editor*>(listener);
    auto* page = new CViewContainer(pageSize);
    page->setBackgroundColor(kPageColor);
    for (const FxControl& entry : kControls)
    {
        if (entry.page != pageIndex)
            continue;
        const float value = editor ? float(editor->getWrapper()->getParameter(entry.tag)) : 0.f;
        CControl* control = nullptr;
        if (style == kRackStyle)
        {
            auto* knob = new Knob2(entry.knob, listener, entry.tag, nullptr);
            knob->font = editorFont(look.valueFontSize);
            knob->textColor = kValueTextColor;
            knob->arcColor = kArcColor;
            if (entry.tag == kRoomSizeTag)
                knob->lineWidth = kRoomArcWidth;
            knob->converter = entry.converter;
            knob->unit = entry.unit;
            control = knob;
        }
        else
        {
            auto* slider = new VSlider(entry.slider, listener, entry.tag);
            slider->font = editorFont(look.valueFontSize);
            slider->textColor = kValueTextColor;
            slider->converter = entry.converter;
            slider->unit = entry.unit;
            control = slider;
        }
        control->setValue(value);
        if (editor)
            editor->addControl(control);
        page->addView(control);
        auto* caption = transparentLabel(style == kRackStyle ? entry.knobCaption : entry.sliderCaption, entry.caption);
        caption->setFont(editorFont(look.captionFontSize));
        caption->setFontColor(kCaptionColor);
        page->addView(caption);
    }
    tabView->addTab(page, kPageNames[pageIndex], look.randomCircles);
}

void FxView::setKnobSpeed(double pixels)
{
    if (!tabView)
        return;
    auto setKnob = [pixels](CView* view) {
        if (auto* knob = dynamic_cast<Knob2*>(view))
            knob->setAccelerator(int(pixels));
    };
    tabView->forEachChild([&](CView* child) {
        setKnob(child);
        if (auto* page = dynamic_cast<CViewContainer*>(child))
            page->forEachChild(setKnob);
    });
}
