#include "SettingsOverlay.h"

#include "EditorFonts.h"
#include "MyBitmap.h"
#include "SettingsView.h"
#include "Vextoria3Editor.h"
#include "controls/DropDown2.h"
#include "controls/MiniSlider.h"
#include "controls/PushButton.h"
#include "controls/Switch2.h"

using namespace VSTGUI;

namespace {

enum class Row
{
    title, quit, help, logo, heading, label, insetLabel, centredLabel, viewSize, scopeSpeed, knobSpeed, moveToast, layoutSwitch,
    replaySwitch, save, reset, check
};

struct OverlayRow
{
    Row kind;
    const char* text;
    int32 tag;
    CRect legacy; // rows placed by a picture give only the top-left corner
    CRect rack;   // empty: not built in RACK
};

constexpr int32 kViewSizeIndex = 0;  // hidden settings
constexpr int32 kKnobSpeedIndex = 3;
constexpr int32 kMoveToastIndex = 4;

// In building order.
const OverlayRow kRows[] = {
    {Row::title, "SETTINGS", 0, {175, 10, 425, 33}, {305, 10, 555, 33}},
    {Row::quit, nullptr, 0, {564, 6, 564, 6}, {824, 6, 824, 6}},
    {Row::help, nullptr, 0, {12, 6, 12, 6}, {12, 6, 12, 6}},
    {Row::logo, nullptr, 0, {0, 216, 0, 216}, {0, 216, 0, 216}},
    {Row::heading, "UI SETTINGS", 0, {320, 69, 520, 101}, {320, 54, 520, 86}},
    {Row::insetLabel, "VIEW SIZE:", 0, {320, 102, 450, 126}, {320, 86, 450, 110}},
    {Row::viewSize, nullptr, kViewSizeIndex, {416, 102, 476, 126}, {416, 86, 476, 110}},
    {Row::label, "SCOPE SPEED", 0, {320, 134, 476, 164}, {320, 118, 476, 148}},
    {Row::scopeSpeed, nullptr, 33, {416, 140, 496, 156}, {416, 124, 496, 140}},
    {Row::label, "KNOB SPEED", 0, {320, 160, 476, 190}, {320, 144, 476, 174}},
    {Row::knobSpeed, nullptr, kKnobSpeedIndex, {416, 166, 496, 182}, {416, 150, 496, 166}},
    {Row::moveToast, "MOVE TOAST ", kMoveToastIndex, {320, 306, 570, 336}, {}},
    {Row::centredLabel, "LEGACY UI", 0, {320, 240, 384, 254}, {320, 240, 384, 254}},
    {Row::layoutSwitch, nullptr, kUISelectTag, {396, 240, 456, 254}, {396, 240, 456, 254}},
    {Row::centredLabel, "RACK UI", 0, {460, 240, 520, 254}, {460, 240, 520, 254}},
    {Row::label, "REPLAY RANDOM SEQUENCE", 0, {24, 300, 224, 332}, {544, 160, 744, 192}},
    {Row::replaySwitch, nullptr, 32, {24, 330, 38, 390}, {544, 190, 558, 250}},
    {Row::label, "NEVER", 0, {48, 330, 148, 350}, {568, 190, 668, 210}},
    {Row::label, "ON PLAY", 0, {48, 350, 148, 370}, {568, 210, 668, 230}},
    {Row::label, "ON ACTIVE", 0, {48, 370, 148, 390}, {568, 230, 668, 250}},
    {Row::save, nullptr, 0, {316, 336, 316, 336}, {24, 206, 24, 206}},
    {Row::label, "SET SETTINGS AS DEFAULT", 0, {342, 330, 522, 360}, {50, 200, 230, 230}},
    {Row::reset, nullptr, 0, {316, 366, 316, 366}, {24, 236, 24, 236}},
    {Row::label, "RESET SETTINGS TO FACTORY", 0, {342, 360, 528, 390}, {50, 230, 236, 260}},
    {Row::heading, "SOUND SETTINGS", 0, {24, 196, 224, 228}, {544, 54, 744, 86}},
    {Row::check, "PITCH STRETCH ", 15, {24, 225, 274, 255}, {544, 84, 794, 114}},
    {Row::check, "NO DIRECT", 17, {24, 248, 224, 278}, {544, 106, 744, 136}},
    {Row::check, "PITCH SET", 27, {24, 271, 224, 301}, {544, 130, 744, 160}},
};

const char* const kViewSizes[] = {"100%", "150%", "200%", "75%"}; // reported as index / 3
constexpr CCoord kTitleFontSize = 23;
constexpr CCoord kHeadingFontSize = 16;
const char* const kOverlayFontFamily = "TAHOMA";
const CColor kClear(255, 255, 255, 0);
const CColor kWhite(255, 255, 255, 255);
const CColor kBlack(0, 0, 0, 255);
const CColor kCheckMarkColor(0, 0, 255, 255);
constexpr CCoord kLogoTop = 216;

class OverlayBuilder
{
public:
    OverlayBuilder(Vextoria3Editor& owner, SettingsView& view) : editor(owner), overlay(view) {}

