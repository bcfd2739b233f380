#include "RackLayout.h"

#include "EditorFonts.h"
#include "LayoutBuilder.h"
#include "MyBitmap.h"
#include "Vextoria3Editor.h"
#include "controls/Button.h"
#include "controls/Fader2.h"
#include "controls/Knob.h"
#include "controls/SpinBox2.h"
#include "controls/Switch2.h"

using namespace VSTGUI;

namespace {

// In load order, by RackLayout::Picture.
const char* const kPictureNames[] = {
    "vxp_background", "vxp_power", "vxp_switch", "vxp_freeze", "vxp_slider_size", "vxp_slider_amount",
    "vxp_knob_gate", "vxp_knob_reverse", "vxp_knob_fx", "vxp_knob_pitch", "vxp_knob_pan", "vxp_knob_roll",
    "vxp_lcd_screen", "vxp_left", "vxp_right", "vxp_up", "vxp_down", "vxp_led_up", "vxp_led_down",
    "vxp_push_edit", "vxp_burger"};

constexpr int kKnobFrames = 127;
constexpr int kFaderFrames = 100;
constexpr float kGateDefault = 0.85f;
constexpr float kFaderDefault = 0.5f;
constexpr int32 kPitchRangeSteps = 12; // semitones, one strip frame each (0..12)
const CColor kSpinTextColor(176, 164, 188, 255);
constexpr CCoord kSpinFontSize = 16;

} // namespace

const CRect RackLayout::kPanel(236, 18, 772, 174);

RackLayout::RackLayout(LayoutBuilder& owner) : builder(owner)
{
    for (int i = 0; i < kPictureCount; ++i)
        pictures[size_t(i)] = builder.picture(kPictureNames[i]);
}

void RackLayout::addControls()
{
    Vextoria3Editor& editor = builder.editor;
    builder.addSettingsButton(CRect(778, 16, 816, 44), pictures[kBurger]);

    Button* power = LayoutBuilder::button(CRect(36, 8, 76, 58), &editor, 0, {pictures[kPower]}, true);
    builder.registerControl(power);
    editor.powerButton = power;

    auto* trigMode = new Switch2(CRect(32, 70, 80, 124), &editor, 14, 2, Switch2::kVertical);
    trigMode->setStrip(pictures[kSwitch]);
    builder.addParameterControl(trigMode);
    builder.addParameterControl(LayoutBuilder::button(CRect(36, 132, 74, 178), &editor, 13, {pictures[kFreeze]}, true));

    addKnob(CRect(244, 202, 298, 256), 1, kKnobGate);
    addKnob(CRect(344, 202, 398, 256), 2, kKnobReverse);
    addKnob(CRect(440, 202, 494, 256), 3, kKnobFx);
    builder.addEditFxButton(CRect(450, 182, 496, 202), {pictures[kPushEdit]});
    addKnob(CRect(640, 202, 694, 256), 5, kKnobPan);
    addKnob(CRect(542, 202, 596, 256), 4, kKnobPitch);
    addKnob(CRect(734, 202, 788, 256), 6, kKnobRoll);

    addFader(CRect(84, 24, 140, 172), 7, kSliderSize);
    addFader(CRect(148, 24, 208, 172), 8, kSliderAmount);
    addPitchRange();

    editor.upLed = builder.addLed(CRect(180, 208, 196, 240), {pictures[kLedUp]}, 10);
    builder.addParameterControl(LayoutBuilder::button(CRect(140, 206, 180, 246), &editor, 10, {pictures[kUp]}, true));
    editor.downLed = builder.addLed(CRect(180, 252, 200, 284), {pictures[kLedDown]}, 11);
    builder.addParameterControl(LayoutBuilder::button(CRect(140, 246, 180, 280), &editor, 11, {pictures[kDown]}, true));
}

void RackLayout::addKnob(const CRect& rect, int32 tag, Picture strip)
{
    auto* knob = new Knob(rect, &builder.editor, tag, nullptr, kKnobFrames + 1);
    knob->setKnobPix(pictures[strip], kKnobFrames);
    if (tag == 1)
        knob->setDefaultValue(kGateDefault);
    builder.addParameterControl(knob);
    builder.editor.mainKnobs[size_t(tag - 1)] = knob;
}

void RackLayout::addFader(const CRect& rect, int32 tag, Picture strip)
{
    auto* fader = new Fader2(rect, &builder.editor, tag, nullptr);
    fader->setFaderPix(pictures[strip], kFaderFrames);
    fader->style = Fader2::kVertical;
    fader->setDefaultValue(kFaderDefault);
    builder.addParameterControl(fader);
}

void RackLayout::addPitchRange()
{
    auto* spinBox = new SpinBox2(CRect(58, 208, 128, 240), &builder.editor, 9, pictures[kLcdScreen]);
    spinBox->maximum = kPitchRangeSteps;
    spinBox->fontColor = kSpinTextColor;
    spinBox->font = editorFont(kSpinFontSize, kBoldFace);
    builder.addParameterControl(spinBox);
    builder.addView(LayoutBuilder::button(CRect(56, 242, 92, 280), spinBox, SpinBox2::kDownArrowTag, {pictures[kLeft]}, false));
    builder.addView(LayoutBuilder::button(CRect(92, 242, 130, 280), spinBox, SpinBox2::kUpArrowTag, {pictures[kRight]}, false));
}
