#include "SteppedSwitch.h"

#include "MouseGesture.h"
#include <algorithm>
#include <cmath>

using namespace VSTGUI;

SteppedSwitch::SteppedSwitch(const CRect& size, IControlListener* listener, int32 tag, int32 positionCount,
                             bool pushedIsReported)
    : CControl(size, listener, tag), positions(std::max(positionCount, int32(1))), pushedCountsAsReported(pushedIsReported)
{
}

float SteppedSwitch::valueOf(int32 position) const
{
    return positions > 1 ? float(position) / float(positions - 1) : 0.f;
}

void SteppedSwitch::setValue(float newValue)
{
    if (std::isnan(newValue))
        return;
    const float steps = float(positions - 1) * std::clamp(newValue, 0.f, 1.f);
    const int32 shown = std::clamp(int32(steps), int32(0), positions - 1);
    if (shown == index)
        return;
    index = shown;
    if (pushedCountsAsReported)
        lastIndex = shown;
    setDirty(true);
}

void SteppedSwitch::pick(const CPoint& where)
{
    const CCoord step = stepSize();
    const int32 position = step > 0 ? int32(CCoord(int32(offsetAlongSteps(where))) / step) : 0;
    index = std::clamp(position, int32(0), positions - 1);
    if (index == lastIndex)
        return;
    // Everything is settled before the listener hears: it may rebuild the views and free this one.
    lastIndex = index;
    value = valueOf(index);
    invalid();
    valueChanged();
}

CMouseEventResult SteppedSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (MouseGesture::isLeftAlone(buttons))
        pick(where);
    return kMouseEventHandled;
}

CMouseEventResult SteppedSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventNotHandled;
    pick(where);
    return kMouseEventHandled;
}
