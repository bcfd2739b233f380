#include "eventtranslation.h"

#include <xcb/xproto.h>

namespace VSTGUI {
namespace X11 {

CButtonState modifiersFromState(uint16_t state)
{
    int32 bits = 0;
    if (state & XCB_MOD_MASK_SHIFT)
        bits |= kShift;
    if (state & XCB_MOD_MASK_CONTROL)
        bits |= kControl;
    if (state & XCB_MOD_MASK_1)
        bits |= kAlt;
    if (state & XCB_MOD_MASK_4)
        bits |= kApple;
    return CButtonState(bits);
}

CButtonState buttonsFromState(uint16_t state)
{
    int32 bits = modifiersFromState(state)();
    if (state & XCB_BUTTON_MASK_1)
        bits |= kLButton;
    if (state & XCB_BUTTON_MASK_2)
        bits |= kMButton;
    if (state & XCB_BUTTON_MASK_3)
        bits |= kRButton;
    return CButtonState(bits);
}

int32 buttonFromDetail(uint8_t detail)
{
    switch (detail)
    {
    case 1: return kLButton;
    case 2: return kMButton;
    case 3: return kRButton;
    default: return 0;
    }
}

std::optional<WheelStep> wheelFromDetail(uint8_t detail)
{
    switch (detail)
    {
    case 4: return WheelStep{kMouseWheelAxisY, 1.f};
    case 5: return WheelStep{kMouseWheelAxisY, -1.f};
    case 6: return WheelStep{kMouseWheelAxisX, 1.f};
    case 7: return WheelStep{kMouseWheelAxisX, -1.f};
    default: return std::nullopt;
    }
}

} // namespace X11
} // namespace VSTGUI
