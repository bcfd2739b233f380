#include "doubleclickdetector.h"

#include <cmath>

namespace VSTGUI {

bool DoubleClickDetector::onPress(const CPoint& where, const CButtonState& buttons, uint64_t timeMs)
{
    const bool isDouble = hasFirst && buttons.getButtonState() == firstButtons && timeMs >= firstTime &&
                          timeMs - firstTime <= kMaxInterval && std::fabs(where.x - firstWhere.x) <= kMaxDistance &&
                          std::fabs(where.y - firstWhere.y) <= kMaxDistance;
    hasFirst = !isDouble;
    firstWhere = where;
    firstButtons = buttons.getButtonState();
    firstTime = timeMs;
    return isDouble;
}

} // namespace VSTGUI
