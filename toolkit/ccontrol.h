// A view with a value that the user edits: it reports changes to its listener and brackets
// each gesture with begin and end edit.
#pragma once

#include "cview.h"

namespace VSTGUI {

class CControl;
class CMouseWheelEditingSupport;

class IControlListener
{
public:
    virtual ~IControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    virtual int32 controlModifierClicked(CControl* /*control*/, CButtonState /*button*/) { return 0; }
    virtual void controlBeginEdit(CControl* /*control*/) {}
    virtual void controlEndEdit(CControl* /*control*/) {}
    virtual void controlTagWillChange(CControl* /*control*/) {}
    virtual void controlTagDidChange(CControl* /*control*/) {}
};

class CControl : public CView
{
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, int32 tag = 0, CBitmap* background = nullptr);
    // For newCopy: same listener, tag, value and range; no gesture open.
    CControl(const CControl& other);

    // Stores the value clamped to the range; NaN is ignored. Nobody is told: values pushed in
    // by the owner are not reported back.
    virtual void setValue(float value);
    float getValue() const { return value; }
    // 0..1 over the control's range.
    void setValueNormalized(float normalized);
    float getValueNormalized() const;
    void setMin(float minimum) { vmin = minimum; }
    float getMin() const { return vmin; }
    void setMax(float maximum) { vmax = maximum; }
    float getMax() const { return vmax; }
    void setDefaultValue(float defaultValue) { defaultVal = defaultValue; }
    float getDefaultValue() const { return defaultVal; }
    // Clamps the value into the range.
    void bounceValue();

    void setTag(int32 newTag);
    int32 getTag() const { return tag; }
    void setListener(IControlListener* newListener) { listener = newListener; }
    IControlListener* getListener() const { return listener; }

    // Tells the listener about the current value.
    virtual void valueChanged();
    // Gestures may nest; only the outermost begin and end reach the listener and then the
    // frame's editor. An end without a begin does nothing.
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing > 0; }

    // Ends whatever gesture is still open (a press without release, a run of wheel steps
    // waiting for its pause), once, towards the listener and the frame's editor.
    void endGesture();
    // Taken out of the tree: an open gesture ends (containers end it earlier, while the whole
    // tree is still there).
    void removed(CViewContainer* oldParent) override;

protected:
    IControlListener* listener;
    int32 tag;
    float value = 0;
    float vmin = 0;
    float vmax = 1;
    float defaultVal = 0.5f;

private:
    friend class CMouseWheelEditingSupport;
    int32 editing = 0;                                   // nesting depth of begin/end edit
    CMouseWheelEditingSupport* wheelGesture = nullptr;   // holds this control's open wheel gesture
};

} // namespace VSTGUI