    // Builds one row; the VIEW SIZE drop-down is kept back to be added last.
    void addRow(const OverlayRow& row, const CRect& rect)
    {
        switch (row.kind)
        {
        case Row::title:
            overlay.addView(label(rect, row.text, kCenterText, editorFont(kTitleFontSize, kBoldFace, kOverlayFontFamily)));
            break;
        case Row::heading:
            overlay.addView(inset(label(rect, row.text, kLeftText, editorFont(kHeadingFontSize, kNormalFace, kOverlayFontFamily))));
            break;
        case Row::label:
            overlay.addView(label(rect, row.text, kLeftText));
            break;
        case Row::insetLabel:
            overlay.addView(inset(label(rect, row.text, kLeftText)));
            break;
        case Row::centredLabel:
            overlay.addView(label(rect, row.text, kCenterText));
            break;
        case Row::quit:
            addButton(rect, "quit", "quit_pressed", &Vextoria3Editor::hideSettings);
            break;
        case Row::help:
            addHelpButton(rect);
            break;
        case Row::logo:
            addLogo();
            break;
        case Row::viewSize:
            viewSize = makeViewSize(rect);
            break;
        case Row::scopeSpeed:
            addParameterControl(new MiniSlider(rect, &editor, row.tag));
            break;
        case Row::knobSpeed:
            addHiddenControl(new MiniSlider(rect, editor.getHiddenListener(), row.tag));
            break;
        case Row::moveToast:
            addHiddenControl(checkBox(rect, editor.getHiddenListener(), row));
            break;
        case Row::layoutSwitch:
        {
            auto* layoutSwitch = new Switch2(rect, &editor, row.tag, 2, Switch2::kHorizontal);
            layoutSwitch->setValue(float(editor.uiStyle));
            overlay.addView(layoutSwitch);
            break;
        }
        case Row::replaySwitch:
            addParameterControl(new Switch2(rect, &editor, row.tag, 3, Switch2::kVertical));
            break;
        case Row::save:
            addToggleButton(rect, &Vextoria3Editor::setSettingsAsDefaut);
            break;
        case Row::reset:
            addToggleButton(rect, &Vextoria3Editor::resetDefaultSettings);
            break;
        case Row::check:
            addParameterControl(checkBox(rect, &editor, row));
            break;
        }
    }

    // Adds the kept drop-down on top of every other child, so that its list unfolds over them.
    void finish()
    {
        if (viewSize)
            overlay.addView(viewSize);
    }

private:
    static CTextLabel* label(const CRect& rect, const char* text, CHoriTxtAlign align, CFontRef font = nullptr)
    {
        auto* made = new CTextLabel(rect, text);
        made->setTransparency(true);
        made->setHoriAlign(align);
        if (font)
            made->setFont(font);
        return made;
    }
    static CTextLabel* inset(CTextLabel* made)
    {
        made->setTextInset(CPoint(2, 0));
        return made;
    }
    static CCheckBox* checkBox(const CRect& rect, IControlListener* listener, const OverlayRow& row)
    {
        auto* box = new CCheckBox(rect, listener, row.tag, row.text, nullptr, 0);
        box->setCheckMarkColor(kCheckMarkColor);
        box->setFontColor(kWhite);
        return box;
    }
    // A rectangle at `corner` with the 1x size of `picture`.
    static CRect at(const CRect& corner, const CBitmap* picture)
    {
        return CRect(corner.left, corner.top, corner.left + picture->getWidth(), corner.top + picture->getHeight());
    }

