#include "LegacyLayout.h"

#include "EditorFonts.h"
#include "LayoutBuilder.h"
#include "MyBitmap.h"
#include "Vextoria3Editor.h"
#include "controls/Button.h"
#include "controls/Fader2.h"
#include "controls/Knob.h"
#include "controls/SpinBox2.h"

using namespace VSTGUI;

namespace {

struct KnobPlace
{
    CCoord left;
    int32 tag;
    const char* strip;
};
// In building order; all at top 177, K x K with K the width of "knob_GATE.png".
const KnobPlace kKnobs[] = {{132, 1, "knob_GATE"}, {200, 2, "knob_reverse"}, {268, 3, "knob_size"},
                            {336, 5, "knob_pan"},  {403, 4, "knob_pitch"},   {471, 6, "knob_roll"}};
constexpr CCoord kKnobTop = 177;
constexpr size_t kKnobsBeforeEditFx = 3; // the EDIT FX button comes after the third knob
constexpr int kKnobFrames = 128;
constexpr float kGateDefault = 0.85f;
constexpr float kFaderDefault = 0.5f;
constexpr int32 kPitchRangeSteps = 12; // semitones
const CColor kSpinTextColor(86, 64, 48, 192);
constexpr CCoord kSpinFontSize = 12;

} // namespace

const CRect LegacyLayout::kPanel(224, 80, 415, 134);

LegacyLayout::LegacyLayout(LayoutBuilder& owner) : builder(owner), background(builder.picture("background")) {}

void LegacyLayout::addControls()
{
    Vextoria3Editor& editor = builder.editor;
    MyBitmap* toast = builder.picture("toast");
    MyBitmap* freeze = builder.picture("freeze");
    Button* toastButton = LayoutBuilder::button(LayoutBuilder::at(30, 256, toast), &editor, 13, {nullptr, toast, freeze}, true);
    builder.addParameterControl(toastButton);
    editor.toastButton = toastButton;
    editor.toastOffset[0] = editor.toastOffset[1] = 0;
    editor.controls[14] = nullptr; // no Trig Mode switch on this face

    MyBitmap* burger = builder.picture("burger");
    builder.addSettingsButton(LayoutBuilder::at(566, 6, burger), burger);

    MyBitmap* push = builder.picture("big_push");
    MyBitmap* pushPressed = builder.picture("big_push_pressed");
    Button* power = LayoutBuilder::button(LayoutBuilder::at(144, 90, push), &editor, 0, {nullptr, push, pushPressed, push}, true);
    builder.registerControl(power);
    editor.powerButton = power;

    MyBitmap* ledOff = builder.picture("led_off");
    MyBitmap* ledOn = builder.picture("led_on");
    editor.activeLed = builder.addLed(LayoutBuilder::at(151, 46, ledOff), {nullptr, ledOff, ledOn}, 0);

    addKnobs();
    addFaders();
    addPitchRange();
    addShiftButtons();
}

void LegacyLayout::addKnobs()
{
    CCoord side = 0;
    for (size_t i = 0; i < std::size(kKnobs); ++i)
    {
        if (i == kKnobsBeforeEditFx)
        {
            toggle = builder.picture("toggle");
            togglePressed = builder.picture("toggle_pressed");
            builder.addEditFxButton(LayoutBuilder::at(290, 236, toggle), {nullptr, toggle, togglePressed, toggle});
        }
        const KnobPlace& place = kKnobs[i];
        MyBitmap* strip = builder.picture(place.strip);
        if (i == 0)
            side = strip->getWidth();
        auto* knob = new Knob(CRect(place.left, kKnobTop, place.left + side, kKnobTop + side), &builder.editor, place.tag,
                              strip, kKnobFrames);
        if (place.tag == 1)
            knob->setDefaultValue(kGateDefault);
        builder.addParameterControl(knob);
        builder.editor.mainKnobs[size_t(place.tag - 1)] = knob;
    }
}

void LegacyLayout::addFaders()
{
    struct FaderPlace
    {
        CCoord left, right;
        int32 tag;
        const char* handle;
    };
    for (const FaderPlace& place : {FaderPlace{140, 252, 7, "slider_size"}, FaderPlace{271, 383, 8, "slider_amount"}})
    {
        MyBitmap* handle = builder.picture(place.handle);
        auto* fader = new Fader2(CRect(place.left, 267, place.right, 267 + handle->getHeight()), &builder.editor, place.tag, nullptr);
        fader->setHandle(handle);
        fader->style = Fader2::kHorizontal;
        fader->setDefaultValue(kFaderDefault);
        builder.addParameterControl(fader);
    }
}

void LegacyLayout::addPitchRange()
{
    // The arrows report to the spin box, so it exists before them but is added after them.
    MyBitmap* value = builder.picture("pitch_range_value");
    auto* spinBox = new SpinBox2(CRect(420, 276, 440, 294), &builder.editor, 9, value);
    MyBitmap* up = builder.picture("pitch_range_up");
    builder.addView(LayoutBuilder::button(LayoutBuilder::at(440, 276, up), spinBox, SpinBox2::kUpArrowTag, {nullptr, up, up}, false));
    MyBitmap* down = builder.picture("pitch_range_down");
    builder.addView(LayoutBuilder::button(LayoutBuilder::at(440, 285, down), spinBox, SpinBox2::kDownArrowTag, {nullptr, down, down}, false));
    spinBox->textMode = true;
    spinBox->fontColor = kSpinTextColor;
    spinBox->font = editorFont(kSpinFontSize, kBoldFace);
    spinBox->maximum = kPitchRangeSteps;
    builder.addParameterControl(spinBox);
}

void LegacyLayout::addShiftButtons()
{
    Vextoria3Editor& editor = builder.editor;
    // A second pair of LED pictures, shared by the two shift lights.
    MyBitmap* ledOff = builder.picture("led_off");
    MyBitmap* ledOn = builder.picture("led_on");
    const LayoutBuilder::ButtonPictures led {nullptr, ledOff, ledOn};
    const LayoutBuilder::ButtonPictures shift {nullptr, toggle, togglePressed, toggle};
    editor.upLed = builder.addLed(LayoutBuilder::at(458, 287, ledOff), led, 10);
    builder.addParameterControl(LayoutBuilder::button(LayoutBuilder::at(461, 276, toggle), &editor, 10, shift, true));
    editor.downLed = builder.addLed(LayoutBuilder::at(490, 287, ledOff), led, 11);
    builder.addParameterControl(LayoutBuilder::button(LayoutBuilder::at(493, 276, toggle), &editor, 11, shift, true));
}
