// Both faces as the layout builder leaves them: every control at its rectangle and in the
// editor's tables, the shared panel rectangle, the settings overlay's controls.
#include "EditorHarness.h"

#include "editor/FxView.h"
#include "editor/MidiSlicerView.h"
#include "editor/MyBitmap.h"
#include "editor/Oscilloscope.h"
#include "editor/TabView.h"
#include "controls/Knob.h"
#include "controls/DropDown2.h"
#include "controls/PushButton.h"
#include "controls/SimpleDisplay.h"

using namespace EditorTest;

namespace {

// Where a child of the background is registered.
enum class Slot { control, hidden, settings, upLed, downLed, activeLed, arrow };

struct Place {
    Slot slot;
    int index; // parameter id, hidden index or arrow tag
    CRect rect;
};

// In the order the children are added; the power button comes last, after the panels.
const std::vector<Place> kRackPlaces = {
    {Slot::settings, 0, {778, 16, 816, 44}},  {Slot::control, 14, {32, 70, 80, 124}},
    {Slot::control, 13, {36, 132, 74, 178}},  {Slot::control, 1, {244, 202, 298, 256}},
    {Slot::control, 2, {344, 202, 398, 256}}, {Slot::control, 3, {440, 202, 494, 256}},
    {Slot::hidden, 5, {450, 182, 496, 202}},  {Slot::control, 5, {640, 202, 694, 256}},
    {Slot::control, 4, {542, 202, 596, 256}}, {Slot::control, 6, {734, 202, 788, 256}},
    {Slot::control, 7, {84, 24, 140, 172}},   {Slot::control, 8, {148, 24, 208, 172}},
    {Slot::control, 9, {58, 208, 128, 240}},  {Slot::arrow, 0, {56, 242, 92, 280}},
    {Slot::arrow, 1, {92, 242, 130, 280}},    {Slot::upLed, 0, {180, 208, 196, 240}},
    {Slot::control, 10, {140, 206, 180, 246}}, {Slot::downLed, 0, {180, 252, 200, 284}},
    {Slot::control, 11, {140, 246, 180, 280}}, {Slot::control, 0, {36, 8, 76, 58}},
};

CPoint pictureSize(const char* name)
{
    MyBitmap picture(name);
    return picture.getSize();
}

CRect corner(CCoord left, CCoord top, const char* picture) { return CRect(CPoint(left, top), pictureSize(picture)); }

// LEGACY sizes come from its 1x pictures, as the face is defined.
std::vector<Place> legacyPlaces()
{
    const CCoord k = pictureSize("knob_GATE.png").x;
    auto knob = [k](CCoord left) { return CRect(left, 177, left + k, 177 + k); };
    const CCoord sizeHandle = pictureSize("slider_size.png").y;
    const CCoord amountHandle = pictureSize("slider_amount.png").y;
    return {
        {Slot::control, 13, corner(30, 256, "toast.png")},      {Slot::settings, 0, corner(566, 6, "burger.png")},
        {Slot::activeLed, 0, corner(151, 46, "led_off.png")},   {Slot::control, 1, knob(132)},
        {Slot::control, 2, knob(200)},                           {Slot::control, 3, knob(268)},
        {Slot::hidden, 5, corner(290, 236, "toggle.png")},      {Slot::control, 5, knob(336)},
        {Slot::control, 4, knob(403)},                           {Slot::control, 6, knob(471)},
        {Slot::control, 7, {140, 267, 252, 267 + sizeHandle}},   {Slot::control, 8, {271, 267, 383, 267 + amountHandle}},
        {Slot::arrow, 1, corner(440, 276, "pitch_range_up.png")}, {Slot::arrow, 0, corner(440, 285, "pitch_range_down.png")},
        {Slot::control, 9, {420, 276, 440, 294}},                {Slot::upLed, 0, corner(458, 287, "led_off.png")},
        {Slot::control, 10, corner(461, 276, "toggle.png")},     {Slot::downLed, 0, corner(490, 287, "led_off.png")},
        {Slot::control, 11, corner(493, 276, "toggle.png")},     {Slot::control, 0, corner(144, 90, "big_push.png")},
    };
}

struct Face {
    int32 style;
    CRect size;
    CRect panel;
};
const Face kRack {kUiRack, {0, 0, 860, 300}, {236, 18, 772, 174}};
const Face kLegacy {kUiLegacy, {0, 0, 600, 400}, {224, 80, 415, 134}};

// The overlay's controls: the editor's entry, then the LEGACY and RACK rectangles.
struct OverlayPlace {
    Slot slot;
    int index;
    CRect legacy;
    CRect rack;
};
const OverlayPlace kOverlayPlaces[] = {
    {Slot::hidden, 0, {416, 102, 476, 126}, {416, 86, 476, 110}},  {Slot::control, 33, {416, 140, 496, 156}, {416, 124, 496, 140}},
    {Slot::hidden, 3, {416, 166, 496, 182}, {416, 150, 496, 166}}, {Slot::hidden, 4, {320, 306, 570, 336}, {}},
    {Slot::control, 32, {24, 330, 38, 390}, {544, 190, 558, 250}}, {Slot::control, 15, {24, 225, 274, 255}, {544, 84, 794, 114}},
    {Slot::control, 17, {24, 248, 224, 278}, {544, 106, 744, 136}}, {Slot::control, 27, {24, 271, 224, 301}, {544, 130, 744, 160}},
};

class LayoutTest : public EditorFixture {
protected:
    CView* registered(const Place& place) const
    {
        switch (place.slot) {
        case Slot::control: return editor->controls[size_t(place.index)];
        case Slot::hidden: return editor->hiddenControls[size_t(place.index)];
        case Slot::settings: return editor->settingsButton;
        case Slot::upLed: return editor->upLed;
        case Slot::downLed: return editor->downLed;
        case Slot::activeLed: return editor->activeLed;
        case Slot::arrow: return nullptr;
        }
        return nullptr;
    }
    BundlePictures pictures;
};

} // namespace

