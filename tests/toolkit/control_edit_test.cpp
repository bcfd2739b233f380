// Control values, listeners and the begin/end edit bracket that reaches the editor.
#include "toolkit_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

struct EditLog : IControlListener, VSTGUIEditorInterface
{
    std::vector<std::string> calls;
    void valueChanged(CControl* control) override { calls.push_back("changed " + std::to_string(control->getValue())); }
    void controlBeginEdit(CControl* control) override { calls.push_back("listener begin " + std::to_string(control->getTag())); }
    void controlEndEdit(CControl* control) override { calls.push_back("listener end " + std::to_string(control->getTag())); }
    void beginEdit(int32 index) override { calls.push_back("editor begin " + std::to_string(index)); }
    void endEdit(int32 index) override { calls.push_back("editor end " + std::to_string(index)); }
};

// A control that steps its value on each wheel step, bracketed by the wheel-editing support.
class WheelControl : public CControl, private CMouseWheelEditingSupport
{
public:
    using CControl::CControl;
    bool onWheel(const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState&) override
    {
        onMouseWheelEditing(this);
        setValue(getValue() + (distance > 0 ? 0.1f : -0.1f));
        valueChanged();
        return true;
    }
};

struct ControlScene : ::testing::Test
{
    ScopedManualRunLoop runLoop;
    EditLog edits;
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), &edits);
    ~ControlScene() override { frame->forget(); }
};

} // namespace

TEST_F(ControlScene, NestedEditsReachListenerThenEditorOnlyAtTheOutermostLevel)
{
    auto* control = new CControl(CRect(0, 0, 10, 10), &edits, 7);
    frame->addView(control);
    control->beginEdit();
    control->beginEdit();
    control->endEdit();
    EXPECT_TRUE(control->isEditing());
    control->endEdit();
    control->endEdit(); // an end without a begin does nothing
    EXPECT_FALSE(control->isEditing());
    EXPECT_EQ(edits.calls, (std::vector<std::string>{"listener begin 7", "editor begin 7", "listener end 7", "editor end 7"}));

    // Outside a frame there is no editor, but the listener still hears.
    edits.calls.clear();
    CControl loose(CRect(0, 0, 10, 10), &edits, 3);
    loose.beginEdit();
    loose.endEdit();
    EXPECT_EQ(edits.calls, (std::vector<std::string>{"listener begin 3", "listener end 3"}));
}

TEST_F(ControlScene, ValuesPushedInAreClampedAndNotReported)
{
    CControl control(CRect(0, 0, 10, 10), &edits, 1);
    control.setValue(3.f);
    EXPECT_EQ(control.getValue(), 1.f);
    control.setValue(-1.f);
    EXPECT_EQ(control.getValue(), 0.f);
    control.setValue(std::nanf(""));
    EXPECT_EQ(control.getValue(), 0.f);
    EXPECT_TRUE(edits.calls.empty());
    control.valueChanged();
    EXPECT_EQ(edits.calls, std::vector<std::string>{"changed 0.000000"});

    control.setMin(10);
    control.setMax(20);
    control.setValueNormalized(0.5f);
    EXPECT_EQ(control.getValue(), 15.f);
    EXPECT_EQ(control.getValueNormalized(), 0.5f);
}

TEST_F(ControlScene, WheelStepsFormOneGestureThatEndsAfterAPauseOrWhenTheControlGoes)
{
    auto* control = new WheelControl(CRect(0, 0, 50, 50), &edits, 4);
    frame->addView(control);
    frame->platformOnMouseWheel(CPoint(5, 5), kMouseWheelAxisY, 1, 0);
    runLoop.advance(300);
    frame->platformOnMouseWheel(CPoint(5, 5), kMouseWheelAxisY, 1, 0);
    runLoop.advance(300);
    EXPECT_TRUE(control->isEditing()); // 300 ms after the last step
    runLoop.advance(300);
    EXPECT_FALSE(control->isEditing());
    EXPECT_EQ(edits.calls, (std::vector<std::string>{"listener begin 4", "editor begin 4", "changed 0.100000",
                                                      "changed 0.200000", "listener end 4", "editor end 4"}));

    // Removed in the middle of a gesture, still in the tree when it ends: the host hears it.
    edits.calls.clear();
    frame->platformOnMouseWheel(CPoint(5, 5), kMouseWheelAxisY, -1, 0);
    frame->removeView(control);
    const std::vector<std::string> ended{"listener begin 4", "editor begin 4", "changed 0.100000",
                                         "listener end 4", "editor end 4"};
    EXPECT_EQ(edits.calls, ended);
    runLoop.advance(1000);
    EXPECT_EQ(edits.calls, ended) << "nothing more when the pause is over";
}

TEST_F(ControlScene, CopiesStartDetachedWithTheirOwnReferenceAndNoGesture)
{
    auto* original = new WheelControl(CRect(0, 0, 50, 50), &edits, 9);
    frame->addView(original);
    original->setValue(0.3f);
    frame->platformOnMouseWheel(CPoint(5, 5), kMouseWheelAxisY, 1, 0); // a wheel gesture is open
    auto* copy = new WheelControl(*original);
    EXPECT_EQ(copy->getValue(), original->getValue());
    EXPECT_FALSE(copy->isEditing());
    EXPECT_FALSE(copy->isAttached());
    frame->removeView(original); // the original goes; the copy's wheel support is its own
    copy->remember();
    copy->forget();
    runLoop.advance(1000);
    copy->forget();
}

TEST_F(ControlScene, CheckBoxTogglesOnReleaseInsideOnly)
{
    auto* box = new CCheckBox(CRect(10, 10, 90, 30), &edits, 5, "MOVE TOAST ");
    frame->addView(box);
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    EXPECT_TRUE(box->isChecked()); // shown while pressed
    frame->platformOnMouseUp(CPoint(20, 20), 0);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(edits.calls, (std::vector<std::string>{"listener begin 5", "editor begin 5", "changed 1.000000",
                                                      "listener end 5", "editor end 5"}));

    edits.calls.clear();
    runLoop.advance(1000);
    frame->platformOnMouseDown(CPoint(20, 20), kLButton);
    frame->platformOnMouseMoved(CPoint(95, 50), kLButton);
    frame->platformOnMouseUp(CPoint(95, 50), 0);
    EXPECT_TRUE(box->isChecked()); // released outside: unchanged, not reported
    EXPECT_EQ(std::count(edits.calls.begin(), edits.calls.end(), "changed 0.000000"), 0);

    edits.calls.clear();
    frame->platformOnMouseDown(CPoint(20, 20), kRButton);
    EXPECT_TRUE(edits.calls.empty());
}
