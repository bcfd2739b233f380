// Edits on the RACK face: what the host hears, the read-out, menus, the tick's work, the toast, note lights.
#include "EditorHarness.h"

#include "controls/SimpleDisplay.h"
#include "editor/FxView.h"
#include "editor/MidiSlicerView.h"
#include "editor/Oscilloscope.h"
#include "editor/TabView.h"
#include "ids.h"

#include <cstdlib>
#include <functional>

using namespace EditorTest;
using namespace Vextoria3Ids;

namespace {

using Edits = std::vector<std::string>;

class GesturesTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        buildFace(kUiRack);
    }
    Edits edits() // the host's edits since the last call, without their values: "begin 9", ...
    {
        Edits kept;
        for (const std::string& edit : std::exchange(host.edits, {}))
            kept.push_back(edit.substr(0, edit.find(' ', edit.find(' ') + 1)));
        return kept;
    }
    static Edits gesture(std::initializer_list<int> ids) // begin, perform and end of each id in turn
    {
        Edits all;
        for (int id : ids)
            for (const char* kind : {"begin ", "perform ", "end "})
                all.push_back(kind + std::to_string(id));
        return all;
    }
    // A right click's menu rows as "Reverb,HP Filter*,...", a star on checked rows; "" for none.
    std::string rightClick(CCoord x, CCoord y, Menu* Vextoria3Editor::*menu)
    {
        click(x, y, kRButton);
        Menu* shown = editor->*menu;
        std::string rows;
        for (const MenuItem& item : shown && shown->isShowing() ? shown->items : std::vector<MenuItem> {})
            rows += (rows.empty() ? "" : ",") + item.name + (item.checked ? "*" : "");
        return rows;
    }
};

} // namespace

TEST_F(GesturesTest, TheReadOutNamesTheControlAndItsValueAndTheScopeFollowsFreezeAndSpeed)
{
    for (const auto& [tag, value, text] : std::initializer_list<std::tuple<int, float, std::string>> {
             {1, 0.856f, "GATE SIZE : 85%"}, {7, 1.f, "SLICE SIZE : 1/4 BEAT"}, {7, 0.5f, "SLICE SIZE : 1/2 BEAT"},
             {7, 0.49f, "SLICE SIZE : 1 BEAT"}, {9, 0.5f, "PITCH RANGE : 6 ST"}, {8, 1.f, "SLICE AMOUNT : 100%"},
             {3, 0.f, "FX SIZE AMOUNT : 0%"}, {13, 1.f, " : "}}) {
        editor->getControl(tag)->setValue(value);
        editor->valueChanged(editor->getControl(tag));
        EXPECT_EQ(editor->readout->text, text);
    }
    EXPECT_EQ(Vextoria3Editor::getControlName(0) + Vextoria3Editor::getControlName(10), "");
    for (auto [freeze, colour] : {std::pair {1.0, CColor(57, 181, 74, 254)}, {0.0, CColor(0, 170, 255, 254)}}) {
        controller->setParamNormalized(kFreeze, freeze);
        EXPECT_EQ(std::pair(editor->scopeView->traceColor, editor->readout->textColor), std::pair(colour, colour));
    }
    for (auto [speed, samples] : {std::pair {1.0, 12}, {0.0, 176}, {0.5, 94}}) {
        controller->setParamNormalized(kScopeSpeed, speed);
        EXPECT_EQ(editor->scopeView->samplesPerPoint, samples) << "faster is fewer samples a point";
    }
}

TEST_F(GesturesTest, TheHostHearsGesturesOnlyForRealParameters)
{
    const std::tuple<const char*, CPoint, Edits> cases[] = {
        {"pitch range arrow", {111, 261}, gesture({9})}, {"EDIT FX", {473, 192}, {}},  {"settings", {797, 30}, {}},
        {"PITCH STRETCH", {550, 99}, gesture({15})},     {"replay", {551, 240}, gesture({32})}, {"KNOB SPEED", {480, 158}, {}},
        {"reset", {30, 240}, gesture({33, 15, 17, 27, 32})}, {"layout switch to LEGACY", {405, 247}, {}},
    };
    for (const auto& [what, where, expected] : cases) {
        click(where.x, where.y);
        EXPECT_EQ(edits(), expected) << what;
        EXPECT_TRUE(where != CPoint(473, 192) || hidden(5) == 1.0) << "EDIT FX went to its hidden setting";
    }
    EXPECT_EQ(editor->getWrapper()->getParameter(kScopeSpeed), 0.5) << "reset puts the factory values back";
    EXPECT_TRUE(editor->layoutPending) << "the switch waits for the tick";
}

TEST_F(GesturesTest, RightClickMenusOpenInsideTheWindowMarkTheChoiceAndPickAsWholeGestures)
{
    controller->setParamNormalized(kFxSelect, 0.5);
    EXPECT_EQ(rightClick(467, 250, &Vextoria3Editor::fxSelectMenu), "Reverb,Bit Crusher,HP Filter*,Pitch FX,Random");
    Menu* fx = editor->fxSelectMenu;
    EXPECT_EQ(fx->getViewSize(), CRect(467, 142, 567, 250)) << "50 px above the bottom: opens upwards";
    host.edits.clear();
    pick(fx, 3);
    EXPECT_EQ(host.edits, (Edits {"begin 16", "perform 16 0.750", "end 16"}));
    EXPECT_FALSE(fx->isVisible());

    controller->getHiddenParameters().setParamValue(2, 1.0);
    EXPECT_EQ(rightClick(300, 100, &Vextoria3Editor::oscModeMenu), "SquaryScope,Waveform,Smoothy*");
    Menu* scope = editor->oscModeMenu;
    EXPECT_EQ(scope->getViewSize(), CRect(300, 100, 400, 168));
    pick(scope, 1);
    EXPECT_EQ(hidden(2), 0.5);
    EXPECT_FALSE(editor->scopeView->smooth) << "the controller's echo restyles the scope";
    EXPECT_EQ(host.edits.size(), 3u) << "a hidden setting, not a parameter";
    editor->scopeView->setViewSize(CRect(236, 250, 772, 300)); // a scope at the bottom edge
    rightClick(300, 280, &Vextoria3Editor::oscModeMenu);
    EXPECT_EQ(scope->getViewSize(), CRect(300, 232, 400, 300)) << "moved up just enough";
}