TEST_F(LayoutTest, BothFacesPlaceTheirTwentyControlsAndEnterThemInTheTables)
{
    for (const auto& [face, places] : {std::pair{kRack, kRackPlaces}, std::pair{kLegacy, legacyPlaces()}}) {
        SCOPED_TRACE(face.style);
        buildFace(face.style);
        CViewContainer* background = editor->background;
        ASSERT_EQ(background->getNbViews(), 24u) << "twenty controls and four panels";
        EXPECT_EQ(frame->getViewSize(), CRect(0, 0, face.size.right + 1, face.size.bottom)) << "one pixel wider at zoom 1";
        EXPECT_EQ(background->getViewSize(), face.size);
        EXPECT_EQ(editor->baseSize[2], face.size.right);
        for (size_t i = 0; i < places.size(); ++i) {
            const Place& place = places[i];
            CView* child = background->getView(i < 19 ? uint32(i) : 23u); // the power button lies on top
            SCOPED_TRACE(testing::Message() << "place " << i);
            EXPECT_EQ(child->getViewSize(), place.rect);
            if (place.slot == Slot::arrow) {
                auto* arrow = dynamic_cast<CControl*>(child);
                ASSERT_NE(arrow, nullptr);
                EXPECT_EQ(arrow->getTag(), place.index);
                EXPECT_EQ(arrow->getListener(), dynamic_cast<IControlListener*>(editor->controls[9]));
            } else {
                EXPECT_EQ(child, registered(place));
            }
        }
        EXPECT_EQ(editor->powerButton, editor->controls[0]);
        for (int tag = 1; tag <= 6; ++tag)
            EXPECT_EQ(static_cast<CView*>(editor->mainKnobs[size_t(tag - 1)]), editor->controls[size_t(tag)]);
        EXPECT_EQ(editor->hiddenControls[5]->getListener(), editor->getHiddenListener());
        EXPECT_EQ(editor->hiddenControls[5]->getTooltipText(), "EDIT FX");
        EXPECT_FALSE(editor->upLed->getMouseEnabled());
        // RACK has the Trig Mode switch; LEGACY the toast and the Active light instead.
        const bool rack = face.style == kUiRack;
        EXPECT_EQ(editor->controls[14] != nullptr, rack);
        EXPECT_EQ(editor->toastButton != nullptr, !rack);
        EXPECT_EQ(editor->activeLed != nullptr, !rack);
        for (CView* panel : {static_cast<CView*>(editor->scopeView), static_cast<CView*>(editor->readout),
                             static_cast<CView*>(editor->slicePads), static_cast<CView*>(editor->fxPanel)})
            EXPECT_EQ(panel->getViewSize(), face.panel);
        EXPECT_FALSE(editor->readout->isVisible());
        EXPECT_FLOAT_EQ(editor->readout->getAlphaValue(), 0.8f);
        EXPECT_FALSE(editor->fxPanel->isVisible());
        EXPECT_EQ(editor->slicePads->smallFontSize, rack ? 14 : 7);
        EXPECT_EQ(editor->controls[23]->getParentView()->getParentView(), static_cast<CView*>(editor->fxPanel->tabView)) << "the FX panel registered its controls";
    }
}

