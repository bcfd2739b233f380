// A whole number between minimum and maximum, shown as a film-strip frame or as text over a
// picture, stepped by two separate arrow controls that report to it (tag 0 down, tag 1 up).
// Holding an arrow repeats the step, slowly at first, then fast.
#pragma once

#include "ArrowRepeat.h"
#include "vstgui.h"

class SpinBox2 : public VSTGUI::CControl, public VSTGUI::IControlListener
{
public:
    static constexpr VSTGUI::uint32 kRepeatDelay = 400; // ms from a press to the first repeat
    static constexpr VSTGUI::int32 kDownArrowTag = 0;
    static constexpr VSTGUI::int32 kUpArrowTag = 1;

    // `bitmap` (referenced when not null) is the film strip, or the background in text mode.
    SpinBox2(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, VSTGUI::int32 tag, VSTGUI::CBitmap* bitmap);
    SpinBox2(const SpinBox2& other);
    ~SpinBox2() override;

    // Stores a changed value and redraws; nobody is told.
    void setValue(float newValue) override;
    // The number shown for the current value.
    VSTGUI::int32 number() const;

    // An arrow pressed (value 1) or released (value 0).
    void valueChanged(VSTGUI::CControl* arrow) override;
    using VSTGUI::CControl::valueChanged;

    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
    VSTGUI::CView* newCopy() const override { return new SpinBox2(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    void removed(VSTGUI::CViewContainer* oldParent) override;

    VSTGUI::int32 maximum = 10;
    VSTGUI::int32 minimum = 0;
    VSTGUI::CColor fontColor{255, 255, 255, 255}; // text mode
    VSTGUI::CFontRef font = nullptr;              // text mode; null keeps the context's font
    VSTGUI::int32 direction = 0;                  // +1 while up is held, -1 for down
    VSTGUI::CBitmap* bitmap;                      // referenced
    bool textMode = false;                        // false: film strip; true: number as text
    ArrowRepeat repeat;

private:
    // Shows `shown` + `step`, within the range; tells the listener when the value changed.
    void stepFrom(VSTGUI::int32 shown, VSTGUI::int32 step);
};
