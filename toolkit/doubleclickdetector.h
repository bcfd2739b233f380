// Turns a second press of the same buttons, soon after and near the first, into a double click.
#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"

namespace VSTGUI {

class DoubleClickDetector
{
public:
    static constexpr uint64_t kMaxInterval = 400; // ms between the presses
    static constexpr CCoord kMaxDistance = 4;     // window pixels, per axis

    // Called for every press; true when it completes a double click. A third press starts anew.
    bool onPress(const CPoint& where, const CButtonState& buttons, uint64_t timeMs);

private:
    bool hasFirst = false;
    CPoint firstWhere;
    int32 firstButtons = 0;
    uint64_t firstTime = 0;
};

} // namespace VSTGUI