TEST_F(LayoutTest, BuildTakesTheControllersValuesAndAnUnknownStyleBuildsNothing)
{
    struct Case {
        double freeze, trigMode;
        CColor colour;
        bool padsShow;
    };
    for (const Case& c : {Case{0.5, 1.0, CColor(57, 181, 74, 254), true}, Case{0.49, 0.0, CColor(0, 170, 255, 254), false}}) {
        controller->setParamNormalized(13, c.freeze);
        controller->setParamNormalized(14, c.trigMode);
        controller->setParamNormalized(7, 1.0);
        buildFace(kUiRack);
        EXPECT_EQ(editor->scopeView->traceColor, c.colour);
        EXPECT_EQ(editor->readout->textColor, c.colour);
        EXPECT_EQ(editor->slicePads->isVisible(), c.padsShow);
        EXPECT_EQ(editor->slicePads->nbSlice, 16);
        EXPECT_EQ(editor->controls[13]->getValue(), float(c.freeze));
    }
    editor->openUI(2);
    EXPECT_EQ(editor->baseSize[2], 860.0) << "nothing built, the size kept";
    EXPECT_EQ(editor->getFrame(), frame);
}

TEST_F(LayoutTest, TheOverlayHoldsItsControlsInBothArrangementsHiddenAboveTheFace)
{
    for (const Face& face : {kLegacy, kRack}) {
        SCOPED_TRACE(face.style);
        buildFace(face.style);
        CViewContainer* overlay = editor->settingsView;
        ASSERT_NE(overlay, nullptr);
        EXPECT_EQ(overlay->getViewSize(), face.size);
        EXPECT_FALSE(overlay->isVisible());
        EXPECT_EQ(frame->getView(frame->getNbViews() - 1), overlay);
        EXPECT_EQ(overlay->getNbViews(), face.style == kUiRack ? 27u : 28u);
        const bool rack = face.style == kUiRack;
        for (const OverlayPlace& place : kOverlayPlaces) {
            SCOPED_TRACE(place.index);
            CControl* control = place.slot == Slot::hidden ? editor->hiddenControls[size_t(place.index)] : editor->controls[size_t(place.index)];
            if (rack && place.rack.isEmpty()) {
                EXPECT_EQ(control, nullptr) << "no MOVE TOAST in RACK";
                continue;
            }
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->getViewSize(), rack ? place.rack : place.legacy);
            EXPECT_EQ(control->getParentView(), overlay);
            EXPECT_EQ(control->getListener(), place.slot == Slot::hidden ? static_cast<IControlListener*>(editor->getHiddenListener())
                                                                         : static_cast<IControlListener*>(editor));
        }
        auto* viewSize = dynamic_cast<DropDown2*>(overlay->getView(overlay->getNbViews() - 1));
        ASSERT_NE(viewSize, nullptr) << "the drop-down is the last child, so its list unfolds over the rows";
        EXPECT_EQ(viewSize->getItemName(3), "75%");
        editor->showSettings();
        EXPECT_TRUE(overlay->isVisible());
    }
}
