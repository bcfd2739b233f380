// Edits out of the window: the gestures the host hears, the value read-out with its fades on
// the toolkit's manual clock, and the settings overlay keeping the mouse from the face.
#include "EditorHarness.h"

#include "editor/FxView.h"
#include "editor/MidiSlicerView.h"
#include "editor/Oscilloscope.h"
#include "controls/SimpleDisplay.h"

using namespace EditorTest;

namespace {

class EditsTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        buildFace(kUiRack);
    }
    float alpha(CView* view) const { return view->getAlphaValue(); }
    // Drags the GATE knob up from its centre; `during` runs between press and release.
    template <typename During>
    void dragGate(During during)
    {
        press(271, 229);
        move(271, 200);
        during();
        release(271, 200);
    }
    std::vector<std::string> editsOf(int id) const
    {
        std::vector<std::string> found;
        for (const std::string& edit : host.edits)
            if (std::stoi(edit.substr(edit.find(' ') + 1)) == id)
                found.push_back(edit.substr(0, edit.find(' ')));
        return found;
    }
    BundlePictures pictures;
};

} // namespace

TEST_F(EditsTest, TheReadOutNamesTheControlAndItsValueText)
{
    struct Case {
        int tag;
        float value;
        std::string text;
    };
    const Case cases[] = {
        {1, 0.856f, "GATE SIZE : 85%"},         {7, 1.f, "SLICE SIZE : 1/4 BEAT"}, {7, 0.5f, "SLICE SIZE : 1/2 BEAT"},
        {7, 0.49f, "SLICE SIZE : 1 BEAT"},      {9, 0.5f, "PITCH RANGE : 6 ST"},    {8, 1.f, "SLICE AMOUNT : 100%"},
        {3, 0.f, "FX SIZE AMOUNT : 0%"},        {13, 1.f, " : "},
    };
    for (const Case& c : cases) {
        CControl* control = editor->getControl(c.tag);
        control->setValue(c.value);
        editor->valueChanged(control);
        EXPECT_EQ(editor->readout->text, c.text);
    }
    EXPECT_EQ(Vextoria3Editor::getControlName(0), "");
    EXPECT_EQ(Vextoria3Editor::getControlName(10), "");
}

TEST_F(EditsTest, AMainControlsGestureFadesTheReadOutInOverTheDimmedPanels)
{
    controller->setParamNormalized(14, 1.0);
    editor->idle(); // Midi Slice: the pads show
    ASSERT_TRUE(editor->slicePads->isShowing());
    dragGate([&] {
        EXPECT_TRUE(editor->readout->isVisible());
        EXPECT_FLOAT_EQ(alpha(editor->scopeView), 0.1f);
        EXPECT_FLOAT_EQ(alpha(editor->slicePads), 0.1f);
        runLoop.advance(40);
        EXPECT_FLOAT_EQ(alpha(editor->readout), 0.75f);
    });
    EXPECT_EQ(editsOf(1).front(), "begin");
    EXPECT_EQ(editsOf(1).back(), "end");
    EXPECT_EQ(editor->readout->text.rfind("GATE SIZE : ", 0), 0u);
    runLoop.advance(200);
    EXPECT_NEAR(alpha(editor->readout), 0.375f, 0.05f) << "400 ms to nothing, linearly";
    EXPECT_NEAR(alpha(editor->scopeView), 0.1f + 0.66f * 0.4f, 0.05f);
    runLoop.advance(400);
    EXPECT_FLOAT_EQ(alpha(editor->readout), 0.f);
    EXPECT_FLOAT_EQ(alpha(editor->scopeView), 0.76f) << "the scope rests at 0.76";
    EXPECT_FLOAT_EQ(alpha(editor->slicePads), 1.f);

    // With the FX panel showing, the scope under it goes out entirely and the panel comes back.
    editor->getWrapper()->setHiddenParameter(5, 1.0);
    editor->idle();
    ASSERT_TRUE(editor->fxPanel->isShowing());
    dragGate([&] {
        EXPECT_FLOAT_EQ(alpha(editor->scopeView), 0.f);
        EXPECT_FLOAT_EQ(alpha(editor->fxPanel), 0.1f);
    });
    runLoop.advance(600);
    EXPECT_FLOAT_EQ(alpha(editor->fxPanel), 1.f);

    // Freeze has no read-out: its gesture changes no alpha and no text.
    const std::string text = editor->readout->text;
    editor->controlBeginEdit(editor->getControl(13));
    EXPECT_EQ(editor->readout->text, text);
    EXPECT_FLOAT_EQ(alpha(editor->scopeView), 0.76f);
}

TEST_F(EditsTest, TheHostHearsGesturesOnlyForRealParametersEachAroundItsOwnEdit)
{
    struct Case {
        const char* what;
        CPoint where;
        std::vector<std::string> edits; // begin/perform/end by id, in order
    };
    const Case faceCases[] = {
        {"pitch range arrow", {111, 261}, {"begin 9", "perform 9", "end 9"}},
        {"EDIT FX", {473, 192}, {}},
    };
    auto idsOf = [](const std::vector<std::string>& edits) {
        std::vector<std::string> kept;
        for (const std::string& edit : edits) // without the value
            kept.push_back(edit.substr(0, edit.find(' ', edit.find(' ') + 1)));
        return kept;
    };
    for (const Case& c : faceCases) {
        host.edits.clear();
        click(c.where.x, c.where.y);
        EXPECT_EQ(idsOf(host.edits), c.edits) << c.what;
    }
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(5), 1.0) << "EDIT FX went to its hidden setting";

    editor->showSettings();
    const Case overlayCases[] = {
        {"PITCH STRETCH", {550, 99}, {"begin 15", "perform 15", "end 15"}},
        {"replay switch", {551, 240}, {"begin 32", "perform 32", "end 32"}},
        {"KNOB SPEED", {480, 158}, {}},
        {"reset", {30, 240}, {"begin 33", "perform 33", "end 33", "begin 15", "perform 15", "end 15", "begin 17", "perform 17",
                              "end 17", "begin 27", "perform 27", "end 27", "begin 32", "perform 32", "end 32"}},
        {"layout switch to LEGACY", {405, 247}, {}},
    };
    for (const Case& c : overlayCases) {
        host.edits.clear();
        click(c.where.x, c.where.y);
        EXPECT_EQ(idsOf(host.edits), c.edits) << c.what;
    }
    EXPECT_EQ(editor->getWrapper()->getParameter(33), 0.5) << "reset puts the factory values back";
    EXPECT_EQ(editor->getWrapper()->getHiddenParameter(3), 1.0);
    EXPECT_TRUE(editor->layoutPending) << "the switch waits for the tick";
}

TEST_F(EditsTest, WhileTheOverlayShowsNoPressOrWheelStepReachesTheFace)
{
    editor->showSettings();
    CControl* gate = editor->getControl(1);
    const float before = gate->getValue();
    dragGate([] {});
    EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(271, 229), kMouseWheelAxisY, 1, CButtonState()));
    click(55, 155); // Freeze, under an empty part of the panel
    EXPECT_EQ(gate->getValue(), before);
    EXPECT_EQ(editor->getControl(13)->getValue(), 0.f);
    EXPECT_TRUE(host.edits.empty());
    editor->hideSettings();
    click(55, 155);
    EXPECT_EQ(editor->getControl(13)->getValue(), 1.f);
}
