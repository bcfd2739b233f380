#include "MidiAssignContainer.h"

#include "controls/SpinBox.h"

using namespace VSTGUI;

namespace {

struct Assignment
{
    const char* function;
    int controller;
};

const Assignment kAssignments[MidiAssignContainer::kRows] = {
    {"VOLUME", 7},         {"TUNE", 20},         {"CUTOFF", 21},       {"RESONANCE", 22},
    {"MOD. ENV.", 23},     {"DECAY", 24},        {"ACCENT", 25},       {"GATE", 26},
    {"GROOVE", 27},        {"WAVEFORM", 28},     {"DISTO ON/OFF", 29}, {"DISTO PARAM1", 30},
    {"DISTO PARAM2", 31},  {"DELAY ON/OFF", 102}, {"DELAY VOL", 103},  {"DLY TIME", 104},
    {"DLY FEEDBACK", 105}, {"DLY FILTER", 106},  {"DLY PING PONG", 107}, {"DLY SYNC", 108},
};

constexpr int kRowsPerColumn = 10;
constexpr CCoord kRowHeight = 20;
constexpr CCoord kColumnStep = 162;
constexpr int kLargestNumber = 128;

} // namespace

MidiAssignContainer::MidiAssignContainer(const CRect& size) : CViewContainer(size)
{
    setTransparency(true);
    CCoord labelX = 2;
    CCoord boxX = 100;
    CCoord y = 0;
    for (int row = 0; row < kRows; ++row)
    {
        if (row == kRowsPerColumn)
        {
            labelX += kColumnStep;
            boxX += kColumnStep;
            y = 2;
        }
        auto* label = new CTextLabel(CRect(labelX, y, labelX + 180, y + 24), kAssignments[row].function);
        label->setTransparency(true);
        label->setHoriAlign(kLeftText);
        addView(label);
        labels[size_t(row)] = label;

        auto* box = new SpinBox(CRect(boxX, y, boxX + 48, y + 20), nullptr, 0, nullptr);
        box->setMaximum(kLargestNumber);
        box->setMinimum(0);
        box->setValue(float(kAssignments[row].controller) / float(kLargestNumber)); // shows the number
        box->enabled = false;
        box->fontColor = CColor(0, 0, 255, 255);
        box->setDirty(true);
        addView(box);
        spinBoxes[size_t(row)] = box;
        y += kRowHeight;
    }
}
