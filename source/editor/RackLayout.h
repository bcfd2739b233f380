// The RACK face: 860 x 300, every control at a fixed rectangle, pictures named "vxp_...".
// UI thread only.
#pragma once

#include "vstgui.h"
#include <array>

class LayoutBuilder;
class MyBitmap;

class RackLayout
{
public:
    static constexpr double kWidth = 860;  // layout pixels
    static constexpr double kHeight = 300;
    static constexpr VSTGUI::CCoord kReadoutFontSize = 20;
    static constexpr VSTGUI::int32 kPadFontSize = 14;  // pad numbers with 16 pads
    static const VSTGUI::CRect kPanel;                 // scope, read-out, pads and FX panel

    // Loads all the face's pictures before any control is made.
    explicit RackLayout(LayoutBuilder& builder);
    MyBitmap* backgroundPicture() const { return pictures[kBackground]; }
    // Adds the face's controls to the builder's background; the power button is only
    // registered (the caller adds it last).
    void addControls();

private:
    enum Picture
    {
        kBackground, kPower, kSwitch, kFreeze, kSliderSize, kSliderAmount, kKnobGate, kKnobReverse, kKnobFx,
        kKnobPitch, kKnobPan, kKnobRoll, kLcdScreen, kLeft, kRight, kUp, kDown, kLedUp, kLedDown, kPushEdit,
        kBurger, kPictureCount
    };
    void addKnob(const VSTGUI::CRect& rect, VSTGUI::int32 tag, Picture strip);
    void addFader(const VSTGUI::CRect& rect, VSTGUI::int32 tag, Picture strip);
    void addPitchRange();

    LayoutBuilder& builder;
    std::array<MyBitmap*, kPictureCount> pictures {}; // held by the builder
};
