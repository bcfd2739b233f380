// Mouse buttons, modifier keys and the answers of mouse handlers.
#pragma once

#include "vstguibase.h"

namespace VSTGUI {

enum CButton : int32
{
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kButton4 = 1 << 8,
    kButton5 = 1 << 9,
    kDoubleClick = 1 << 10,
};

inline constexpr int32 kAllMouseButtons = kLButton | kMButton | kRButton | kButton4 | kButton5;
inline constexpr int32 kAllModifiers = kShift | kControl | kAlt | kApple;

// The state of the buttons and modifier keys that comes with a mouse event.
class CButtonState
{
public:
    constexpr CButtonState(int32 bits = 0) : state(bits) {}

    // Only the five mouse-button bits.
    int32 getButtonState() const { return state & kAllMouseButtons; }
    // Only the four modifier-key bits.
    int32 getModifierState() const { return state & kAllModifiers; }
    bool isLeftButton() const { return (state & kLButton) != 0; }
    bool isRightButton() const { return (state & kRButton) != 0; }
    bool isDoubleClick() const { return (state & kDoubleClick) != 0; }

    int32 operator()() const { return state; }
    int32 operator&(int32 mask) const { return state & mask; }
    CButtonState& operator|=(int32 bits) { state |= bits; return *this; }
    bool operator==(const CButtonState& other) const { return state == other.state; }
    bool operator!=(const CButtonState& other) const { return state != other.state; }

private:
    int32 state;
};

enum CMouseEventResult
{
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,          // the view takes the mouse until the button is released
    kMouseEventNotHandled,       // the press goes on to the views below
    kMouseMoveEventHandledButDontNeedMoreEvents, // handled, but the view does not keep the mouse
};

enum CMouseWheelAxis
{
    kMouseWheelAxisX = 0,
    kMouseWheelAxisY
};

} // namespace VSTGUI
