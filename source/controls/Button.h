// A picture button, momentary or toggle: drawn from a film strip or from single pictures,
// with an optional centred caption, optionally one of a radio group.
#pragma once

#include "vstgui.h"
#include <string>

class ButtonGroup;
class Vextoria3Editor;

class Button : public VSTGUI::CControl
{
public:
    using RightClickCallback = void (Vextoria3Editor::*)(int tag, VSTGUI::CPoint& where);
    using ReleaseClickCallback = void (Vextoria3Editor::*)();

    Button(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag);
    Button(const Button& other);
    ~Button() override;

    // Each setter references its picture; a second call releases the picture it replaces.
    void setButtonPix(VSTGUI::CBitmap* strip, int frameCount);
    void setNormalPix(VSTGUI::CBitmap* picture); // also becomes the current picture
    void setHoverPix(VSTGUI::CBitmap* picture);
    void setPressedPix(VSTGUI::CBitmap* picture);
    void setActivePix(VSTGUI::CBitmap* picture);

    // Runs the owner's callbacks when the listener is the editor and the callback is set.
    void rightClick(int clickTag, VSTGUI::CPoint where);
    void releaseClick();

    // Values at `threshold` or above are on. The listener is not told.
    void setValue(float newValue) override;
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CView* newCopy() const override { return new Button(*this); }
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    // A held momentary button goes back up and ends its gesture; no release click runs.
    VSTGUI::CMouseEventResult onMouseCancel() override;
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

    VSTGUI::CBitmap* currentPix = nullptr; // aliases one of the pictures below; no reference
    VSTGUI::CBitmap* normalPix = nullptr;
    VSTGUI::CBitmap* hoverPix = nullptr;
    VSTGUI::CBitmap* pressedPix = nullptr; // also the on picture while activePix is null
    VSTGUI::CBitmap* activePix = nullptr;
    VSTGUI::CBitmap* buttonPix = nullptr;  // film strip
    VSTGUI::int32 frames = 0;              // frames in buttonPix
    bool on = false;                       // a toggle button is on
    bool toggle = false;                   // false: momentary
    bool disabled = false;                 // ignores the left button; set by a locking group
    ButtonGroup* group = nullptr;
    bool rightPending = false;             // a right press waits for its release
    bool pressed = false;                  // from a left press until its release
    double threshold = 0.5;                // setValue: on at this value and above
    std::string text;
    std::string activeText;                // caption while on, when not empty
    VSTGUI::CColor textColor{0, 80, 0, 255};
    VSTGUI::CColor activeTextColor{180, 180, 180, 255};
    VSTGUI::CFontRef font = VSTGUI::kSystemFont;
    RightClickCallback rightClickCallback = nullptr;
    ReleaseClickCallback releaseClickCallback = nullptr;

private:
    VSTGUI::CBitmap* onPicture() const { return activePix ? activePix : pressedPix; }
    VSTGUI::CBitmap* restingPicture() const { return on ? onPicture() : normalPix; }
    // Keeps currentPix valid when the picture it shows is replaced.
    void replacePicture(VSTGUI::CBitmap*& slot, VSTGUI::CBitmap* picture);
    void applyToggleState(bool state);
    VSTGUI::int32 stripFrameIndex() const;
    void drawCaption(VSTGUI::CDrawContext* context);
    Vextoria3Editor* owner() const;
};
