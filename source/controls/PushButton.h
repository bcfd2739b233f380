// A picture button that calls its owner, the editor, directly instead of a control listener:
// momentary or toggle, with hover pictures, a caption, radio groups and a slide mode in which
// dragging across a row of buttons presses each one the pointer enters.
#pragma once

#include "vstgui.h"
#include <string>

class ButtonGroup2;
class Vextoria3Editor;

class PushButton : public VSTGUI::CView
{
public:
    using ValueChangedCallback = void (Vextoria3Editor::*)(int tag, float value);
    using PressedCallback = void (Vextoria3Editor::*)();

    PushButton(const VSTGUI::CRect& size, Vextoria3Editor* owner, int tag);
    PushButton(const PushButton& other);
    ~PushButton() override;

    // Each setter references its picture and releases the one it replaces.
    void setNormalPix(VSTGUI::CBitmap* picture); // also becomes the current picture
    void setDisabledPix(VSTGUI::CBitmap* picture);
    void setHoverPix(VSTGUI::CBitmap* picture);
    void setPressedPix(VSTGUI::CBitmap* picture);
    void setActivePix(VSTGUI::CBitmap* picture);

    // Pushed in by the owner or a radio group; nobody is told. The same value changes nothing.
    void setValue(float newValue);
    // Run the owner's callbacks when both the owner and the callback are set.
    void valueChanged(int clickTag, float newValue);
    void pressed();
    // Called on a right release; buttons have no right-click action.
    void rightClick(int clickTag, VSTGUI::CPoint& where) {}

    VSTGUI::CView* newCopy() const override { return new PushButton(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

    int tag;
    VSTGUI::CBitmap* currentPix = nullptr; // aliases one of the pictures below; no reference
    bool on = false;                       // a toggle button is on
    bool toggle = false;                   // false: momentary
    bool disabled = false;                 // set by a locking radio group
    bool locked = false;                   // presses and releases are refused
    bool keepStateOnUp = false;            // a toggle button reports without flipping
    bool dimmed = false;                   // drawn at half opacity
    ButtonGroup2* group = nullptr;
    VSTGUI::CPoint lastClick;              // where the last press happened
    bool rightDown = false;                // a right press waits for its release
    bool mouseDown = false;                // a left press waits for its release
    bool slideMode = false;                // pressed by entering it with a button held
    std::string text;                      // caption, centred
    std::string activeText;                // caption while on, when not empty
    VSTGUI::CColor textColor{0, 80, 0, 255};
    VSTGUI::CColor activeTextColor{180, 180, 180, 255};
    VSTGUI::CFontRef font = VSTGUI::kSystemFont;
    double threshold = 0.5;                // setValue: on at this value and above
    Vextoria3Editor* owner;                // not owned
    ValueChangedCallback valueChangedCallback = nullptr;
    PressedCallback pressedCallback = nullptr;
    float value = 0.f;                     // 1 while a momentary button is held or a toggle is on

private:
    VSTGUI::CBitmap* onPicture() const { return activePix ? activePix : pressedPix; }
    VSTGUI::CBitmap* restingPicture() const { return on ? onPicture() : normalPix; }
    bool refusesClicks() const { return disabled || locked; }
    void releaseLeft();
    VSTGUI::CMouseEventResult slide(const VSTGUI::CButtonState& buttons);

    VSTGUI::CBitmap* normalPix = nullptr;
    VSTGUI::CBitmap* disabledPix = nullptr; // held for a disabled look; not drawn
    VSTGUI::CBitmap* hoverPix = nullptr;
    VSTGUI::CBitmap* pressedPix = nullptr;  // also the on picture while activePix is null
    VSTGUI::CBitmap* activePix = nullptr;
};