TEST_F(GesturesTest, PendingWorkRunsAtTheTickInOrderAndTheProcessorIsAskedEveryTime)
{
    controller->setParamNormalized(kTrigMode, 1.0);
    editor->getWrapper()->setHiddenParameter(5, 1.0);
    editor->getWrapper()->setHiddenParameter(6, 0.5);
    EXPECT_FALSE(editor->slicePads->isVisible() || editor->fxPanel->isVisible()) << "nothing before the tick";
    editor->idle();
    EXPECT_TRUE(editor->slicePads->isVisible() && editor->fxPanel->isVisible()) << "edit FX comes after the trig mode";
    EXPECT_EQ(editor->fxPanel->tabView->selectedTab, 2);
    const auto& asked = processor.received.back();
    EXPECT_EQ(std::tuple(asked.id, asked.command, asked.integer), std::tuple("IntMessage", "linuxtimer", 1));

    controller->setParamNormalized(kTrigMode, 0.0); // hides the panel, leaving the setting and the button on
    editor->idle();
    EXPECT_FALSE(editor->slicePads->isVisible() || editor->fxPanel->isVisible());
    EXPECT_EQ(std::pair(hidden(5), editor->hiddenControls[5]->getValue()), std::pair(1.0, 1.f));
    EXPECT_FALSE(editor->setHiddenParameter(Vextoria3Editor::kHiddenCount, 0.5)) << "no such hidden setting";
    EXPECT_FALSE(editor->setHiddenParameter(-1, 0.5));

    editor->close();
    const size_t sent = processor.received.size();
    editor->idle();
    EXPECT_EQ(processor.received.size(), sent) << "a closed editor does nothing";
}

TEST_F(GesturesTest, TheToastMovesWithTheEditorsOwnGeneratorLeavingLibcsAlone)
{
    std::srand(7);
    const int expected = std::rand();
    std::srand(7);
    buildFace(kUiLegacy);
    controller->setParamNormalized(kActive, 1.0);
    controller->setParamNormalized(kSliceAmt, 0.0); // every step moves it
    editor->getWrapper()->setHiddenParameter(4, 1.0);
    const CRect home = editor->toastButton->getViewSize();
    editor->idle();
    EXPECT_NE(editor->toastButton->getViewSize(), home);
    EXPECT_EQ(std::rand(), expected) << "the processor's replayable sequence is untouched";
}

TEST_F(GesturesTest, NotesLightThePadOfTheLatestHeldKeyAndAreForgottenWhenTheTreeIsBuiltAgain)
{
    auto notes = [&](std::vector<std::pair<int32_t, int32_t>> typeAndKey) {
        std::vector<MidiNoteRecord> records;
        for (auto [type, key] : typeAndKey)
            records.push_back(MidiNoteRecord {type, key, 0, 100});
        editor->processMidiNoteFromhost(records.data(), int32_t(records.size()));
        return editor->slicePads->highlightedSlice;
    };
    EXPECT_EQ(notes({{1, 60}, {1, 62}, {1, 64}}), 4);
    EXPECT_EQ(notes({{2, 64}}), 2) << "back to the latest key still held";
    EXPECT_EQ(notes({{2, 62}, {1, 200}, {1, -5}}), 0) << "keys outside 0..127 ignored";
    EXPECT_EQ(notes({{2, 60}}), -1);
    EXPECT_EQ(notes({{1, 35}, {3, 50}}), -1) << "keys below the first pad light none, other records are skipped";
    EXPECT_EQ(notes({{1, 45}}), 1);
    editor->processUISelect(1.f);
    editor->idle();
    EXPECT_FALSE(editor->leftOver()) << "a rebuild forgets held keys";
}

TEST_F(GesturesTest, AGestureOpenWhenTheTreeGoesEndsOnceTowardsTheHostAndNothingOfItSurvives)
{
    const std::tuple<const char*, std::function<void()>, Edits, std::vector<int64>> gestures[] = {
        {"wheel", [&] { frame->platformOnMouseWheel(CPoint(271, 229), kMouseWheelAxisY, 1.f, 0); }, gesture({1}), {}},
        {"drag", [&] { press(271, 229), move(271, 200); }, gesture({1}), {}},
        {"held check box", [&] { editor->showSettings(), press(560, 99); }, {"begin 15", "end 15"}, {}},
        {"pad press", [&] { controller->setParamNormalized(kTrigMode, 1.0), editor->idle(), press(300, 100); }, {}, {0, -1}}};
    const std::pair<const char*, std::function<void()>> teardowns[] = {{"close", [&] { editor->close(); }},
        {"layout switch, then a late release", [&] { editor->processUISelect(0.f), editor->idle(), release(300, 100); }},
        {"release without removed", [&] { editor->release(), editor = new OpenEditor(controller, nullptr); }}};
    for (const auto& [kind, open, heard, slices] : gestures)
        for (const auto& [teardown, goes] : teardowns) {
            processor.received.clear();
            open();
            goes();
            EXPECT_EQ(std::tuple(edits(), processor.slices(), editor->leftOver()), std::tuple(heard, slices, false))
                << kind << ", " << teardown;
            buildFace(kUiRack); // the next case starts on a new tree
        }
}
