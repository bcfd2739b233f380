#include "ccontrol.h"

#include "cframe.h"
#include "cmousewheeleditingsupport.h"
#include <algorithm>
#include <cmath>

namespace VSTGUI {

CControl::CControl(const CRect& size, IControlListener* controlListener, int32 controlTag, CBitmap* background)
    : CView(size), listener(controlListener), tag(controlTag)
{
    setBackground(background);
}

CControl::CControl(const CControl& other)
    : CView(other),
      listener(other.listener),
      tag(other.tag),
      value(other.value),
      vmin(other.vmin),
      vmax(other.vmax),
      defaultVal(other.defaultVal)
{
}

void CControl::setValue(float newValue)
{
    if (std::isnan(newValue))
        return;
    value = std::clamp(newValue, std::min(vmin, vmax), std::max(vmin, vmax));
}

void CControl::setValueNormalized(float normalized)
{
    if (std::isnan(normalized))
        return;
    setValue(vmin + std::clamp(normalized, 0.f, 1.f) * (vmax - vmin));
}

float CControl::getValueNormalized() const
{
    float range = vmax - vmin;
    return range == 0 ? 0.f : (value - vmin) / range;
}

void CControl::bounceValue() { value = std::clamp(value, std::min(vmin, vmax), std::max(vmin, vmax)); }

void CControl::setTag(int32 newTag)
{
    if (listener)
        listener->controlTagWillChange(this);
    tag = newTag;
    if (listener)
        listener->controlTagDidChange(this);
}

void CControl::valueChanged()
{
    if (listener)
        listener->valueChanged(this);
}

void CControl::beginEdit()
{
    if (editing++ > 0)
        return;
    if (listener)
        listener->controlBeginEdit(this);
    if (CFrame* frame = getFrame())
        if (VSTGUIEditorInterface* editor = frame->getEditor())
            editor->beginEdit(tag);
}

void CControl::endEdit()
{
    if (editing == 0 || --editing > 0)
        return;
    if (listener)
        listener->controlEndEdit(this);
    if (CFrame* frame = getFrame())
        if (VSTGUIEditorInterface* editor = frame->getEditor())
            editor->endEdit(tag);
}

void CControl::endGesture()
{
    if (wheelGesture)
        wheelGesture->finishEditing();
    while (isEditing())
        endEdit();
}

void CControl::removed(CViewContainer* oldParent)
{
    endGesture();
    CView::removed(oldParent);
}

} // namespace VSTGUI