    void addParameterControl(CControl* control)
    {
        control->setValue(float(editor.getWrapper()->getParameter(control->getTag())));
        editor.addControl(control);
        overlay.addView(control);
    }
    void addHiddenControl(CControl* control)
    {
        control->setValue(float(editor.getWrapper()->getHiddenParameter(control->getTag())));
        editor.hiddenControls[size_t(control->getTag())] = control;
        overlay.addView(control);
    }
    void addButton(const CRect& corner, const char* normal, const char* pressed, PushButton::PressedCallback callback)
    {
        auto normalPicture = SharedPointer<MyBitmap>::adopt(MyBitmap::fromOverlay(normal));
        auto pressedPicture = SharedPointer<MyBitmap>::adopt(MyBitmap::fromOverlay(pressed));
        addPushButton(at(corner, normalPicture.get()), normalPicture.get(), pressedPicture.get(), callback);
    }
    void addHelpButton(const CRect& corner)
    {
        auto normal = SharedPointer<MyBitmap>::adopt(MyBitmap::fromOverlay("help"));
        // The pressed picture has scaled files of its own, with two underscores.
        auto pressed = SharedPointer<MyBitmap>::adopt(new MyBitmap("help.png"));
        pressed->addScaledBitmap("help__1.5x.png");
        pressed->addScaledBitmap("help__2x.png");
        addPushButton(at(corner, normal.get()), normal.get(), pressed.get(), &Vextoria3Editor::openHelpUrl);
    }
    // The save and reset buttons share one pair of 1x pictures.
    void addToggleButton(const CRect& corner, PushButton::PressedCallback callback)
    {
        if (!toggle)
        {
            toggle = SharedPointer<CBitmap>::adopt(new CBitmap("toggle.png"));
            togglePressed = SharedPointer<CBitmap>::adopt(new CBitmap("toggle_pressed.png"));
        }
        addPushButton(at(corner, toggle.get()), toggle.get(), togglePressed.get(), callback);
    }
    void addPushButton(const CRect& rect, CBitmap* normal, CBitmap* pressed, PushButton::PressedCallback callback)
    {
        auto* button = new PushButton(rect, &editor, 0);
        button->setNormalPix(normal);
        button->setPressedPix(pressed);
        button->pressedCallback = callback;
        overlay.addView(button);
    }
    void addLogo()
    {
        auto logo = SharedPointer<MyBitmap>::adopt(MyBitmap::fromOverlay("big_logo"));
        const CCoord left = overlay.getWidth() / 2 - logo->getWidth() / 2;
        overlay.addView(new CTextLabel(at(CRect(left, kLogoTop, left, kLogoTop), logo.get()), nullptr, logo.get()));
    }
    DropDown2* makeViewSize(const CRect& rect)
    {
        auto* list = new DropDown2(rect, editor.getHiddenListener(), kViewSizeIndex);
        for (const char* name : kViewSizes)
            list->addItem(name, 0);
        list->headerColor = kWhite;
        list->textColor = kBlack;
        list->setValue(float(editor.getWrapper()->getHiddenParameter(kViewSizeIndex)));
        editor.hiddenControls[kViewSizeIndex] = list;
        return list;
    }

    Vextoria3Editor& editor;
    SettingsView& overlay;
    DropDown2* viewSize = nullptr;
    SharedPointer<CBitmap> toggle;
    SharedPointer<CBitmap> togglePressed;
};

} // namespace

void SettingsOverlay::build(Vextoria3Editor& editor)
{
    CFrame* frame = editor.getFrame();
    const bool rack = editor.uiStyle == kUiRack;
    if (!frame || (!rack && editor.uiStyle != kUiLegacy))
        return;
    const double* base = editor.baseSize;
    auto* overlay = new SettingsView(CRect(base[0], base[1], base[2], base[3]));
    overlay->setBackgroundColor(kClear);
    editor.settingsView = overlay;
    OverlayBuilder builder(editor, *overlay);
    for (const OverlayRow& row : kRows)
    {
        const CRect& rect = rack ? row.rack : row.legacy;
        if (rack && row.kind == Row::moveToast)
            continue;
        builder.addRow(row, rect);
    }
    builder.finish();
    if (rack)
        editor.hiddenControls[kMoveToastIndex] = nullptr;
    frame->addView(overlay);
    overlay->setVisible(false);
}
