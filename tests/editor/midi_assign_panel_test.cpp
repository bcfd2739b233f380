// The MIDI assignment panel: twenty functions in two columns, each number shown, none editable.
#include "EditorHarness.h"

#include "controls/SpinBox.h"
#include "editor/MidiAssignContainer.h"

using namespace EditorTest;

TEST(MidiAssignPanel, TwentyFixedNumbersInTwoColumns)
{
    ScopedManualRunLoop runLoop;
    auto* panel = new MidiAssignContainer(CRect(0, 0, 330, 210));
    EXPECT_TRUE(panel->getTransparency());
    EXPECT_EQ(panel->getNbViews(), 40u);
    const std::pair<const char*, int> rows[] = {{"VOLUME", 7}, {"WAVEFORM", 28}, {"DISTO ON/OFF", 29}, {"DLY SYNC", 108}};
    const int rowIndex[] = {0, 9, 10, 19};
    for (int i = 0; i < 4; ++i) {
        const int row = rowIndex[i];
        EXPECT_EQ(panel->labels[size_t(row)]->getText(), rows[i].first);
        EXPECT_EQ(panel->spinBoxes[size_t(row)]->number, rows[i].second);
    }
    EXPECT_EQ(panel->spinBoxes[10]->getViewSize().getTopLeft(), CPoint(262, 2)) << "the second column";
    panel->spinBoxes[0]->setValue(0.5f);
    EXPECT_EQ(panel->spinBoxes[0]->number, 7) << "disabled boxes take no value";
    CPoint where = panel->spinBoxes[0]->getViewSize().getCenter();
    EXPECT_EQ(panel->spinBoxes[0]->onMouseDown(where, CButtonState(kLButton)), kMouseEventNotHandled);

    std::vector<OffscreenImage> images = renderToPng(*panel, "midi_assign_panel");
    EXPECT_EQ(images[0].getPixel(325, 205).alpha, 0) << "no background of its own";
    EXPECT_GT(images[0].getPixel(102, 10).alpha, 200) << "the first box is drawn";
    panel->forget();
}
