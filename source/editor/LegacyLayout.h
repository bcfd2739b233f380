// The LEGACY face: 600 x 400 with plain picture names; each control's top-left corner is
// fixed and its size is that of its picture. It has an LED for Active and a toast picture
// that doubles as the Freeze button, and no Trig Mode switch. UI thread only.
#pragma once

#include "vstgui.h"

class LayoutBuilder;
class MyBitmap;

class LegacyLayout
{
public:
    static constexpr double kWidth = 600;  // layout pixels
    static constexpr double kHeight = 400;
    static constexpr VSTGUI::CCoord kReadoutFontSize = 13;
    static constexpr VSTGUI::int32 kPadFontSize = 0;  // 0: the pads keep their own size
    static const VSTGUI::CRect kPanel;                // scope, read-out, pads and FX panel

    // Loads the background; every other picture is loaded just before its first control.
    explicit LegacyLayout(LayoutBuilder& builder);
    MyBitmap* backgroundPicture() const { return background; }
    // Adds the face's controls to the builder's background; the power button is only
    // registered (the caller adds it last).
    void addControls();

private:
    void addKnobs();
    void addFaders();
    void addPitchRange();
    void addShiftButtons();

    LayoutBuilder& builder;
    MyBitmap* background;              // pictures held by the builder
    MyBitmap* toggle = nullptr;        // EDIT FX and the shift buttons
    MyBitmap* togglePressed = nullptr;
};
