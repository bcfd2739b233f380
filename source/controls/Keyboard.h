// An on-screen piano: white and black key pictures (released state in the top half, pressed
// in the bottom half), notes played with the mouse sent to a keyboard listener, and notes
// played elsewhere shown pressed.
#pragma once

#include "KeyboardListener.h"
#include "vstgui.h"
#include <array>

class Keyboard : public VSTGUI::CControl
{
public:
    static constexpr int kNoteOn = 144;
    static constexpr int kNoteOff = 128;

    // Both pictures are needed; a missing one leaves the keyboard blank and deaf.
    Keyboard(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag,
             KeyboardListener* keyboardListener, VSTGUI::CBitmap* whiteKeys, VSTGUI::CBitmap* blackKeys);
    Keyboard(const Keyboard& other);
    ~Keyboard() override;

    // Shows a note played elsewhere as pressed (144) or released (128).
    void setMidiNote(int status, int note);
    // Sends a note on for a key (white key index, or black slot index) or the oldest
    // note off; the velocity grows with the press's depth y.
    void sendMidi(int status, int key, int y, bool black);
    // value × 256 below 128 releases that note, from 128 presses note (n − 128). The stored
    // value does not change.
    void setValue(float newValue) override;

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CView* newCopy() const override { return new Keyboard(*this); }
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

    VSTGUI::CBitmap* whiteKeys = nullptr;
    VSTGUI::CBitmap* blackKeys = nullptr;
    VSTGUI::int32 whiteCount = 35;         // five octaves
    VSTGUI::int32 keyCount = 60;
    VSTGUI::int32 whiteWidth = 0;          // pixels
    VSTGUI::int32 blackWidth = 0;
    VSTGUI::int32 whiteHeight = 0;         // half the picture: one state
    VSTGUI::int32 blackHeight = 0;
    std::array<bool, 128> whiteDown{};     // by white key
    std::array<bool, 64> blackDown{};      // by black slot: the gap right of white key i
    VSTGUI::int32 lastKey = 0;             // key played last by the mouse
    bool lastBlack = false;
    VSTGUI::int32 baseNote = 36;           // note of white key 0
    std::array<bool, 128> noteOn{};        // notes sent on and not yet off
    bool mouseIsDown = false;
    KeyboardListener* keyboardListener = nullptr;

private:
    struct Key
    {
        VSTGUI::int32 index;
        bool black;
    };
    bool usable() const { return whiteWidth > 0 && whiteHeight > 0 && blackHeight > 0; }
    Key keyAt(VSTGUI::int32 x, VSTGUI::int32 y) const;
    void markPressed(const Key& key);
    void releaseAll();
    VSTGUI::int32 noteOf(const Key& key) const;
};
