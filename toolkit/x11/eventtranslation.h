// The meaning of X pointer events for the frame: buttons, wheel steps and modifier keys.
#pragma once

#include "cbuttonstate.h"
#include <cstdint>
#include <optional>

namespace VSTGUI {
namespace X11 {

// The modifier keys of an X key-and-button state.
CButtonState modifiersFromState(uint16_t state);
// The held mouse buttons and modifier keys of an X key-and-button state.
CButtonState buttonsFromState(uint16_t state);
// kLButton, kMButton or kRButton for X buttons 1 to 3; 0 for any other.
int32 buttonFromDetail(uint8_t detail);

struct WheelStep
{
    CMouseWheelAxis axis;
    float distance; // +1 up or left, -1 down or right
};
// X buttons 4 to 7 are wheel steps: up, down, left, right. Nothing for other buttons.
std::optional<WheelStep> wheelFromDetail(uint8_t detail);

} // namespace X11
} // namespace VSTGUI
